// Fuzzes the number formatter: the program's patterns with any double or float value (NaN,
// infinities, extremes included), and any pattern text at all.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "NumberFormat.h"

namespace {

const char* const kPatterns[] = {"###0",        "##0",      "####0",      "#0.00",  "###0.0",
                                 "###0.00",     "##0.00",   "#0.000",     "0.0000", "0.0###",
                                 "0.0###E+###", "#####E+#", "#####E+###", "0",      "#"};

// Digit places before the exponent: the significant digits an exponent form keeps at least.
int mantissaPlaces(const std::string& pattern)
{
    int places = 0;
    for (const char c : pattern) {
        if (c == 'E')
            break;
        if (c == '0' || c == '#')
            ++places;
    }
    return places;
}

int decimalPlaces(const std::string& pattern)
{
    const auto point = pattern.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

// The shown text is a number within the rounding that the pattern allows.
// `absoluteSlack` covers the few digits that a subnormal number has.
void checkShown(double value, double relativeSlack, double absoluteSlack, const std::string& pattern,
                const std::string& shown)
{
    using fuzzing::require;
    require(kestrova::isNumeric(shown), "a formatted finite value is not numeric");
    const double back = *kestrova::numericValue(shown);
    if (!std::isfinite(back))
        return;  // a value near the largest double may round up beyond it
    const double error = std::fabs(back - value);
    double allowed = std::fabs(value) * relativeSlack + absoluteSlack;
    if (pattern.find('E') != std::string::npos)
        allowed += std::fabs(value) * std::pow(10.0, 1 - mantissaPlaces(pattern));
    else
        allowed += 0.5000001 * std::pow(10.0, -decimalPlaces(pattern));
    require(error <= allowed, "a formatted value reads back as another number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    const unsigned selector = data[0];
    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    float single = 0;
    std::memcpy(&single, data + 1, sizeof single);
    constexpr std::size_t patternCount = sizeof kPatterns / sizeof kPatterns[0];

    if (selector >= patternCount) {
        // Any pattern: nothing is required but a clean run.
        const std::string pattern(reinterpret_cast<const char*>(data + 9), size - 9);
        (void)kestrova::formatNumber(value, pattern);
        (void)kestrova::formatNumber(single, pattern);
        return 0;
    }
    const std::string pattern = kPatterns[selector];
    const std::string shownDouble = kestrova::formatNumber(value, pattern);
    const std::string shownFloat = kestrova::formatNumber(single, pattern);
    (void)kestrova::roundHalfEven(value);
    (void)kestrova::roundToInt32(value);
    if (std::isfinite(value))
        checkShown(value, 1e-14, 1e-322, pattern, shownDouble);
    if (std::isfinite(single))
        checkShown(static_cast<double>(single), 1e-6, 1e-44, pattern, shownFloat);
    return 0;
}
