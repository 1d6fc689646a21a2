#pragma once
// The number format of custom columns and of the statistics row.

#include <QString>

namespace mv {

// The value FormatNumber prints: rounded half away from zero to decimals d (-3..3).
double roundHalfAway(double value, int decimals);

// Rounds half away from zero to decimals d (-3..3; negative d rounds to tens, hundreds,
// thousands), prints "%.13g", pads to d decimals when d > 0 and, with separators, puts ","
// every three digits left of the decimal point. Never prints "-0".
QString FormatNumber(double value, int decimals, bool separators);

} // namespace mv
