// Fuzzes the numeric-text test, the conversions of typed texts to numbers and the Initial Display
// Thresholds dialog's check of a typed percentage, and formats every value read with the
// program's patterns.

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "NumberFormat.h"
#include "gFileSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using fuzzing::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const bool numeric = kestrova::isNumeric(text);
    const auto value = kestrova::numericValue(text);
    // A numeric text has a value unless it lies beyond the range of a double ("1E400", "1E-400").
    if (value)
        require(numeric, "numericValue of a text that is not numeric");
    if (numeric && !value) {
        const std::string copy(text);
        errno = 0;
        (void)std::strtod(copy.c_str(), nullptr);
        require(errno == ERANGE, "a numeric text within range has no value");
    }

    const auto asInt16 = kestrova::textToInt16(text);
    const auto asInt32 = kestrova::textToInt32(text);
    const auto asFloat = kestrova::textToFloat(text);
    if (asInt16 || asInt32 || asFloat)
        require(numeric, "a text that is not numeric was converted");
    if (asInt16 && asInt32)
        require(*asInt16 == *asInt32, "the 16-bit and 32-bit readings differ");
    if (asInt32)
        require(std::fabs(static_cast<double>(*asInt32) - *value) <= 0.5, "the integer reading is not the nearest");

    // The Initial Display Thresholds dialog: an accepted text is stored as a number in range.
    const auto check = kestrova::validateInitialThresholds(std::string(text), "1");
    if (check.ok) {
        require(numeric && check.message.empty(), "the dialog accepted a text that is not numeric");
        const auto stored = kestrova::numericValue(check.lowerText);
        require(stored && *stored >= 0.0 && *stored <= 99.995, "the dialog stored a value out of range");
    } else {
        require(!check.message.empty(), "the dialog refused a text without a message");
    }
    if (!value)
        return 0;

    // What the program shows of a value it read is a number again, and close to it.
    if (asFloat && std::isfinite(*asFloat)) {
        const std::string general = kestrova::generalText(*asFloat);
        require(kestrova::isNumeric(general), "generalText of a float is not numeric");
        const double back = *kestrova::numericValue(general);
        require(std::fabs(back - *asFloat) <= std::fabs(static_cast<double>(*asFloat)) * 1e-6,
                "generalText of a float reads back as another value");
    }
    if (asInt32)
        require(kestrova::generalText(*asInt32) == std::to_string(*asInt32), "generalText of an integer");
    if (std::isfinite(*value)) {
        for (const char* pattern : {"###0", "#0.00", "0.0###", "0.0###E+###", "#####E+#"}) {
            const std::string shown = kestrova::formatNumber(*value, pattern);
            require(kestrova::isNumeric(shown), "a formatted value is not numeric");
        }
    }
    return 0;
}
