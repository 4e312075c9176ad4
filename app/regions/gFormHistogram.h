#pragma once

// Draws the histogram plot (title, frame, grid, threshold markers, axis labels and the outline
// of the bins) on a drawing target, the on-screen plot box or the printer alike. Every position
// comes from the histogram's scales and geometry; this only paints.

#include <string>
#include <vector>

#include "RegionHistogram.h"
#include "gDataHistogram.h"
#include "gDataHistogramPlot.h"
#include "gFormDrawing.h"

namespace kestrova {

// What one histogram plot shows.
struct HistogramContent {
    const RegionHistogram& histogram;
    const HistogramScales& scales;
    bool yScaleLin;
    std::vector<HistogramMarker> markers;
    std::string title;    // "File name: " with the image's name
    std::string yTitle;   // histogramYTitle
    std::string minimum;  // "Min " and the region minimum
    std::string maximum;  // "Max " and the region maximum
};

// Draws the whole plot over the target's scale width and height; lineWidth serves the ticks,
// markers, grid lines and texts, frameWidth the border and the outline, in target pixels. Gives
// the plot's geometry, which the caller keeps for the read-out when the target is on screen.
HistogramGeometry DrawHistogram(DrawingTarget& target, const HistogramContent& content, int lineWidth, int frameWidth);

}  // namespace kestrova
