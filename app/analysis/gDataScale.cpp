#include "gDataScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberFormat.h"

namespace kestrova {

namespace {

// A double as a float, saturating to +-infinity beyond the float range.
float toFloat(double value)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax)
        return std::numeric_limits<float>::infinity();
    if (value < -kMax)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool finiteAcross(const std::vector<float>& wavelengths, std::int32_t first, std::int32_t last)
{
    for (std::int32_t x = first; x <= last; ++x)
        if (!std::isfinite(wavelengths[static_cast<std::size_t>(x - 1)]))
            return false;
    return true;
}

// Step 1: the wavelength ticks, or false when the calibration cannot label this region.
bool setWavelengthTicks(PlotScale& scale, const std::vector<float>& wavelengths)
{
    if (scale.first < 1 || wavelengths.size() < static_cast<std::size_t>(scale.last) ||
        !finiteAcross(wavelengths, scale.first, scale.last))
        return false;
    const double lambdaFirst = wavelengths[static_cast<std::size_t>(scale.first - 1)];
    const double lambdaLast = wavelengths[static_cast<std::size_t>(scale.last - 1)];
    const double r = roundHalfEven((lambdaLast - lambdaFirst) / 5.0);
    if (!(r >= 3.0))
        return false;
    const double step = NiceStep(r);
    const auto wStep = roundToInt32(step);
    const auto wFirst = roundToInt32((std::floor(lambdaFirst / step) + 1.0) * step);
    const auto wLast = roundToInt32(std::floor(lambdaLast / step) * step);
    if (!wStep || !wFirst || !wLast)
        return false;
    scale.wStep = *wStep;
    scale.wFirst = *wFirst;
    scale.wLast = *wLast;
    return true;
}

// Step 5: the Y axis in scaled units.
void setYScale(PlotScale& scale)
{
    const double difference = scale.plotHi - scale.plotLo;
    float r = toFloat(difference);
    double yMult = 1.0;
    double rounded = 0.0;
    if (std::isfinite(r)) {
        if (r <= 0.0f)
            r = 1.0f;
        while (r < 8.0f) {
            yMult *= 10.0;
            r *= 10.0f;
        }
        rounded = roundHalfEven(static_cast<double>(r / 4.0f));
    } else {
        rounded = roundHalfEven(std::min(difference, std::numeric_limits<double>::max()) / 4.0);
    }
    scale.yMult = yMult;
    scale.yStep = NiceStep(rounded);
    scale.yLoS = roundHalfEven(yMult * scale.plotLo);
    scale.yHiS = roundHalfEven(yMult * scale.plotHi);
    if (!(scale.yHiS > scale.yLoS)) {
        // Every plotted value is equal: one scaled unit each side keeps the line inside the frame.
        const double lo = std::min(scale.yLoS, scale.yHiS);
        const double hi = std::max(scale.yLoS, scale.yHiS);
        scale.yLoS = lo - 1.0;
        scale.yHiS = hi + 1.0;
    }
    scale.yRange = scale.yHiS - scale.yLoS;
}

}  // namespace

const std::array<std::int32_t, 23>& AxisStepTable()
{
    static const std::array<std::int32_t, 23> table{
        2,     5,     10,     20,     50,     100,     200,     500,     1000,     2000,     5000,    10000,
        20000, 50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000, 20000000, 50000000};
    return table;
}

double NiceStep(double r)
{
    const auto& table = AxisStepTable();
    constexpr double kBeyondTable = 100000000.0;
    if (!(r >= kBeyondTable)) {
        for (auto entry = table.rbegin(); entry != table.rend(); ++entry)
            if (*entry <= r)
                return *entry;
        return table.front();
    }
    r = std::min(r, std::numeric_limits<double>::max());
    double decade = kBeyondTable;
    while (decade * 10.0 <= r)
        decade *= 10.0;
    if (decade * 5.0 <= r)
        return decade * 5.0;
    if (decade * 2.0 <= r)
        return decade * 2.0;
    return decade;
}

MagnitudeFormats FormatsByMagnitude(float m)
{
    if (m >= 100000.0f)
        return {"0.0###E+###", "0.0E+###"};
    if (m >= 10000.0f)
        return {"####0", "####0"};
    if (m >= 1000.0f)
        return {"###0.0", "###0"};
    if (m >= 100.0f)
        return {"##0.0#", "##0"};
    if (m >= 10.0f)
        return {"#0.0##", "#0"};
    if (m >= 1.0f)
        return {"#0.0##", "0"};
    if (m >= 0.1f)
        return {"0.0###", "0.0"};
    return {"0.0###E+###", "0.0E+###"};
}

PlotScale SetScales(ProjectionLimits& limits, std::int32_t first, std::int32_t last, const Calibration* calibration,
                    Messages& messages)
{
    PlotScale scale;
    scale.first = first;
    scale.last = last;

    if (calibration && calibration->calibrationLoaded && calibration->WavelengthUnits) {
        scale.wavelengthMode = setWavelengthTicks(scale, calibration->wavelengths);
        if (!scale.wavelengthMode)
            messages.push_back(kWavelengthRevertMessage);
    }

    const double r = roundHalfEven((static_cast<double>(last) - first) / 5.0);
    scale.x0 = first;
    if (r < 3.0) {
        scale.pixelStep = 2;
        scale.x1 = first + 20;
    } else {
        scale.pixelStep = static_cast<std::int32_t>(NiceStep(r));
        scale.x1 = last;
    }
    scale.span = scale.x1 - scale.x0;

    limits.plotLo = limits.yScaleMean ? limits.meanLo : limits.sumLo;
    limits.plotHi = limits.yScaleMean ? limits.meanHi : limits.sumHi;
    scale.plotLo = limits.plotLo;
    scale.plotHi = limits.plotHi;

    const float m = std::max(std::fabs(toFloat(scale.plotLo)), std::fabs(toFloat(scale.plotHi)));
    const MagnitudeFormats formats = FormatsByMagnitude(m);
    scale.readoutFormat = formats.readoutFormat;
    scale.tickFormat = formats.tickFormat;

    setYScale(scale);
    return scale;
}

std::vector<std::int32_t> PixelTicks(const PlotScale& scale)
{
    std::vector<std::int32_t> ticks;
    if (scale.pixelStep < 1)
        return ticks;
    const std::int64_t step = scale.pixelStep;
    std::int64_t p = (scale.x0 >= 0 ? (scale.x0 + step - 1) / step : scale.x0 / step) * step;
    for (; p <= scale.x1; p += step)
        ticks.push_back(static_cast<std::int32_t>(p));
    return ticks;
}

std::vector<double> YTicks(const PlotScale& scale)
{
    std::vector<double> ticks;
    if (!(scale.yStep > 0.0) || !std::isfinite(scale.yLoS) || !std::isfinite(scale.yHiS))
        return ticks;
    constexpr int kMostTicks = 1000;  // a guard: the steps give about 4 to 10
    for (double v = std::ceil(scale.yLoS / scale.yStep) * scale.yStep; v <= scale.yHiS && ticks.size() < kMostTicks;
         v += scale.yStep)
        ticks.push_back(v);
    return ticks;
}

std::vector<WavelengthTick> WavelengthTicks(const PlotScale& scale, const std::vector<float>& wavelengths)
{
    std::vector<WavelengthTick> ticks;
    if (!scale.wavelengthMode || scale.wStep < 1 || scale.x0 < 1 ||
        wavelengths.size() < static_cast<std::size_t>(scale.last))
        return ticks;
    auto lambda = [&](std::int32_t column) {
        return static_cast<double>(wavelengths[static_cast<std::size_t>(column - 1)]);
    };
    std::int32_t i = scale.x0;
    for (std::int64_t t = scale.wFirst; t <= scale.wLast; t += scale.wStep) {
        while (i <= scale.last && lambda(i) < static_cast<double>(t))
            ++i;
        if (i > scale.last)
            break;
        // The first tick lies above lambda(x0), so i > x0 and column i - 1 exists.
        const double below = i > 1 ? lambda(i - 1) : lambda(i);
        const double step = lambda(i) - below;
        const double position = step > 0.0 ? (i - 1) + (static_cast<double>(t) - below) / step : i;
        ticks.push_back({static_cast<std::int32_t>(t), position});
    }
    return ticks;
}

}  // namespace kestrova
