#pragma once

#include "chipdesign.h"

#include <QString>

#include <vector>

namespace kestrelon {

// One line of the parts list: a part, or several alike (the LEDs).
struct PartRow {
    QString reference; // "R1", "D1-D10"
    QString value;
    QString series;    // "E96"; empty for a part that is no resistor
    QString tolerance; // "1 %"
    QString power;     // rating to buy, "0.125 W"; empty where none applies
    int quantity = 1;
    QString description;
};

// Both chips' parts: chip #1's U1, R1, R2, RLIM1, C1 and D1-D10, then chip #2's U2, R3, R4,
// RLIM2, C2 and D11-D20. R1 and R2 are the nearest E96 parts; a limiting resistor is listed where
// the design proposes one.
std::vector<PartRow> partsList(const ChipDesign& chip1, const ChipDesign& chip2);

// The parts list as CSV (RFC 4180): a header row, one row per PartRow, CRLF line ends; fields
// holding a comma, quote or line break are quoted. UTF-8 once encoded.
QString partsListCsv(const std::vector<PartRow>& rows);

} // namespace kestrelon
