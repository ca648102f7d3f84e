#pragma once

#include "chipdesign.h"
#include "chipsheet.h"

#include <QString>

#include <array>
#include <vector>

// Designing a bar graph for a measuring range: an input divider that brings the range within the
// chip's limits, each chip's R1 and R2 and the network that sets its divider's ends from the
// chip's own reference, and every LED's threshold in the measured quantity's volts, nominal and
// over the data sheet's corners and the parts' tolerance once each chip's trimmer is set. Pure
// computation; texts in rangetext.h.
namespace kestrelon {

struct RangeRequest {
    double lo = 0; // V of the measured quantity at which LED 1 lights
    double hi = 0; // V at which the last LED lights
    int leds = 10; // 10: one chip; 20: two chips stacked, chip #1 takes the lower ten
    ChipKind kind = ChipKind::LM3914;
    bool dot = false;
    double ledMilliamps = 10;  // per lit LED
    double vplus = 15;         // V, chip supply
    double vled = 15;          // V, LED supply
    double ledVf = 2;          // V, one LED's forward voltage
    bool fromMeasured = false; // the chip and its LEDs are powered by the measured voltage
};

// Where a chip's RLo end is taken from.
enum class RangeLow {
    Ground,   // RLo at 0 V
    RefAdj,   // RLo tied to REF ADJ: the divider spans the reference's 1.25 V
    RefString // a resistor string from REF OUT to ground sets RLo (and RHi when Rx is used)
};

// One chip's parts. The string runs REF OUT - Rx - RHi - (Rm beside the chip's own divider)
// - RLo - Rb - ground; a part that is not fitted is 0.
struct RangeChip {
    RangeLow low = RangeLow::Ground;
    bool onChipBelow = false; // chip #2 of a stack: RLo at chip #1's RHi and REF OUT
    double R1 = 0;
    double R2 = 0;      // ohm, fixed part plus the trimmer's nominal setting
    double R2fixed = 0; // ohm
    double trimmer = 0; // ohm, the trimmer's full value; 0 when R2 is a wire link
    int trimmedLed = 9; // the chip's LED (from 0) that the trimmer puts on its threshold
    double Rx = 0;
    double Rm = 0;
    double Rb = 0;
    Band vref;          // V at REF OUT (pin 7), from the corners
    Band rlo;           // V at the RLo pin
    Band rhi;           // V at the RHi pin
    Band ledMilliamps;  // per lit LED
    Band referenceLoad; // mA out of REF OUT
    Band span;          // V from RLo to RHi
};

struct RangeThreshold {
    double asked = 0; // V of the measured quantity
    Band measured;    // what the build does once trimmed: nominal and the band over every corner
    Band untrimmed;   // the same with each trimmer left at its nominal setting
};

struct RangeCheck {
    bool passed = false;
    QString sentence;
};

struct RangePart {
    QString name;      // "R1 (chip #1)"
    double ohms = 0;   // 0 for the capacitor
    QString value;     // "1.21 kΩ", "2.2 µF"
    QString series;    // "E96", "E24", "trimmer", "tantalum"
    QString tolerance; // "1 %"
    double watts = 0;  // worst case
    double rating = 0; // smallest common rating of twice that
};

struct RangeDesign {
    RangeRequest request;
    const ChipSheet* sheet = &kLM3914;
    bool made = false;
    QString why; // why it cannot be made; empty when made
    bool hasNearest = false;
    double nearestLo = 0;
    double nearestHi = 0;

    bool zeroBased = false; // a range from 0 V: LED 1 lights one step above 0 V
    double divider = 1;     // V at the signal pin per V measured
    double inputTop = 0;    // ohm, measured side to the signal pin; 0 without a divider
    double inputBottom = 0; // ohm, signal pin to ground
    double protection = 0;  // ohm, series resistor into the signal pin without a divider
    double headroom = 0;    // V, V+ - 1.5 V at the lowest supply
    double rlim = 0;        // ohm, in series with the LED supply; 0 when none is needed
    std::vector<RangeChip> chips;
    std::vector<RangeThreshold> thresholds;
    std::vector<RangeCheck> checks;
    std::vector<RangePart> parts;

    bool checksPass() const;
};

RangeDesign designRange(const RangeRequest& request);

} // namespace kestrelon
