#pragma once

// Where the histogram plot's parts sit on a drawing surface of a given inner size: the plot
// rectangle, the grid, the Y ticks, the threshold markers, the outline of the bins and the bin
// under the mouse. The drawing only paints what these give.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RegionHistogram.h"
#include "gDataPlotGeometry.h"

namespace kestrova {

// The plot rectangle on a surface of inner size sw x sh: 0.7 sw wide, 0.6 sh high, centred;
// halfBin is half a bin's width.
struct HistogramGeometry {
    std::int32_t plotLeft = 0;
    std::int32_t plotWidth = 0;
    std::int32_t plotTop = 0;
    std::int32_t plotHeight = 0;
    std::int32_t halfBin = 0;
    std::int32_t bottom() const { return plotTop + plotHeight; }
};
HistogramGeometry histogramGeometry(double sw, double sh);

// The X of a bin position (fractions allowed; the bin's centre for a whole bin).
double binX(const HistogramGeometry& geometry, double bin);

// The Y of a scaled value (yScale times a count or log count).
double scaledHistogramY(const HistogramScales& scales, const HistogramGeometry& geometry, double scaledValue);

// The X of the dashed vertical grid lines (linear counts only): at every multiple of xStep
// whose position lies more than xStep surface units inside both edges of the plot.
std::vector<std::int32_t> histogramGridX(const HistogramScales& scales, const HistogramGeometry& geometry);

// A Y tick: its position, its label (value / yScale in the tick format, with log10(yScale)
// decimals on a scaled axis) and whether a grid line crosses the plot there (strictly between the
// ends of the axis).
struct HistogramTick {
    std::int32_t y = 0;
    std::string label;
    bool grid = false;
};
std::vector<HistogramTick> histogramYTicks(const HistogramScales& scales, const HistogramGeometry& geometry);

// The bins as one polyline: up from the bottom edge before bin 0, one segment a bin wide at
// each bin's height, and down to the bottom edge after bin 255.
std::vector<PlotPoint> histogramOutline(const RegionHistogram& histogram, const HistogramScales& scales,
                                        const HistogramGeometry& geometry, bool yScaleLin);

// The bin under a mouse position x (surface units), when strictly inside the plot.
std::optional<int> histogramBinAt(double x, const HistogramGeometry& geometry);

}  // namespace kestrova
