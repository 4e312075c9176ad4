#include "gDataProjection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "CLocaleText.h"

namespace kestrova {

namespace {

// Sums of the accepted region values down every column and across every row, in one pass.
struct RegionSums {
    std::vector<double> columns;
    std::vector<double> rows;
    std::int64_t accepted = 0;
};

bool regionFitsImage(const ImageStore& image, const RegionArray& region)
{
    const RoIRect& r = region.builtRoI1;
    if (region.width < 1 || region.height < 1 || r.BottomLeftX < 1 || r.BottomLeftY < 1)
        return false;
    if (static_cast<std::int64_t>(r.BottomLeftX) - 1 + region.width > image.width ||
        static_cast<std::int64_t>(r.BottomLeftY) - 1 + region.height > image.height)
        return false;
    const auto regionPixels = static_cast<std::size_t>(region.width) * static_cast<std::size_t>(region.height);
    const auto imagePixels = static_cast<std::size_t>(image.pixelCount());
    if (image.isFloat)
        return region.floatPixels.size() >= regionPixels && image.floatPixels.size() >= imagePixels;
    return region.intPixels.size() >= regionPixels && image.intPixels.size() >= imagePixels;
}

std::size_t imageOffset(const ImageStore& image, const RegionArray& region, std::int32_t row)
{
    const RoIRect& r = region.builtRoI1;
    return (static_cast<std::size_t>(r.BottomLeftY) - 1 + static_cast<std::size_t>(row)) *
               static_cast<std::size_t>(image.width) +
           static_cast<std::size_t>(r.BottomLeftX) - 1;
}

// A region row; a region of region 1 alone holds the image's own values, read from the image
// row already at hand so that the pass reads memory once.
template <typename T>
const T* combinedRow(const std::vector<T>& regionPixels, const T* imageRow, const RegionArray& region, std::int32_t row)
{
    if (!region.builtRoI2On)
        return imageRow;
    return regionPixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(region.width);
}

// The integer bounds equivalent to lower <= v <= upper for 32-bit integer v; empty when a
// bound is NaN.
constexpr std::int64_t kBelowInt32 = std::int64_t{std::numeric_limits<std::int32_t>::min()} - 1;
constexpr std::int64_t kAboveInt32 = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;

std::int64_t intLowerBound(double lower)
{
    if (std::isnan(lower) || lower > static_cast<double>(kAboveInt32))
        return kAboveInt32;
    if (lower < static_cast<double>(kBelowInt32))
        return kBelowInt32;
    return static_cast<std::int64_t>(std::ceil(lower));
}

std::int64_t intUpperBound(double upper)
{
    if (std::isnan(upper) || upper < static_cast<double>(kBelowInt32))
        return kBelowInt32;
    if (upper > static_cast<double>(kAboveInt32))
        return kAboveInt32;
    return static_cast<std::int64_t>(std::floor(upper));
}

// The float bounds equivalent to lower <= v <= upper for float v.
constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

float floatLowerBound(double lower)
{
    if (std::isnan(lower))
        return std::numeric_limits<float>::quiet_NaN();
    if (lower > static_cast<double>(kFloatMax))
        return kInfinity;
    if (lower < -static_cast<double>(kFloatMax))
        return lower == -std::numeric_limits<double>::infinity() ? -kInfinity : -kFloatMax;
    float bound = static_cast<float>(lower);
    if (static_cast<double>(bound) < lower)
        bound = std::nextafter(bound, kInfinity);
    return bound;
}

float floatUpperBound(double upper)
{
    return -floatLowerBound(-upper);
}

// One row of integer pixels: adds the accepted values to the column sums; gives the row's sum
// and the number accepted. Written without branches so that it runs as vector code.
std::int64_t sumIntRow(const std::int32_t* __restrict values, const std::int32_t* __restrict combined,
                       std::int64_t* __restrict columns, std::size_t width, std::int32_t lo, std::int32_t hi,
                       std::int64_t& accepted)
{
    std::int64_t rowSum = 0;
    std::int32_t rowAccepted = 0;
    for (std::size_t c = 0; c < width; ++c) {
        const bool ok = (values[c] >= lo) & (values[c] <= hi);
        const std::int32_t a = combined[c] & -static_cast<std::int32_t>(ok);
        columns[c] += a;
        rowSum += a;
        rowAccepted += ok;
    }
    accepted += rowAccepted;
    return rowSum;
}

// Integer pixels: exact 64-bit sums.
void sumIntRegion(const ImageStore& image, const RegionArray& region, double lower, double upper, RegionSums& sums)
{
    const auto width = static_cast<std::size_t>(region.width);
    std::vector<std::int64_t> columns(width, 0);
    sums.rows.assign(static_cast<std::size_t>(region.height), 0.0);
    const std::int64_t lo = intLowerBound(lower);
    const std::int64_t hi = intUpperBound(upper);
    if (lo <= hi && lo <= kAboveInt32 - 1 && hi >= kBelowInt32 + 1) {
        const auto lo32 = static_cast<std::int32_t>(std::max(lo, kBelowInt32 + 1));
        const auto hi32 = static_cast<std::int32_t>(std::min(hi, kAboveInt32 - 1));
        for (std::int32_t row = 0; row < region.height; ++row) {
            const std::int32_t* values = image.intPixels.data() + imageOffset(image, region, row);
            const std::int32_t* combined = combinedRow(region.intPixels, values, region, row);
            sums.rows[static_cast<std::size_t>(row)] =
                static_cast<double>(sumIntRow(values, combined, columns.data(), width, lo32, hi32, sums.accepted));
        }
    }
    sums.columns.assign(columns.begin(), columns.end());
}

// One row of float pixels: adds the accepted values to the column sums and keeps them in
// `taken` for the row's sum; gives the number accepted. Without branches, as vector code.
std::int32_t takeFloatRow(const float* __restrict values, const float* __restrict combined, double* __restrict columns,
                          double* __restrict taken, std::size_t width, float lo, float hi)
{
    std::int32_t rowAccepted = 0;
    for (std::size_t c = 0; c < width; ++c) {
        const bool ok = (values[c] >= lo) & (values[c] <= hi) & (std::fabs(combined[c]) <= kFloatMax);
        const double a = ok ? combined[c] : 0.0f;
        taken[c] = a;
        columns[c] += a;
        rowAccepted += ok;
    }
    return rowAccepted;
}

// Float pixels: double sums; a row is summed in four interleaved partial sums.
void sumFloatRegion(const ImageStore& image, const RegionArray& region, double lower, double upper, RegionSums& sums)
{
    const float lo = floatLowerBound(lower);
    const float hi = floatUpperBound(upper);
    const auto width = static_cast<std::size_t>(region.width);
    sums.columns.assign(width, 0.0);
    sums.rows.assign(static_cast<std::size_t>(region.height), 0.0);
    std::vector<double> taken(width + 4, 0.0);  // the last four stay 0: the row sum's padding
    for (std::int32_t row = 0; row < region.height; ++row) {
        const float* values = image.floatPixels.data() + imageOffset(image, region, row);
        const float* combined = combinedRow(region.floatPixels, values, region, row);
        sums.accepted += takeFloatRow(values, combined, sums.columns.data(), taken.data(), width, lo, hi);
        double lane0 = 0.0, lane1 = 0.0, lane2 = 0.0, lane3 = 0.0;
        for (std::size_t c = 0; c < width; c += 4) {
            lane0 += taken[c];
            lane1 += taken[c + 1];
            lane2 += taken[c + 2];
            lane3 += taken[c + 3];
        }
        sums.rows[static_cast<std::size_t>(row)] = (lane0 + lane1) + (lane2 + lane3);
    }
}

// Means, minimum and maximum, then the reflection when inverted.
void finishProjection(Projection& projection, std::int32_t first, std::vector<double>&& sums, double divisor,
                      std::int64_t accepted, bool invert)
{
    projection.first = first;
    projection.sum = std::move(sums);
    projection.mean.resize(projection.sum.size());
    projection.pixelCount = accepted;
    projection.sumMin = projection.sumMax = projection.meanMin = projection.meanMax = 0.0;
    for (std::size_t i = 0; i < projection.sum.size(); ++i)
        projection.mean[i] = projection.sum[i] / divisor;
    if (projection.sum.empty())
        return;
    projection.sumMin = projection.sumMax = projection.sum[0];
    projection.meanMin = projection.meanMax = projection.mean[0];
    for (std::size_t i = 1; i < projection.sum.size(); ++i) {
        if (projection.sum[i] > projection.sumMax) {
            projection.sumMax = projection.sum[i];
            projection.meanMax = projection.mean[i];
        }
        if (projection.sum[i] < projection.sumMin) {
            projection.sumMin = projection.sum[i];
            projection.meanMin = projection.mean[i];
        }
    }
    if (!invert)
        return;
    for (std::size_t i = 0; i < projection.sum.size(); ++i) {
        projection.sum[i] = projection.sumMax + projection.sumMin - projection.sum[i];
        projection.mean[i] = projection.meanMax + projection.meanMin - projection.mean[i];
    }
}

ProjectionsComputed computeMissing(const ProjectionInput& input, ResultFlags& flags, Projections& projections)
{
    ProjectionsComputed computed{!flags.spectrumComputed, !flags.profileComputed};
    RegionSums sums;
    if (regionFitsImage(input.image, input.region)) {
        if (input.image.isFloat)
            sumFloatRegion(input.image, input.region, input.lower, input.upper, sums);
        else
            sumIntRegion(input.image, input.region, input.lower, input.upper, sums);
    }
    const RoIRect& rect = input.region.builtRoI1;
    if (computed.column) {
        finishProjection(projections.column, rect.BottomLeftX, std::move(sums.columns), input.region.height,
                         sums.accepted, input.invert);
        ResetLimits(projections.spectrumLimits, projections.column, input.meanDefault);
        flags.spectrumComputed = true;
    }
    if (computed.row) {
        finishProjection(projections.row, rect.BottomLeftY, std::move(sums.rows), input.region.width, sums.accepted,
                         input.invert);
        ResetLimits(projections.profileLimits, projections.row, input.meanDefault);
        flags.profileComputed = true;
    }
    return computed;
}

}  // namespace

double Projection::valueAt(std::int32_t position, bool meanValue) const
{
    const auto index = static_cast<std::size_t>(position - first);
    return meanValue ? mean[index] : sum[index];
}

ProjectionsComputed ComputeColumnProjection(const ProjectionInput& input, ResultFlags& flags, Projections& projections)
{
    if (flags.spectrumComputed)
        return {};
    return computeMissing(input, flags, projections);
}

ProjectionsComputed ComputeRowProjection(const ProjectionInput& input, ResultFlags& flags, Projections& projections)
{
    if (flags.profileComputed)
        return {};
    return computeMissing(input, flags, projections);
}

void ResetLimits(ProjectionLimits& limits, const Projection& projection, bool meanDefault)
{
    limits.yScaleMean = meanDefault;
    limits.lowerManual = limits.upperManual = false;
    limits.meanLo = projection.meanMin;
    limits.meanHi = projection.meanMax;
    limits.sumLo = projection.sumMin;
    limits.sumHi = projection.sumMax;
    limits.meanLoText = printfGeneral(limits.meanLo, 15);
    limits.meanHiText = printfGeneral(limits.meanHi, 15);
    limits.sumLoText = printfGeneral(limits.sumLo, 15);
    limits.sumHiText = printfGeneral(limits.sumHi, 15);
}

}  // namespace kestrova
