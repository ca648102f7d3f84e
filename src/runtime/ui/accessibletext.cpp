#include "accessibletext.h"

#include <QHash>
#include <QWidget>

namespace kestrelon::ui {

namespace {

struct Parts {
    QString meaning;
    QString hint;
    QString news;
};

// Kept beside the widgets rather than in dynamic properties: the hints change on every slider
// step, and a property lookup walks the widget's whole meta-object first. An entry goes with
// its widget.
QHash<const QWidget*, Parts>& partsTable() {
    static QHash<const QWidget*, Parts> table;
    return table;
}

void setPart(QWidget* widget, QString Parts::*part, const QString& text) {
    QHash<const QWidget*, Parts>& table = partsTable();
    auto entry = table.find(widget);
    if (entry == table.end()) {
        entry = table.insert(widget, {});
        QObject::connect(widget, &QObject::destroyed, widget,
                         [widget] { partsTable().remove(widget); });
    } else if ((*entry).*part == text) {
        return;
    }
    (*entry).*part = text;
    const Parts& p = *entry;
    if (!p.news.isEmpty())
        widget->setAccessibleDescription(p.news);
    else if (p.meaning.isEmpty() || p.hint.isEmpty())
        widget->setAccessibleDescription(p.meaning + p.hint);
    else
        widget->setAccessibleDescription(p.meaning + QStringLiteral(". ") + p.hint);
}

} // namespace

void setAccessibleMeaning(QWidget* widget, const QString& meaning) {
    setPart(widget, &Parts::meaning, meaning);
}

void setAccessibleHint(QWidget* widget, const QString& hint) {
    setPart(widget, &Parts::hint, hint);
}

void setAccessibleNews(QWidget* widget, const QString& news) {
    setPart(widget, &Parts::news, news);
}

} // namespace kestrelon::ui
