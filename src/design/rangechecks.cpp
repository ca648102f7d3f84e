#include "rangesteps.h"

#include "conversions.h"
#include "figuretext.h"
#include "realchip.h"
#include "standardvalues.h"

#include <algorithm>
#include <cmath>

namespace kestrelon {

namespace {

constexpr double kMilli = 1000;

QString chipName(std::size_t k) {
    return QStringLiteral("Chip #") + QString::number(k + 1);
}

// The chip supply and the LED supply at their lowest and highest over the range.
struct Supplies {
    double low = 0;
    double high = 0;
    double ledLow = 0;
    double ledHigh = 0;
};

Supplies suppliesOf(const RangeRequest& r) {
    if (r.fromMeasured)
        return {r.lo, r.hi, r.lo, r.hi};
    return {r.vplus, r.vplus, r.vled, r.vled};
}

QString between(double low, double high) {
    return low == high ? volts(low) : volts(low) + QStringLiteral(" to ") + volts(high);
}

QString fromTo(const Band& band, QString (*unit)(double)) {
    return unit(band.low) + QStringLiteral(" to ") + unit(band.high);
}

// The chip's worst power with lit LEDs of current amps each, over every count the mode allows.
double worstPower(const RangeDesign& d, double amps, double ledSupply) {
    const int most = d.request.dot ? 1 : 10;
    double worst = 0;
    for (int n = d.request.dot ? 1 : 0; n <= most; ++n) {
        const double across = ledSupply - d.request.ledVf - d.rlim * n * amps;
        worst = std::max(worst, n * amps * std::max(0.0, across));
    }
    return worst;
}

} // namespace

double smallestStep(const ChipSheet& sheet) {
    double step = sheet.ratios[0];
    for (std::size_t n = 1; n < sheet.ratios.size(); ++n)
        step = std::min(step, sheet.ratios[n] - sheet.ratios[n - 1]);
    return step;
}

double minimumSpan(const RangeRequest& r, const ChipSheet& sheet) {
    return r.dot ? kFamily.minStepDot / smallestStep(sheet) : kFamily.minSpanBar;
}

void sizeLimitingResistor(RangeDesign& d) {
    const RangeRequest& r = d.request;
    const Supplies s = suppliesOf(r);
    double hottest = 0;
    for (const RangeChip& c : d.chips)
        hottest = std::max(hottest, c.ledMilliamps.high / kMilli);
    if (r.dot || worstPower(d, hottest, s.ledHigh) + s.high * kFamily.standbyCurrent <=
                     packageLimit(kFamily.packageAmbient))
        return;
    const double allLit = 10 * r.ledMilliamps / kMilli;
    d.rlim = standardAtOrBelow((s.ledLow - r.ledVf - kFamily.dropout) / allLit, Series::E96);
}

void rangeChecks(RangeDesign& d) {
    const RangeRequest& r = d.request;
    const Supplies s = suppliesOf(r);
    const double headroom = s.low - kFamily.dropout;
    auto& checks = d.checks;
    const auto add = [&checks](bool passed, const QString& sentence) {
        checks.push_back({passed, sentence});
    };

    add(s.low >= kFamily.supplyMin && s.high <= kFamily.supplyMax,
        QStringLiteral("Supply ") + between(s.low, s.high) +
            (s.high > kFamily.supplyMax ? QStringLiteral(": above the specified ")
                                        : QStringLiteral(": within the specified ")) +
            between(kFamily.supplyMin, kFamily.supplyMax) + QLatin1Char('.'));

    const double ledFloor = r.ledVf + kFamily.dropout;
    add(s.ledLow >= ledFloor && s.ledHigh <= kFamily.ledOutputMax,
        QStringLiteral("LED supply ") + between(s.ledLow, s.ledHigh) +
            QStringLiteral(": needs at least ") + volts(ledFloor) +
            QStringLiteral(" (the LED's forward voltage plus the outputs' dropout), at most ") +
            volts(kFamily.ledOutputMax) + QStringLiteral(" for the outputs."));

    // The signal pin at the top of the range, with the divider at its highest ratio.
    const double dividerHigh = d.inputTop > 0 ? d.inputBottom * (1 + kRangePartTolerance) /
                                                    (d.inputTop * (1 - kRangePartTolerance) +
                                                     d.inputBottom * (1 + kRangePartTolerance))
                                              : 1;
    const double signal = dividerHigh * r.hi;
    const double signalRoom = (r.fromMeasured ? r.hi : r.vplus) - kFamily.dropout;
    add(signal <= signalRoom, QStringLiteral("Signal pin at most ") + volts(signal) +
                                  QStringLiteral(" at the top of the range, against V+ - ") +
                                  volts(kFamily.dropout) + QStringLiteral(" = ") +
                                  volts(signalRoom) + QLatin1Char('.'));

    for (std::size_t k = 0; k < d.chips.size(); ++k) {
        const RangeChip& c = d.chips[k];
        const QString name = chipName(k);
        const double highest = std::max({c.vref.high, c.rhi.high, c.rlo.high});
        add(highest <= headroom && c.rlo.low >= 0,
            name + QStringLiteral(": REF OUT ") + fromTo(c.vref, volts) + QStringLiteral(", RHi ") +
                fromTo(c.rhi, volts) + QStringLiteral(", RLo ") + fromTo(c.rlo, volts) +
                QStringLiteral(" against V+ - ") + volts(kFamily.dropout) + QStringLiteral(" = ") +
                volts(headroom) + QLatin1Char('.'));

        const Band& i = c.ledMilliamps;
        add(i.low >= kFamily.ledCurrentMin && i.high <= kFamily.ledCurrentMax,
            name + QStringLiteral(": LED current ") + fromTo(i, milliamps) +
                QStringLiteral(" over the corners, against ") + milliamps(kFamily.ledCurrentMin) +
                QStringLiteral(" to ") + milliamps(kFamily.ledCurrentMax) + QLatin1Char('.'));

        const Band& load = c.referenceLoad;
        add(load.low > 0 && load.high <= kFamily.referenceLoadMax,
            name + QStringLiteral(": REF OUT gives ") + fromTo(load, milliamps) +
                QStringLiteral(" (it can give up to ") + milliamps(kFamily.referenceLoadMax) +
                QStringLiteral(" and cannot take current in)."));

        const double span = c.span.low;
        if (r.dot)
            add(span * smallestStep(*d.sheet) >= kFamily.minStepDot,
                name + QStringLiteral(": smallest step at least ") +
                    volts(span * smallestStep(*d.sheet)) + QStringLiteral(", dot mode needs ") +
                    volts(kFamily.minStepDot) + QLatin1Char('.'));
        else
            add(span >= kFamily.minSpanBar, name + QStringLiteral(": divider span at least ") +
                                                volts(span) + QStringLiteral(", bar mode needs ") +
                                                volts(kFamily.minSpanBar) + QLatin1Char('.'));

        const double power =
            worstPower(d, i.high / kMilli, s.ledHigh) + s.high * kFamily.standbyCurrent;
        const double ambient = kFamily.packageAmbient;
        add(power <= packageLimit(ambient),
            name + QStringLiteral(": dissipates up to ") + watts(power) +
                QStringLiteral(" at the highest LED current and supply") +
                (d.rlim > 0 ? QStringLiteral(" with the LED supply's series resistor")
                            : QString()) +
                QStringLiteral(", against the package's ") + watts(packageLimit(ambient)) +
                QStringLiteral(" at ") + QString::number(ambient) +
                QStringLiteral(" °C; it stands an ambient of up to ") +
                QString::number(std::floor(maxAmbient(power))) + QStringLiteral(" °C."));
    }
}

void rangeParts(RangeDesign& d) {
    const RangeRequest& r = d.request;
    auto& parts = d.parts;
    const auto resistor = [&parts](const QString& name, double ohmsValue, double voltsAcross) {
        if (ohmsValue <= 0)
            return;
        const double w = voltsAcross * voltsAcross / ohmsValue;
        parts.push_back({name, ohmsValue, ohms(ohmsValue), QStringLiteral("E96"),
                         QStringLiteral("1 %"), w, powerRating(w)});
    };
    const double pin = d.divider * r.hi;
    if (d.inputTop > 0) {
        resistor(QStringLiteral("Input, measured side to SIG (pin 5)"), d.inputTop, r.hi - pin);
        resistor(QStringLiteral("Input, SIG to ground"), d.inputBottom, pin);
    } else {
        resistor(QStringLiteral("Input protection in series with SIG (pin 5)"), d.protection, 0);
        parts.back().series = QStringLiteral("E24");
        parts.back().tolerance = QStringLiteral("5 %");
    }
    for (std::size_t k = 0; k < d.chips.size(); ++k) {
        const RangeChip& c = d.chips[k];
        const QString of = QStringLiteral(" (chip #") + QString::number(k + 1) + QLatin1Char(')');
        resistor(QStringLiteral("R1, REF OUT to REF ADJ") + of, c.R1, kFamily.reference.max);
        const double acrossR2 = std::max(0.0, c.vref.high - kFamily.reference.min);
        resistor(QStringLiteral("R2, REF ADJ to ground") + of, c.R2fixed, acrossR2);
        if (c.trimmer > 0) {
            const double w = acrossR2 * acrossR2 / std::max(c.R2, 1.0);
            parts.push_back(
                {QStringLiteral("R2 trimmer in series, set to ") + ohms(c.R2 - c.R2fixed) + of,
                 c.trimmer, ohms(c.trimmer), QStringLiteral("trimmer"), QStringLiteral("10 %"), w,
                 powerRating(w)});
        }
        resistor(QStringLiteral("Rx, REF OUT to RHi") + of, c.Rx, c.vref.high - c.rhi.low);
        resistor(QStringLiteral("Rm, RHi to RLo beside the chip's divider") + of, c.Rm,
                 c.rhi.high - c.rlo.low);
        resistor(QStringLiteral("Rb, RLo to ground") + of, c.Rb, c.rlo.high);
        if (d.rlim > 0) {
            // Ten LEDs lit at the highest current, as far as the supply lets them.
            const double ledHigh = r.fromMeasured ? r.hi : r.vled;
            const double amps =
                std::min(10 * c.ledMilliamps.high / kMilli, (ledHigh - r.ledVf) / d.rlim);
            const double w = amps * amps * d.rlim;
            parts.push_back({QStringLiteral("Rlim, LED supply to the LEDs' anodes") + of, d.rlim,
                             ohms(d.rlim), QStringLiteral("E96"), QStringLiteral("1 %"), w,
                             powerRating(w)});
        }
        parts.push_back({QStringLiteral("Capacitor, LED supply to pin 2") + of, 0,
                         Format(kFamily.ledBypassMicrofarads, "#0.0#") + QStringLiteral(" µF"),
                         QStringLiteral("solid tantalum"), QStringLiteral("20 %"), 0, 0});
    }
}

} // namespace kestrelon
