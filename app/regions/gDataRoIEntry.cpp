// The regions as the user enters them: the coordinates dialog's checks and the mouse rules.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "NumberFormat.h"
#include "gDataRoI.h"

namespace kestrova {

namespace {

bool inWavelengths(const Calibration& calibration)
{
    return calibration.WavelengthUnits && !calibration.wavelengths.empty();
}

// The number of leading calibration entries below the value; nothing when no entry reaches it.
std::optional<std::int32_t> pixelOfWavelength(double value, const std::vector<float>& wavelengths)
{
    for (std::size_t k = 0; k < wavelengths.size(); ++k)
        if (static_cast<double>(wavelengths[k]) >= value)
            return static_cast<std::int32_t>(k);
    return std::nullopt;
}

std::optional<std::int32_t> columnEntry(const std::string& text, const Calibration& calibration)
{
    if (!inWavelengths(calibration))
        return textToInt32(text);
    const auto value = numericValue(text);
    if (!value)
        return std::nullopt;
    return pixelOfWavelength(*value, calibration.wavelengths);
}

bool within(const std::optional<std::int32_t>& value, std::int32_t last)
{
    return value && *value >= 1 && *value <= last;
}

std::string rowText(std::int32_t row)
{
    return formatNumber(row, "###0");
}

RoIDialogCheck failed(RoIDialogCheck& check, const char* message)
{
    check.message = message;
    return check;
}

}  // namespace

std::string roiColumnText(std::int32_t pixel, const Calibration& calibration)
{
    if (inWavelengths(calibration) && pixel >= 1 && static_cast<std::size_t>(pixel) <= calibration.wavelengths.size())
        return formatNumber(calibration.wavelengths[static_cast<std::size_t>(pixel) - 1], "###0.0");
    return formatNumber(pixel, "###0");
}

RoIDialogFields roiDialogFields(const RoIRecord& roi, const Calibration& calibration)
{
    const RoIRect& r1 = roi.RoI1Shown;
    const RoIRect& r2 = roi.RoI2Shown;
    return {roiColumnText(r1.BottomLeftX, calibration),
            rowText(r1.BottomLeftY),
            roiColumnText(r1.TopRightX, calibration),
            rowText(r1.TopRightY),
            rowText(r2.TopRightY),
            roiColumnText(r2.BottomLeftX, calibration),
            rowText(r2.BottomLeftY),
            roiColumnText(r2.TopRightX, calibration)};
}

RoIDialogCheck ValidateRoIDialog(const RoIRecord& roi, const RoIDialogFields& typed, const Calibration& calibration,
                                 std::int32_t width, std::int32_t height)
{
    RoIDialogCheck check;
    check.roi = roi;
    check.fields = typed;
    RoIRecord& r = check.roi;
    RoIDialogFields& shown = check.fields;

    // Every entry must be a number; each is converted as soon as it has passed.
    if (!isNumeric(typed.roi1BottomLeftX))
        return failed(check, "Region of Interest 1 - Bottom Left X is not numeric");
    const auto blx = columnEntry(typed.roi1BottomLeftX, calibration);
    if (!isNumeric(typed.roi1BottomLeftY))
        return failed(check, "Region of Interest 1 - Bottom Left Y is not numeric");
    const auto bly = textToInt32(typed.roi1BottomLeftY);
    if (!isNumeric(typed.roi1TopRightX))
        return failed(check, "Region of Interest 1 - Top Right X is not numeric");
    const auto trx = columnEntry(typed.roi1TopRightX, calibration);
    if (!isNumeric(typed.roi1TopRightY))
        return failed(check, "Region of Interest 1 - Top Right Y is not numeric");
    const auto tr1y = textToInt32(typed.roi1TopRightY);
    if (!isNumeric(typed.roi2TopRightY))
        return failed(check, "Region of Interest 2 - Top Right Y is not numeric");
    const auto tr2y = textToInt32(typed.roi2TopRightY);

    if (!within(blx, width))
        return failed(check, "Region of Interest 1 - Bottom Left X be between minimum and maximum");
    r.RoI1.BottomLeftX = r.RoI1Shown.BottomLeftX = *blx;
    shown.roi1BottomLeftX = roiColumnText(*blx, calibration);
    if (!within(bly, height))
        return failed(check, "Region of Interest 1 - Bottom Left Y must be between minimum and maximum");
    r.RoI1.BottomLeftY = r.RoI1Shown.BottomLeftY = *bly;
    shown.roi1BottomLeftY = rowText(*bly);
    if (!within(trx, width))
        return failed(check, "Region of Interest 1 - Top Right X must be between minimum and maximum");
    r.RoI1.TopRightX = r.RoI1Shown.TopRightX = *trx;
    shown.roi1TopRightX = roiColumnText(*trx, calibration);
    if (!within(tr1y, height))
        return failed(check, "Region of Interest 1 - Top Right Y must be between minimum and maximum");
    r.RoI1.TopRightY = r.RoI1Shown.TopRightY = *tr1y;
    shown.roi1TopRightY = rowText(*tr1y);
    if (!(*blx < *trx))
        return failed(check, "Region of Interst 1 - Bottom Left X must be less than Top Right X");
    if (!(*bly < *tr1y))
        return failed(check, "Region of Interst 1 - Bottom Left Y must be less than Top Right Y");

    r.RoI2.BottomLeftX = r.RoI2Shown.BottomLeftX = *blx;
    r.RoI2.TopRightX = r.RoI2Shown.TopRightX = *trx;
    shown.roi2BottomLeftX = shown.roi1BottomLeftX;
    shown.roi2TopRightX = shown.roi1TopRightX;
    if (!within(tr2y, height))
        return failed(check, "Region of Interest 2 - Top Right Y be between minimum and maximum");
    r.RoI2.TopRightY = r.RoI2Shown.TopRightY = *tr2y;
    shown.roi2TopRightY = rowText(*tr2y);

    if (r.RoI2On) {
        const PlaceRoI2Result placed = PlaceRoI2(r.RoI1, *tr2y, height);
        r.RoI2.BottomLeftY = r.RoI2Shown.BottomLeftY = placed.bottomRow;
        shown.roi2BottomLeftY = rowText(placed.bottomRow);
        if (placed.status == PlaceRoI2Status::TooSmall)
            return failed(check, "Region of Interst 2 - Top Right Y is too small");
        if (placed.status != PlaceRoI2Status::Accepted)
            return failed(check, "Regions of Interst 2 - must not overlap Regions of Interst 1");
    }

    r.RegionWidth = r.RoI1.TopRightX - r.RoI1.BottomLeftX + 1;
    r.RegionHeight = r.RoI1.TopRightY - r.RoI1.BottomLeftY + 1;
    check.ok = true;
    return check;
}

void roiMousePress(RoIRecord& roi, RoIMouse& mouse, RoIMouseButton button, std::int32_t x, std::int32_t y,
                   std::int32_t width, std::int32_t height)
{
    mouse.pressed = true;
    mouse.dragging = false;
    roi.RoI2On = false;
    if (button == RoIMouseButton::Left && roi.RoI2Placement) {
        const PlaceRoI2Result placed = PlaceRoI2(roi.RoI1, y, height);
        if (placed.status != PlaceRoI2Status::Accepted)
            return;
        roi.RoI2 = roi.RoI2Shown = {roi.RoI1.BottomLeftX, placed.bottomRow, roi.RoI1.TopRightX, y};
        roi.RoI2On = true;
        roi.RoI2Placement = false;
        return;
    }
    // A press within half a pixel of the left or bottom edge finds column or row 0.
    mouse.dragging = true;
    mouse.anchorX = std::clamp<std::int32_t>(x, 1, std::max(width, 1));
    mouse.anchorY = std::clamp<std::int32_t>(y, 1, std::max(height, 1));
    roi.RoI1 = {mouse.anchorX, mouse.anchorY, mouse.anchorX, mouse.anchorY};
    roi.RoI1On = false;  // hidden until the pointer moves
    roi.RoI2 = RoIRect::whole(width, height);
}

bool roiMouseMove(RoIRecord& roi, RoIMouse& mouse, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height)
{
    if (!mouse.dragging)
        return false;
    const std::int32_t cx = std::clamp<std::int32_t>(x, 1, std::max(width, 1));
    const std::int32_t cy = std::clamp<std::int32_t>(y, 1, std::max(height, 1));
    const RoIRect moved{std::min(mouse.anchorX, cx), std::min(mouse.anchorY, cy), std::max(mouse.anchorX, cx),
                        std::max(mouse.anchorY, cy)};
    const bool changed = !roi.RoI1On || !(moved == roi.RoI1);
    roi.RoI1 = moved;
    roi.RoI1On = true;
    return changed;
}

bool roiMouseRelease(RoIRecord& roi, RoIMouse& mouse, std::int32_t width, std::int32_t height)
{
    if (!mouse.pressed)
        return false;
    if (mouse.dragging) {
        const RoIRect& r = roi.RoI1;
        if (r.BottomLeftX != r.TopRightX && r.BottomLeftY != r.TopRightY) {
            roi.RoI1Shown = roi.RoI1;
            roi.RoI2Placement = true;
        } else {
            roi.RoI1 = roi.RoI1Shown = roi.RoI2 = roi.RoI2Shown = RoIRect::whole(width, height);
            roi.RoI1On = roi.RoI2On = false;
            roi.RoI2Placement = false;
        }
    }
    mouse = RoIMouse{};
    roi.RegionWidth = roi.RoI1.TopRightX - roi.RoI1.BottomLeftX + 1;
    roi.RegionHeight = roi.RoI1.TopRightY - roi.RoI1.BottomLeftY + 1;
    return true;
}

}  // namespace kestrova
