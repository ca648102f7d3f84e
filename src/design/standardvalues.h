#pragma once

#include <array>

namespace kestrelon {

// Common power ratings of through-hole resistors, W.
inline constexpr std::array<double, 7> kPowerRatings{0.125, 0.25, 0.5, 1, 2, 3, 5};

enum class Series { E24, E96 };

// The series value nearest to ohms by ratio (3.5 kΩ gives 3.6 kΩ in E24, 3.48 kΩ in E96); 0 when
// ohms is no positive resistance of a buyable size.
double nearestStandard(double ohms, Series series);

// The smallest E24 value at or above ohms: a minimum resistance must not be undercut. 0 when
// there is none.
double e24AtOrAbove(double ohms);

// The smallest of kPowerRatings of at least twice watts; 0 when even the largest is too small.
double powerRating(double watts);

} // namespace kestrelon
