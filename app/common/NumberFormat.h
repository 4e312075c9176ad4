#pragma once

// The one number formatter, rounding and numeric-text test used by every part of the program.
//
// Patterns: "0" is a digit always shown, "#" a digit shown only when significant, "." the
// decimal point, "E+" / "E-" followed by digit places an exponent (its sign always shown with
// "E+", only when negative with "E-"). There is no digit grouping. Examples: "###0", "#0.00",
// "0.0###", "0.0###E+###", "#####E+#".
//
// In exponent form the mantissa gets as many integer digits as the pattern has places before
// the point, the first of them non-zero: 123456 with "#####E+#" is "12346E+1", with
// "0.0###E+###" it is "1.2346E+5".
//
// Numbers are rounded on their decimal digits, halves away from zero, as a person reading the
// number would: 2.675 with "#0.00" is "2.68". A float is taken with the digits it prints as
// (0.1f is 0.1), a double with 15 significant digits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

std::string formatNumber(double value, std::string_view pattern);
std::string formatNumber(float value, std::string_view pattern);
inline std::string formatNumber(std::int32_t value, std::string_view pattern)
{
    return formatNumber(static_cast<double>(value), pattern);
}
inline std::string formatNumber(std::int64_t value, std::string_view pattern)
{
    return formatNumber(static_cast<double>(value), pattern);
}

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// roundHalfEven into a 32-bit integer; nothing when the value does not fit (or is NaN).
std::optional<std::int32_t> roundToInt32(double value);

// Nearest integer of num / den, halves to even, in exact integer arithmetic. den > 0.
std::int64_t roundDivHalfEven(std::int64_t num, std::int64_t den);

// The lenient numeric test: optional blanks, an optional sign, digits with at most one decimal
// point (at least one digit), an optional exponent ("E" or "e", optional sign, digits), optional
// blanks. "+-", ".", "1e" and "" are not numeric.
bool isNumeric(std::string_view text);

// The value of a numeric text; nothing when isNumeric is false.
std::optional<double> numericValue(std::string_view text);

// Numeric text read as an integer, halves to even; nothing when not numeric or out of range.
std::optional<std::int16_t> textToInt16(std::string_view text);
std::optional<std::int32_t> textToInt32(std::string_view text);
// Numeric text read as a 32-bit float; nothing when not numeric or beyond the float range.
std::optional<float> textToFloat(std::string_view text);

// The general text form of a value: integers in plain decimal; floats with at most 7
// significant digits, trailing zeros dropped, in exponent form ("1.234568E+07", "1E-05")
// when the decimal exponent is below -4 or above 6.
std::string generalText(std::int32_t value);
std::string generalText(float value);

}  // namespace kestrova
