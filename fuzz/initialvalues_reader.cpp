// Fuzzes the reading of the settings line format: "InitialValues.txt" through its reader, and
// the value splitter that every settings file of the program goes through.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "gFileSettings.h"

namespace {

const char* const kReadFailed = "Error - when reading initial display settings filee";

void checkSide(bool on, float percent, const kestrova::ThresholdSide& display, const char* what)
{
    fuzzing::require(on == display.on, what);
    if (!on)
        fuzzing::require(percent == 0.0f && display.percent == 0.0f, "an Off side keeps a percentage");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using fuzzing::require;
    const std::string path = fuzzing::scratchFile(kestrova::kInitialValuesFileName);
    fuzzing::writeFile(path, data, size);

    // Every value as the splitter gives it: no line end, no comma, no surrounding blank.
    if (const auto values = kestrova::readSettingsValues(path)) {
        for (const std::string& value : *values) {
            require(value.find_first_of("\r\n,") == std::string::npos, "a value holds a separator");
            require(value.empty() || (value.front() != ' ' && value.back() != ' '), "a value keeps its blanks");
        }
    }

    kestrova::InitialThresholds initial;
    kestrova::DisplayThresholds display;
    kestrova::Messages messages;
    kestrova::ReadInitialThresholds(path, initial, display, messages);
    require(messages.size() <= 1 && (messages.empty() || messages.front() == kReadFailed),
            "an unexpected message from the initial thresholds reader");
    // After a failure the values read so far stay where they are, so the records may differ.
    if (messages.empty()) {
        checkSide(initial.lowerOn, initial.lowerPercent, display.lower, "the lower side differs between the records");
        checkSide(initial.upperOn, initial.upperPercent, display.upper, "the upper side differs between the records");
    }

    // What was read, written and read again, is read the same.
    const std::string copy = fuzzing::scratchFile("copy.txt");
    kestrova::Messages writeMessages;
    require(kestrova::WriteInitialThresholds(copy, initial, writeMessages), "the thresholds read cannot be written");
    kestrova::InitialThresholds again;
    kestrova::DisplayThresholds againDisplay;
    kestrova::Messages againMessages;
    kestrova::ReadInitialThresholds(copy, again, againDisplay, againMessages);
    if (messages.empty()) {
        require(againMessages.empty(), "a file written from good values does not read back");
        require(again.lowerOn == initial.lowerOn && again.lowerText == initial.lowerText &&
                    again.upperOn == initial.upperOn && again.upperText == initial.upperText,
                "the thresholds do not survive a write and a read");
    }
    return 0;
}
