#include "designchecks.h"

#include "figuretext.h"

#include <algorithm>
#include <array>
#include <bit>
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
    const QString what = QStringLiteral("The data-sheet LED current");
    const double i = d.iled.nominal;
    if (!showable(i))
        return outOfRange(CheckId::LedCurrent, what);
    const QString lead = what + QStringLiteral(", ") + milliamps(i) + QStringLiteral(", is ");
    const QString range = limitText(kFamily.ledCurrentMin) + QStringLiteral(" to ") +
                          limitText(kFamily.ledCurrentMax) + QStringLiteral(" mA");
    if (i < kFamily.ledCurrentMin || i > kFamily.ledCurrentMax)
        return {CheckId::LedCurrent, false,
                lead + QStringLiteral("outside the ") + range +
                    QStringLiteral(" the outputs are made for.")};
    return {CheckId::LedCurrent, true, lead + QStringLiteral("within ") + range + QLatin1Char('.')};
}

Check ledSupply(const ChipDesign& d) {
    const QString what = QStringLiteral("The LED supply");
    if (!showable(d.ledSupply))
        return outOfRange(CheckId::LedSupply, what);
    const double needed = d.ledVf + kDropout;
    const QString need = QStringLiteral("the LED's ") + volts(d.ledVf) + QStringLiteral(" plus ") +
                         limitText(kDropout) + QStringLiteral(" V dropout = ") + volts(needed) +
                         QLatin1Char('.');
    const QString lead = what + QStringLiteral(", ") + volts(d.ledSupply);
    if (d.ledSupply < needed)
        return {CheckId::LedSupply, false, lead + QStringLiteral(", is below ") + need};
    return {CheckId::LedSupply, true, lead + QStringLiteral(", covers ") + need};
}

Check span(const ChipDesign& d) {
    const QString what = QStringLiteral("The divider span");
    const double v = d.state.Span;
    if (!showable(v))
        return outOfRange(CheckId::Span, what);
    const QString lead = what + QStringLiteral(" is ") + volts(v);
    if (v < 0)
        return {CheckId::Span, false, lead + QStringLiteral(": RHi is below RLo.")};
    if (v < kFamily.minSpanBar)
        return {CheckId::Span, false,
                lead + QStringLiteral(", less than the ") + mV(kFamily.minSpanBar) +
                    QStringLiteral(" the chip needs.")};
    return {CheckId::Span, true,
            lead + QStringLiteral(", at least ") + mV(kFamily.minSpanBar) + QLatin1Char('.')};
}

// The narrowest gap between neighbouring thresholds, RLo counting as the one below LED 1; the
// linear chip's equal step as the window computes it.
double smallestStep(const ChipDesign& d) {
    const ChipSpec& spec = chipSpec(d.inputs.kind);
    if (spec.linear())
        return d.state.Step;
    double below = 0;
    double smallest = spec.ratios[0];
    for (double k : spec.ratios) {
        smallest = std::min(smallest, k - below);
        below = k;
    }
    return d.state.Span * smallest;
}

Check dotStep(const ChipDesign& d) {
    const QString what = chipSpec(d.inputs.kind).linear()
                             ? QStringLiteral("The step in dot mode")
                             : QStringLiteral("The smallest step in dot mode");
    const double v = smallestStep(d);
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
    if (!showable(d.pchipWorst))
        return outOfRange(CheckId::Dissipation, what);
    const QString lead = what + QStringLiteral(" reaches ") + watts(d.pchipWorst);
    const QString limit = QStringLiteral("the ") + limitText(kPackageLimit) +
                          QStringLiteral(" W the moulded package takes at ") +
                          limitText(kFamily.packageAmbient) + QStringLiteral(" °C.");
    if (d.pchipWorst > kPackageLimit)
        return {CheckId::Dissipation, false, lead + QStringLiteral(", above ") + limit};
    return {CheckId::Dissipation, true, lead + QStringLiteral(", within ") + limit};
}

// Everything a check's verdict and sentence are made of, as bits: -0 and 0 may read apart.
std::array<std::uint64_t, 2> figuresOf(CheckId id, const ChipDesign& d) {
    const auto pair = [](double a, double b) {
        return std::array{std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b)};
    };
    switch (id) {
    case CheckId::Reference:
        return pair(d.vref.nominal, d.headroom);
    case CheckId::RHi:
        return pair(d.state.VrHi, d.headroom);
    case CheckId::RLo:
        return pair(d.state.VrLo, d.headroom);
    case CheckId::SignalFullScale:
        return pair(d.signalFullScale, d.headroom);
    case CheckId::Supply:
        return pair(d.vplus, 0);
    case CheckId::LedCurrent:
        return pair(d.iled.nominal, 0);
    case CheckId::LedSupply:
        return pair(d.ledSupply, d.ledVf);
    case CheckId::Span:
        return pair(d.state.Span, 0);
    case CheckId::DotStep:
        return pair(smallestStep(d), 0);
    case CheckId::Dissipation:
        return pair(d.pchipWorst, 0);
    }
    return {};
}

} // namespace

std::vector<Check> designChecks(const ChipDesign& d, const ChipDesign* previous) {
    std::vector<Check> checks;
    checks.reserve(10);
    // Most checks stay as they were from one slider step to the next.
    const auto add = [&](CheckId id, auto make) {
        const Check* last = previous ? previous->check(id) : nullptr;
        if (last && figuresOf(id, *previous) == figuresOf(id, d))
            checks.push_back(*last);
        else
            checks.push_back(make());
    };
    QString limit;
    const auto headroom = [&](CheckId id, const QString& what, double v) {
        add(id, [&] {
            if (limit.isEmpty())
                limit = QStringLiteral("V+ - ") + limitText(kDropout) + QStringLiteral(" V = ") +
                        volts(d.headroom);
            return withinHeadroom(id, what, v, d, limit);
        });
    };
    headroom(CheckId::Reference, QStringLiteral("The data-sheet reference"), d.vref.nominal);
    headroom(CheckId::RHi, QStringLiteral("The RHi end"), d.state.VrHi);
    headroom(CheckId::RLo, QStringLiteral("The RLo end"), d.state.VrLo);
    headroom(CheckId::SignalFullScale, QStringLiteral("The signal's full scale"),
             d.signalFullScale);
    add(CheckId::Supply, [&] { return supply(d); });
    add(CheckId::LedCurrent, [&] { return ledCurrent(d); });
    add(CheckId::LedSupply, [&] { return ledSupply(d); });
    add(CheckId::Span, [&] { return span(d); });
    if (d.inputs.optMode[1])
        add(CheckId::DotStep, [&] { return dotStep(d); });
    add(CheckId::Dissipation, [&] { return dissipation(d); });
    return checks;
}

} // namespace kestrelon
