#pragma once

// The intensity histogram of the analysis region: its 256 bins, the scales of its plot, the
// threshold markers, the read-out and the values file.

#include <cstdint>
#include <string>
#include <vector>

#include "DataThresholds.h"
#include "DisplayThresholds.h"
#include "ProgramState.h"
#include "RegionHistogram.h"
#include "RoIRecord.h"
#include "gDataOrg.h"

namespace kestrova {

// The region's value range: maximum - minimum when minimum < maximum, else 255.
double regionRange(const PixelSource& pixels);

// Bin of every element: round((v - minimum) * 255 / range), halves to even, exact for integer
// regions (any 32-bit range) and in double precision for float regions; a non-finite float
// counts in bin 0. Then logCounts = ln(counts + 1).
void computeRegionHistogram(const PixelSource& pixels, RegionHistogram& histogram);

// computeRegionHistogram of the built region unless the histogram-computed flag is set; then
// sets the flag. The region must be built.
void BuildRegionHistogram(const RegionArray& region, bool isFloat, ResultFlags& flags, RegionHistogram& histogram);

// The plot's scales from the counts (linear) or the log counts (logarithmic), and the read-out
// and tick formats from the largest count magnitude.
HistogramScales histogramScalesFor(const RegionHistogram& histogram, bool yScaleLin);

// The histogram window's computations, on the built region: BuildRegionHistogram, then the
// scales for the window's Lin/Log option. Changing an option needs only histogramScalesFor.
HistogramScales PrepareHistogram(ProgramState& state);

// " - RoI2" (subtracted) or " + RoI2" (added) for a region built with RoI2 on, else "".
std::string roi2Suffix(const RegionArray& region);

// "Number of Pixels (Lin Scale)" or "... (Log Scale)", then " RoI1" when RoI1 is on and the
// RoI2 suffix.
std::string histogramYTitle(bool yScaleLin, bool roi1On, const RegionArray& region);

struct HistogramMarker {
    double x = 0.0;  // in bins: (value - minimum) * 255 / range
    std::string label;
};

// The two threshold markers: at the data thresholds ("Data Lo ", "Data Hi ") or the display
// thresholds ("Display Lo ", "Display Hi "), each label ending in the value in the image's
// threshold number format. None while RoI2 is on; a value outside the region's range has none.
std::vector<HistogramMarker> histogramMarkers(const PixelSource& pixels, const RegionArray& region,
                                              const HistogramSettings& settings, const DisplayThresholds& display,
                                              const DataThresholds& data, const std::string& valueFormat);

// The read-out of a bin: its intensity (bin * range / 255 + minimum, threshold number format)
// and its count (the scales' read-out format).
struct HistogramReadOut {
    std::string intensity;
    std::string count;
};
HistogramReadOut histogramReadOut(const PixelSource& pixels, const RegionHistogram& histogram,
                                  const HistogramScales& scales, int bin, const std::string& valueFormat);

// The values file: 256 lines "bin,count" ending in CR LF.
std::string histogramValuesText(const RegionHistogram& histogram);

}  // namespace kestrova
