#pragma once

namespace kestrelon {

enum class Series { E24, E96 };

// The series value nearest to ohms by ratio (3.5 kΩ gives 3.6 kΩ in E24, 3.48 kΩ in E96); 0 when
// ohms is no positive resistance of a buyable size.
double nearestStandard(double ohms, Series series);

// The smallest E24 value at or above ohms: a minimum resistance must not be undercut. 0 when
// there is none.
double e24AtOrAbove(double ohms);

// The smallest common power rating (0.125, 0.25, 0.5, 1, 2, 3, 5 W) of at least twice watts; 0 when
// even 5 W is too small.
double powerRating(double watts);

// The smallest common trimmer potentiometer (100 Ω to 100 kΩ) of at least ohms; 0 when even
// 100 kΩ is too small.
double trimmerAtOrAbove(double ohms);

// The largest E96 value at or below ohms; 0 when there is none.
double e96AtOrBelow(double ohms);

} // namespace kestrelon
