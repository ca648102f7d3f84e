#pragma once

#include <array>
#include <string_view>

// What the LM3914 family's data sheets say about a chip, in one place: the window's formulas, the
// design checks, the reports and the exports read every chip figure from here.
namespace kestrelon {

enum class ChipKind { LM3914, LM3915, LM3916 };

inline constexpr std::array kChipKinds{ChipKind::LM3914, ChipKind::LM3915, ChipKind::LM3916};

// A data-sheet figure with its spread; a bound the data sheet leaves open is given as the
// widest value a chip may take (0 for an adjust-pin current with no minimum).
struct Spread {
    double min = 0;
    double typ = 0;
    double max = 0;
};

// How a chip's step between thresholds is shown: in volts (linear divider) or by the level
// each LED stands for.
enum class StepScale { Volts, Decibels, VolumeUnits };

// What the whole family shares: pins, reference, outputs, limits and package.
struct FamilyLimits {
    double referenceNominal = 1.25;           // V, REF OUT to REF ADJ, the design figure
    Spread reference{1.20, 1.28, 1.34};       // V, tested band
    Spread adjustCurrent{0.0, 75e-6, 120e-6}; // A, out of REF ADJ
    Spread outputRatio{7.0, 10.0, 13.0};      // mA per LED per mA drawn from REF OUT
    double dropout = 1.5;                     // V, below V+ and across a lit output
    double supplyMin = 3.0;                   // V
    double supplyMax = 20.0;                  // V, specified operation
    double supplyAbsoluteMax = 25.0;          // V
    double ledOutputMax = 25.0;               // V, an unlit output's absolute maximum
    double ledCurrentMin = 2.0;               // mA, programmable range
    double ledCurrentMax = 30.0;              // mA
    double referenceLoadMax = 10.0;           // mA out of REF OUT
    double minSpanBar = 0.2;                  // V, whole divider, bar mode
    double minStepDot = 0.05;                 // V per step, dot mode
    double signalCurrentMax = 3e-3;           // A, into or out of the signal pin
    double signalSeriesResistor = 39e3;       // ohm, allows +/-100 V on the signal
    double signalProtectedVolts = 100.0;      // V, with that series resistor
    double junctionMax = 100.0;               // degrees C
    double thetaJA = 55.0;                    // degrees C per W, moulded DIP
    double packageAmbient = 25.0;             // degrees C of the package rating
    double packageLimit = 1.36;               // W at packageAmbient
    double standbyCurrent = 2.4e-3;           // A, all outputs off, V+ = 5 V
    double barModeWindow = 0.02;              // V, mode pin within this of V+ for bar
    double ledBypassMicrofarads = 2.2;        // uF tantalum from the LED supply to pin 2
    double ledBypassAluminium = 10.0;         // uF, the aluminium alternative
    double standbySupply = 5.0;               // V, of standbyCurrent
    double standbyCurrentHigh = 6.1e-3;       // A, V+ = 20 V, 1 mA reference load
    double standbySupplyHigh = 20.0;          // V, of standbyCurrentHigh
    double ambientMin = 0.0;                  // degrees C, operating
    double ambientMax = 70.0;                 // degrees C, operating
};

inline constexpr FamilyLimits kFamily{};

// The window's own figures, not the data sheet's: above this LED current the read-out blinks,
// and the limiting resistor is sized so that ten lit LEDs heat the chip by this much.
inline constexpr double kLedCurrentWarning = 25.01; // mA
inline constexpr double kDissipationTarget = 1.0;   // W

struct ChipSheet {
    ChipKind kind;
    std::string_view name; // "LM3914"
    std::string_view code; // as stored: "3914"
    // k_n: comparator n switches at RLO + (RHI - RLO) x k_n.
    std::array<double, 10> ratios;
    // Each LED's level on the chip's own scale (dB below RHI for the LM3915, VU for the
    // LM3916); unused for the linear LM3914.
    std::array<double, 10> levels;
    StepScale step;
    Spread dividerOhms;    // RHI to RLO, electrical characteristics
    double dividerNominal; // ohm, the block diagram's resistors added up

    bool linear() const { return step == StepScale::Volts; }
};

// The unit of a level on a chip's own scale: "dB", "VU"; empty for volts.
constexpr std::string_view levelUnit(StepScale step) {
    switch (step) {
    case StepScale::Decibels:
        return "dB";
    case StepScale::VolumeUnits:
        return "VU";
    case StepScale::Volts:
        break;
    }
    return {};
}

inline constexpr ChipSheet kLM3914{ChipKind::LM3914,
                                   "LM3914",
                                   "3914",
                                   {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0},
                                   {},
                                   StepScale::Volts,
                                   {8e3, 12e3, 17e3},
                                   10e3};

inline constexpr ChipSheet kLM3915{
    ChipKind::LM3915,
    "LM3915",
    "3915",
    {0.0442, 0.0623, 0.0884, 0.1251, 0.1768, 0.2501, 0.3535, 0.4998, 0.7070, 1.0},
    {-27, -24, -21, -18, -15, -12, -9, -6, -3, 0},
    StepScale::Decibels,
    {16e3, 28e3, 36e3},
    22.63e3};

// The LM3916's data sheet gives no minimum for its divider: the LM3914's is used.
inline constexpr ChipSheet kLM3916{
    ChipKind::LM3916,
    "LM3916",
    "3916",
    {0.0708, 0.2239, 0.3162, 0.3981, 0.5012, 0.6310, 0.7079, 0.7943, 0.8913, 1.0},
    {-20, -10, -7, -5, -3, -1, 0, 1, 2, 3},
    StepScale::VolumeUnits,
    {8e3, 12e3, 17e3},
    10e3};

constexpr const ChipSheet& chipSheet(ChipKind kind) {
    switch (kind) {
    case ChipKind::LM3915:
        return kLM3915;
    case ChipKind::LM3916:
        return kLM3916;
    case ChipKind::LM3914:
        break;
    }
    return kLM3914;
}

// A stored code ("3915") to its kind; anything else is the LM3914.
constexpr ChipKind chipKindFromCode(std::string_view code) {
    for (ChipKind kind : kChipKinds)
        if (chipSheet(kind).code == code)
            return kind;
    return ChipKind::LM3914;
}

} // namespace kestrelon
