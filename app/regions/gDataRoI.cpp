#include "gDataRoI.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "NumberFormat.h"

namespace kestrova {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kLargestFloat = std::numeric_limits<float>::max();

std::int32_t clampTo(std::int32_t value, std::int32_t last) { return std::clamp<std::int32_t>(value, 1, last); }

// Ordered corners, each brought into 1..width and 1..height.
RoIRect orderedInside(const RoIRect& r, std::int32_t width, std::int32_t height)
{
    return {clampTo(std::min(r.BottomLeftX, r.TopRightX), width), clampTo(std::min(r.BottomLeftY, r.TopRightY), height),
            clampTo(std::max(r.BottomLeftX, r.TopRightX), width), clampTo(std::max(r.BottomLeftY, r.TopRightY), height)};
}

// Region 2's band: RoI1's columns and height from RoI2's lower row; nothing when it leaves the image.
std::optional<RoIRect> bandInside(const RoIRect& roi1, const RoIRect& roi2, std::int32_t height)
{
    const std::int64_t bottom = std::min(roi2.BottomLeftY, roi2.TopRightY);
    const std::int64_t top = bottom + (roi1.TopRightY - roi1.BottomLeftY);
    if (bottom < 1 || top > height)
        return std::nullopt;
    return RoIRect{roi1.BottomLeftX, static_cast<std::int32_t>(bottom), roi1.TopRightX, static_cast<std::int32_t>(top)};
}

std::int32_t saturated(std::int64_t value)
{
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < lowest ? lowest : (value > highest ? highest : value));
}

struct IntRange {
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
};

struct FloatRange {
    float low = kInfinity;
    float high = -kInfinity;
};

// One row of the region: a copy, a sum or a difference, with the row's range folded in.
void buildRow(const std::int32_t* a, const std::int32_t* b, std::int32_t* out, std::size_t n, bool subtract,
              IntRange& range)
{
    if (b == nullptr)
        std::memcpy(out, a, n * sizeof *out);
    else if (subtract)
        for (std::size_t i = 0; i < n; ++i)
            out[i] = saturated(static_cast<std::int64_t>(a[i]) - b[i]);
    else
        for (std::size_t i = 0; i < n; ++i)
            out[i] = saturated(static_cast<std::int64_t>(a[i]) + b[i]);
    std::int32_t low = range.low;
    std::int32_t high = range.high;
    for (std::size_t i = 0; i < n; ++i) {
        low = out[i] < low ? out[i] : low;
        high = out[i] > high ? out[i] : high;
    }
    range = {low, high};
}

void buildRow(const float* a, const float* b, float* out, std::size_t n, bool subtract, FloatRange& range)
{
    if (b == nullptr)
        std::memcpy(out, a, n * sizeof *out);
    else if (subtract)
        for (std::size_t i = 0; i < n; ++i)
            out[i] = a[i] - b[i];
    else
        for (std::size_t i = 0; i < n; ++i)
            out[i] = a[i] + b[i];
    // Only finite values count: NaN and the infinities are passed over.
    float low = range.low;
    float high = range.high;
    for (std::size_t i = 0; i < n; ++i) {
        const float v = out[i];
        const bool finite = v >= -kLargestFloat && v <= kLargestFloat;
        const float forLow = finite ? v : kInfinity;
        const float forHigh = finite ? v : -kInfinity;
        low = forLow < low ? forLow : low;
        high = forHigh > high ? forHigh : high;
    }
    range = {low, high};
}

template <typename T, typename Range>
Range buildPixels(const std::vector<T>& pixels, std::int32_t imageWidth, const RoIRect& roi1,
                  const std::optional<RoIRect>& band, bool subtract, std::vector<T>& out)
{
    const auto w = static_cast<std::size_t>(roi1.TopRightX - roi1.BottomLeftX + 1);
    const auto h = static_cast<std::size_t>(roi1.TopRightY - roi1.BottomLeftY + 1);
    out.resize(w * h);
    Range range;
    const auto stride = static_cast<std::size_t>(imageWidth);
    const std::size_t column = static_cast<std::size_t>(roi1.BottomLeftX) - 1;
    for (std::size_t r = 0; r < h; ++r) {
        const T* a = pixels.data() + (static_cast<std::size_t>(roi1.BottomLeftY) - 1 + r) * stride + column;
        const T* b = band ? pixels.data() + (static_cast<std::size_t>(band->BottomLeftY) - 1 + r) * stride + column
                          : nullptr;
        buildRow(a, b, out.data() + r * w, w, subtract, range);
    }
    return range;
}

template <typename T>
void release(std::vector<T>& unused)
{
    std::vector<T>().swap(unused);
}

}  // namespace

void BuildRegion(const ImageStore& image, const RoIRecord& roi, ResultFlags& flags, RegionArray& region)
{
    if (flags.regionBuilt)
        return;
    flags.regionBuilt = true;
    region.intMin = region.intMax = 0;
    region.floatMin = region.floatMax = 0.0f;
    region.HasRange = false;
    region.builtSubtract = roi.Subtract;
    region.builtRoI2On = false;

    const std::int64_t count = image.pixelCount();
    const std::size_t held = image.isFloat ? image.floatPixels.size() : image.intPixels.size();
    if (image.width < 1 || image.height < 1 || static_cast<std::int64_t>(held) < count) {
        region.width = region.height = 0;
        region.intPixels.clear();
        region.floatPixels.clear();
        region.header = BitmapInfoHeader::forPicture(0, 0);
        region.builtRoI1 = region.builtRoI2 = RoIRect{};
        return;
    }

    const RoIRect roi1 = orderedInside(roi.RoI1, image.width, image.height);
    std::optional<RoIRect> band;
    if (roi.RoI1On && roi.RoI2On)
        band = bandInside(roi1, roi.RoI2, image.height);
    region.builtRoI1 = roi1;
    region.builtRoI2 = band.value_or(roi1);
    region.builtRoI2On = band.has_value();
    region.width = roi1.TopRightX - roi1.BottomLeftX + 1;
    region.height = roi1.TopRightY - roi1.BottomLeftY + 1;
    region.header = BitmapInfoHeader::forPicture(region.width, region.height);

    if (image.isFloat) {
        release(region.intPixels);
        const auto range = buildPixels<float, FloatRange>(image.floatPixels, image.width, roi1, band, roi.Subtract,
                                                          region.floatPixels);
        if (range.low <= range.high) {
            region.floatMin = range.low;
            region.floatMax = range.high;
            region.HasRange = range.low != range.high;
        }
        return;
    }
    release(region.floatPixels);
    const auto range = buildPixels<std::int32_t, IntRange>(image.intPixels, image.width, roi1, band, roi.Subtract,
                                                           region.intPixels);
    region.intMin = range.low;
    region.intMax = range.high;
    region.HasRange = range.low != range.high;
}

PlaceRoI2Result PlaceRoI2(const RoIRect& roi1, std::int32_t topRow, std::int32_t imageHeight)
{
    const std::int64_t bottom = static_cast<std::int64_t>(topRow) - (static_cast<std::int64_t>(roi1.TopRightY) -
                                                                     roi1.BottomLeftY);
    if (topRow > imageHeight)
        return {PlaceRoI2Status::AboveImage, 1};
    if (bottom < 1)
        return {PlaceRoI2Status::TooSmall, 1};
    const auto inside = [&roi1](std::int64_t row) { return roi1.BottomLeftY < row && row < roi1.TopRightY; };
    const auto row = static_cast<std::int32_t>(bottom);
    if (inside(bottom) || inside(topRow))
        return {PlaceRoI2Status::Overlap, row};
    return {PlaceRoI2Status::Accepted, row};
}

}  // namespace kestrova
