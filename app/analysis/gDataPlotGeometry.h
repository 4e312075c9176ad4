#pragma once

// Where a projection plot's parts sit on a drawing target of a given scale width and height:
// the plot rectangle, the distances of titles and labels, the stepped outline of the curve and
// the column (row) under the mouse. The drawing itself only paints what these give.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gDataProjection.h"
#include "gDataScale.h"

namespace kestrova {

// The plot rectangle on a target `scaleWidth` by `scaleHeight` units.
PlotGeometry PlotGeometryFor(const PlotScale& scale, double scaleWidth, double scaleHeight);

// Distances from the frame, in target units.
struct PlotDistances {
    std::int32_t dTitle;
    std::int32_t dTick;
    std::int32_t dXLabel;
    std::int32_t dYLabel;
    double dXTitle;
    std::int32_t dYTitle;
};
PlotDistances PlotDistancesFor(double scaleHeight);

// The X of column (row) p, fractions allowed.
double ColumnX(const PlotScale& scale, const PlotGeometry& geometry, double p);
// The Y of a plot value (unscaled) and of a scaled tick value.
double ValueY(const PlotScale& scale, const PlotGeometry& geometry, double value);
double ScaledY(const PlotScale& scale, const PlotGeometry& geometry, double scaledValue);

struct PlotPoint {
    std::int32_t x;
    std::int32_t y;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// The curve as one polyline: up from the bottom edge at the left of the first step, one step per
// column (row), values clamped to the plotted limits, and down to the bottom edge at the end.
std::vector<PlotPoint> StepOutline(const PlotScale& scale, const PlotGeometry& geometry, const Projection& projection,
                                   bool mean);

// The column (row) under the mouse at `x` (plot-box units) on the latest on-screen drawing;
// nothing outside the frame or outside the projection.
std::optional<std::int32_t> ReadoutPosition(const PlotScale& scale, double x);

// The titles: "File name: " with the image's base name and extension; "Pixel" or "Wavelength
// (nm)"; "Mean Intensity" or "Sum Intensity", tagged " RoI1" while region 1 is on and then
// " - RoI2" or " + RoI2" while region 2 is on too.
std::string PlotTitle(const std::string& baseName, const std::string& extension);
std::string PlotXTitle(bool wavelengthMode);
std::string PlotYTitle(bool mean, bool roi1On, bool roi2On, bool subtract);

}  // namespace kestrova
