#pragma once

// The region display window's computations: the region's grey-mapping thresholds from the
// display thresholds' per-cents, the grey picture of the region, its zoom texts and scale, the
// read-out in image coordinates, and the data type a saved region is written with.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Calibration.h"
#include "DisplayThresholds.h"
#include "Messages.h"
#include "ProgramState.h"
#include "RegionDisplay.h"
#include "RegionHistogram.h"
#include "RoIRecord.h"
#include "gDataOrg.h"

namespace kestrova {

// Walks the region histogram from both ends to the per-cent targets (bounded, counting exact
// halves, collapsing to bins 0 and 255 when the walks meet) and turns the two bins into values:
// bin * range / 255 + minimum, rounded for integer regions. A side whose display threshold is
// Off takes the region minimum (low) or maximum (high); the texts keep the computed values.
RegionDisplayThresholds RegionThresholdsFromPercent(const PixelSource& pixels, const RegionHistogram& histogram,
                                                    const DisplayThresholds& display, float lowPercent,
                                                    float highPercent);

// The grey level of one value: 0 below the low threshold, 255 above the high one, else
// round((v - low) * 255 / (high - low)), exact for integer regions and in double precision for
// float ones. A zero span (low = high) maps the values between them to 0; a non-finite float
// maps to 0.
std::uint8_t regionGreyOf(std::int32_t value, const RegionDisplayThresholds& thresholds);
std::uint8_t regionGreyOf(float value, const RegionDisplayThresholds& thresholds);

// The grey picture of the region into `buffer` (4 bytes an element: grey, grey, grey, 0, rows
// from the region's bottom row), inverted when `invert`.
void RenderRegionBuffer(const PixelSource& pixels, const RegionDisplayThresholds& thresholds, bool invert,
                        std::vector<std::uint8_t>& buffer);

// Renders the built region into state.regionDisplay.buffer, inverted when invertAtOpen differs
// from the window's invert switch, and writes it as the temporary display bitmap. False (with
// messages) when the bitmap could not be written.
bool RefreshRegionPicture(ProgramState& state, Messages& messages);

// The computations of the window's opening, on the built region: zoom text "100", invertAtOpen
// from the invert-intensity flag, the base scale, the region histogram (unless computed), the
// thresholds from the display thresholds' per-cents, and RefreshRegionPicture.
bool PrepareRegionDisplay(ProgramState& state, Messages& messages);

// 512 / max(width, height): the factor by which one region pixel is drawn at 100 %.
float regionBaseScaleFor(std::int32_t width, std::int32_t height);

// Zoom In (doubling) and Zoom Out (halving) of the zoom text read as an integer, formatted
// "###0.00"; nothing when the text is unreadable or the new text would read below 1 % (or
// beyond the 16-bit range): the step is refused.
std::optional<std::string> regionZoomInText(std::string_view zoomText);
std::optional<std::string> regionZoomOutText(std::string_view zoomText);

// The factor by which one region pixel is drawn at a zoom text: its per-cent (read as a 16-bit
// integer) times the base scale / 100; nothing for a text that is unreadable or reads below 1,
// which the window refuses without a message. (The enlargement limit is the picture view's.)
std::optional<float> regionZoomFactor(std::string_view zoomText, float regionBaseScale);

// "File name: " with the image's file name and extension, then "   RoI1" when RoI1 is on and
// " - RoI2" or " + RoI2" when the region was built with RoI2.
std::string regionCaption(const ImageStore& image, bool roi1On, const RegionArray& region);

// The read-out at a mouse position in region pixel units (x from 1 at the left, y from 1 at
// the top), texts as the main window's: column and row in image coordinates, the calibrated
// wavelength of that column (empty without a calibration), the element, its grey level.
struct RegionReadOut {
    std::string column;
    std::string row;
    std::string wavelength;
    std::string intensity;
    std::string grey;  // "##0", or "< T' hold" / "> T' hold"
};
RegionReadOut regionReadOutAt(double x, double y, const PixelSource& pixels, const RegionArray& region,
                              const RegionDisplayThresholds& thresholds, const Calibration& calibration,
                              const std::string& valueFormat);

// The data type code a region is saved with: the store's code when the region's minimum and
// maximum fit it (and always for float regions); otherwise the smallest signed integer code
// that holds them, 16 or else 32.
std::int16_t regionSaveDataType(std::int16_t storeDataType, const RegionArray& region, bool isFloat);

}  // namespace kestrova
