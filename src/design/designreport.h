#pragma once

#include "chipdesign.h"

#include <QString>

namespace kestrelon {

// The whole design as plain UTF-8 text for a forum post or lab notes: which chip is which and
// whether chip #2 is slaved, then per chip its inputs, every read-out as the window shows it,
// the data-sheet figures and checks, and the parts to buy. chip1 and chip2 are designChip()'s
// results for chip 0 and chip 1.
QString designReport(const ChipDesign& chip1, const ChipDesign& chip2);

} // namespace kestrelon
