#pragma once

// The settings folder and the initial display thresholds file "InitialValues.txt".
// Settings files hold one value per line: a blank, the value, a carriage return.

#include <optional>
#include <string>
#include <vector>

#include "DisplayThresholds.h"
#include "FileContext.h"
#include "InitialThresholds.h"
#include "Messages.h"

namespace kestrova {

inline constexpr const char* kInitialValuesFileName = "InitialValues.txt";

// The root under which "Halvern Labs/Kestrova" lives: AppData, else XDG_CONFIG_HOME, else
// $HOME/.config.
std::string settingsRootFromEnvironment();

// Creates the folder (one level) when it does not exist; true when it exists afterwards.
bool EnsureFolder(const std::string& path);
bool FileExists(const std::string& path);

// Start-up: creates root + "/Halvern Labs" and its "/Kestrova" (a folder that cannot be created
// gives its path followed by " *not* created" and start-up goes on), returns the settings
// folder, and makes sure "InitialValues.txt" exists (written from the defaults) and reads it.
std::string StartSettings(const std::string& root, InitialThresholds& initial, DisplayThresholds& display,
                          Messages& messages);

std::string initialValuesPath(const std::string& settingsFolder);

// Writes the file from the defaults when it is missing, then reads it. Called at start-up and
// before every File Open.
// The file is read only when it is a regular file; anything else at its name (a FIFO, a device)
// gives the reading failure and is not replaced.
void LoadInitialThresholds(const std::string& settingsFolder, InitialThresholds& initial, DisplayThresholds& display,
                           Messages& messages);
void LoadInitialThresholds(const FileContext& context, InitialThresholds& initial, DisplayThresholds& display,
                           Messages& messages);

// Sets the defaults (both on, "0.02") in both records, then reads the four lines; a side that
// is on takes its percentage from its text, a side that is off has percentage 0. A failure
// gives "Error - when reading initial display settings filee" and keeps what was read so far.
void ReadInitialThresholds(const std::string& path, InitialThresholds& initial, DisplayThresholds& display,
                           Messages& messages);

// Writes the four lines " 1\r 0.02\r 1\r 0.02\r" style. A failure gives
// "Error - when writing initial display settings file" and leaves any earlier file intact.
bool WriteInitialThresholds(const std::string& path, const InitialThresholds& initial, Messages& messages);

// The Initial Display Thresholds dialog's validation of its two texts, in order. On success
// `message` is empty and the texts are the values formatted "#0.00".
struct InitialThresholdsCheck {
    bool ok = false;
    std::string message;
    std::string lowerText;
    std::string upperText;
};
InitialThresholdsCheck validateInitialThresholds(const std::string& lowerText, const std::string& upperText);

// The settings line format, shared by every settings file of the program.
// One line as written: a blank, the value, a carriage return.
std::string settingsLine(const std::string& value);
// The values of a settings file in order: separated by CR, LF, CR LF or comma, surrounding
// blanks removed. Nothing when the file cannot be read, is not a regular file, or is larger
// than any settings file.
std::optional<std::vector<std::string>> readSettingsValues(const std::string& path);

}  // namespace kestrova
