#pragma once

#include "chipdesign.h"

#include <QString>

// The sentences that both the hints and the report say about a chip's design.
namespace kestrelon {

QString referenceSentence(const ChipDesign& d);     // real reference and band, or why none
QString ledCurrentSentence(const ChipDesign& d);    // real LED current and band; empty without
                                                    // a reference, as are the next two
QString referenceLoadSentence(const ChipDesign& d); // what draws the reference's current
QString dissipationSentence(const ChipDesign& d);   // chip power now and at worst
QString limitingPartSentence(const ChipDesign& d);  // the limiting resistor to buy
// "R1 3.5 kΩ: standard parts 3.6 kΩ (E24), 3.48 kΩ (E96)."
QString resistorSentence(const char* name, double actual, double e24, double e96);
// What the window shows with the E24 and with the E96 parts; empty without parts.
QString standardPairSentence(const ChipDesign& d);
// A pair chosen together against the real chip, with its errors and band; empty without one.
QString chosenPairSentence(const RealPair& p, const char* series);
// R2 as a fixed part and a trimmer that reaches the reference on every chip.
QString trimmerSentence(const ChipDesign& d);

} // namespace kestrelon
