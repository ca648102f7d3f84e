#include "accessibility.h"

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

namespace {

// A resistor slider's value as kilohms, a voltage slider's as volts of its full-scale box.
struct SliderMeaning {
    const char* slider;
    const char* fullScaleBox; // nullptr for a resistor
    int ohmsPerStep;
};

constexpr SliderMeaning kSliders[] = {
    {"hsR1", nullptr, kR1Slider.ohmsPerStep},
    {"vsR2", nullptr, kR2Slider.ohmsPerStep},
    {"vsVin", "txtVin", 0},
    {"vsRLo", "txtRLo", 0},
    {"vsRHi", "txtRHi", 0},
};

void describeSlider(const SliderMeaning& m, ui::ScrollBar* bar, ui::TextBox* box) {
    const auto update = [bar, box, ohms = m.ohmsPerStep] {
        const QString meaning =
            box ? Format(sliderFraction(bar->value(), box->text()), "#0.00") + QStringLiteral(" V")
                : Format(bar->value() * ohms / 1000.0, "#0.00") + QStringLiteral(" kΩ");
        ui::setAccessibleMeaning(bar, meaning);
    };
    QObject::connect(bar, &QAbstractSlider::valueChanged, bar, update);
    if (box)
        QObject::connect(box, &QLineEdit::textChanged, bar, update);
    update();
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

// A lit LED's colour as spoken.
QString colourName(std::uint32_t fill) {
    for (const LedChoice& choice : kLedChoices)
        if (choice.colour == fill)
            return QLatin1String(choice.name);
    // Chip #2's start colour, kept while its colour group has no selection.
    return fill == kBlue ? QStringLiteral("blue") : QString();
}

QString ledState(const ChipModel& model, int chip, int led, std::uint32_t fill) {
    const ChipResult& result = model.result[chip];
    QString state = result.lit[static_cast<std::size_t>(led)]
                        ? QStringLiteral("lit, ") + colourName(fill)
                        : QStringLiteral("unlit");
    const QString threshold = ledThresholdText(model.state[chip], result, led);
    if (!threshold.isEmpty())
        state += QStringLiteral("; ") + threshold;
    return state;
}

void exposeLeds(const QHash<QString, QObject*>& controls, const ChipModel& model, int chip) {
    const char* array = kChipControls[static_cast<std::size_t>(chip)].shpLED;
    for (int i = 0; i <= 10; ++i) {
        auto* led = qobject_cast<ui::Shape*>(controls.value(layout::controlName(array, i)));
        if (!led)
            continue;
        if (i == 0)
            ui::exposeDrawing(led, {chipName(chip, QStringLiteral("over-range")),
                                    QAccessible::Graphic, [&model, chip] {
                                        return model.result[chip].overRange
                                                   ? QStringLiteral("lit")
                                                   : QStringLiteral("unlit");
                                    }});
        else
            ui::exposeDrawing(led, {chipName(chip, QStringLiteral("LED %1").arg(i)),
                                    QAccessible::Graphic, [&model, chip, i, led] {
                                        return ledState(model, chip, i, led->fillColor());
                                    }});
    }
}

void exposeSupplyPath(const QHash<QString, QObject*>& controls, int chip) {
    auto* wire = qobject_cast<ui::Line*>(controls.value(layout::controlName("lineRlim", chip)));
    if (!wire)
        return;
    ui::exposeDrawing(
        wire, {chipName(chip, QStringLiteral("LED supply")), QAccessible::Graphic, [wire] {
                   return wire->isVisible() ? QStringLiteral("direct, no limiting resistor needed")
                                            : QStringLiteral("through the limiting resistor");
               }});
}

} // namespace

void makeAccessible(const QHash<QString, QObject*>& controls, const ChipModel& model) {
    setAccessibleNames(controls);
    // The pin names and numbers and the LED numbers are drawn, so they never reach a screen
    // reader; the schematic as a whole says how it is laid out.
    if (auto* canvas = qobject_cast<QWidget*>(controls.value(QStringLiteral("canvas"))))
        canvas->setAccessibleName(QStringLiteral("Schematics, chip 2 above chip 1"));
    if (auto* bug = qobject_cast<QWidget*>(controls.value(QStringLiteral("bug0"))))
        ui::exposeReadOut(bug, QStringLiteral("Chip index of the last R2 change"),
                          QStringLiteral("none"));
    for (int chip = 0; chip < 2; ++chip) {
        for (const SliderMeaning& m : kSliders) {
            auto* bar =
                qobject_cast<ui::ScrollBar*>(controls.value(layout::controlName(m.slider, chip)));
            auto* box = m.fullScaleBox ? qobject_cast<ui::TextBox*>(controls.value(
                                             layout::controlName(m.fullScaleBox, chip)))
                                       : nullptr;
            if (bar)
                describeSlider(m, bar, box);
        }
        for (const ReadOutName& r : kReadOuts)
            if (auto* label =
                    qobject_cast<QWidget*>(controls.value(layout::controlName(r.control, chip))))
                ui::exposeReadOut(label, chipName(chip, QLatin1String(r.what)),
                                  QLatin1String(r.whenBlank));
        exposeLeds(controls, model, chip);
        exposeSupplyPath(controls, chip);
    }
}

} // namespace kestrelon
