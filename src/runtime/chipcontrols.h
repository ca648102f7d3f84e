#pragma once

#include <array>

namespace kestrelon {

// The names of one chip's controls that are not plain elements of a two-element array: chip #1
// uses element 0 of the arrays, chip #2 has separately named groups, shapes and timer.
struct ChipControls {
    const char* optRLo;       // "0V", "Vext Lo"
    const char* optRHi;       // "Ref Inp", "+Vext Hi"
    const char* optMode;      // "Bar/+V", "Dot/o.c"
    const char* optLED;       // the five LED colours
    const char* shpLED;       // 0 is the over-range indicator, 1..10 the LEDs
    const char* timer;        // the over-current blinker
    const char* chipType;     // the stored chip kind's key
    const char* chipTypeMenu; // with "_" and a kind's code, its context-menu action
};

inline constexpr std::array<ChipControls, 2> kChipControls{{
    {"optRLo", "optRHi", "optMode", "optLED", "shpLED", "Timer1", "chipType0", "mnuChipType0"},
    {"optRLo1", "optRHi1", "optMode1", "optLED2", "shpLED2", "Timer2", "chipType1", "mnuChipType1"},
}};

} // namespace kestrelon
