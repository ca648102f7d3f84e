#include "realchip.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrelon {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void widen(Band& band, double value) {
    band.low = std::min(band.low, value);
    band.high = std::max(band.high, value);
}

Band startBand(double nominal) {
    return {nominal, nominal, nominal};
}

// Typical standby current, straight between the data sheet's two supplies.
double standbyCurrent(double vplus) {
    const FamilyLimits& f = kFamily;
    const double slope =
        (f.standbyCurrentHigh - f.standbyCurrent) / (f.standbySupplyHigh - f.standbySupply);
    return f.standbyCurrent + slope * std::max(0.0, vplus - f.standbySupply);
}

// The reference with R1 and R2 in place: the cell across R1 and the adjust-pin current, both
// through R2.
double referenceOf(double cell, double adjustCurrent, double r1, double r2) {
    return cell * (1 + r2 / r1) + adjustCurrent * r2;
}

} // namespace

Corner nominalCorner(ChipKind kind) {
    Corner corner;
    corner.dividerOhms = chipSheet(kind).dividerOhms.typ;
    return corner;
}

std::vector<Corner> dataSheetCorners(ChipKind kind, double resistorTolerance) {
    const FamilyLimits& f = kFamily;
    const Spread& divider = chipSheet(kind).dividerOhms;
    const int bits = resistorTolerance > 0 ? 6 : 4;
    std::vector<Corner> corners;
    corners.reserve(std::size_t{1} << bits);
    for (int mask = 0; mask < (1 << bits); ++mask) {
        const auto pick = [mask](int bit, double low, double high) {
            return mask & (1 << bit) ? high : low;
        };
        Corner c;
        c.cell = pick(0, f.reference.min, f.reference.max);
        c.adjustCurrent = pick(1, f.adjustCurrent.min, f.adjustCurrent.max);
        c.dividerOhms = pick(2, divider.min, divider.max);
        c.outputRatio = pick(3, f.outputRatio.min, f.outputRatio.max);
        c.r1Factor = pick(4, 1 - resistorTolerance, 1 + resistorTolerance);
        c.r2Factor = pick(5, 1 - resistorTolerance, 1 + resistorTolerance);
        corners.push_back(c);
    }
    return corners;
}

RealFigures realFigures(const RealCircuit& c, const Corner& corner) {
    RealFigures f;
    const double r1 = c.R1 * corner.r1Factor;
    const double r2 = c.R2 * corner.r2Factor;
    f.reference = r1 > 0 ? referenceOf(corner.cell, corner.adjustCurrent, r1, r2) : kNaN;
    f.r1Current = r1 > 0 ? corner.cell / r1 * 1000 : kNaN;
    f.rlo = c.rloVolts;
    f.rhi = c.rhiOnReference ? f.reference : c.rhiVolts;
    f.dividerCurrent = c.rhiOnReference ? (f.reference - f.rlo) / corner.dividerOhms * 1000 : 0;
    f.referenceCurrent = f.r1Current + f.dividerCurrent;
    f.ledCurrent = corner.outputRatio * f.referenceCurrent;
    const auto& ratios = chipSheet(c.kind).ratios;
    for (std::size_t i = 0; i < ratios.size(); ++i)
        f.thresholds[i] = f.rlo + (f.rhi - f.rlo) * ratios[i];
    return f;
}

RealBands realBands(const RealCircuit& c) {
    RealBands b;
    b.nominal = realFigures(c, nominalCorner(c.kind));
    const RealFigures& n = b.nominal;
    b.reference = startBand(n.reference);
    b.referenceCurrent = startBand(n.referenceCurrent);
    b.ledCurrent = startBand(n.ledCurrent);
    b.rhi = startBand(n.rhi);
    for (std::size_t i = 0; i < n.thresholds.size(); ++i)
        b.thresholds[i] = startBand(n.thresholds[i]);
    b.referenceHighest = b.referenceLowest = b.currentHighest = b.currentLowest =
        nominalCorner(c.kind);
    for (const Corner& corner : dataSheetCorners(c.kind, c.resistorTolerance)) {
        const RealFigures f = realFigures(c, corner);
        if (f.reference > b.reference.high)
            b.referenceHighest = corner;
        if (f.reference < b.reference.low)
            b.referenceLowest = corner;
        if (f.ledCurrent > b.ledCurrent.high)
            b.currentHighest = corner;
        if (f.ledCurrent < b.ledCurrent.low)
            b.currentLowest = corner;
        widen(b.reference, f.reference);
        widen(b.referenceCurrent, f.referenceCurrent);
        widen(b.ledCurrent, f.ledCurrent);
        widen(b.rhi, f.rhi);
        for (std::size_t i = 0; i < f.thresholds.size(); ++i)
            widen(b.thresholds[i], f.thresholds[i]);
    }
    return b;
}

double headroom(const RealCircuit& c) {
    return c.vplus - kFamily.dropout;
}

bool referenceWorks(const RealCircuit& c, const RealBands& b) {
    return b.reference.low <= c.vplus;
}

double outputCurrent(const RealCircuit& c, int lit, double programmed) {
    if (lit <= 0 || c.seriesOhms <= 0)
        return programmed;
    const double available = c.ledSupply - c.ledVf - kFamily.dropout;
    if (available <= 0)
        return 0;
    return std::min(programmed, available / c.seriesOhms / lit * 1000);
}

double chipPower(const RealCircuit& c, int lit, const RealFigures& f) {
    const double total = lit * outputCurrent(c, lit, f.ledCurrent) / 1000;
    const double acrossOutputs = std::max(0.0, c.ledSupply - c.ledVf - c.seriesOhms * total);
    const double vplus = std::max(0.0, c.vplus);
    const double reference = std::max(0.0, vplus - f.reference) * f.referenceCurrent / 1000;
    return total * acrossOutputs + vplus * standbyCurrent(vplus) + std::max(0.0, reference);
}

WorstPower worstChipPower(const RealCircuit& c) {
    WorstPower worst;
    worst.watts = -std::numeric_limits<double>::infinity();
    const auto consider = [&](const Corner& corner) {
        const RealFigures f = realFigures(c, corner);
        for (int lit = c.dot ? 1 : 0; lit <= (c.dot ? 1 : 10); ++lit) {
            const double watts = chipPower(c, lit, f);
            if (watts > worst.watts || std::isnan(watts))
                worst = {watts, lit, f.ledCurrent};
            if (std::isnan(watts))
                return;
        }
    };
    consider(nominalCorner(c.kind));
    for (const Corner& corner : dataSheetCorners(c.kind, c.resistorTolerance))
        consider(corner);
    return worst;
}

double maxAmbient(double watts) {
    return kFamily.junctionMax - kFamily.thetaJA * watts;
}

double packageLimit(double ambient) {
    return (kFamily.junctionMax - ambient) / kFamily.thetaJA;
}

RealLimiter sizeLimiter(const RealCircuit& c, const RealBands& b) {
    RealLimiter r;
    if (c.dot)
        return r;
    r.highCurrent = b.ledCurrent.high;
    const double total = 10 * r.highCurrent / 1000;
    if (!(total > 0) || !std::isfinite(total))
        return r;
    // The window's rule: what is left after the LEDs beyond 1 W in the chip goes to the resistor.
    const double acrossChip = 1 / total;
    r.minimum = (c.ledSupply - c.ledVf - acrossChip) / total;
    r.proposed = r.minimum > 0.5;
    if (!r.proposed)
        return r;
    r.ohms = e24AtOrAbove(r.minimum);
    if (r.ohms <= 0)
        return r;
    r.watts = total * total * r.ohms;
    r.rating = powerRating(r.watts);
    RealCircuit with = c;
    with.seriesOhms = r.ohms;
    for (int lit = 1; lit <= 10 && r.starvedFrom == 0; ++lit)
        if (outputCurrent(with, lit, r.highCurrent) < r.highCurrent)
            r.starvedFrom = lit;
    r.currentAllLit = outputCurrent(with, 10, r.highCurrent);
    return r;
}

TargetCost targetCost(double volts, double milliamps, double targetVolts, double targetMilliamps,
                      double tolerance) {
    const double ev = std::fabs(volts - targetVolts) / targetVolts;
    const double ei = std::fabs(milliamps - targetMilliamps) / targetMilliamps;
    return {std::max(0.0, ev - tolerance), ev + ei};
}

bool onTarget(double volts, double milliamps, double targetVolts, double targetMilliamps) {
    return std::fabs(volts - targetVolts) <= kTargetTolerance * std::fabs(targetVolts) &&
           std::fabs(milliamps - targetMilliamps) <= kTargetTolerance * std::fabs(targetMilliamps);
}

RealPair bestStandardPair(const RealCircuit& c, Series series, double targetVolts,
                          double targetMilliamps) {
    RealPair best;
    if (!(targetVolts > 0) || !(targetMilliamps > 0) || !std::isfinite(targetVolts) ||
        !std::isfinite(targetMilliamps))
        return best;
    const Corner nominal = nominalCorner(c.kind);
    // R1 carries what the divider leaves of the reference current.
    const double divider =
        c.rhiOnReference ? (targetVolts - c.rloVolts) / nominal.dividerOhms * 1000 : 0;
    const double r1Current = targetMilliamps / nominal.outputRatio - divider;
    const double guess = r1Current > 0 ? nominal.cell / r1Current * 1000 : c.R1;
    if (!(guess > 0) || !std::isfinite(guess))
        return best;
    RealCircuit trial = c;
    TargetCost bestCost{std::numeric_limits<double>::infinity(), 0};
    const auto consider = [&](double r1, double r2) {
        trial.R1 = r1;
        trial.R2 = r2;
        const RealFigures f = realFigures(trial, nominal);
        const TargetCost cost = targetCost(f.reference, f.ledCurrent, targetVolts, targetMilliamps,
                                           seriesTolerance(series));
        if (cost < bestCost) {
            bestCost = cost;
            best.R1 = r1;
            best.R2 = r2;
            best.reference = f.reference;
            best.ledCurrent = f.ledCurrent;
        }
    };
    for (const double r1 : standardValuesBetween(guess / 2, guess * 2, series)) {
        const double r2 =
            (targetVolts - nominal.cell) / (nominal.cell / r1 + nominal.adjustCurrent);
        if (r2 <= 0) {
            consider(r1, 0);
            continue;
        }
        // The parts on either side of the R2 that puts the reference on target.
        consider(r1, standardAtOrBelow(r2, series));
        if (const double above = standardAbove(r2, series); above > 0)
            consider(r1, above);
    }
    if (best.R1 <= 0)
        return best;
    best.referenceError = (best.reference - targetVolts) / targetVolts;
    best.currentError = (best.ledCurrent - targetMilliamps) / targetMilliamps;
    trial.R1 = best.R1;
    trial.R2 = best.R2;
    trial.resistorTolerance = seriesTolerance(series);
    const RealBands bands = realBands(trial);
    best.referenceBand = bands.reference;
    best.currentBand = bands.ledCurrent;
    return best;
}

TrimmedR2 trimmedR2(const RealCircuit& c, Series fixedSeries, double targetVolts) {
    TrimmedR2 t;
    if (!(c.R1 > 0) || !std::isfinite(targetVolts))
        return t;
    const FamilyLimits& f = kFamily;
    t.needLow = std::numeric_limits<double>::infinity();
    t.needHigh = -std::numeric_limits<double>::infinity();
    for (const double cell : {f.reference.min, f.reference.max})
        for (const double adjust : {f.adjustCurrent.min, f.adjustCurrent.max})
            for (const double factor : {1 - c.resistorTolerance, 1 + c.resistorTolerance}) {
                const double need = (targetVolts - cell) / (cell / (c.R1 * factor) + adjust);
                t.needLow = std::min(t.needLow, need);
                t.needHigh = std::max(t.needHigh, need);
            }
    if (t.needHigh <= 0)
        return t;
    const double tolerance = seriesTolerance(fixedSeries);
    t.fixed = t.needLow > 0 ? standardAtOrBelow(t.needLow / (1 + tolerance), fixedSeries) : 0;
    t.trimmer = trimmerAtOrAbove(t.needHigh - t.fixed * (1 - tolerance));
    return t;
}

} // namespace kestrelon
