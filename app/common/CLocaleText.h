#pragma once

// Numbers as C's printf writes them in the "C" locale, whatever locale the program runs in:
// "." as decimal point, no grouping. Files other programs read take their digits from here.

#include <string>

namespace kestrova {

// printf("%.<significantDigits>G", value): the general form with at most that many significant
// digits, trailing zeros dropped, exponent form ("1.5E+20", "1E-05") for very large or small
// magnitudes.
std::string printfGeneral(double value, int significantDigits);

}  // namespace kestrova
