#pragma once

#include "chipsheet.h"
#include "standardvalues.h"

#include <array>
#include <vector>

// What a real chip of the LM3914 family does with a circuit: its reference, reference current,
// LED current and thresholds at one corner of the data sheet, their bands over every corner, the
// chip's dissipation at its worst lit count, the limiting resistor sized for the high end of the
// current, and standard parts chosen together against the real chip. Pure computation, no Qt.
// Voltages in volts, resistances in ohms, currents in milliamperes, powers in watts.
namespace kestrelon {

struct Band {
    double low = 0;
    double nominal = 0;
    double high = 0;
};

// One chip and what hangs on it.
struct RealCircuit {
    ChipKind kind = ChipKind::LM3914;
    double R1 = 0;              // REF OUT (pin 7) to REF ADJ (pin 8)
    double R2 = 0;              // REF ADJ to ground
    bool rhiOnReference = true; // RHi (pin 6) on REF OUT; otherwise at rhiVolts
    double rhiVolts = 0;
    double rloVolts = 0; // RLo (pin 4), 0 when grounded
    double vplus = 0;
    double ledSupply = 0; // before the LED's forward voltage
    double ledVf = 0;
    bool dot = false;
    double seriesOhms = 0;        // in the LED supply; 0 for none
    double resistorTolerance = 0; // of R1 and R2, as a fraction (0.01 for 1 %)
};

// A chip as it may come out of the factory, with R1 and R2 within their tolerance.
struct Corner {
    double cell = kFamily.referenceNominal;           // V across R1
    double adjustCurrent = kFamily.adjustCurrent.typ; // A out of REF ADJ
    double dividerOhms = 0;                           // RHi to RLo
    double outputRatio = kFamily.outputRatio.typ;     // LED mA per reference mA
    double r1Factor = 1;
    double r2Factor = 1;
};

// The design's nominal chip: the 1.25 V every designer uses, the typical adjust-pin current,
// divider and output ratio, exact resistors.
Corner nominalCorner(ChipKind kind);

// Every combination of the data sheet's extremes (reference cell, adjust-pin current, divider,
// output ratio) and of R1 and R2 at their tolerance ends; 16 corners for exact resistors, 64
// otherwise. Each figure below is monotonic in each of these, so its band over the corners is
// a bound.
std::vector<Corner> dataSheetCorners(ChipKind kind, double resistorTolerance);

struct RealFigures {
    double reference = 0;        // V at REF OUT
    double r1Current = 0;        // mA through R1
    double dividerCurrent = 0;   // mA into the internal divider when it hangs on the reference
    double referenceCurrent = 0; // mA out of REF OUT: I_L(REF)
    double ledCurrent = 0;       // mA per lit LED as programmed
    double rhi = 0;              // V at the divider's ends
    double rlo = 0;
    std::array<double, 10> thresholds{}; // V at which LED 1..10 lights
};

RealFigures realFigures(const RealCircuit& c, const Corner& corner);

struct RealBands {
    RealFigures nominal;
    Band reference;
    Band referenceCurrent;
    Band ledCurrent;
    Band rhi;
    std::array<Band, 10> thresholds{};
    Corner referenceHighest; // the corners at the ends of the bands
    Corner referenceLowest;
    Corner currentHighest;
    Corner currentLowest;
};

RealBands realBands(const RealCircuit& c);

// The highest voltage the reference, RHi, RLo and the signal may reach: V+ - 1.5 V.
double headroom(const RealCircuit& c);

// Whether the reference can exist on the supply: some chip the data sheet allows keeps it
// within V+. Beyond that the chip's figures are not the data sheet's.
bool referenceWorks(const RealCircuit& c, const RealBands& b);

// Current per lit LED with `lit` LEDs on and `programmed` mA set by the chip: less when the
// series resistor leaves the outputs less than their dropout.
double outputCurrent(const RealCircuit& c, int lit, double programmed);

// The chip's dissipation with `lit` LEDs on at one corner's figures: the outputs, the reference
// and the standby current.
double chipPower(const RealCircuit& c, int lit, const RealFigures& f);

struct WorstPower {
    double watts = 0;
    int lit = 0;           // LEDs on at the worst
    double ledCurrent = 0; // mA programmed there
};

// The highest dissipation over every lit count the mode allows (bar: 0 to 10, dot: one) at the
// nominal chip and every corner.
WorstPower worstChipPower(const RealCircuit& c);

// The highest ambient temperature at which the chip's junction stays within its maximum.
double maxAmbient(double watts);
// The dissipation the package takes at an ambient temperature.
double packageLimit(double ambient);

// The limiting resistor in the LED supply, sized like the window's (the chip keeps 1 W with all
// LEDs lit) but for the high end of the real current.
struct RealLimiter {
    bool proposed = false;
    double highCurrent = 0;   // mA per LED, high end of the band
    double minimum = 0;       // ohm
    double ohms = 0;          // E24 at or above the minimum; 0 when none
    double watts = 0;         // in the resistor at the high-end current, every LED lit
    double rating = 0;        // 0 when more than 5 W
    int starvedFrom = 0;      // first lit count that loses the dropout at the high end; 0 if none
    double currentAllLit = 0; // mA per LED with every LED lit at the high end
};

RealLimiter sizeLimiter(const RealCircuit& c, const RealBands& b);

// How far a design's reference and current are from a target, compared reference first: a
// reference within kTargetTolerance counts as on target, and among those the smaller sum of
// both relative errors wins.
inline constexpr double kTargetTolerance = 0.005;

struct TargetCost {
    double referenceExcess = 0; // relative reference error beyond the tolerance
    double errorSum = 0;

    bool operator<(const TargetCost& o) const {
        return referenceExcess != o.referenceExcess ? referenceExcess < o.referenceExcess
                                                    : errorSum < o.errorSum;
    }
};

// tolerance is the reference's share that counts as on target.
TargetCost targetCost(double volts, double milliamps, double targetVolts, double targetMilliamps,
                      double tolerance = kTargetTolerance);
// Both figures within the tolerance of their targets.
bool onTarget(double volts, double milliamps, double targetVolts, double targetMilliamps);

// R1 and R2 from one series chosen together for the real chip's nominal reference and current:
// a reference within the series' tolerance counts as on target, then the smaller error sum wins.
struct RealPair {
    double R1 = 0; // 0 when no pair fits
    double R2 = 0;
    double reference = 0; // V, nominal chip
    double ledCurrent = 0;
    double referenceError = 0; // relative, signed
    double currentError = 0;
    Band referenceBand; // with the series' tolerance
    Band currentBand;
};

RealPair bestStandardPair(const RealCircuit& c, Series series, double targetVolts,
                          double targetMilliamps);

// R2 as a fixed part of a series and a standard trimmer, so that every chip can be trimmed to
// the target reference with c.R1 (at its tolerance) in place.
struct TrimmedR2 {
    double needLow = 0; // ohm, the R2 the chip corners need for the target
    double needHigh = 0;
    double fixed = 0;   // ohm, 0 for none
    double trimmer = 0; // ohm, 0 when no standard trimmer is large enough
};

TrimmedR2 trimmedR2(const RealCircuit& c, Series fixedSeries, double targetVolts);

} // namespace kestrelon
