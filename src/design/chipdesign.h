#pragma once

#include "chipio.h"
#include "chipmodel.h"
#include "chipstate.h"
#include "realchip.h"
#include "windowprobe.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// The design assistant's figures for one chip: what a real chip of the LM3914 family does with the
// window's circuit (data-sheet reference and LED current with their spread, the voltage and power
// limits), the standard parts to buy, and the chip's realistic dissipation. Pure computation on the
// window's own inputs and results; texts are made from it by chiphints.h, designreport.h.
namespace kestrelon {

enum class CheckId {
    Reference,       // data-sheet V_REF against V+ - dropout
    RHi,             // the RHi end against 0 .. V+ - dropout
    RLo,             // the RLo end against 0 .. V+ - dropout
    SignalFullScale, // the signal's full scale against 0 .. V+ - dropout
    Supply,          // V+ within 3 .. 20 V (25 V absolute maximum)
    LedCurrent,      // data-sheet LED current within 2 .. 30 mA
    LedSupply,       // LED supply at least the LED's forward voltage + dropout
    Span,            // divider span at least 200 mV
    DotStep,         // dot mode only: at least 50 mV per step
    Dissipation,     // worst case within the package's limit
};

struct Check {
    CheckId id;
    bool passed = false;
    QString sentence; // plain, with the figures involved; says "out of range" for overflowed ones
};

// The part for the window's minimum limiting resistor, when the window proposes one.
struct LimitingPart {
    bool proposed = false;
    double minimum = 0; // ohm, the window's Rlim
    double ohms = 0;    // smallest E24 value at or above it; 0 when none
    double watts = 0;   // dissipated at the window's total current
    double rating = 0;  // smallest common rating of twice that; 0 when more than 5 W
};

struct ChipDesign {
    int chip = 0;       // 0 is chip #1, 1 is chip #2
    bool slave = false; // chip #2 takes chip #1's signal

    // The window's inputs and results as they stood.
    ChipInputs inputs;
    ChipState state;
    ChipView view;     // what the window shows, for quoting it
    ChipResult result; // what the window found, for everything else
    QString ledColour; // the selected colour option's caption; empty when none is selected
    double ledVf = 0;  // V
    std::uint32_t litColour = 0; // fill of a lit LED on the window

    // The inputs as the window reads them.
    double vplus = 0;           // V, chip supply
    double ledSupply = 0;       // V, as typed (before the window takes the forward voltage off)
    double signalFullScale = 0; // V, of the signal the chip gets (chip #1's while slaved)
    double headroom = 0;        // V+ - dropout: the highest voltage the reference, RHi, RLo and
                                // the signal may reach

    Band vref;              // V, data sheet
    double loadR1 = 0;      // mA, through R1
    double loadDivider = 0; // mA, into the LED divider when it hangs on the reference
    Band iled;              // mA per LED, data sheet

    StandardPair e24;
    StandardPair e96;
    LimitingPart rlim;

    int litNow = 0;        // LEDs lit on the window now
    int litWorst = 0;      // ten in bar mode, one in dot mode
    double pchipNow = 0;   // W, realistic, with litNow LEDs
    double pchipWorst = 0; // W, with litWorst LEDs

    std::vector<Check> checks; // in CheckId order; DotStep only in dot mode

    const Check* check(CheckId id) const;
};

// Everything above for chip (0 or 1) as the window holds it after a recalculation. ledColour is
// the caption of the chip's selected colour option ("Red" .. "White"). previous, when given, is
// the same chip's design from the last recalculation: its standard parts' figures are reused
// where they still hold, which keeps a slider drag cheap.
ChipDesign designChip(const ChipModel& model, const PanelInputs& panel, int chip,
                      QStringView ledColour, const ChipDesign* previous = nullptr);

// The data sheet's limits, used by the checks and named by the texts.
inline constexpr double kDropout = kFamily.dropout;
inline constexpr double kPackageLimit = kFamily.packageLimit;
inline constexpr double kStandbyCurrent = kFamily.standbyCurrent;

} // namespace kestrelon
