#include "gDataHistogramPlot.h"

#include <algorithm>
#include <cmath>

#include "NumberFormat.h"

namespace kestrova {

namespace {

constexpr int kLastBin = kRegionBins - 1;

std::int32_t toPixel(double value)
{
    constexpr double kLimit = 1.0e9;  // far outside any surface; keeps wild values drawable
    return static_cast<std::int32_t>(std::clamp(roundHalfEven(value), -kLimit, kLimit));
}

// The tick format; a scaled axis (yScale 10, 100, ...) shows as many decimals as it has powers of
// ten, so that neighbouring ticks read their own values. The exponent form stays as it is.
std::string yTickFormat(const HistogramScales& scales)
{
    if (scales.yScale <= 1.0f || scales.tickFormat.find('E') != std::string::npos)
        return scales.tickFormat;
    const int decimals = static_cast<int>(std::lround(std::log10(static_cast<double>(scales.yScale))));
    return decimals > 0 ? "#0." + std::string(static_cast<std::size_t>(decimals), '0') : scales.tickFormat;
}

}  // namespace

HistogramGeometry histogramGeometry(double sw, double sh)
{
    HistogramGeometry g;
    g.plotWidth = toPixel(0.7 * sw);
    g.plotHeight = toPixel(0.6 * sh);
    g.plotLeft = toPixel((sw - g.plotWidth) / 2.0);
    g.plotTop = toPixel((sh - g.plotHeight) / 2.0);
    g.halfBin = toPixel(g.plotWidth / (2.0 * kLastBin));
    return g;
}

double binX(const HistogramGeometry& geometry, double bin)
{
    return geometry.plotLeft + bin * geometry.plotWidth / kLastBin;
}

double scaledHistogramY(const HistogramScales& scales, const HistogramGeometry& geometry, double scaledValue)
{
    const double range = scales.yRange > 0 ? scales.yRange : 1.0;
    return geometry.plotTop + geometry.plotHeight * (scales.yMax - scaledValue) / range;
}

std::vector<std::int32_t> histogramGridX(const HistogramScales& scales, const HistogramGeometry& geometry)
{
    std::vector<std::int32_t> lines;
    if (scales.xStep < 1)
        return lines;
    for (std::int32_t v = scales.xMin; v <= scales.xMax; ++v) {
        if (v % scales.xStep != 0)
            continue;
        const std::int32_t x = toPixel(binX(geometry, v));
        if (x - geometry.plotLeft > scales.xStep && geometry.plotLeft + geometry.plotWidth - x > scales.xStep)
            lines.push_back(x);
    }
    return lines;
}

std::vector<HistogramTick> histogramYTicks(const HistogramScales& scales, const HistogramGeometry& geometry)
{
    std::vector<HistogramTick> ticks;
    if (scales.yStep < 1)
        return ticks;
    // The first multiple of yStep at or above yMin.
    std::int64_t v =
        static_cast<std::int64_t>(std::ceil(static_cast<double>(scales.yMin) / scales.yStep)) * scales.yStep;
    const std::string format = yTickFormat(scales);
    for (; v <= scales.yMax; v += scales.yStep) {
        HistogramTick tick;
        tick.y = toPixel(scaledHistogramY(scales, geometry, static_cast<double>(v)));
        tick.label = formatNumber(static_cast<double>(v) / scales.yScale, format);
        tick.grid = v > scales.yMin && v < scales.yMax;
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

std::vector<PlotPoint> histogramOutline(const RegionHistogram& histogram, const HistogramScales& scales,
                                        const HistogramGeometry& geometry, bool yScaleLin)
{
    std::vector<PlotPoint> points;
    points.reserve(2 * kRegionBins + 2);
    const std::int32_t bottom = geometry.bottom();
    std::int32_t xl = toPixel(binX(geometry, 0) - geometry.halfBin);
    points.push_back({xl, bottom});
    for (std::size_t i = 0; i < histogram.counts.size(); ++i) {
        const double quantity = yScaleLin ? static_cast<double>(histogram.counts[i]) : histogram.logCounts[i];
        const double y = std::clamp(scaledHistogramY(scales, geometry, scales.yScale * quantity),
                                    static_cast<double>(geometry.plotTop), static_cast<double>(bottom));
        const std::int32_t xr = toPixel(binX(geometry, static_cast<double>(i)) + geometry.halfBin);
        points.push_back({xl, toPixel(y)});
        points.push_back({xr, toPixel(y)});
        xl = xr;
    }
    points.push_back({xl, bottom});
    return points;
}

std::optional<int> histogramBinAt(double x, const HistogramGeometry& geometry)
{
    const double mx = roundHalfEven(x);
    if (!(mx > geometry.plotLeft && mx < geometry.plotLeft + geometry.plotWidth))
        return std::nullopt;
    const double bin = roundHalfEven((mx - geometry.plotLeft) / geometry.plotWidth * kLastBin);
    if (!(bin >= 0.0 && bin <= kLastBin))
        return std::nullopt;
    return static_cast<int>(bin);
}

}  // namespace kestrova
