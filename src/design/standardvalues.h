#pragma once

#include <array>
#include <vector>

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

// The tolerance a series is sold in: 5 % for E24, 1 % for E96.
double seriesTolerance(Series series);

// The largest series value at or below ohms; 0 when there is none.
double standardAtOrBelow(double ohms, Series series);

// Every series value from low to high, in order.
std::vector<double> standardValuesBetween(double low, double high, Series series);

// The smallest common trimmer (100 Ω to 100 kΩ) of at least ohms; 0 when none is that large.
double trimmerAtOrAbove(double ohms);

} // namespace kestrelon
