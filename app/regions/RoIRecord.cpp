#include "RoIRecord.h"

namespace kestrova {

RoIRect RoIRect::whole(std::int32_t width, std::int32_t height)
{
    return {1, 1, width, height};
}

void resetRegions(RoIRecord& roi, ResultFlags& flags, std::int32_t width, std::int32_t height)
{
    const RoIRect all = RoIRect::whole(width, height);
    roi.RoI1 = roi.RoI1Shown = roi.RoI2 = roi.RoI2Shown = all;
    roi.RoI1On = roi.RoI2On = false;
    roi.RoI2Placement = false;
    roi.Subtract = true;
    roi.Mean = true;
    roi.RegionWidth = width;
    roi.RegionHeight = height;
    flags.clearAll();
}

}  // namespace kestrova
