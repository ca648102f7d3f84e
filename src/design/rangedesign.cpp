#include "rangedesign.h"

#include "figuretext.h"
#include "rangesteps.h"
#include "realchip.h"
#include "standardvalues.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kestrelon {

namespace {

// Design choices, not chip figures.
constexpr double kTopMargin = 1.15; // nominal top under V+ - 1.5 V, room for the reference's spread
constexpr double kGroundFit = 0.01; // RLo goes to 0 V when every LED stays this close to its aim
constexpr double kStringShare = 0.4; // of a chip's reference current given to its string
constexpr double kLowestTop = 1.5;   // V at REF OUT at least, so R2 keeps room for its trimmer
constexpr double kPartTolerance = kRangePartTolerance;
constexpr double kInputTop = 100e3; // ohm, the input divider's upper part, about
constexpr double kMilli = 1000;

double parallel(double a, double b) {
    return a * b / (a + b);
}

double e96(double ohms) {
    return nearestStandard(ohms, Series::E96);
}

// The E96 pair (a near aExact, b near bExact) whose ratio(a, b) comes closest to target.
template <typename Ratio>
std::pair<double, double> bestPair(double aExact, double bExact, double target, Ratio ratio) {
    std::pair<double, double> best{e96(aExact), e96(bExact)};
    double bestError = std::numeric_limits<double>::infinity();
    for (int i = -8; i <= 8; ++i) {
        const double a = e96(aExact * std::pow(1.012, i));
        for (int j = -3; j <= 3; ++j) {
            const double b = e96(bExact * std::pow(1.012, j));
            const double error = std::fabs(ratio(a, b) / target - 1);
            if (error < bestError) {
                bestError = error;
                best = {a, b};
            }
        }
    }
    return best;
}

// Where the range sits on the chips before any part is chosen.
struct Layout {
    int chips = 1;
    double A = 0;       // V measured at chip #1's RLo
    double D = 0;       // V measured across each chip's divider
    double divider = 1; // aimed at; the parts' ratio is what counts
    double widest = 1;  // the largest divider the supply allows
    double headroom = 0;
    RangeLow low = RangeLow::Ground;
};

QString layOut(const RangeRequest& r, const ChipSheet& sheet, RangeDesign& d, Layout& l) {
    if (!showable(r.lo) || !showable(r.hi) || !showable(r.vplus) || !showable(r.vled) ||
        !showable(r.ledMilliamps))
        return QStringLiteral("A figure is out of range.");
    if (r.lo < 0)
        return QStringLiteral("The chip cannot show a voltage below 0 V: its inputs may not go "
                              "below its ground.");
    if (r.hi <= r.lo)
        return QStringLiteral("The last LED must light above LED 1: enter a top above the "
                              "bottom.");
    if (r.ledMilliamps < kFamily.ledCurrentMin || r.ledMilliamps > kFamily.ledCurrentMax)
        return QStringLiteral("The LED current must be ") + milliamps(kFamily.ledCurrentMin) +
               QStringLiteral(" to ") + milliamps(kFamily.ledCurrentMax) +
               QStringLiteral(", as the data sheet programs it.");
    const double supply = r.fromMeasured ? r.lo : r.vplus;
    if (supply < kFamily.supplyMin)
        return QStringLiteral("The chip needs a supply of at least ") + volts(kFamily.supplyMin) +
               QStringLiteral("; it would get ") + volts(supply) + QLatin1Char('.');
    const double supplyTop = r.fromMeasured ? r.hi : r.vplus;
    if (supplyTop > kFamily.supplyAbsoluteMax)
        return QStringLiteral("The chip's supply would reach ") + volts(supplyTop) +
               QStringLiteral(", above its absolute maximum of ") +
               volts(kFamily.supplyAbsoluteMax) + QLatin1Char('.');
    const double ledSupply = r.fromMeasured ? r.lo : r.vled;
    if (ledSupply < r.ledVf + kFamily.dropout)
        return QStringLiteral("The LED supply (") + volts(ledSupply) +
               QStringLiteral(") is too low: it must be at least the LED's ") + volts(r.ledVf) +
               QStringLiteral(" plus the outputs' ") + volts(kFamily.dropout) +
               QStringLiteral(", ") + volts(r.ledVf + kFamily.dropout) + QLatin1Char('.');

    l.chips = r.leds == 20 ? 2 : 1;
    l.headroom = supply - kFamily.dropout;
    const double k1 = sheet.ratios[0];
    d.zeroBased = r.lo == 0;
    if (d.zeroBased) {
        l.A = 0;
        l.D = r.hi / l.chips;
    } else {
        l.D = (r.hi - r.lo) / (l.chips - k1);
        l.A = r.hi - l.chips * l.D;
    }
    for (int k = 0; k < l.chips; ++k)
        for (const double ratio : sheet.ratios)
            d.thresholds.push_back({l.A + l.D * (k + ratio), {}, {}});

    // RLo at 0 V saves the parts that would lift it, when the scale stays true to 1 %.
    if (l.A > 0) {
        double low = std::numeric_limits<double>::infinity();
        double high = 0;
        for (int k = 0; k < l.chips; ++k)
            for (std::size_t n = 0; n < sheet.ratios.size(); ++n) {
                const double r = (k + sheet.ratios[n]) / d.thresholds[k * 10 + n].asked;
                low = std::min(low, r);
                high = std::max(high, r);
            }
        if ((high - low) / (high + low) <= kGroundFit) {
            l.A = 0;
            l.D = 2 / (low + high);
        }
    }

    const double top = l.A + l.chips * l.D;
    const double widest = std::min(1.0, l.headroom / (top * kTopMargin));
    const double spanAtPins = widest * l.D;
    if (!r.dot && spanAtPins < kFamily.minSpanBar)
        return QStringLiteral("Across a chip's divider the range spans only ") + volts(spanAtPins) +
               QStringLiteral("; in bar mode the data sheet asks for at least ") +
               volts(kFamily.minSpanBar) + QLatin1Char('.');
    if (r.dot && spanAtPins * smallestStep(sheet) < kFamily.minStepDot)
        return QStringLiteral("Across a chip's divider the smallest step is only ") +
               volts(spanAtPins * smallestStep(sheet)) +
               QStringLiteral("; dot mode needs at least ") + volts(kFamily.minStepDot) +
               QStringLiteral(" per step.");

    l.divider = widest;
    l.widest = widest;
    l.low = l.A > 0 ? RangeLow::RefString : RangeLow::Ground;
    // RLo on REF ADJ spans the reference's own 1.25 V: no string, where the divider allows it.
    const double atRefAdj = kFamily.referenceNominal / l.D;
    if (l.A > 0 && atRefAdj <= widest) {
        l.divider = atRefAdj;
        l.low = RangeLow::RefAdj;
    }
    if (l.chips == 2 && l.divider * (l.A + l.D) < kFamily.referenceNominal)
        return QStringLiteral("The middle of the range reaches only ") +
               volts(l.divider * (l.A + l.D)) +
               QStringLiteral(" at the pins; chip #1's reference, which chip #2 stands on, "
                              "cannot go below ") +
               volts(kFamily.referenceNominal) + QLatin1Char('.');
    return {};
}

void chooseInputDivider(RangeDesign& d, double aim) {
    d.inputTop = 0;
    d.inputBottom = 0;
    d.protection = 0;
    if (aim >= 1 - 1e-9) {
        d.divider = 1;
        d.protection = kFamily.signalSeriesResistor;
        return;
    }
    const auto [top, bottom] = bestPair(kInputTop, kInputTop * aim / (1 - aim), aim,
                                        [](double a, double b) { return b / (a + b); });
    d.inputTop = top;
    d.inputBottom = bottom;
    d.divider = bottom / (top + bottom);
}

// R2 made of a fixed part and a trimmer whose travel covers what every corner of the chip needs.
void splitR2(RangeChip& c, double nominal, double least, double most) {
    c.R2 = nominal;
    if (most <= 0)
        return;
    c.R2fixed = standardAtOrBelow(least / (1 + kPartTolerance), Series::E96);
    c.trimmer = trimmerAtOrAbove(most * (1 + kPartTolerance) - c.R2fixed);
    // Beyond the largest trimmer: a fixed part alone, and the corners show what that costs.
    if (c.trimmer == 0) {
        c.R2fixed = e96(nominal);
        c.R2 = c.R2fixed;
    }
}

QString chooseParts(RangeDesign& d, const Layout& l) {
    const RangeRequest& r = d.request;
    const double perChip = r.ledMilliamps / kFamily.outputRatio.typ / kMilli; // A out of REF OUT
    const double vr = kFamily.referenceNominal;
    const double rcTyp = d.sheet->dividerOhms.typ;
    const double top = d.divider * (l.A + l.chips * l.D);
    const double chip1Top = d.divider * (l.A + l.D);
    const double rlo = d.divider * l.A;
    d.chips.assign(l.chips, RangeChip{});

    const auto notEnough = [&](int chip, double taken) -> QString {
        return QStringLiteral("At ") + milliamps(r.ledMilliamps) +
               QStringLiteral(" per LED, chip #") + QString::number(chip + 1) +
               QStringLiteral("'s reference gives ") + milliamps(perChip * kMilli) +
               QStringLiteral(", and its divider alone takes ") + milliamps(taken * kMilli) +
               QStringLiteral(": raise the LED current.");
    };
    // R2 for RHi on REF OUT at top: the real chip's fixed part and trimmer.
    const auto topR2 = [&](RangeChip& c, double target) {
        RealCircuit circuit;
        circuit.kind = r.kind;
        circuit.R1 = c.R1;
        circuit.resistorTolerance = kPartTolerance;
        const TrimmedR2 t = trimmedR2(circuit, Series::E96, target);
        c.R2 = std::max(0.0, (target - vr) / (vr / c.R1 + kFamily.adjustCurrent.typ));
        c.R2fixed = t.fixed;
        c.trimmer = t.trimmer;
        // Beyond the largest trimmer: a fixed part alone, and the corners show what that costs.
        if (t.trimmer == 0 && t.needHigh > 0)
            c.R2 = c.R2fixed = e96(c.R2);
    };
    // Chip #2 first: its divider's current flows into chip #1's REF OUT.
    double fromAbove = 0;
    if (l.chips == 2) {
        RangeChip& c = d.chips[1];
        c.onChipBelow = true;
        fromAbove = (top - chip1Top) / rcTyp;
        if (perChip - fromAbove <= 0.1 * perChip)
            return notEnough(1, fromAbove);
        c.R1 = e96(vr / (perChip - fromAbove));
        topR2(c, top);
    }

    RangeChip& c = d.chips[0];
    c.low = l.low;
    const double available = perChip + fromAbove;
    const double high = l.chips == 2 ? chip1Top : top;
    double taken = 0;
    double vout = high;
    if (c.low == RangeLow::RefAdj) {
        taken = vr / rcTyp;
    } else if (c.low == RangeLow::Ground && high >= kLowestTop) {
        taken = high / rcTyp;
    } else {
        c.low = RangeLow::RefString;
        // Chip #2 stands on chip #1's REF OUT, so a stacked chip #1 has its RHi there.
        vout = l.chips == 2 ? high : std::max(high, kLowestTop);
        double string = kStringShare * available;
        double rp = (high - rlo) / string;
        if (rp >= 0.5 * rcTyp) {
            rp = rcTyp;
            string = (high - rlo) / rp;
        } else {
            c.Rm = e96(1 / (1 / rp - 1 / rcTyp));
        }
        if (vout > high)
            c.Rx = e96((vout - high) / string);
        if (rlo > 0) {
            if (c.Rm > 0) {
                const auto [m, b] =
                    bestPair(c.Rm, rlo / string, rlo / high,
                             [&](double m, double b) { return b / (parallel(m, rcTyp) + b); });
                c.Rm = m;
                c.Rb = b;
            } else {
                c.Rb = e96(rlo / string);
            }
        }
        taken = string;
    }
    if (available - taken <= 0.1 * available)
        return notEnough(0, taken);
    c.R1 = e96(vr / (available - taken));
    if (c.low == RangeLow::RefAdj) {
        // RLo on REF ADJ: R2 carries the chip's divider current too, so every corner counts.
        c.trimmedLed = 0;
        const auto needed = [&](const Corner& k) {
            return rlo / (k.cell / (c.R1 * k.r1Factor) + k.cell / k.dividerOhms + k.adjustCurrent);
        };
        double least = std::numeric_limits<double>::infinity();
        double most = 0;
        for (const Corner& k : dataSheetCorners(r.kind, kPartTolerance)) {
            least = std::min(least, needed(k));
            most = std::max(most, needed(k));
        }
        splitR2(c, needed(nominalCorner(r.kind)), least, most);
    } else {
        const double rp = c.Rm > 0 ? parallel(c.Rm, rcTyp) : rcTyp;
        topR2(c, c.Rx > 0 || c.Rb > 0 ? high * (c.Rx + rp + c.Rb) / (rp + c.Rb) : high);
    }
    return {};
}

} // namespace

bool RangeDesign::checksPass() const {
    return std::all_of(checks.begin(), checks.end(), [](const RangeCheck& c) { return c.passed; });
}

namespace {

// The design, or why it cannot be made; with full, also its corners, checks and parts.
RangeDesign designOnly(const RangeRequest& request, bool full) {
    RangeDesign d;
    d.request = request;
    d.sheet = &chipSheet(request.kind);
    Layout l;
    d.why = layOut(request, *d.sheet, d, l);
    if (!d.why.isEmpty()) {
        d.thresholds.clear();
        return d;
    }
    d.headroom = l.headroom;
    double aim = l.divider;
    for (int attempt = 0;; ++attempt) {
        chooseInputDivider(d, aim);
        d.why = chooseParts(d, l);
        if (d.why.isEmpty() || attempt == 12)
            break;
        // The chips' own dividers take too much of the reference's current at these voltages:
        // first a string instead of REF ADJ, then less of the range at the pins while the span
        // still suffices.
        if (l.low == RangeLow::RefAdj) {
            l.low = RangeLow::RefString;
            aim = l.widest;
            continue;
        }
        if (aim * 0.8 * l.D < minimumSpan(request, *d.sheet))
            break;
        aim *= 0.8;
    }
    if (!d.why.isEmpty()) {
        d.chips.clear();
        d.thresholds.clear();
        return d;
    }
    d.made = true;
    if (full) {
        evaluateCorners(d, false);
        evaluateCorners(d, true);
        sizeLimitingResistor(d);
        rangeChecks(d);
        rangeParts(d);
    }
    return d;
}

// The range nearest to the request that can be made: the top raised, the bottom lowered or
// the whole range moved up (a supply taken from the range), whichever changes least.
void findNearest(RangeDesign& d) {
    const RangeRequest& r = d.request;
    if (!showable(r.lo) || !showable(r.hi) || r.ledMilliamps < kFamily.ledCurrentMin ||
        r.ledMilliamps > kFamily.ledCurrentMax)
        return;
    const auto makes = [&r](double lo, double hi) {
        RangeRequest t = r;
        t.lo = lo;
        t.hi = hi;
        return designOnly(t, false).made;
    };
    const double lo = std::max(0.0, r.lo);
    const double hi = std::max(r.hi, lo);
    const double farthest = kFamily.signalProtectedVolts;
    // The least t in (0, limit] at which moved(t) can be made, if any.
    const auto least = [](double limit, auto moved) {
        if (!(limit > 0) || !moved(limit))
            return -1.0;
        double below = 0;
        double above = limit;
        for (int i = 0; i < 48; ++i) {
            const double mid = (below + above) / 2;
            (moved(mid) ? above : below) = mid;
        }
        return above;
    };
    struct Candidate {
        double t;
        double lo;
        double hi;
    };
    std::vector<Candidate> found;
    const auto add = [&](double t, double newLo, double newHi) {
        if (t >= 0)
            found.push_back({t, newLo, newHi});
    };
    const double up = least(farthest, [&](double t) { return makes(lo, hi + t); });
    add(up, lo, hi + up);
    const double down = least(lo, [&](double t) { return makes(lo - t, hi); });
    add(down, lo - down, hi);
    const double shift = least(farthest, [&](double t) { return makes(lo + t, hi + t); });
    add(2 * shift, lo + shift, hi + shift);
    if (found.empty())
        return;
    const auto best = std::min_element(found.begin(), found.end(),
                                       [](const auto& a, const auto& b) { return a.t < b.t; });
    d.hasNearest = true;
    d.nearestLo = best->lo;
    d.nearestHi = best->hi;
}

} // namespace

RangeDesign designRange(const RangeRequest& request) {
    RangeDesign d = designOnly(request, true);
    if (!d.made)
        findNearest(d);
    return d;
}

} // namespace kestrelon
