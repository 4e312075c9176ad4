#pragma once

// The zoom arithmetic: the zoom per-cent text, Zoom In and Out, the scale factor, the
// enlargement limit and the texts of Fit to height / width and of the custom zoom dialog.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

inline constexpr const char* kZoomRefusedMessage = "Error -  image cannot be enlarged";

// 1024 / max(width, height).
float baseScaleFor(std::int32_t width, std::int32_t height);

// The zoom text read as a 16-bit integer, halves to even ("172.80" -> 173); nothing when the
// text is not a number or is out of the 16-bit range.
std::optional<std::int16_t> zoomPercent(std::string_view zoomText);

// p * baseScale / 100 as a 32-bit float.
float zoomFactor(std::int16_t percent, float baseScale);

// Zoom In: the text read as an integer times 1.2, formatted "###0.00"; Zoom Out divides by
// 1.2. An unreadable text is returned unchanged.
std::string zoomInText(std::string_view zoomText);
std::string zoomOutText(std::string_view zoomText);

// The longest side a zoomed picture may have, in screen pixels.
inline constexpr double kLongestZoomedSide = 1048576.0;

// The enlargement limit: false when the longer side of the full-size picture (screen pixels)
// times the factor would pass kLongestZoomedSide.
bool zoomWithinLimit(double pictureWidth, double pictureHeight, float factor);

// Actual Pixels: the zoom text that shows one image pixel on one screen pixel, 100 / baseScale
// formatted "###0.00".
std::string actualPixelsText(float baseScale);

// Where a zoom step leaves the picture so that the image point that lay under `oldAnchor` (a
// position in the viewport, screen pixels) comes under `newAnchor` (the same place, or the
// centre of a resized viewport): the new scroll position from the old one, the picture's old and
// new lengths and the viewport's new length, limited to the scroll range.
double scrollKeepingPoint(double oldScroll, double oldAnchor, double newAnchor, double oldLength, double newLength,
                          double viewLength);

// Fit to height / width: viewport size / picture size * 100, formatted "###0.00".
std::string fitZoomText(double viewportSize, double pictureSize);

// The custom zoom dialog's rule for a changed, non-empty text: the text itself when it reads
// as an integer from 1 to 500, else the current zoom text.
std::string customZoomText(std::string_view typed, const std::string& currentZoomText);

}  // namespace kestrova
