#include "accessibility.h"

#include "accessibilitynews.h"
#include "accessibleinputs.h"
#include "accessiblenames.h"
#include "accessibleobjects.h"
#include "accessibletext.h"
#include "chipcontrols.h"
#include "chipmodel.h"
#include "chipreadouts.h"
#include "controls.h"
#include "conversions.h"
#include "drawing.h"
#include "layouttypes.h"
#include "ledcolours.h"
#include "resistorsliders.h"

namespace kestrelon {

using ui::AccessibleDrawing;

namespace {

// A resistor slider's value as kilohms, a voltage slider's as volts of its full-scale box.
struct SliderMeaning {
    const char* slider;
    const char* what;
    const char* fullScaleBox; // nullptr for a resistor
    int ohmsPerStep;
};

constexpr SliderMeaning kSliders[] = {
    {"hsR1", "R1", nullptr, kR1Slider.ohmsPerStep},
    {"vsR2", "R2", nullptr, kR2Slider.ohmsPerStep},
    {"vsVin", "signal", "txtVin", 0},
    {"vsRLo", "external low", "txtRLo", 0},
    {"vsRHi", "external high", "txtRHi", 0},
};

template <typename T>
T* control(const QHash<QString, QObject*>& controls, const char* name, int index) {
    return qobject_cast<T*>(controls.value(layout::controlName(name, index)));
}

std::function<QString()> sliderMeaning(const SliderMeaning& m, ui::ScrollBar* bar,
                                       ui::TextBox* box) {
    const QString what = QLatin1String(m.what) + QLatin1Char(' ');
    return [what, bar, box, ohms = m.ohmsPerStep] {
        return what + (box ? Format(sliderFraction(bar->value(), box->text()), "#0.00") +
                                 QStringLiteral(" V")
                           : Format(bar->value() * ohms / 1000.0, "#0.00") + QStringLiteral(" kΩ"));
    };
}

// While chip #2 follows chip #1, its signal slider stands for chip #1's signal: its value and
// meaning are chip #1's, and a screen reader cannot set it.
std::function<QString()> followingSignal(ui::CheckBox* slave, ui::ScrollBar* bar1,
                                         ui::ScrollBar* bar2, std::function<QString()> own,
                                         std::function<QString()> chip1) {
    ui::setSliderFollows(bar2, [slave, bar1]() -> std::optional<int> {
        if (slave->isChecked())
            return bar1->value();
        return std::nullopt;
    });
    return [slave, own = std::move(own), chip1 = std::move(chip1)] {
        return slave->isChecked() ? chip1() + QStringLiteral(", following chip 1") : own();
    };
}

// Keeps the slider's meaning current with every control it depends on. A focused slider's new
// meaning waits to be told with the results its change brings.
void followMeaning(ui::ScrollBar* bar, const std::function<QString()>& meaning,
                   const std::vector<QObject*>& sources) {
    const auto update = [bar, meaning] {
        if (!(QAccessible::isActive() && bar->hasFocus()))
            ui::setAccessibleMeaning(bar, meaning());
    };
    for (QObject* source : sources) {
        if (auto* slider = qobject_cast<QAbstractSlider*>(source))
            QObject::connect(slider, &QAbstractSlider::valueChanged, bar, update);
        if (auto* box = qobject_cast<QLineEdit*>(source))
            QObject::connect(box, &QLineEdit::textChanged, bar, update);
        if (auto* check = qobject_cast<QCheckBox*>(source))
            QObject::connect(check, &QCheckBox::toggled, bar, update);
    }
    ui::setAccessibleMeaning(bar, meaning());
}

void describeSliders(const QHash<QString, QObject*>& controls, ResultNews* news) {
    std::function<QString()> chip1Signal;
    for (int chip = 0; chip < 2; ++chip)
        for (const SliderMeaning& m : kSliders) {
            auto* bar = control<ui::ScrollBar>(controls, m.slider, chip);
            auto* box =
                m.fullScaleBox ? control<ui::TextBox>(controls, m.fullScaleBox, chip) : nullptr;
            if (!bar)
                continue;
            auto meaning = sliderMeaning(m, bar, box);
            std::vector<QObject*> sources = {bar, box};
            const bool signal = std::string_view(m.slider) == "vsVin";
            auto* slave = qobject_cast<ui::CheckBox*>(controls.value(QStringLiteral("chkSlave")));
            auto* bar1 = control<ui::ScrollBar>(controls, "vsVin", 0);
            if (signal && chip == 0)
                chip1Signal = meaning;
            if (signal && chip == 1 && slave && bar1 && chip1Signal) {
                meaning = followingSignal(slave, bar1, bar, meaning, chip1Signal);
                sources = {bar, box, slave, bar1, control<ui::TextBox>(controls, "txtVin", 0)};
            }
            news->addControl(bar, chip, meaning);
            followMeaning(bar, meaning, sources);
        }
}

struct ReadOutName {
    const char* control;
    const char* what;
    const char* whenBlank;
};

constexpr ReadOutName kReadOuts[] = {
    {"lblR1", "R1 value", ""},
    {"lblR2", "R2 value", ""},
    {"lblVin", "signal voltage", ""},
    {"lblmA", "LED current", ""},
    {"lblRefo", "reference voltage", ""},
    {"Label9", "reference limit warning", "none"},
    {"lblRadj", "reference adjust voltage", ""},
    {"lblRLo", "RLo pin voltage", ""},
    {"lblRHi", "RHi pin voltage", ""},
    {"lblVmin", "LED 1 threshold", ""},
    {"lblVmax", "LED 10 threshold", ""},
    {"lblGap", "step between thresholds", ""},
    {"lblRlim", "limiting resistor", ""},
    {"lblWarn", "limiting resistor note", ""},
    {"lblWatts", "chip dissipation", ""},
};

// Chip #2's option groups carry a digit after the group's name: optRLo1, optMode1, optLED2.
int chipOfOption(const QString& objectName) {
    const QString group = objectName.section(QLatin1Char('_'), 0, 0);
    return group.back().isDigit() ? 1 : 0;
}

QString ledState(const ChipModel& model, int chip, int led) {
    const KeyResults r = keyResults(model, chip);
    QString state = std::find(r.lit.begin(), r.lit.end(), led) != r.lit.end()
                        ? QStringLiteral("lit, ") + r.colour
                        : QStringLiteral("unlit");
    const QString threshold = ledThresholdText(model.state[chip], model.result[chip], led);
    if (!threshold.isEmpty())
        state += QStringLiteral("; ") + threshold;
    return state;
}

void exposeLeds(const QHash<QString, QObject*>& controls, const ChipModel& model, int chip,
                ResultNews* news) {
    const char* array = kChipControls[static_cast<std::size_t>(chip)].shpLED;
    QRect row;
    for (int i = 0; i <= 10; ++i) {
        auto* led = control<ui::Shape>(controls, array, i);
        if (!led)
            continue;
        AccessibleDrawing drawing{
            chipName(chip, i == 0 ? QStringLiteral("over-range") : QStringLiteral("LED %1").arg(i)),
            QAccessible::Graphic, nullptr, nullptr, QRect()};
        if (i == 0)
            drawing.state = [&model, chip] {
                return keyResults(model, chip).overRange ? QStringLiteral("lit")
                                                         : QStringLiteral("unlit");
            };
        else
            drawing.state = [&model, chip, i] { return ledState(model, chip, i); };
        ui::exposeDrawing(led, drawing);
        if (i > 0)
            row |= led->rect();
    }
    // The row of LEDs in one line, for a screen reader's review of the window.
    auto* canvas = qobject_cast<QWidget*>(controls.value(QStringLiteral("canvas")));
    if (!canvas)
        return;
    auto* summary = new QObject(canvas);
    summary->setObjectName(layout::controlName("ledSummary", chip));
    ui::exposeDrawing(summary,
                      {chipName(chip, QStringLiteral("LEDs")), QAccessible::StaticText, nullptr,
                       [&model, chip] {
                           const KeyResults r = keyResults(model, chip);
                           return chipName(chip, QStringLiteral("LEDs: ")) + ledsSummary(r);
                       },
                       row});
    news->addResultObject(summary, chip);
}

void exposeSupplyPath(const QHash<QString, QObject*>& controls, int chip) {
    auto* wire = qobject_cast<ui::Line*>(controls.value(layout::controlName("lineRlim", chip)));
    if (!wire)
        return;
    ui::exposeDrawing(wire, {chipName(chip, QStringLiteral("LED supply")), QAccessible::Graphic,
                             [wire] {
                                 return wire->isVisible()
                                            ? QStringLiteral("direct, no limiting resistor needed")
                                            : QStringLiteral("through the limiting resistor");
                             },
                             nullptr, QRect()});
}

} // namespace

ResultNews* makeAccessible(const QHash<QString, QObject*>& controls, const ChipModel& model,
                           QObject* parent) {
    ui::installFactory();
    auto* news = new ResultNews(model, parent);
    setAccessibleNames(controls);
    // The pin names and numbers and the LED numbers are drawn, so they never reach a screen
    // reader; the schematic as a whole says how it is laid out.
    if (auto* canvas = qobject_cast<QWidget*>(controls.value(QStringLiteral("canvas"))))
        canvas->setAccessibleName(QStringLiteral("Schematics, chip 2 above chip 1"));
    if (auto* bug = qobject_cast<QWidget*>(controls.value(QStringLiteral("bug0"))))
        ui::exposeReadOut(bug, QStringLiteral("Chip index of the last R2 change"),
                          QStringLiteral("none"));
    describeSliders(controls, news);
    if (auto* canvas = qobject_cast<QWidget*>(controls.value(QStringLiteral("canvas")))) {
        auto* notice = new QObject(canvas);
        notice->setObjectName(QStringLiteral("newsNotice"));
        ui::exposeDrawing(notice, {QString(), QAccessible::Notification, nullptr,
                                   [news] { return news->lastNews(); }, QRect(0, 0, 1, 1)});
        news->setNotice(notice);
    }
    for (int chip = 0; chip < 2; ++chip) {
        for (const ReadOutName& r : kReadOuts)
            if (auto* label =
                    qobject_cast<QWidget*>(controls.value(layout::controlName(r.control, chip))))
                ui::exposeReadOut(label, chipName(chip, QLatin1String(r.what)),
                                  QLatin1String(r.whenBlank));
        exposeLeds(controls, model, chip, news);
        exposeSupplyPath(controls, chip);
        for (const char* box : {"Text1", "txtLED", "txtVin", "txtRLo", "txtRHi"})
            if (auto* widget = control<QWidget>(controls, box, chip))
                news->addControl(widget, chip);
    }
    for (QObject* object : controls) {
        auto* option = qobject_cast<ui::OptionButton*>(object);
        if (option)
            news->addControl(option, chipOfOption(option->objectName()));
    }
    if (auto* slave = qobject_cast<QWidget*>(controls.value(QStringLiteral("chkSlave"))))
        news->addControl(slave, 1);
    return news;
}

} // namespace kestrelon
