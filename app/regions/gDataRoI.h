#pragma once

// The regions of interest: the analysis region built from them, the placing of region 2 under
// region 1's height, the coordinates dialog's checks and the mouse rules of the main picture.

#include <cstdint>
#include <string>

#include "Calibration.h"
#include "ImageStore.h"
#include "RoIRecord.h"

namespace kestrova {

// Fills `region` from the image and the regions unless flags.regionBuilt is set, then sets it.
// RoI1's corners are ordered and clamped to the image; W and H come from them. Region 2 takes
// part only while RoI1On and RoI2On and its band (RoI1's columns, RoI1's height from RoI2's
// bottom row) lies wholly inside the image. Integers are added or subtracted in 64 bits and
// saturated to 32; floats in single precision. Minimum and maximum are taken over the finite
// elements only; HasRange is false when there are none or they are all equal, and for an
// empty image. The rectangles used are recorded in region.builtRoI1 / builtRoI2.
void BuildRegion(const ImageStore& image, const RoIRecord& roi, ResultFlags& flags, RegionArray& region);

enum class PlaceRoI2Status { Accepted, TooSmall, Overlap, AboveImage };

struct PlaceRoI2Result {
    PlaceRoI2Status status = PlaceRoI2Status::Accepted;
    std::int32_t bottomRow = 1;  // the band's bottom row; 1 when too small
};

// Region 2 with its top at topRow and RoI1's height: refused when its bottom row is below 1,
// when either of its end rows lies strictly inside RoI1's rows, or when topRow is above the
// image. Touching rows and a band exactly on RoI1 are accepted.
PlaceRoI2Result PlaceRoI2(const RoIRect& roi1, std::int32_t topRow, std::int32_t imageHeight);

// The coordinates dialog's five text boxes and RoI2's three read-only labels.
struct RoIDialogFields {
    std::string roi1BottomLeftX;  // txtRoI1BLvalminX
    std::string roi1BottomLeftY;  // txtRoI1BLvalminY
    std::string roi1TopRightX;    // txtRoI1TRvalmaxX
    std::string roi1TopRightY;    // txtRoI1TRvalmaxY
    std::string roi2TopRightY;    // txtRoI2TRvalmaxY
    std::string roi2BottomLeftX;  // lblRoI2BLvalminX
    std::string roi2BottomLeftY;  // lblRoI2BLvalminY
    std::string roi2TopRightX;    // lblRoI2TRvalmaxX
};

// A column as the dialog shows it: "###0" of the pixel, or in wavelength units "###0.0" of the
// calibration wavelength of that column (the pixel itself when the calibration lacks it).
std::string roiColumnText(std::int32_t pixel, const Calibration& calibration);

// The fields filled from the shown copies, in the current units (calibration.WavelengthUnits).
RoIDialogFields roiDialogFields(const RoIRecord& roi, const Calibration& calibration);

struct RoIDialogCheck {
    bool ok = false;
    std::string message;     // the first failure; empty on success
    RoIRecord roi;           // the record with every field that passed stored
    RoIDialogFields fields;  // the fields as the dialog shows them afterwards
};

// The dialog's checks in their fixed order on the typed fields. Fields that pass before a
// failing check are stored and rewritten; on success RegionWidth and RegionHeight follow RoI1.
// In wavelength units an X entry becomes the number of leading calibration entries below it;
// a wavelength beyond the last entry, and any entry that does not fit 32 bits, fails with its
// field's "between minimum and maximum" message.
RoIDialogCheck ValidateRoIDialog(const RoIRecord& roi, const RoIDialogFields& typed, const Calibration& calibration,
                                 std::int32_t width, std::int32_t height);

// The mouse on the main picture (RoIMouse holds the gesture in progress): X is the column
// (1 = left), Y the row counted from the bottom, as the read-out finds them; values outside the
// image are brought inside.
// Button down. While RoI2Placement is set a left press places region 2 (silently ignored
// when PlaceRoI2 refuses it); any other press starts a new RoI1 at the pixel, with region 2
// off and reset and RoI1 off until the pointer moves.
void roiMousePress(RoIRecord& roi, RoIMouse& mouse, RoIMouseButton button, std::int32_t x, std::int32_t y,
                   std::int32_t width, std::int32_t height);
// Pointer moves: during a drag RoI1 spans the press and the pointer (ordered), and RoI1On is set.
// True when RoI1 changed.
bool roiMouseMove(RoIRecord& roi, RoIMouse& mouse, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height);
// Button up: a drag over more than one column and row commits RoI1 and arms RoI2Placement; a
// narrower one resets both regions to the whole image, off. RegionWidth and RegionHeight follow
// RoI1. True when the analyses are to be refreshed (every release after a press).
bool roiMouseRelease(RoIRecord& roi, RoIMouse& mouse, std::int32_t width, std::int32_t height);

}  // namespace kestrova
