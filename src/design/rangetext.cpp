#include "rangetext.h"

#include "chipcontrols.h"
#include "conversions.h"
#include "figuretext.h"
#include "resistorsliders.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace kestrelon {

namespace {

QString chipLabel(const RangeDesign& d, std::size_t k) {
    return QStringLiteral("Chip #") + QString::number(k + 1) + QStringLiteral(" (") +
           QString::fromLatin1(d.sheet->name.data(), qsizetype(d.sheet->name.size())) +
           QStringLiteral(")");
}

QString bandText(const Band& b, QString (*unit)(double)) {
    return unit(b.nominal) + QStringLiteral(" (") + unit(b.low) + QStringLiteral(" to ") +
           unit(b.high) + QLatin1Char(')');
}

QString inputText(const RangeDesign& d) {
    if (d.inputTop <= 0)
        return QStringLiteral("No input divider: the range fits the chip's input. ") +
               ohms(d.protection) +
               QStringLiteral(" in series with SIG (pin 5) protects it up to ") +
               volts(kFamily.signalProtectedVolts) + QLatin1Char('.');
    return QStringLiteral("Input divider: ") + ohms(d.inputTop) +
           QStringLiteral(" from the measured voltage to SIG (pin 5), ") + ohms(d.inputBottom) +
           QStringLiteral(" from SIG to ground (") + Format(d.divider, "#0.0000") +
           QStringLiteral(" V per V; the upper part also protects the pin).");
}

QString r2Text(const RangeChip& c) {
    if (c.R2 <= 0)
        return QStringLiteral("REF ADJ to ground");
    if (c.trimmer <= 0)
        return QStringLiteral("R2 ") + ohms(c.R2fixed) + QStringLiteral(" REF ADJ to ground");
    return QStringLiteral("R2 ") +
           (c.R2fixed > 0 ? ohms(c.R2fixed) + QStringLiteral(" + ") : QString()) + ohms(c.trimmer) +
           QStringLiteral(" trimmer set to ") + ohms(c.R2 - c.R2fixed) +
           QStringLiteral(" from REF ADJ to ground");
}

QString lowText(const RangeDesign& d, std::size_t k) {
    const RangeChip& c = d.chips[k];
    if (c.onChipBelow)
        return QStringLiteral("RLo to chip #1's RHi and REF OUT");
    switch (c.low) {
    case RangeLow::Ground:
        return QStringLiteral("RLo to ground");
    case RangeLow::RefAdj:
        return QStringLiteral("RLo to REF ADJ");
    case RangeLow::RefString:
        break;
    }
    if (c.Rb <= 0)
        return QStringLiteral("RLo to ground");
    return QStringLiteral("RLo to ground through Rb ") + ohms(c.Rb);
}

QString chipText(const RangeDesign& d, std::size_t k) {
    const RangeChip& c = d.chips[k];
    QString text = chipLabel(d, k) + QStringLiteral(": R1 ") + ohms(c.R1) +
                   QStringLiteral(" REF OUT to REF ADJ, ") + r2Text(c) + QStringLiteral("; ");
    text += c.Rx > 0 ? QStringLiteral("RHi to REF OUT through Rx ") + ohms(c.Rx)
                     : QStringLiteral("RHi to REF OUT");
    if (c.Rm > 0)
        text += QStringLiteral(", Rm ") + ohms(c.Rm) + QStringLiteral(" from RHi to RLo");
    text += QStringLiteral(", ") + lowText(d, k) + QStringLiteral(". REF OUT ") +
            bandText(c.vref, volts);
    if (c.rlo.high > 0)
        text += QStringLiteral(", RLo ") + bandText(c.rlo, volts);
    text +=
        QStringLiteral(", LED current ") + bandText(c.ledMilliamps, milliamps) + QLatin1Char('.');
    if (c.trimmer > 0) {
        const std::size_t led = k * 10 + std::size_t(c.trimmedLed);
        text += QStringLiteral(" Set the trimmer so that LED ") + QString::number(led + 1) +
                QStringLiteral(" lights at ") + volts(d.thresholds[led].measured.nominal) +
                QLatin1Char('.');
    }
    return text;
}

QString checksVerdict(const RangeDesign& d) {
    const auto failed = std::count_if(d.checks.begin(), d.checks.end(),
                                      [](const RangeCheck& c) { return !c.passed; });
    if (failed == 0)
        return QStringLiteral("Every check holds over the corners") +
               (d.request.fromMeasured ? QStringLiteral(" and the whole range as the supply.")
                                       : QStringLiteral("."));
    QString text = QString::number(failed) + (failed == 1 ? QStringLiteral(" check fails: ")
                                                          : QStringLiteral(" checks fail: "));
    bool first = true;
    for (const RangeCheck& c : d.checks) {
        if (c.passed)
            continue;
        if (!first)
            text += QLatin1Char(' ');
        text += c.sentence;
        first = false;
    }
    return text;
}

} // namespace

QString rangeAnswer(const RangeDesign& d) {
    if (!d.made) {
        QString text = QStringLiteral("Cannot be made: ") + d.why;
        if (d.hasNearest)
            text += QStringLiteral("\nNearest range that can: ") + volts(d.nearestLo) +
                    QStringLiteral(" to ") + volts(d.nearestHi) + QLatin1Char('.');
        return text;
    }
    QString text;
    if (d.zeroBased)
        text = QStringLiteral("A scale from 0 V: LED 1 lights one step above it, at ") +
               volts(d.thresholds.front().asked) + QStringLiteral(".\n");
    text += inputText(d);
    for (std::size_t k = 0; k < d.chips.size(); ++k)
        text += QLatin1Char('\n') + chipText(d, k);
    if (d.rlim > 0)
        text += QStringLiteral("\nRlim ") + ohms(d.rlim) +
                QStringLiteral(" from the LED supply to each chip's LED anodes takes the heat "
                               "off the chip.");
    if (d.chips.size() == 2)
        text += QStringLiteral("\nThe chips are stacked: chip #2's divider stands on chip #1's "
                               "RHi, and both take the same signal.");
    if (d.chips.size() == 2 && d.request.dot)
        text += QStringLiteral(" In dot mode chip #1's pin 9 goes to chip #2's pin 1, so that "
                               "chip #1's LED 10 goes out when chip #2's LED 1 lights.");
    text += QLatin1Char('\n') + checksVerdict(d);
    return text;
}

namespace {

// A threshold with three digits at least: an audio meter's lowest LEDs sit at tens of mV.
QString thresholdVolts(double v) {
    return std::fabs(v) < 1 ? figure(v, "#0.000", "V") : volts(v);
}

} // namespace

std::array<QString, 5> rangeThresholdCells(const RangeDesign& d, std::size_t led) {
    const RangeThreshold& t = d.thresholds[led];
    return {QString::number(led + 1), thresholdVolts(t.asked), thresholdVolts(t.measured.nominal),
            thresholdVolts(t.measured.low), thresholdVolts(t.measured.high)};
}

QString rangeReport(const RangeDesign& d) {
    const RangeRequest& r = d.request;
    QString text = QStringLiteral("Range ") + volts(r.lo) + QStringLiteral(" to ") + volts(r.hi) +
                   QStringLiteral(" on ") + QString::number(r.leds) + QStringLiteral(" LEDs (") +
                   QString::fromLatin1(d.sheet->name.data(), qsizetype(d.sheet->name.size())) +
                   (r.dot ? QStringLiteral(", dot mode") : QStringLiteral(", bar mode")) +
                   QStringLiteral("), ") + milliamps(r.ledMilliamps) + QStringLiteral(" per LED, ");
    text += r.fromMeasured
                ? QStringLiteral("powered by the measured voltage.\n")
                : QStringLiteral("V+ ") + volts(r.vplus) + QStringLiteral(", LED supply ") +
                      volts(r.vled) + QStringLiteral(".\n");
    text += rangeAnswer(d) + QLatin1Char('\n');
    if (!d.made)
        return text;
    text += QStringLiteral("\nThresholds of the measured voltage (LED, asked, nominal, lowest, "
                           "highest):\n");
    for (std::size_t i = 0; i < d.thresholds.size(); ++i) {
        const auto cells = rangeThresholdCells(d, i);
        text += QStringList(cells.begin(), cells.end()).join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    text += QStringLiteral("\nChecks:\n");
    for (const RangeCheck& c : d.checks)
        text += (c.passed ? QStringLiteral("ok  ") : QStringLiteral("FAIL  ")) + c.sentence +
                QLatin1Char('\n');
    text += QStringLiteral("\nParts:\n");
    for (const RangePart& p : d.parts) {
        text += p.name + QStringLiteral(": ") + p.value + QStringLiteral(", ") + p.series +
                QStringLiteral(", ") + p.tolerance;
        if (p.ohms > 0)
            text += QStringLiteral(", ") + watts(p.watts) + QStringLiteral(", rated ") +
                    (p.rating > 0 ? rating(p.rating) : QStringLiteral("over 5 W"));
        text += QLatin1Char('\n');
    }
    return text;
}

namespace {

int sliderPosition(double ohmsValue, const ResistorSlider& slider) {
    const double at = std::round(ohmsValue / slider.ohmsPerStep);
    return static_cast<int>(std::clamp(at, double(slider.low), double(slider.high)));
}

QString voltsText(double v) {
    return Format(v, "#0.00");
}

} // namespace

std::vector<WindowEdit> rangeWindowEdits(const RangeDesign& d) {
    std::vector<WindowEdit> edits;
    if (!d.made)
        return edits;
    using Kind = WindowEdit::Kind;
    const RangeRequest& r = d.request;
    // Powered by the range, the window shows the lowest supply, where the limits bite.
    const double supply = r.fromMeasured ? r.lo : r.vplus;
    const double ledSupply = r.fromMeasured ? r.lo : r.vled;
    if (d.chips.size() == 2)
        edits.push_back({Kind::Check, "chkSlave", -1, {}, 1});
    for (std::size_t k = 0; k < d.chips.size(); ++k) {
        const int i = static_cast<int>(k);
        const RangeChip& c = d.chips[k];
        const ChipControls& names = kChipControls[k];
        edits.push_back({Kind::Text, "Text1", i, Format(supply, "#0.0#"), 0});
        edits.push_back({Kind::Text, "txtLED", i, Format(ledSupply, "#0.0#"), 0});
        edits.push_back({Kind::Text, "txtVin", i, voltsText(d.divider * r.hi), 0});
        edits.push_back({Kind::Option, names.optMode, r.dot ? 1 : 0, {}, 1});
        if (c.Rx > 0) {
            edits.push_back({Kind::Text, "txtRHi", i, voltsText(c.rhi.nominal), 0});
            edits.push_back({Kind::Slider, "vsRHi", i, {}, 1000});
            edits.push_back({Kind::Option, names.optRHi, 1, {}, 1});
        } else {
            edits.push_back({Kind::Option, names.optRHi, 0, {}, 1});
        }
        if (c.rlo.nominal > 0) {
            edits.push_back({Kind::Text, "txtRLo", i, voltsText(c.rlo.nominal), 0});
            edits.push_back({Kind::Slider, "vsRLo", i, {}, 1000});
            edits.push_back({Kind::Option, names.optRLo, 1, {}, 1});
        } else {
            edits.push_back({Kind::Option, names.optRLo, 0, {}, 1});
        }
        edits.push_back({Kind::Slider, "hsR1", i, {}, sliderPosition(c.R1, kR1Slider)});
        edits.push_back({Kind::Slider, "vsR2", i, {}, sliderPosition(c.R2, kR2Slider)});
    }
    return edits;
}

} // namespace kestrelon
