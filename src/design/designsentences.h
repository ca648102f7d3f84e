#pragma once

#include "chipdesign.h"

#include <QString>

// The sentences that both the hints and the report say about a chip's design.
namespace kestrelon {

QString referenceSentence(const ChipDesign& d);     // data-sheet reference and band
QString ledCurrentSentence(const ChipDesign& d);    // data-sheet LED current and spread
QString referenceLoadSentence(const ChipDesign& d); // what draws the reference's current
QString dissipationSentence(const ChipDesign& d);   // chip power now and at worst
QString limitingPartSentence(const ChipDesign& d);  // the limiting resistor to buy
// "R1 3.5 kΩ: standard parts 3.6 kΩ (E24), 3.48 kΩ (E96)."
QString resistorSentence(const char* name, double actual, double e24, double e96);
// What the window shows with the E24 and with the E96 parts; empty without parts.
QString standardPairSentence(const ChipDesign& d);

} // namespace kestrelon
