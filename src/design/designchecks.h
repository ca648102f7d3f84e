#pragma once

#include "chipdesign.h"

#include <vector>

namespace kestrelon {

// The data-sheet checks of a chip whose figures are filled in, in CheckId order.
std::vector<Check> designChecks(const ChipDesign& d);

} // namespace kestrelon
