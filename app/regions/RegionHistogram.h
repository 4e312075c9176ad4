#pragma once

// The 256-bin intensity histogram of the analysis region, the histogram window's options and
// the scales computed from them.

#include <array>
#include <cstdint>
#include <string>

namespace kestrova {

inline constexpr int kRegionBins = 256;

struct RegionHistogram {
    std::array<std::int32_t, kRegionBins> counts{};
    std::array<float, kRegionBins> logCounts{};  // ln(counts + 1)
};

// The histogram window's options, kept while the program runs.
struct HistogramSettings {
    bool YScaleLin = false;           // linear counts; logarithmic when false
    bool MarkDataThresholds = false;  // markers at the data thresholds; display thresholds when false
};

// The axes of the plot. X runs over the bins 0 .. 255; Y in scaled units: a plotted quantity
// (count or log count) q sits at yScale * q.
struct HistogramScales {
    std::int32_t xMin = 0;
    std::int32_t xMax = 255;
    std::int32_t xRange = 255;
    std::int32_t xStep = 50;
    std::int32_t yMin = 0;
    std::int32_t yMax = 1;
    std::int32_t yRange = 1;
    std::int32_t yStep = 2;
    float yScale = 1.0f;
    std::string readoutFormat = "0";
    std::string tickFormat = "0";
};

}  // namespace kestrova
