#pragma once

// Every program-wide record, one instance each, shared by the windows. Logic functions take
// the records they need as arguments.

#include <cstdint>
#include <string>
#include <vector>

#include "Calibration.h"
#include "DataThresholds.h"
#include "DisplayThresholds.h"
#include "ImageStore.h"
#include "InitialThresholds.h"
#include "RegionDisplay.h"
#include "RegionHistogram.h"
#include "RoIRecord.h"
#include "ZoomState.h"
#include "gDataCentroid.h"
#include "gDataProjection.h"

namespace kestrova {

struct ProgramState {
    ImageStore image;
    Calibration calibration;
    DisplayThresholds displayThresholds;
    DisplayInversion inversion;
    DataThresholds dataThresholds;
    InitialThresholds initialThresholds;
    RoIRecord roi;
    RoIMouse roiMouse;
    ResultFlags resultFlags;
    RegionArray region;
    Projections projections;  // the spectrum and the profile with their limits
    CentroidResult centroid;
    ZoomState zoom;
    RegionHistogram regionHistogram;
    HistogramSettings histogramSettings;
    RegionDisplayState regionDisplay;
    std::string workFolder;                   // temporary files: "Tmp.ksv", "Pic.Bmp"
    std::string settingsFolder;               // ".../Halvern Labs/Kestrova"
    std::string converterFolder;              // looked in first for the converters; then PATH
    std::vector<std::uint8_t> displayBuffer;  // grey picture of the image, 4 bytes a pixel
};

}  // namespace kestrova
