#pragma once

#include <QString>

#include <string_view>

// Figures with their units for the design texts ("5.14 V", "8.7 mA", "3.48 kΩ"). A value that is
// not finite, or too large to mean anything, reads "out of range" in every one of them.
namespace kestrelon {

inline constexpr char kOutOfRange[] = "out of range";

// Whether a figure is shown as a number: finite and below a billion in its unit.
bool showable(double value);

// Format(value, pattern) + " " + unit (UTF-8), or kOutOfRange.
QString figure(double value, std::string_view pattern, std::string_view unit);

QString volts(double v);      // "5.14 V"
QString milliamps(double mA); // "8.7 mA"
QString watts(double w);      // "0.14 W"
QString ohms(double r);       // "43 Ω", "3.48 kΩ", "3.6 kΩ": three digits at most, no zeros
QString rating(double w);     // "0.125 W", "5 W"
// A slider's resistance: as ohms() when that is exact, else in kΩ to the window's two decimals
// ("11.25 kΩ"), so that it never reads as a standard part it is not.
QString resistance(double r);
QString percent(double fraction); // "+2.3 %", "-0.1 %"

} // namespace kestrelon
