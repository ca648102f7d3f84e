#pragma once

#include "chipdesign.h"

#include <QString>
#include <QStringList>

// How to wire a design: the pins R1, R2, RHi, RLo, Mode and the signal go to, the LED supply's
// bypass capacitor and series resistor, and how two chips share one signal.
namespace kestrelon {

QStringList buildNotes(const ChipDesign& d);

// How chip #2 continues chip #1 while slaved; empty otherwise.
QString twoChipNote(const ChipDesign& chip1, const ChipDesign& chip2);

} // namespace kestrelon
