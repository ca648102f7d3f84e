#pragma once

#include "chipio.h"
#include "chipstate.h"

#include <QString>

namespace kestrelon {

// What the window shows of a chip's result: the one place that turns its figures and flags into
// captions, colours, visibility and the words a screen reader speaks. A flag that says a step
// was skipped leaves what the view showed before.
void showResult(int chip, const ChipState& state, const ChipResult& result, std::uint32_t litColour,
                ChipView& view);

// The R1 label of a chip whose R1 slider has moved.
void showR1(const ChipState& state, ChipView& view);

// "1st LM3914", "2nd LM3915".
QString chipTitle(int chip, ChipKind kind);

// LED led's threshold as a screen reader and a tooltip give it for a chip whose scale is not
// volts ("LED 3 lights at 0.39 V, -21 dB"); empty for the LM3914, whose LEDs carry no tooltip.
QString ledThresholdText(const ChipState& state, const ChipResult& result, int led);

} // namespace kestrelon
