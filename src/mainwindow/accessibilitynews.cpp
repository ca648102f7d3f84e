#include "accessibilitynews.h"

#include "accessibleobjects.h"
#include "accessibletext.h"
#include "chipmodel.h"
#include "chipsheet.h"
#include "conversions.h"
#include "ledcolours.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace kestrelon {

namespace {

QString colourName(std::uint32_t colour) {
    for (const LedChoice& choice : kLedChoices)
        if (choice.colour == colour)
            return QLatin1String(choice.name);
    // Chip #2's start colour, kept while its colour group has no selection.
    return colour == kBlue ? QStringLiteral("blue") : QString();
}

QString currentPhrase(const KeyResults& r) {
    QString phrase = QStringLiteral("LED current %1 mA").arg(r.current);
    if (r.overCurrent)
        phrase += QStringLiteral(", over %1 mA").arg(Format(kLedCurrentWarning, "#0"));
    return phrase;
}

} // namespace

KeyResults keyResults(const ChipModel& model, int chip) {
    const ChipView& view = model.view[chip];
    KeyResults r;
    r.current = Format(model.state[chip].Iled, "#0.0");
    r.overCurrent = view.timerEnabled;
    r.resistorNeeded = view.lblRlimVisible;
    const ChipResult& result = model.result[chip];
    for (int led = 1; led <= 10; ++led)
        if (result.lit[static_cast<std::size_t>(led)])
            r.lit.push_back(led);
    r.colour = colourName(model.ledColour[chip]);
    r.overRange = result.overRange;
    r.referenceLimited = result.referenceLimited;
    return r;
}

QString litLedsPhrase(const std::vector<int>& lit) {
    if (lit.empty())
        return QStringLiteral("no LED lit");
    if (lit.size() == 1)
        return QStringLiteral("LED %1 lit").arg(lit.front());
    QStringList runs;
    for (std::size_t i = 0; i < lit.size();) {
        std::size_t j = i;
        while (j + 1 < lit.size() && lit[j + 1] == lit[j] + 1)
            ++j;
        runs << (j == i ? QString::number(lit[i])
                        : QStringLiteral("%1 to %2").arg(lit[i]).arg(lit[j]));
        i = j + 1;
    }
    const QString last = runs.takeLast();
    return QStringLiteral("LEDs %1 lit")
        .arg(runs.isEmpty() ? last
                            : runs.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
}

QString ledsSummary(const KeyResults& r) {
    QString summary = r.lit.empty()       ? QStringLiteral("none lit")
                      : r.lit.size() == 1 ? litLedsPhrase(r.lit)
                                          : litLedsPhrase(r.lit).mid(5); // without "LEDs "
    if (!r.lit.empty() && !r.colour.isEmpty())
        summary += QStringLiteral(", ") + r.colour;
    if (r.overRange)
        summary += QStringLiteral("; over range");
    return summary;
}

QString resultChanges(const KeyResults& before, const KeyResults& now) {
    QStringList told;
    if (now.current != before.current || now.overCurrent != before.overCurrent)
        told << currentPhrase(now);
    if (now.referenceLimited != before.referenceLimited)
        told << (now.referenceLimited ? QStringLiteral("reference limited by the supply")
                                      : QStringLiteral("reference no longer limited"));
    if (now.resistorNeeded != before.resistorNeeded)
        told << (now.resistorNeeded ? QStringLiteral("limiting resistor needed")
                                    : QStringLiteral("no limiting resistor needed"));
    if (now.lit != before.lit)
        told << litLedsPhrase(now.lit);
    if (now.overRange != before.overRange)
        told << (now.overRange ? QStringLiteral("over range") : QStringLiteral("in range"));
    return told.join(QStringLiteral("; "));
}

ResultNews::ResultNews(const ChipModel& model, QObject* parent) : QObject(parent), m_model(model) {
    // Told once every recalculation the change caused has run.
    m_tell.setSingleShot(true);
    m_tell.setInterval(0);
    connect(&m_tell, &QTimer::timeout, this, &ResultNews::tell);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { focusChanged(old, now); });
}

void ResultNews::addControl(QWidget* control, int chip, std::function<QString()> meaning) {
    m_controls.insert(control, {chip, std::move(meaning), {}});
}

void ResultNews::addResultObject(QObject* object, int chip) {
    m_resultObjects[chip].push_back(object);
}

void ResultNews::recalculated(int chip) {
    if (!QAccessible::isActive()) {
        m_told[chip].reset();
        return;
    }
    m_pending[chip] = true;
    if (!m_tell.isActive())
        m_tell.start();
}

void ResultNews::tell() {
    QWidget* focus = QApplication::focusWidget();
    const auto control = m_controls.find(focus);
    const int focusChip = control == m_controls.end() ? -1 : control->chip;
    QStringList news;
    QString meaning;
    if (control != m_controls.end() && control->meaning) {
        meaning = control->meaning();
        if (meaning != control->told)
            news << meaning;
        control->told = meaning;
    }
    for (int chip : {focusChip == 1 ? 1 : 0, focusChip == 1 ? 0 : 1}) {
        if (!std::exchange(m_pending[chip], false))
            continue;
        const KeyResults now = keyResults(m_model, chip);
        if (m_told[chip] && *m_told[chip] != now) {
            const QString changes = resultChanges(*m_told[chip], now);
            if (!changes.isEmpty())
                news << (chip == focusChip
                             ? changes
                             : QStringLiteral("chip %1: %2").arg(chip + 1).arg(changes));
            for (QObject* object : m_resultObjects[chip])
                ui::announceDrawingChange(object);
        }
        m_told[chip] = now;
    }
    if (control == m_controls.end())
        return;
    // The news first: while it stands, a new meaning changes nothing a screen reader hears twice.
    if (!news.isEmpty()) {
        m_lastNews = news.join(QStringLiteral("; "));
        ui::setAccessibleNews(focus, m_lastNews);
        if (m_notice) {
            QAccessibleEvent shown(m_notice, QAccessible::ObjectShow);
            QAccessible::updateAccessibility(&shown);
        }
    }
    if (control->meaning)
        ui::setAccessibleMeaning(focus, meaning);
}

void ResultNews::focusChanged(QWidget* old, QWidget* now) {
    // What the user will change is told against what the chips show on arrival.
    if (QAccessible::isActive() && m_controls.contains(now))
        for (int chip = 0; chip < 2; ++chip)
            if (!m_told[chip])
                m_told[chip] = keyResults(m_model, chip);
    // News is for the moment after the change; the control is described as usual again.
    const auto control = m_controls.find(old);
    if (control == m_controls.end())
        return;
    ui::setAccessibleNews(old, {});
    if (control->meaning)
        ui::setAccessibleMeaning(old, control->meaning());
}

} // namespace kestrelon
