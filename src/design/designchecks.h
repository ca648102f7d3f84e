#pragma once

#include "chipdesign.h"

#include <vector>

namespace kestrelon {

// The data-sheet checks of a chip whose figures are filled in, in CheckId order. previous, when
// given, is the same chip's last design: a check whose figures are the same is taken from it.
std::vector<Check> designChecks(const ChipDesign& d, const ChipDesign* previous = nullptr);

} // namespace kestrelon
