#include "designchecks.h"

#include "conversions.h"
#include "figuretext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace kestrelon {

namespace {

// A data-sheet limit as the sentences write it, without trailing zeros.
QString limitText(double value) {
    return QString::number(value);
}

QString mV(double volts) {
    return limitText(volts * 1000) + QStringLiteral(" mV");
}

Check outOfRange(CheckId id, const QString& what) {
    return {id, false, what + QStringLiteral(" is out of range.")};
}

QString degrees(double celsius) {
    return figure(celsius, "#0", "°C");
}

// "a chip with a 1.34 V reference and 120 µA out of its adjust pin": the corner's figures
// that move the reference, and with current, those that move the LED current too.
QString cornerText(const Corner& c, bool current) {
    QString text = QStringLiteral("a chip with a ") + volts(c.cell) + QStringLiteral(" reference");
    const QString adjust =
        figure(c.adjustCurrent * 1e6, "#0", "µA") + QStringLiteral(" out of its adjust pin");
    if (!current)
        return text + QStringLiteral(" and ") + adjust;
    return text + QStringLiteral(", ") + adjust + QStringLiteral(", a ") + ohms(c.dividerOhms) +
           QStringLiteral(" divider and ") + figure(c.outputRatio, "#0", "mA") +
           QStringLiteral(" per LED for each mA of reference current");
}

// "5.14 V (4.29 V to 5.87 V)", or the one figure when there is no spread.
QString withBand(const Band& b, QString (*unit)(double)) {
    if (b.low == b.high)
        return unit(b.nominal);
    return unit(b.nominal) + QStringLiteral(" (") + unit(b.low) + QStringLiteral(" to ") +
           unit(b.high) + QLatin1Char(')');
}

// A voltage on a pin that the chip needs between 0 V and V+ less the dropout; limit names the
// latter.
Check withinHeadroom(CheckId id, const QString& what, double v, const ChipDesign& d,
                     const QString& limit) {
    if (!showable(v) || !showable(d.headroom))
        return outOfRange(id, what);
    const QString lead = what + QStringLiteral(", ") + volts(v) + QStringLiteral(", is ");
    if (v > d.headroom)
        return {id, false, lead + QStringLiteral("above ") + limit + QLatin1Char('.')};
    if (v < 0)
        return {id, false, lead + QStringLiteral("below 0 V.")};
    return {id, true, lead + QStringLiteral("within 0 V to ") + limit + QLatin1Char('.')};
}

// The real reference (or RHi on it) over every corner against 0 .. V+ - 1.5 V.
Check bandWithinHeadroom(CheckId id, const QString& what, const ChipDesign& d,
                         const QString& limit) {
    const Band& b = d.real.reference;
    if (!showable(b.low) || !showable(b.high) || !showable(d.headroom))
        return outOfRange(id, what);
    if (!d.referenceWorks)
        return {id, false,
                what + QStringLiteral(", ") + volts(b.nominal) + QStringLiteral(", is above ") +
                    limit + QStringLiteral(": the chip cannot make it on this supply.")};
    const QString lead = what + QStringLiteral(" is ") + withBand(b, volts);
    if (b.nominal > d.headroom)
        return {id, false, lead + QStringLiteral(", above ") + limit + QLatin1Char('.')};
    if (b.high > d.headroom)
        return {id, false,
                lead + QStringLiteral("; ") + cornerText(d.real.referenceHighest, false) +
                    QStringLiteral(" makes ") + volts(b.high) + QStringLiteral(", above ") + limit +
                    QLatin1Char('.')};
    return {id, true,
            lead + QStringLiteral(", within 0 V to ") + limit +
                QStringLiteral(" on every chip the data sheet allows.")};
}

Check supply(const ChipDesign& d) {
    const QString what = QStringLiteral("V+");
    if (!showable(d.vplus))
        return outOfRange(CheckId::Supply, what);
    const QString lead = what + QStringLiteral(", ") + volts(d.vplus) + QStringLiteral(", is ");
    const QString absolute = limitText(kFamily.supplyAbsoluteMax) + QStringLiteral(" V");
    const QString specified = limitText(kFamily.supplyMin) + QStringLiteral(" to ") +
                              limitText(kFamily.supplyMax) + QStringLiteral(" V");
    if (d.vplus > kFamily.supplyAbsoluteMax)
        return {CheckId::Supply, false,
                lead + QStringLiteral("above the ") + absolute +
                    QStringLiteral(" absolute maximum.")};
    if (d.vplus < kFamily.supplyMin || d.vplus > kFamily.supplyMax)
        return {CheckId::Supply, false,
                lead + QStringLiteral("outside ") + specified +
                    QStringLiteral(", where the chip is specified (") + absolute +
                    QStringLiteral(" is the absolute maximum).")};
    return {CheckId::Supply, true, lead + QStringLiteral("within ") + specified + QLatin1Char('.')};
}

Check ledCurrent(const ChipDesign& d) {
    const QString what = QStringLiteral("The LED current");
    const Band& b = d.iled;
    if (!showable(b.low) || !showable(b.high))
        return outOfRange(CheckId::LedCurrent, what);
    const QString lead = what + QStringLiteral(" is ") + withBand(b, milliamps);
    const QString range = limitText(kFamily.ledCurrentMin) + QStringLiteral(" to ") +
                          limitText(kFamily.ledCurrentMax) + QStringLiteral(" mA");
    const QString outputs =
        QStringLiteral(", outside the ") + range + QStringLiteral(" the outputs are made for.");
    if (b.high > kFamily.ledCurrentMax)
        return {CheckId::LedCurrent, false,
                lead + QStringLiteral("; ") + cornerText(d.real.currentHighest, true) +
                    QStringLiteral(" gives ") + milliamps(b.high) + outputs};
    if (b.low < kFamily.ledCurrentMin)
        return {CheckId::LedCurrent, false,
                lead + QStringLiteral("; ") + cornerText(d.real.currentLowest, true) +
                    QStringLiteral(" gives ") + milliamps(b.low) + outputs};
    return {CheckId::LedCurrent, true,
            lead + QStringLiteral(", within ") + range +
                QStringLiteral(" on every chip the data sheet allows.")};
}

Check ledSupply(const ChipDesign& d) {
    const QString what = QStringLiteral("The LED supply");
    if (!showable(d.ledSupply))
        return outOfRange(CheckId::LedSupply, what);
    const double needed = d.ledVf + kFamily.dropout;
    const QString need = QStringLiteral("the LED's ") + volts(d.ledVf) + QStringLiteral(" plus ") +
                         limitText(kFamily.dropout) + QStringLiteral(" V dropout = ") +
                         volts(needed) + QLatin1Char('.');
    const QString lead = what + QStringLiteral(", ") + volts(d.ledSupply);
    if (d.ledSupply < needed)
        return {CheckId::LedSupply, false, lead + QStringLiteral(", is below ") + need};
    return {CheckId::LedSupply, true, lead + QStringLiteral(", covers ") + need};
}

Band spanOf(const ChipDesign& d) {
    const double rlo = d.real.nominal.rlo;
    return {d.real.rhi.low - rlo, d.real.rhi.nominal - rlo, d.real.rhi.high - rlo};
}

Check span(const ChipDesign& d) {
    const QString what = QStringLiteral("The divider span");
    const Band b = spanOf(d);
    if (!showable(b.low) || !showable(b.high))
        return outOfRange(CheckId::Span, what);
    const QString lead = what + QStringLiteral(" is ") + withBand(b, volts);
    if (b.nominal < 0)
        return {CheckId::Span, false, lead + QStringLiteral(": RHi is below RLo.")};
    if (b.low < kFamily.minSpanBar)
        return {CheckId::Span, false,
                lead + QStringLiteral(", less than the ") + mV(kFamily.minSpanBar) +
                    QStringLiteral(" the chip needs.")};
    return {CheckId::Span, true,
            lead + QStringLiteral(", at least ") + mV(kFamily.minSpanBar) + QLatin1Char('.')};
}

// The smallest step between two neighbouring thresholds as a share of the span, to a millionth:
// the ratios are decimal figures.
double smallestStep(ChipKind kind) {
    const auto& ratios = chipSheet(kind).ratios;
    double smallest = ratios[0];
    for (std::size_t i = 1; i < ratios.size(); ++i)
        smallest = std::min(smallest, ratios[i] - ratios[i - 1]);
    return std::round(smallest * 1e6) / 1e6;
}

Check dotStep(const ChipDesign& d) {
    const QString what = chipSheet(d.inputs.kind).linear()
                             ? QStringLiteral("The step in dot mode")
                             : QStringLiteral("The smallest step in dot mode");
    const double v = spanOf(d).low * smallestStep(d.circuit.kind);
    if (!showable(v))
        return outOfRange(CheckId::DotStep, what);
    const QString lead = what + QStringLiteral(" is ") + figure(v, "#0.000", "V");
    if (v < kFamily.minStepDot)
        return {CheckId::DotStep, false,
                lead + QStringLiteral(", less than the ") + mV(kFamily.minStepDot) +
                    QStringLiteral(" a dot display needs.")};
    return {CheckId::DotStep, true,
            lead + QStringLiteral(", at least ") + mV(kFamily.minStepDot) + QLatin1Char('.')};
}

Check dissipation(const ChipDesign& d) {
    const QString what = QStringLiteral("The chip's dissipation");
    if (!showable(d.power.watts))
        return outOfRange(CheckId::Dissipation, what);
    const double limit = packageLimit(d.ambient);
    const QString lead =
        what + QStringLiteral(" reaches ") + watts(d.power.watts) + QStringLiteral(" with ") +
        QString::number(d.power.lit) +
        (d.power.lit == 1 ? QStringLiteral(" LED lit") : QStringLiteral(" LEDs lit")) +
        QStringLiteral(" at ") + milliamps(d.power.ledCurrent) + QStringLiteral(" per LED");
    const QString package = QStringLiteral("the ") + watts(limit) +
                            QStringLiteral(" the moulded package takes at ") + degrees(d.ambient);
    const QString ambient = QStringLiteral("; it holds up to an ambient of ") +
                            degrees(d.maxAmbient) + QLatin1Char('.');
    if (d.power.watts > limit)
        return {CheckId::Dissipation, false, lead + QStringLiteral(", above ") + package + ambient};
    return {CheckId::Dissipation, true, lead + QStringLiteral(", within ") + package + ambient};
}

Check ledOutputs(const ChipDesign& d) {
    const QString what = QStringLiteral("An unlit output");
    const double v = d.ledSupply - d.ledVf;
    if (!showable(v))
        return outOfRange(CheckId::LedOutputs, what);
    const QString lead = what + QStringLiteral(" sees the LED supply less the LED, ") + volts(v);
    if (v > kFamily.ledOutputMax)
        return {CheckId::LedOutputs, false,
                lead + QStringLiteral(", above its ") + limitText(kFamily.ledOutputMax) +
                    QStringLiteral(" V absolute maximum.")};
    return {CheckId::LedOutputs, true,
            lead + QStringLiteral(", within its ") + limitText(kFamily.ledOutputMax) +
                QStringLiteral(" V absolute maximum.")};
}

Check referenceLoad(const ChipDesign& d) {
    const QString what = QStringLiteral("The reference's load");
    const Band& b = d.real.referenceCurrent;
    if (!showable(b.high))
        return outOfRange(CheckId::ReferenceLoad, what);
    const QString lead = what + QStringLiteral(" is ") + withBand(b, milliamps);
    if (b.high > kFamily.referenceLoadMax)
        return {CheckId::ReferenceLoad, false,
                lead + QStringLiteral(", above the ") + limitText(kFamily.referenceLoadMax) +
                    QStringLiteral(" mA it may supply.")};
    return {CheckId::ReferenceLoad, true,
            lead + QStringLiteral(", within the ") + limitText(kFamily.referenceLoadMax) +
                QStringLiteral(" mA it may supply.")};
}

// Everything a check's verdict and sentence are made of, as bits: -0 and 0 may read apart.
using Figures = std::array<std::uint64_t, 5>;

Figures figuresOf(CheckId id, const ChipDesign& d) {
    const auto bits = [](double a, double b = 0, double c = 0, double e = 0, double f = 0) {
        return Figures{std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b),
                       std::bit_cast<std::uint64_t>(c), std::bit_cast<std::uint64_t>(e),
                       std::bit_cast<std::uint64_t>(f)};
    };
    const Band& ref = d.real.reference;
    switch (id) {
    case CheckId::Reference:
        return bits(ref.low, ref.nominal, ref.high, d.headroom);
    case CheckId::RHi:
        return d.inputs.optRHi[0] ? bits(ref.low, ref.nominal, ref.high, d.headroom, 1)
                                  : bits(d.state.VrHi, d.headroom);
    case CheckId::RLo:
        return bits(d.state.VrLo, d.headroom);
    case CheckId::SignalFullScale:
        return bits(d.signalFullScale, d.headroom);
    case CheckId::Supply:
        return bits(d.vplus);
    case CheckId::LedCurrent:
        return bits(d.iled.low, d.iled.nominal, d.iled.high, d.real.currentHighest.outputRatio,
                    d.real.currentLowest.dividerOhms);
    case CheckId::LedSupply:
        return bits(d.ledSupply, d.ledVf);
    case CheckId::Span:
    case CheckId::DotStep:
        return bits(d.real.rhi.low, d.real.rhi.nominal, d.real.rhi.high, d.real.nominal.rlo);
    case CheckId::Dissipation:
        return bits(d.power.watts, d.power.lit, d.power.ledCurrent, d.ambient);
    case CheckId::LedOutputs:
        return bits(d.ledSupply, d.ledVf);
    case CheckId::ReferenceLoad:
        return bits(d.real.referenceCurrent.low, d.real.referenceCurrent.nominal,
                    d.real.referenceCurrent.high);
    }
    return {};
}

} // namespace

std::vector<Check> designChecks(const ChipDesign& d, const ChipDesign* previous) {
    std::vector<Check> checks;
    checks.reserve(12);
    // Most checks stay as they were from one slider step to the next.
    const auto add = [&](CheckId id, auto make) {
        const Check* last = previous ? previous->check(id) : nullptr;
        if (last && figuresOf(id, *previous) == figuresOf(id, d))
            checks.push_back(*last);
        else
            checks.push_back(make());
    };
    QString limit;
    const auto headroomLimit = [&] {
        if (limit.isEmpty())
            limit = QStringLiteral("V+ - ") + limitText(kDropout) + QStringLiteral(" V = ") +
                    volts(d.headroom);
        return limit;
    };
    const auto headroom = [&](CheckId id, const QString& what, double v) {
        add(id, [&] { return withinHeadroom(id, what, v, d, headroomLimit()); });
    };
    // Without its reference the chip's currents, thresholds and heat are not the data sheet's:
    // those checks are left out.
    const bool works = d.referenceWorks;
    const bool onReference = d.inputs.optRHi[0];
    add(CheckId::Reference, [&] {
        return bandWithinHeadroom(CheckId::Reference, QStringLiteral("The real reference"), d,
                                  headroomLimit());
    });
    if (onReference) {
        if (works)
            add(CheckId::RHi, [&] {
                return bandWithinHeadroom(CheckId::RHi,
                                          QStringLiteral("The RHi end, on the reference,"), d,
                                          headroomLimit());
            });
    } else {
        headroom(CheckId::RHi, QStringLiteral("The RHi end"), d.state.VrHi);
    }
    headroom(CheckId::RLo, QStringLiteral("The RLo end"), d.state.VrLo);
    headroom(CheckId::SignalFullScale, QStringLiteral("The signal's full scale"),
             d.signalFullScale);
    add(CheckId::Supply, [&] { return supply(d); });
    if (works)
        add(CheckId::LedCurrent, [&] { return ledCurrent(d); });
    add(CheckId::LedSupply, [&] { return ledSupply(d); });
    if (works || !onReference) {
        add(CheckId::Span, [&] { return span(d); });
        if (d.inputs.optMode[1])
            add(CheckId::DotStep, [&] { return dotStep(d); });
    }
    if (works)
        add(CheckId::Dissipation, [&] { return dissipation(d); });
    add(CheckId::LedOutputs, [&] { return ledOutputs(d); });
    if (works)
        add(CheckId::ReferenceLoad, [&] { return referenceLoad(d); });
    return checks;
}

} // namespace kestrelon
