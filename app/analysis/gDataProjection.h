#pragma once

// The spectrum and the profile: the analysis region summed or averaged down its columns (the
// column projection) and across its rows (the row projection), with the Y limits of each plot.

#include <cstdint>
#include <string>
#include <vector>

#include "ImageStore.h"
#include "RoIRecord.h"

namespace kestrova {

// One projection: entry i belongs to image column (row) first + i.
struct Projection {
    std::int32_t first = 1;
    std::vector<double> sum;
    std::vector<double> mean;  // sum / the full number of rows (columns) of the region
    double sumMin = 0.0;
    double sumMax = 0.0;
    double meanMin = 0.0;  // the means of the columns (rows) holding sumMin and sumMax
    double meanMax = 0.0;
    std::int64_t pixelCount = 0;  // pixels accepted by the data thresholds (the area)

    std::int32_t count() const { return static_cast<std::int32_t>(sum.size()); }
    std::int32_t last() const { return first + count() - 1; }
    // The mean or the sum at image column (row) `position`, first <= position <= last().
    double valueAt(std::int32_t position, bool mean) const;
};
using ColumnProjection = Projection;
using RowProjection = Projection;

// The Y limits of one projection's plot, automatic or typed by hand.
struct ProjectionLimits {
    std::string meanLoText;
    std::string meanHiText;
    std::string sumLoText;
    std::string sumHiText;
    double meanLo = 0.0;
    double meanHi = 0.0;
    double sumLo = 0.0;
    double sumHi = 0.0;
    bool lowerManual = false;
    bool upperManual = false;
    double plotLo = 0.0;  // the limits of the current plot, the Mean or the Sum pair
    double plotHi = 0.0;
    bool yScaleMean = true;  // the window shows means (true) or sums
};

// The projections and their limits, one instance each for the program.
struct Projections {
    ColumnProjection column;
    RowProjection row;
    ProjectionLimits spectrumLimits;
    ProjectionLimits profileLimits;
};

// What a projection is computed from. lower and upper are the data thresholds in force for the
// image's type (an Off side holding the image minimum or maximum): a pixel counts when
// lower <= its image value <= upper and its region value is finite.
struct ProjectionInput {
    const ImageStore& image;
    const RegionArray& region;
    double lower;
    double upper;
    bool invert;       // reflect every value inside its projection's range
    bool meanDefault;  // the projections default: the limits reset to Mean (true) or Sum
};

// Which projections a call computed (their limits were reset to Auto).
struct ProjectionsComputed {
    bool column = false;
    bool row = false;
};

// Compute the column (row) projection unless its flag in `flags` is set; when the other one is
// not computed either, both are filled in the same pass over the region. Each projection
// computed resets its limits and sets its flag.
ProjectionsComputed ComputeColumnProjection(const ProjectionInput& input, ResultFlags& flags, Projections& projections);
ProjectionsComputed ComputeRowProjection(const ProjectionInput& input, ResultFlags& flags, Projections& projections);

// Both limits back to Auto at the projection's minimum and maximum, Mean or Sum by default.
void ResetLimits(ProjectionLimits& limits, const Projection& projection, bool meanDefault);

}  // namespace kestrova
