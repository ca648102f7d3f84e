#pragma once

#include "colours.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kestrelon {

struct LedChoice {
    std::uint32_t colour;  // 0x00BBGGRR fill of a lit LED
    double forwardVoltage; // V across one LED of that colour
    const char* name;      // as a screen reader says a lit LED's colour
};

// By colour option index: Red, Green, Yellow, "Blue" (drawn cyan), White.
inline constexpr std::array<LedChoice, 5> kLedChoices{{
    {kRed, 2.0, "red"},
    {0x00FF00, 3.0, "green"},
    {0x00FFFF, 2.1, "yellow"},
    {0xFFFF00, 3.0, "blue"},
    {kWhite, 3.5, "white"},
}};

// One tick of an over-current blinker: red on the first tick, blue on the second, then again.
// The count is never reset from outside, so a blinker that stops and starts again goes on
// where it left off.
inline std::optional<std::uint32_t> blinkTick(int& count) {
    ++count;
    if (count == 1)
        return kRed;
    if (count == 2) {
        count = 0;
        return kBlue;
    }
    return std::nullopt;
}

} // namespace kestrelon
