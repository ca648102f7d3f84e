#pragma once

#include <array>

namespace kestrelon {

// Inputs and derived values of one chip, kept between recalculations. A field that a run does
// not assign keeps its previous value.
struct ChipState {
    double R1 = 0;     // ohm, from the R1 slider
    double R2 = 0;     // ohm, from the R2 slider
    double Vled = 0;   // V, LED supply (less one LED's forward voltage in bar mode)
    double Vin = 0;    // V, signal
    double Iref = 0;   // mA, through R1
    double Iled = 0;   // mA, per lit LED
    double Itotal = 0; // A, ten lit LEDs
    double Vref = 0;   // V, reference output after the supply limit
    double VrLo = 0;   // V, bottom of the divider chain
    double VrHi = 0;   // V, top of the divider chain
    double Span = 0;   // V
    double Step = 0;   // V, between thresholds
    std::array<double, 11> Threshold{}; // V, entries 1..10 used
    double Vchip = 0;                   // V
    double Rlim = 0;                    // ohm
    double PRlim = 0;                   // W
    double Pchip = 0;                   // W

    bool operator==(const ChipState&) const = default;
};

} // namespace kestrelon
