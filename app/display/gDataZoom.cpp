#include "gDataZoom.h"

#include <algorithm>

#include "NumberFormat.h"

namespace kestrova {

namespace {

constexpr const char* kZoomTextFormat = "###0.00";

}  // namespace

float baseScaleFor(std::int32_t width, std::int32_t height)
{
    const std::int32_t longer = std::max(width, height);
    return longer > 0 ? 1024.0f / static_cast<float>(longer) : 1.0f;
}

std::optional<std::int16_t> zoomPercent(std::string_view zoomText)
{
    return textToInt16(zoomText);
}

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

bool zoomWithinLimit(double pictureWidth, double pictureHeight, float factor)
{
    const double longer = std::max(pictureWidth, pictureHeight) * static_cast<double>(factor);
    return !(longer > kLongestZoomedSide);
}

std::string actualPixelsText(float baseScale)
{
    if (!(baseScale > 0.0f))
        return "100";
    return formatNumber(100.0 / static_cast<double>(baseScale), kZoomTextFormat);
}

double scrollKeepingPoint(double oldScroll, double oldAnchor, double newAnchor, double oldLength, double newLength,
                          double viewLength)
{
    if (!(oldLength > 0.0))
        return 0.0;
    const double point = (oldScroll + oldAnchor) / oldLength;
    const double scroll = point * newLength - newAnchor;
    return std::clamp(scroll, 0.0, std::max(0.0, newLength - viewLength));
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
