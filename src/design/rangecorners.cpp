// Every LED's threshold of a range design over the data sheet's corners and the parts'
// tolerance, trimmed and untrimmed, on the real-chip model's corners and figures.
#include "rangesteps.h"

#include "realchip.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kestrelon {

namespace {

constexpr double kMilli = 1000;

double parallel(double a, double b) {
    return a * b / (a + b);
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
        for (std::size_t n = 0; n < d.sheet->ratios.size(); ++n)
            o.thresholds[k * 10 + n] =
                (o.vlo[k] + (o.vhi[k] - o.vlo[k]) * d.sheet->ratios[n]) / divider;
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
            const double vadj = pin - vr * d.sheet->ratios[0];
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

} // namespace

// Nominal figures, then each chip at every corner of the data sheet and each other part at
// either end of its tolerance.
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
        for (const Corner& corner : dataSheetCorners(d.request.kind, kRangePartTolerance))
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
                    *parts[i] = values[i] * ((mask >> i) & 1u ? 1 + kRangePartTolerance
                                                              : 1 - kRangePartTolerance);
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

} // namespace kestrelon
