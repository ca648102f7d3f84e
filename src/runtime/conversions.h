#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string_view>

// Conversions between numbers and text. Locale-free in both directions: the decimal separator
// is always '.', and nothing is grouped.
namespace kestrelon {

// Lenient text to number: never rejects input; text without a leading number gives 0.
// Numbers beyond the double range give an infinity, which Format shows as kOverflowText.
double parse(QStringView text);

// Pattern formatting ("#0.00", "#0.0", "#0.00k", "#0.0#", "##0.0R", "0.0W", "#0.00W"):
// rounds half away from zero on the 15-significant-digit decimal form of the value.
QString Format(double value, std::string_view pattern);

// prefix + Format(value, pattern) + suffix in one go. An overflowed value shows the prefix and
// kOverflowText only: a unit after it would dress it up as a number.
QString formatWithUnit(std::string_view prefix, double value, std::string_view pattern,
                       std::string_view suffix);

// The same text written into target; a target that already holds it is left alone, so a
// recalculation that changes nothing allocates nothing.
void formatInto(QString& target, std::string_view prefix, double value, std::string_view pattern,
                std::string_view suffix);

// What Format shows for a value that is not a finite number.
inline constexpr char kOverflowText[] = "overflow";

QString integerToText(std::int32_t value);
QString singleToText(float value);
QString truthToText(bool value);

// Strict text to number, rounding half to even; nullopt on a malformed text or out of range.
std::optional<std::int16_t> roundToInt16(QStringView text);
std::optional<std::int16_t> roundToInt16(double value);

// "True"/"False" in any letter case, or a number (0 is false, anything else true).
std::optional<bool> textToTruth(QStringView text);

} // namespace kestrelon
