#include "gDataZoom.h"

#include <algorithm>

#include "NumberFormat.h"

namespace kestrova {

namespace {

// The scroll bars' range: the picture may exceed the viewport (the inner size less 1440) by
// at most 32767.
constexpr double kScrollAllowance = 32767.0 - 1440.0;

constexpr const char* kZoomTextFormat = "###0.00";

}  // namespace

float baseScaleFor(std::int32_t width, std::int32_t height)
{
    const std::int32_t longer = std::max(width, height);
    return longer > 0 ? 1024.0f / static_cast<float>(longer) : 1.0f;
}

std::optional<std::int16_t> zoomPercent(std::string_view zoomText) { return textToInt16(zoomText); }

float zoomFactor(std::int16_t percent, float baseScale)
{
    return static_cast<float>(static_cast<double>(percent) * static_cast<double>(baseScale) / 100.0);
}

std::string zoomInText(std::string_view zoomText)
{
    const auto percent = zoomPercent(zoomText);
    if (!percent)
        return std::string(zoomText);
    return formatNumber(static_cast<double>(*percent) * 1.2, kZoomTextFormat);
}

std::string zoomOutText(std::string_view zoomText)
{
    const auto percent = zoomPercent(zoomText);
    if (!percent)
        return std::string(zoomText);
    return formatNumber(static_cast<double>(*percent) / 1.2, kZoomTextFormat);
}

bool zoomWithinLimit(double pictureWidth, double pictureHeight, float factor, double innerWidth,
                     double innerHeight)
{
    const double f = factor;
    return !(pictureWidth * f > innerWidth + kScrollAllowance) && !(pictureHeight * f > innerHeight + kScrollAllowance);
}

std::string fitZoomText(double viewportSize, double pictureSize)
{
    if (!(pictureSize > 0.0))
        return "100";
    return formatNumber(viewportSize / pictureSize * 100.0, kZoomTextFormat);
}

std::string customZoomText(std::string_view typed, const std::string& currentZoomText)
{
    const auto percent = textToInt16(typed);
    if (!percent || *percent < 1 || *percent > 500)
        return currentZoomText;
    return std::string(typed);
}

}  // namespace kestrova
