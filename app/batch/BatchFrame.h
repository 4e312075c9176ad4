#pragma once

// One frame of a batch run: opened as File Open opens it, set up from the settings files, and
// analysed by the computations the windows use, its outputs written whole.

#include <optional>
#include <string>

#include "BatchOptions.h"
#include "DisplayThresholds.h"
#include "FileContext.h"
#include "Messages.h"

namespace kestrova::batch {

inline constexpr const char* kNoCalibration = "Error - no calibration file (SpecCal.txt) beside the image";
inline constexpr const char* kNoRange = "Minimum and Maximum Equal - Analysis Not Performed";

// What every frame of a run shares.
struct FrameSettings {
    FileContext context;        // the frame's own work folder
    std::string analysisFile;   // a private copy of --analysis, "" when absent
    std::string displayFile;    // a private copy of --display, "" when absent
    DisplayThresholds initial;  // the initial thresholds' switches and per-cents
    Units units = Units::AsOpened;
    bool centroid = false;  // a line of the centroid table is wanted
};

struct CentroidLine {
    double x = 0.0;
    double y = 0.0;
    std::optional<float> wavelength;  // none in pixel units
    long long area = 0;
};

struct FrameResult {
    bool ok = false;
    Messages messages;  // the failure, or notes that do not fail the frame
    CentroidLine centroid;
};

FrameResult RunFrame(const FrameSettings& settings, const std::string& image, const FrameOutputs& outputs);

}  // namespace kestrova::batch
