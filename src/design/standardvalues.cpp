// IEC 60063 series and the through-hole power ratings.
#include "standardvalues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace kestrelon {

namespace {

// Mantissas as whole numbers, so a part's value is built from exact integers.
constexpr std::array<int, 24> kE24{10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                   33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
constexpr std::array<int, 96> kE96{
    100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
    147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
    215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
    316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
    464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};

// Resistances a shop sells: 0.1 Ω to 100 MΩ leaves room for both ends of any sane design.
constexpr double kSmallest = 0.1;
constexpr double kLargest = 1e8;

// mantissa x 10^exponent, divided rather than multiplied for negative exponents so that 0.47
// comes out as the nearest double to 0.47.
double scaled(int mantissa, int exponent) {
    return exponent >= 0 ? mantissa * std::pow(10.0, exponent)
                         : mantissa / std::pow(10.0, -exponent);
}

// ohms as a position in its decade of the series: mantissa units, so that the series' whole
// numbers compare with it directly (3500 Ω is 35.0 for E24, 350 for E96, exponent 2 and 1).
struct Position {
    std::span<const int> mantissas;
    int exponent;
    double at;
};

std::span<const int> mantissasOf(Series series) {
    return series == Series::E24 ? std::span<const int>(kE24) : std::span<const int>(kE96);
}

Position positionOf(double ohms, Series series) {
    const int decade = static_cast<int>(std::floor(std::log10(ohms)));
    const int exponent = decade - (series == Series::E24 ? 1 : 2);
    return {mantissasOf(series), exponent, ohms / scaled(1, exponent)};
}

bool buyable(double ohms) {
    return std::isfinite(ohms) && ohms >= kSmallest && ohms <= kLargest;
}

} // namespace

double nearestStandard(double ohms, Series series) {
    if (!buyable(ohms))
        return 0;
    const Position p = positionOf(ohms, series);
    // The first value at or above, and the one below it; past the last value comes the next
    // decade's first (ten times the first mantissa).
    const auto above = std::lower_bound(p.mantissas.begin(), p.mantissas.end(), p.at);
    const int upper = above == p.mantissas.end() ? 10 * p.mantissas.front() : *above;
    if (above == p.mantissas.begin())
        return scaled(upper, p.exponent);
    const int lower = *(above - 1);
    // Nearest by ratio: the smaller of at/lower and upper/at.
    return scaled(p.at * p.at < double(lower) * upper ? lower : upper, p.exponent);
}

double e24AtOrAbove(double ohms) {
    if (!buyable(ohms))
        return 0;
    const Position p = positionOf(ohms, Series::E24);
    // A minimum that is a series value up to rounding is met by that value.
    const auto above = std::lower_bound(p.mantissas.begin(), p.mantissas.end(), p.at * (1 - 1e-9));
    return scaled(above == p.mantissas.end() ? 10 * p.mantissas.front() : *above, p.exponent);
}

double seriesTolerance(Series series) {
    return series == Series::E24 ? 0.05 : 0.01;
}

double standardAtOrBelow(double ohms, Series series) {
    if (!buyable(ohms))
        return 0;
    const Position p = positionOf(ohms, series);
    // A series value up to rounding is itself.
    const auto above = std::upper_bound(p.mantissas.begin(), p.mantissas.end(), p.at * (1 + 1e-9));
    if (above == p.mantissas.begin())
        return scaled(p.mantissas.back(), p.exponent - 1);
    return scaled(*(above - 1), p.exponent);
}

std::vector<double> standardValuesBetween(double low, double high, Series series) {
    std::vector<double> values;
    low = std::max(low, kSmallest);
    high = std::min(high, kLargest);
    if (!(low <= high))
        return values;
    for (int exponent = positionOf(low, series).exponent;; ++exponent)
        for (const int mantissa : mantissasOf(series)) {
            const double value = scaled(mantissa, exponent);
            if (value > high * (1 + 1e-9))
                return values;
            if (value >= low * (1 - 1e-9))
                values.push_back(value);
        }
}

double trimmerAtOrAbove(double ohms) {
    constexpr std::array<double, 10> kTrimmers{100, 200,  500,  1e3,  2e3,
                                               5e3, 10e3, 20e3, 50e3, 100e3};
    if (!std::isfinite(ohms))
        return 0;
    for (const double trimmer : kTrimmers)
        if (trimmer >= ohms)
            return trimmer;
    return 0;
}

double powerRating(double watts) {
    if (!std::isfinite(watts))
        return 0;
    for (const double rating : kPowerRatings)
        if (rating >= 2 * watts)
            return rating;
    return 0;
}

} // namespace kestrelon
