#include "NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kestrova {

namespace {

// A finite number as decimal digits: value = sign * 0.d1d2d3... * 10^(pointPos), i.e. the
// decimal point sits after `pointPos` digits. digits has no leading zero (except for zero,
// whose digits are "0" and pointPos 1) and no trailing zeros.
struct Decimal {
    bool negative = false;
    std::string digits = "0";
    int pointPos = 1;
};

Decimal decimalFromScientific(const char* begin, const char* end, bool negative)
{
    // begin..end is "d.ddddde[+-]xx" or "de[+-]xx" as written by to_chars (scientific).
    Decimal d;
    d.negative = negative;
    d.digits.clear();
    const char* p = begin;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    }
    int exponent = 0;
    if (p < end)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits == "0") {
        d.pointPos = 1;
        d.negative = false;
        return d;
    }
    d.pointPos = exponent + 1;
    return d;
}

Decimal decimalOf(double value)
{
    std::array<char, 64> buffer{};
    const double magnitude = std::fabs(value);
    auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific, 14);
    (void)ec;
    return decimalFromScientific(buffer.data(), end, value < 0);
}

Decimal decimalOf(float value)
{
    std::array<char, 64> buffer{};
    const float magnitude = std::fabs(value);
    auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific);
    (void)ec;
    return decimalFromScientific(buffer.data(), end, value < 0);
}

// Keeps `keep` digits from the first one, rounding halves away from zero. keep may be 0 or
// negative (the number rounds to zero or to one unit of the first dropped place).
void roundToDigits(Decimal& d, int keep)
{
    if (d.digits == "0" || keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d = Decimal{};
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty() || d.digits == "0") {
        const bool negative = d.negative;
        d = Decimal{};
        d.negative = negative;
    }
}

// Digit `index` of the digit sequence, with the zeros it implies beyond either end.
char digitAt(const Decimal& d, int index)
{
    if (index < 0 || index >= static_cast<int>(d.digits.size()))
        return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

struct Pattern {
    int intZeros = 0;   // '0' places before the point
    int intPlaces = 0;  // '0' and '#' places before the point
    int fracZeros = 0;
    int fracPlaces = 0;
    bool hasExponent = false;
    bool exponentSignAlways = false;
    int exponentZeros = 0;
};

Pattern parsePattern(std::string_view pattern)
{
    Pattern p;
    bool inFraction = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if ((c == 'E' || c == 'e') && i + 1 < pattern.size() && (pattern[i + 1] == '+' || pattern[i + 1] == '-')) {
            p.hasExponent = true;
            p.exponentSignAlways = pattern[i + 1] == '+';
            for (std::size_t k = i + 2; k < pattern.size(); ++k)
                p.exponentZeros += pattern[k] == '0' ? 1 : 0;
            break;
        }
        if (c == '.') {
            inFraction = true;
        } else if (c == '0' || c == '#') {
            if (inFraction) {
                ++p.fracPlaces;
                p.fracZeros += c == '0' ? 1 : 0;
            } else {
                ++p.intPlaces;
                p.intZeros += c == '0' ? 1 : 0;
            }
        }
    }
    return p;
}

std::string joinParts(bool negative, std::string integerPart, std::string fraction, const Pattern& p)
{
    while (static_cast<int>(fraction.size()) > p.fracZeros && !fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text;
    const bool allZero =
        integerPart.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
    if (negative && !allZero)
        text += '-';
    text += integerPart;
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    return text;
}

std::string formatFixed(Decimal d, const Pattern& p)
{
    roundToDigits(d, d.pointPos + p.fracPlaces);
    std::string integerPart;
    for (int i = 0; i < d.pointPos; ++i)
        integerPart += digitAt(d, i);
    const std::size_t firstSignificant = integerPart.find_first_not_of('0');
    integerPart = firstSignificant == std::string::npos ? std::string() : integerPart.substr(firstSignificant);
    while (static_cast<int>(integerPart.size()) < p.intZeros)
        integerPart.insert(integerPart.begin(), '0');
    std::string fraction;
    for (int i = 0; i < p.fracPlaces; ++i)
        fraction += digitAt(d, d.pointPos + i);
    if (integerPart.empty() && fraction.find_first_not_of('0') == std::string::npos && p.fracZeros == 0)
        integerPart.assign(1, '0');  // a pattern of '#' only still shows zero
    return joinParts(d.negative, integerPart, fraction, p);
}

std::string formatExponent(Decimal d, const Pattern& p)
{
    const int integerDigits = p.intPlaces > 0 ? p.intPlaces : 1;
    int exponent = 0;
    if (d.digits != "0") {
        roundToDigits(d, integerDigits + p.fracPlaces);
        exponent = d.pointPos - integerDigits;
    }
    std::string integerPart;
    if (d.digits == "0") {
        integerPart = std::string(static_cast<std::size_t>(std::max(p.intZeros, 1)), '0');
    } else {
        for (int i = 0; i < integerDigits; ++i)
            integerPart += digitAt(d, i);
    }
    std::string fraction;
    for (int i = 0; i < p.fracPlaces; ++i)
        fraction += d.digits == "0" ? '0' : digitAt(d, integerDigits + i);
    std::string text = joinParts(d.negative, integerPart, fraction, p);
    text += 'E';
    if (exponent < 0)
        text += '-';
    else if (p.exponentSignAlways)
        text += '+';
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    while (static_cast<int>(digits.size()) < p.exponentZeros)
        digits.insert(digits.begin(), '0');
    return text + digits;
}

std::string formatDecimal(const Decimal& d, std::string_view pattern)
{
    const Pattern p = parsePattern(pattern);
    return p.hasExponent ? formatExponent(d, p) : formatFixed(d, p);
}

std::string nonFiniteText(double value)
{
    if (std::isnan(value))
        return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    return formatDecimal(decimalOf(value), pattern);
}

std::string formatNumber(float value, std::string_view pattern)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    return formatDecimal(decimalOf(value), pattern);
}

double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

std::optional<std::int32_t> roundToInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::int64_t roundDivHalfEven(std::int64_t num, std::int64_t den)
{
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) {
        --q;
        r += den;
    }
    const std::int64_t rest = den - r;
    if (r > rest || (r == rest && (q & 1) != 0))
        ++q;
    return q;
}

bool isNumeric(std::string_view text)
{
    text = trimBlanks(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        int exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == text.size();
}

std::optional<double> numericValue(std::string_view text)
{
    if (!isNumeric(text))
        return std::nullopt;
    text = trimBlanks(text);
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is no value at all.
        const auto exponentAt = text.find_first_of("eE");
        int exponent = 0;
        if (exponentAt != std::string_view::npos) {
            std::string_view e = text.substr(exponentAt + 1);
            if (!e.empty() && e.front() == '+')
                e.remove_prefix(1);
            std::from_chars(e.data(), e.data() + e.size(), exponent);
        }
        if (exponent < 0)
            return text.front() == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int16_t> textToInt16(std::string_view text)
{
    const auto value = numericValue(text);
    if (!value)
        return std::nullopt;
    const double r = roundHalfEven(*value);
    if (!(r >= -32768.0 && r <= 32767.0))
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> textToInt32(std::string_view text)
{
    const auto value = numericValue(text);
    if (!value)
        return std::nullopt;
    return roundToInt32(*value);
}

std::optional<float> textToFloat(std::string_view text)
{
    const auto value = numericValue(text);
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*value);
}

std::string generalText(std::int32_t value)
{
    return std::to_string(value);
}

std::string generalText(float value)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    std::array<char, 64> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<double>(std::fabs(value)),
                                   std::chars_format::scientific, 6);
    (void)ec;
    const Decimal d = decimalFromScientific(buffer.data(), end, value < 0);
    if (d.digits == "0")
        return "0";
    const int exponent = d.pointPos - 1;
    std::string text;
    if (d.negative)
        text += '-';
    if (exponent < -4 || exponent > 6) {
        text += d.digits.front();
        if (d.digits.size() > 1) {
            text += '.';
            text.append(d.digits, 1);
        }
        text += 'E';
        text += exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            text += '0';
        text += std::to_string(magnitude);
        return text;
    }
    if (d.pointPos <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-d.pointPos), '0');
        text += d.digits;
        return text;
    }
    for (int i = 0; i < d.pointPos; ++i)
        text += digitAt(d, i);
    if (static_cast<int>(d.digits.size()) > d.pointPos) {
        text += '.';
        text.append(d.digits, static_cast<std::size_t>(d.pointPos));
    }
    return text;
}

}  // namespace kestrova
