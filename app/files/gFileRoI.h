#pragma once

// The display settings file (8 lines: zoom, display inversion, display thresholds) and the
// analysis settings file (17 lines: intensity inversion, regions of interest, operation,
// projection mode, data thresholds), in the settings line format. A file is read whole and
// checked against the loaded image before anything is applied: it changes everything or nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DataThresholds.h"
#include "DisplayThresholds.h"
#include "ImageStore.h"
#include "Messages.h"
#include "RoIRecord.h"
#include "ZoomState.h"

namespace kestrova {

inline constexpr const char* kDisplaySettingsReadFailed = "Error - wwhen reading display settings file";
inline constexpr const char* kDisplaySettingsWriteFailed = "Error - wwhen writing display settings file";
inline constexpr const char* kAnalysisSettingsReadFailed = "Error - wwhen reading analysis settings file";
inline constexpr const char* kAnalysisSettingsWriteFailed = "Error - wwhen writing analysis settings file";

struct DisplaySettingsSide {
    bool on = false;
    std::string percentText;
    std::string valueText;
    friend bool operator==(const DisplaySettingsSide&, const DisplaySettingsSide&) = default;
};

// The eight lines of a display settings file.
struct DisplaySettings {
    std::string zoomText;
    bool invertDisplay = false;
    DisplaySettingsSide lower;
    DisplaySettingsSide upper;
    friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

// The seventeen lines of an analysis settings file.
struct AnalysisSettings {
    bool invertIntensity = false;
    bool roi1On = false;
    RoIRect roi1;
    bool roi2On = false;
    RoIRect roi2;
    bool subtract = true;
    bool mean = true;
    bool lowerOn = false;
    std::string lowerText;
    bool upperOn = false;
    std::string upperText;
    friend bool operator==(const AnalysisSettings&, const AnalysisSettings&) = default;
};

DisplaySettings currentDisplaySettings(const ZoomState& zoom, const DisplayInversion& inversion,
                                       const DisplayThresholds& thresholds);
AnalysisSettings currentAnalysisSettings(const DisplayInversion& inversion, const RoIRecord& roi,
                                         const DataThresholds& thresholds);

// The file's bytes: one settings line a value, flags as 1 or 0.
std::string displaySettingsText(const DisplaySettings& settings);
std::string analysisSettingsText(const AnalysisSettings& settings);

// The values of a file in their records; nothing when a line is missing or a flag or corner is
// no number. Lines beyond the last are ignored.
std::optional<DisplaySettings> parseDisplaySettings(const std::vector<std::string>& values);
std::optional<AnalysisSettings> parseAnalysisSettings(const std::vector<std::string>& values);

// Written whole or not at all; false with the write message.
bool WriteDisplaySettings(const std::string& path, const ZoomState& zoom, const DisplayInversion& inversion,
                          const DisplayThresholds& thresholds, Messages& messages);
bool WriteAnalysisSettings(const std::string& path, const DisplayInversion& inversion, const RoIRecord& roi,
                           const DataThresholds& thresholds, Messages& messages);

struct DisplaySettingsRead {
    bool applied = false;
    // The file's zoom text, to be handed to ApplyZoom and stored when that accepts it. Empty
    // when the text is no zoom at all; its refusal is then among the messages, once.
    std::optional<std::string> zoomText;
};

// Reads a display settings file and applies it: the display inversion and, for each side, On
// with the percentage and the absolute value (read in the image's type, brought into the image
// range) or Off with percentage 0 and the image minimum / maximum; the absolute texts as in the
// file; then the per-cent texts from the values (PercentFromThresholds). On failure the read
// message and nothing changes.
DisplaySettingsRead ReadDisplaySettings(const std::string& path, const ImageStore& image, DisplayThresholds& thresholds,
                                        DisplayInversion& inversion, Messages& messages);

// Reads an analysis settings file and applies it when RoI1's corners lie in the image and are
// ordered, RoI2's do too while both regions are on, and each On threshold passes the Data
// Thresholds dialog's checks (an Off side's text is kept as text). Regions and their shown
// copies, region size, operation, projection mode, intensity inversion and data thresholds are
// set, the pending RoI2 placement dropped and every result flag cleared. On failure the read
// message and nothing changes.
bool ReadAnalysisSettings(const std::string& path, const ImageStore& image, DisplayInversion& inversion, RoIRecord& roi,
                          DataThresholds& thresholds, ResultFlags& flags, Messages& messages);

}  // namespace kestrova
