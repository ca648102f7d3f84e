// IEC 60063 series and the through-hole power ratings.
#include "standardvalues.h"

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

struct Decade {
    std::span<const int> mantissas;
    int exponent; // of the series' first value in the decade that holds ohms
};

Decade decadeOf(double ohms, Series series) {
    const int decade = static_cast<int>(std::floor(std::log10(ohms)));
    if (series == Series::E24)
        return {kE24, decade - 1};
    return {kE96, decade - 2};
}

bool buyable(double ohms) {
    return std::isfinite(ohms) && ohms >= kSmallest && ohms <= kLargest;
}

} // namespace

double nearestStandard(double ohms, Series series) {
    if (!buyable(ohms))
        return 0;
    const Decade d = decadeOf(ohms, series);
    // The next decade's first value closes the decade: 9.6 kΩ is nearer 10 kΩ than 9.1 kΩ.
    double best = scaled(d.mantissas.front(), d.exponent + 1);
    for (const int m : d.mantissas) {
        const double candidate = scaled(m, d.exponent);
        if (std::fabs(std::log(candidate / ohms)) < std::fabs(std::log(best / ohms)))
            best = candidate;
    }
    return best;
}

double e24AtOrAbove(double ohms) {
    if (!buyable(ohms))
        return 0;
    const Decade d = decadeOf(ohms, Series::E24);
    // A minimum that is a series value up to rounding is met by that value.
    const double floorTolerance = ohms * (1 - 1e-9);
    for (const int m : d.mantissas) {
        const double candidate = scaled(m, d.exponent);
        if (candidate >= floorTolerance)
            return candidate;
    }
    return scaled(d.mantissas.front(), d.exponent + 1);
}

double powerRating(double watts) {
    constexpr std::array<double, 7> kRatings{0.125, 0.25, 0.5, 1, 2, 3, 5};
    if (!std::isfinite(watts))
        return 0;
    for (const double rating : kRatings)
        if (rating >= 2 * watts)
            return rating;
    return 0;
}

} // namespace kestrelon
