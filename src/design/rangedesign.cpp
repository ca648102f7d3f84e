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

// Everything that differs between two builds of one design: each chip's data-sheet corner (R1
// and R2 at their tolerance included), where its trimmer was turned, and the other parts'
// actual values.
struct Build {
    std::array<Corner, 2> chip{};
    std::array<double, 2> R2{}; // ohm before the corner's tolerance
    double Rx = 0;
    double Rm = 0;
    double Rb = 0;
    double inTop = 0;
    double inBottom = 0;
};

struct Outcome {
    std::array<double, 2> vout{};
    std::array<double, 2> vlo{};
    std::array<double, 2> vhi{};
    std::array<double, 2> load{};        // mA out of REF OUT
    std::array<double, 2> iled{};        // mA per LED
    std::array<double, 20> thresholds{}; // V measured
};

double dividerOf(const Build& b) {
    return b.inTop > 0 ? b.inBottom / (b.inTop + b.inBottom) : 1;
}

// A chip with RHi on its REF OUT and RLo held at rlo, as the real-chip model takes it.
RealCircuit circuitOf(const RangeDesign& d, std::size_t k, const Build& b, double rlo) {
    RealCircuit c;
    c.kind = d.request.kind;
    c.R1 = d.chips[k].R1;
    c.R2 = b.R2[k];
    c.rloVolts = rlo;
    return c;
}

// The string's resistance beside the chip's own divider.
double stringMiddle(const Build& b) {
    return b.Rm > 0 ? parallel(b.Rm, b.chip[0].dividerOhms) : b.chip[0].dividerOhms;
}

Outcome evaluate(const RangeDesign& d, const Build& b) {
    Outcome o;
    const RangeChip& c = d.chips[0];
    const Corner& k0 = b.chip[0];
    double out = 0; // A leaving chip #1's REF OUT into its own network
    if (c.low == RangeLow::RefAdj) {
        // The chip's divider hangs across the cell and its current goes down R2 with R1's.
        const double r1 = c.R1 * k0.r1Factor;
        const double r2 = b.R2[0] * k0.r2Factor;
        const double vadj = r2 * (k0.cell / r1 + k0.cell / k0.dividerOhms + k0.adjustCurrent);
        o.vout[0] = vadj + k0.cell;
        o.vlo[0] = vadj;
        o.vhi[0] = o.vout[0];
        out = k0.cell / r1 + k0.cell / k0.dividerOhms;
    } else {
        const RealFigures f = realFigures(circuitOf(d, 0, b, 0), k0);
        o.vout[0] = f.reference;
        o.vhi[0] = f.reference;
        out = f.referenceCurrent / kMilli;
        if (c.low == RangeLow::RefString) {
            const double is = o.vout[0] / (b.Rx + stringMiddle(b) + b.Rb);
            o.vhi[0] = o.vout[0] - is * b.Rx;
            o.vlo[0] = is * b.Rb;
            out = f.r1Current / kMilli + is;
        }
    }
    if (d.chips.size() > 1) {
        const RealFigures f = realFigures(circuitOf(d, 1, b, o.vhi[0]), b.chip[1]);
        o.vout[1] = f.reference;
        o.vhi[1] = f.rhi;
        o.vlo[1] = f.rlo;
        o.load[1] = f.referenceCurrent;
        // Chip #2's divider feeds chip #1's REF OUT, which then gives that much less.
        out -= f.dividerCurrent / kMilli;
    }
    o.load[0] = out * kMilli;
    const double divider = dividerOf(b);
    for (std::size_t k = 0; k < d.chips.size(); ++k) {
        o.iled[k] = b.chip[k].outputRatio * o.load[k];
        for (std::size_t n = 0; n < d.spec->ratios.size(); ++n)
            o.thresholds[k * 10 + n] =
                (o.vlo[k] + (o.vhi[k] - o.vlo[k]) * d.spec->ratios[n]) / divider;
    }
    return o;
}

Build nominalBuild(const RangeDesign& d) {
    Build b;
    for (std::size_t k = 0; k < d.chips.size(); ++k) {
        b.chip[k] = nominalCorner(d.request.kind);
        b.R2[k] = d.chips[k].R2;
    }
    b.Rx = d.chips[0].Rx;
    b.Rm = d.chips[0].Rm;
    b.Rb = d.chips[0].Rb;
    b.inTop = d.inputTop;
    b.inBottom = d.inputBottom;
    return b;
}

// Each trimmer set as the builder sets it: until the LED it trims lights at its nominal
// threshold (targets, V measured), as far as its travel goes.
void trim(const RangeDesign& d, Build& b, const std::array<double, 2>& targets) {
    for (std::size_t k = 0; k < d.chips.size(); ++k) {
        const RangeChip& c = d.chips[k];
        if (c.trimmer <= 0)
            continue;
        Corner& corner = b.chip[k];
        corner.r2Factor = 1;
        const double pin = targets[k] * dividerOf(b);
        const double vr = corner.cell;
        const double r1 = c.R1 * corner.r1Factor;
        double needed = 0;
        if (c.low == RangeLow::RefAdj) {
            const double vadj = pin - vr * d.spec->ratios[0];
            needed = vadj / (vr / r1 + vr / corner.dividerOhms + corner.adjustCurrent);
        } else {
            double vout = pin;
            if (k == 0 && (b.Rx > 0 || b.Rb > 0))
                vout = pin * (b.Rx + stringMiddle(b) + b.Rb) / (stringMiddle(b) + b.Rb);
            needed = (vout - vr) / (vr / r1 + corner.adjustCurrent);
        }
        b.R2[k] = std::clamp(needed, c.R2fixed, c.R2fixed + c.trimmer);
    }
}

void widen(Band& band, double value) {
    band.low = std::min(band.low, value);
    band.high = std::max(band.high, value);
}

Band startBand(double nominal) {
    return {nominal, nominal, nominal};
}

// Nominal figures, then every corner: each chip at every corner of the data sheet, each other
// part at either end of its tolerance. Trimmed, each trimmer is set at every corner as the
// builder sets it; untrimmed, it stays where the nominal design puts it, and only the
// thresholds' untrimmed bands are written.
void evaluateCorners(RangeDesign& d, bool trimmed) {
    const Build nominal = nominalBuild(d);
    const Outcome n = evaluate(d, nominal);
    if (trimmed) {
        for (std::size_t k = 0; k < d.chips.size(); ++k) {
            RangeChip& c = d.chips[k];
            c.vref = startBand(n.vout[k]);
            c.rlo = startBand(n.vlo[k]);
            c.rhi = startBand(n.vhi[k]);
            c.ledMilliamps = startBand(n.iled[k]);
            c.referenceLoad = startBand(n.load[k]);
            c.span = startBand(n.vhi[k] - n.vlo[k]);
        }
    }
    for (std::size_t i = 0; i < d.thresholds.size(); ++i)
        (trimmed ? d.thresholds[i].measured : d.thresholds[i].untrimmed) =
            startBand(n.thresholds[i]);
    std::array<double, 2> targets{};
    for (std::size_t k = 0; k < d.chips.size(); ++k)
        targets[k] = n.thresholds[k * 10 + d.chips[k].trimmedLed];

    // A trimmed R2's own tolerance is trimmed away with the rest: one of its two ends will do.
    std::array<std::vector<Corner>, 2> chipCorners;
    for (std::size_t k = 0; k < d.chips.size(); ++k)
        for (const Corner& corner : dataSheetCorners(d.request.kind, kPartTolerance))
            if (!trimmed || d.chips[k].trimmer <= 0 || corner.r2Factor < 1)
                chipCorners[k].push_back(corner);
    if (d.chips.size() < 2)
        chipCorners[1] = {Corner{}};

    Build b = nominal;
    std::vector<double*> parts;
    std::vector<double> values;
    for (double* ohms : {&b.Rx, &b.Rm, &b.Rb, &b.inTop, &b.inBottom})
        if (*ohms > 0) {
            parts.push_back(ohms);
            values.push_back(*ohms);
        }
    const unsigned partCorners = 1u << parts.size();
    for (const Corner& first : chipCorners[0])
        for (const Corner& second : chipCorners[1])
            for (unsigned mask = 0; mask < partCorners; ++mask) {
                b.chip = {first, second};
                b.R2 = nominal.R2;
                for (std::size_t i = 0; i < parts.size(); ++i)
                    *parts[i] =
                        values[i] * ((mask >> i) & 1u ? 1 + kPartTolerance : 1 - kPartTolerance);
                if (!trimmed) {
                    const Outcome o = evaluate(d, b);
                    for (std::size_t i = 0; i < d.thresholds.size(); ++i)
                        widen(d.thresholds[i].untrimmed, o.thresholds[i]);
                    continue;
                }
                trim(d, b, targets);
                const Outcome o = evaluate(d, b);
                for (std::size_t k = 0; k < d.chips.size(); ++k) {
                    RangeChip& c = d.chips[k];
                    widen(c.vref, o.vout[k]);
                    widen(c.rlo, o.vlo[k]);
                    widen(c.rhi, o.vhi[k]);
                    widen(c.ledMilliamps, o.iled[k]);
                    widen(c.referenceLoad, o.load[k]);
                    widen(c.span, o.vhi[k] - o.vlo[k]);
                }
                for (std::size_t i = 0; i < d.thresholds.size(); ++i)
                    widen(d.thresholds[i].measured, o.thresholds[i]);
            }
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

QString layOut(const RangeRequest& r, const ChipSpec& spec, RangeDesign& d, Layout& l) {
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
    const double k1 = spec.ratios[0];
    d.zeroBased = r.lo == 0;
    if (d.zeroBased) {
        l.A = 0;
        l.D = r.hi / l.chips;
    } else {
        l.D = (r.hi - r.lo) / (l.chips - k1);
        l.A = r.hi - l.chips * l.D;
    }
    for (int k = 0; k < l.chips; ++k)
        for (const double ratio : spec.ratios)
            d.thresholds.push_back({l.A + l.D * (k + ratio), {}, {}});

    // RLo at 0 V saves the parts that would lift it, when the scale stays true to 1 %.
    if (l.A > 0) {
        double low = std::numeric_limits<double>::infinity();
        double high = 0;
        for (int k = 0; k < l.chips; ++k)
            for (std::size_t n = 0; n < spec.ratios.size(); ++n) {
                const double r = (k + spec.ratios[n]) / d.thresholds[k * 10 + n].asked;
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
    if (r.dot && spanAtPins * smallestStep(spec) < kFamily.minStepDot)
        return QStringLiteral("Across a chip's divider the smallest step is only ") +
               volts(spanAtPins * smallestStep(spec)) +
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
    const double rcTyp = d.spec->dividerOhms.typ;
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
    d.spec = &chipSpec(request.kind);
    Layout l;
    d.why = layOut(request, *d.spec, d, l);
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
        if (aim * 0.8 * l.D < minimumSpan(request, *d.spec))
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
