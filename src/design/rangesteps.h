#pragma once

#include "rangedesign.h"

// The steps of a range design that follow the parts' choice, kept apart from the network.
namespace kestrelon {

// The fixed resistors' tolerance: every one is an E96 part.
inline constexpr double kRangePartTolerance = 0.01;

// Every threshold's band over the corners: untrimmed, each trimmer left at its nominal setting
// (only the thresholds' untrimmed bands are written); trimmed, each trimmer set at every corner
// as the builder sets it (the thresholds' and the chips' bands).
void evaluateCorners(RangeDesign& d, bool trimmed);

// The smallest step between two thresholds, as a share of the divider's span.
double smallestStep(const ChipSheet& sheet);

// The narrowest span across a chip's divider that the mode allows.
double minimumSpan(const RangeRequest& r, const ChipSheet& sheet);

// In bar mode, a resistor in series with the LED supply when the chip would overheat without
// one: it keeps the outputs' dropout with every LED lit at the nominal current and the lowest
// LED supply.
void sizeLimitingResistor(RangeDesign& d);

// The data sheet's limits over every corner, with the supply at both ends of the range when
// the chip is powered by what it measures.
void rangeChecks(RangeDesign& d);

// Every part to buy, with its worst-case power.
void rangeParts(RangeDesign& d);

} // namespace kestrelon
