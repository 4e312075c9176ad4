#pragma once

// Draws a projection plot (title, frame, ticks, grid, labels and the stepped curve) on a drawing
// target, the on-screen plot box or the printer alike. Every position comes from the plot's
// scale; this only paints.

#include <string>
#include <vector>

#include "gDataPlotGeometry.h"
#include "gDataProjection.h"
#include "gDataScale.h"
#include "gFormDrawing.h"

namespace kestrova {

// What one plot shows.
struct PlotContent {
    const Projection& projection;
    const PlotScale& scale;
    bool mean;                              // plot the means (true) or the sums
    const std::vector<float>* wavelengths;  // the calibration, for the wavelength ticks
    std::string title;                      // PlotTitle
    std::string yTitle;                     // PlotYTitle
};

// Draws the whole plot over the target's scale width and height; tickWidth is the width of the
// ticks, lineWidth that of the frame and the curve, in target pixels. Gives the plot rectangle
// it drew in, which the caller keeps for the read-out only when the target is on screen.
PlotGeometry DrawPlot(DrawingTarget& target, const PlotContent& content, int tickWidth, int lineWidth);

}  // namespace kestrova
