#pragma once

namespace kestrelon {

// The R1 and R2 sliders' positions and what one step of each is worth: the window builds the
// sliders from these, the chip model converts their positions and the target solver searches
// them.
struct ResistorSlider {
    int low;         // smallest position
    int high;        // largest position
    int ohmsPerStep; // resistance = position x ohmsPerStep
};

inline constexpr ResistorSlider kR1Slider{50, 1100, 5};
inline constexpr ResistorSlider kR2Slider{0, 1000, 25};

} // namespace kestrelon
