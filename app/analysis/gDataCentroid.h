#pragma once

// The intensity-weighted centre of the analysis region, from the means of its column and row
// projections, and its area (the pixels the data thresholds accept).

#include <cstdint>
#include <string>

#include "Calibration.h"
#include "gDataProjection.h"

namespace kestrova {

struct CentroidResult {
    double centroidX = 0.0;  // 1-based image column
    double centroidY = 0.0;  // 1-based image row
};

// The thresholds the centroid weighs against. lower and upper are the data thresholds in force
// for the image's type. While the region is combined (region 2 added or subtracted) an Off side
// takes the region's own minimum or maximum: the image's would be unrelated to the combined
// values.
struct CentroidThresholds {
    double lower;
    double upper;
};
CentroidThresholds CentroidThresholdsFor(double lower, bool lowerOn, double upper, bool upperOn,
                                         const RegionArray& region, bool isFloat);

// centroidX (centroidY) unless its flag in `flags` is set. Columns whose mean lies within the
// thresholds weigh by mean - lower, rows by mean - the smallest row mean; with no weight the
// centre is the middle of the span.
void ComputeCentroid(const Projections& projections, const CentroidThresholds& thresholds, ResultFlags& flags,
                     CentroidResult& centroid);

// The wavelength at the column nearest centroidX (halves to even) as "###0.0", or "No Cal" when
// the windows show pixels.
std::string CentroidWavelengthText(const Calibration& calibration, double centroidX);

}  // namespace kestrova
