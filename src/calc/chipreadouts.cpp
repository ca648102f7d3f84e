#include "chipreadouts.h"

#include "conversions.h"

#include <cmath>

namespace kestrelon {

namespace {

void show(QString& caption, double value, std::string_view pattern, std::string_view suffix) {
    formatInto(caption, {}, value, pattern, suffix);
}

const QString& blankBanner() {
    static const QString banner(21, QLatin1Char(' '));
    return banner;
}

const QString& limitBanner() {
    static const QString banner =
        QStringLiteral("Vref Limit =(+V-") + Format(kFamily.dropout, "#0.0") + QStringLiteral("v)");
    return banner;
}

const QString& noResistorWatts() {
    static const QString text =
        QStringLiteral("Dissipating= < ") + Format(kDissipationTarget, "0.0W");
    return text;
}

// A level on the chip's own scale as written in a caption: "-21", "+2", "0".
QString levelText(double level) {
    return (level > 0 ? QStringLiteral("+") : QString()) + QString::number(level);
}

void showStep(const ChipSheet& sheet, double step, QString& caption) {
    const QString unit = QLatin1String(levelUnit(sheet.step));
    switch (sheet.step) {
    case StepScale::Volts:
        formatInto(caption, "Steps= ", step, "#0.0#", "v");
        return;
    case StepScale::Decibels:
        caption =
            QStringLiteral("Steps= ") + QString::number(sheet.levels[9] - sheet.levels[8]) + unit;
        return;
    case StepScale::VolumeUnits:
        caption = QStringLiteral("Steps= ") + unit;
        return;
    }
}

void setIfChanged(QString& target, const QString& text) {
    if (target != text)
        target = text;
}

} // namespace

QString chipTitle(int chip, ChipKind kind) {
    return (chip == 0 ? QStringLiteral("1st ") : QStringLiteral("2nd ")) +
           QLatin1String(chipSheet(kind).name);
}

QString ledThresholdText(const ChipState& state, const ChipResult& result, int led) {
    const ChipSheet& sheet = chipSheet(result.kind);
    if (sheet.linear() || led < 1 || led > 10)
        return {};
    return QStringLiteral("LED %1 lights at ").arg(led) +
           formatWithUnit({}, state.Threshold[static_cast<std::size_t>(led)], "#0.00", " V, ") +
           levelText(sheet.levels[static_cast<std::size_t>(led - 1)]) + QLatin1Char(' ') +
           QLatin1String(levelUnit(sheet.step));
}

void showR1(const ChipState& state, ChipView& view) {
    show(view.lblR1, state.R1 / 1000, "#0.00k", {});
}

void showResult(int chip, const ChipState& s, const ChipResult& r, std::uint32_t litColour,
                ChipView& v) {
    const ChipSheet& sheet = chipSheet(r.kind);
    show(v.lblVin, s.Vin, "#0.00", "v");

    if (r.currentSet) {
        v.lblmAForeColor = r.overCurrent ? kRed : kBlue;
        show(v.lblmA, s.Iled, "#0.0", " mA/LED");
        v.timerEnabled = r.overCurrent;
        show(v.lblRefo, s.Vref, "#0.00", "v");
        v.Label9BackColor = r.referenceLimited ? kOrange : kInactiveCaption;
        setIfChanged(v.Label9, r.referenceLimited ? limitBanner() : blankBanner());
    }

    show(v.lblR2, s.R2 / 1000, "#0.00k", {});
    show(v.lblRadj, s.Vref - kFamily.referenceNominal, "#0.00", "v");
    if (r.rLoSet)
        show(v.lblRLo, s.VrLo, "#0.0#", "v");
    if (r.rHiSet)
        show(v.lblRHi, s.VrHi, "#0.00", "v");

    // The bottom is read back as displayed, so LED 1's voltage matches the rounded RLo label.
    show(v.lblVmin, parse(v.lblRLo) + r.firstStep, "#0.00", "v");
    v.lblVmax = v.lblRHi;
    showStep(sheet, s.Step, v.lblGap);
    setIfChanged(v.Label3, chipTitle(chip, r.kind));
    setIfChanged(v.lblWarn, QStringLiteral("Rlim for ") + QLatin1String(sheet.name) +
                                QStringLiteral(" = ") + QString::number(kDissipationTarget) +
                                QStringLiteral("Wmax"));

    v.shpLED[0] = r.overRange ? kRed : kGrey;
    if (r.ledsSet)
        for (std::size_t i = 1; i < v.shpLED.size(); ++i)
            v.shpLED[i] = r.lit[i] ? litColour : kGrey;

    if (r.resistorSized) {
        v.lblWattsVisible = true;
        if (std::isfinite(s.Rlim) && std::isfinite(s.PRlim))
            v.lblRlim = Format(s.Rlim, "##0.0R") + QStringLiteral("  ") + Format(s.PRlim, "0.0W");
        else
            v.lblRlim = QString::fromLatin1(kOverflowText);
        formatInto(v.lblWatts, "Dissipating= ", s.Pchip, "#0.00W", {});
    }
    if (r.resistorDecided) {
        v.lblRlimVisible = r.resistorProposed;
        v.lblWarnVisible = r.resistorProposed;
        v.lineRlimVisible = !r.resistorProposed;
        if (!r.resistorProposed)
            setIfChanged(v.lblWatts, noResistorWatts());
    }
}

} // namespace kestrelon
