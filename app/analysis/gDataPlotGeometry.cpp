#include "gDataPlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberFormat.h"

namespace kestrova {

namespace {

std::int32_t toPixel(double value)
{
    constexpr double kLimit = 1.0e9;  // far outside any target; keeps wild values drawable
    return static_cast<std::int32_t>(std::clamp(roundHalfEven(value), -kLimit, kLimit));
}

}  // namespace

PlotGeometry PlotGeometryFor(const PlotScale& scale, double scaleWidth, double scaleHeight)
{
    PlotGeometry g;
    g.plotW = toPixel(0.7 * scaleWidth);
    g.plotLeft = toPixel((scaleWidth - g.plotW) / 2.0);
    g.plotH = toPixel(0.7 * scaleHeight);
    g.plotTop = toPixel((scaleHeight - g.plotH) / 2.0);
    g.half = scale.span > 0 ? toPixel(g.plotW / (2.0 * scale.span)) : 0;
    return g;
}

PlotDistances PlotDistancesFor(double scaleHeight)
{
    return {toPixel(0.02 * scaleHeight), toPixel(0.025 * scaleHeight), toPixel(0.03 * scaleHeight),
            toPixel(0.04 * scaleHeight), 0.08 * scaleHeight,           toPixel(0.07 * scaleHeight)};
}

double ColumnX(const PlotScale& scale, const PlotGeometry& geometry, double p)
{
    return geometry.plotLeft + geometry.plotW * (p - scale.x0) / scale.span;
}

double ScaledY(const PlotScale& scale, const PlotGeometry& geometry, double scaledValue)
{
    return geometry.plotTop + geometry.plotH * (scale.yHiS - scaledValue) / scale.yRange;
}

double ValueY(const PlotScale& scale, const PlotGeometry& geometry, double value)
{
    return ScaledY(scale, geometry, scale.yMult * value);
}

std::vector<PlotPoint> StepOutline(const PlotScale& scale, const PlotGeometry& geometry, const Projection& projection,
                                   bool mean)
{
    std::vector<PlotPoint> points;
    if (projection.count() < 1 || scale.span < 1 || !(scale.yRange > 0.0))
        return points;
    const std::int32_t bottom = geometry.bottom();
    std::int32_t xl = toPixel(ColumnX(scale, geometry, projection.first) - geometry.half);
    points.reserve(2 * static_cast<std::size_t>(projection.count()) + 2);
    points.push_back({xl, bottom});
    for (std::int32_t x = projection.first; x <= projection.last(); ++x) {
        const std::int32_t xr = toPixel(ColumnX(scale, geometry, x) + geometry.half);
        double v = projection.valueAt(x, mean);
        if (v < scale.plotLo)
            v = scale.plotLo;
        if (v > scale.plotHi)
            v = scale.plotHi;
        const std::int32_t y = toPixel(ValueY(scale, geometry, v));
        points.push_back({xl, y});
        points.push_back({xr, y});
        xl = xr;
    }
    points.push_back({xl, bottom});
    return points;
}

std::optional<std::int32_t> ReadoutPosition(const PlotScale& scale, double x)
{
    const PlotGeometry& g = scale.geometry;
    const double mx = std::floor(x);
    if (!(mx > g.plotLeft && mx < g.plotLeft + g.plotW) || g.plotW < 1)
        return std::nullopt;
    const auto p = roundToInt32((mx - g.plotLeft) / g.plotW * scale.span + scale.x0);
    if (!p || *p < scale.first || *p > scale.last)
        return std::nullopt;
    return p;
}

std::string PlotTitle(const std::string& baseName, const std::string& extension)
{
    return "File name: " + baseName + extension;
}

std::string PlotXTitle(bool wavelengthMode)
{
    return wavelengthMode ? "Wavelength (nm)" : "Pixel";
}

std::string PlotYTitle(bool mean, bool roi1On, bool roi2On, bool subtract)
{
    std::string title = mean ? "Mean Intensity" : "Sum Intensity";
    if (!roi1On)
        return title;
    title += " RoI1";
    if (roi2On)
        title += subtract ? " - RoI2" : " + RoI2";
    return title;
}

}  // namespace kestrova
