#include "gDataRoI.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace kestrova {

namespace {

constexpr float kLargestFloat = std::numeric_limits<float>::max();

std::int32_t clampTo(std::int32_t value, std::int32_t last)
{
    return std::clamp<std::int32_t>(value, 1, last);
}

// Ordered corners, each brought into 1..width and 1..height.
RoIRect orderedInside(const RoIRect& r, std::int32_t width, std::int32_t height)
{
    return {clampTo(std::min(r.BottomLeftX, r.TopRightX), width), clampTo(std::min(r.BottomLeftY, r.TopRightY), height),
            clampTo(std::max(r.BottomLeftX, r.TopRightX), width),
            clampTo(std::max(r.BottomLeftY, r.TopRightY), height)};
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

// The rows are combined and their range found in one pass, four elements at a time, written
// with the vector types of GCC and Clang: compilers do not vectorise a float minimum, nor the
// saturated integer arithmetic, on their own.
using Ints = std::int32_t __attribute__((vector_size(16)));
using Floats = float __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(Ints) / sizeof(std::int32_t);
constexpr std::size_t kChains = 4;  // independent running minima and maxima
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

template <typename V>
V blend(Ints take, V taken, V kept)
{
    return reinterpret_cast<V>((take & reinterpret_cast<Ints>(taken)) | (~take & reinterpret_cast<Ints>(kept)));
}

template <typename V, typename T>
V splat(T value)
{
    return V{value, value, value, value};
}

// Integers: the sum or difference saturated to 32 bits, exactly as 64-bit arithmetic and a
// clamp would give it; found from the wrapped result and the operands' signs.
struct IntPixels {
    using T = std::int32_t;
    using V = Ints;
    static V wrapped(V a, V b, bool subtract)
    {
        using Unsigned = std::uint32_t __attribute__((vector_size(16)));
        const auto ua = reinterpret_cast<Unsigned>(a);
        const auto ub = reinterpret_cast<Unsigned>(b);
        return reinterpret_cast<V>(subtract ? ua - ub : ua + ub);
    }
    static V combine(V a, V b, bool subtract)
    {
        const V s = wrapped(a, b, subtract);
        const V overflow = subtract ? ((a ^ b) & (a ^ s)) < 0 : ((a ^ s) & (b ^ s)) < 0;
        return blend(overflow, (a >> 31) ^ kIntMax, s);
    }
    static Ints below(V x, V low) { return x < low; }
    static Ints above(V x, V high) { return x > high; }
    static bool counts(T) { return true; }
};

// Floats in single precision; NaN and the infinities take no part in the range.
struct FloatPixels {
    using T = float;
    using V = Floats;
    static V combine(V a, V b, bool subtract) { return subtract ? a - b : a + b; }
    static Ints below(V x, V low) { return (x < low) & (x >= splat<V>(-kLargestFloat)); }
    static Ints above(V x, V high) { return (x > high) & (x <= splat<V>(kLargestFloat)); }
    static bool counts(T x) { return x >= -kLargestFloat && x <= kLargestFloat; }
};

template <typename T>
struct Range {
    T low;
    T high;
};

template <typename P, typename T = typename P::T, typename V = typename P::V>
V load(const T* p)
{
    V x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

// out = a (b null), a + b or a - b, n elements, with their range folded into `range`. Several
// chains of running vectors keep each step from waiting for the one before.
template <typename P, typename T = typename P::T, typename V = typename P::V>
void buildRow(const T* a, const T* b, T* out, std::size_t n, bool subtract, Range<T>& range)
{
    V lows[kChains];
    V highs[kChains];
    std::fill(lows, lows + kChains, splat<V>(range.low));
    std::fill(highs, highs + kChains, splat<V>(range.high));
    const auto element = [&](std::size_t i) {
        return b == nullptr ? load<P>(a + i) : P::combine(load<P>(a + i), load<P>(b + i), subtract);
    };
    std::size_t i = 0;
    for (; i + kChains * kLanes <= n; i += kChains * kLanes)
        for (std::size_t k = 0; k < kChains; ++k) {
            const V x = element(i + k * kLanes);
            std::memcpy(out + i + k * kLanes, &x, sizeof x);
            lows[k] = blend(P::below(x, lows[k]), x, lows[k]);
            highs[k] = blend(P::above(x, highs[k]), x, highs[k]);
        }
    for (std::size_t k = 0; k < kChains; ++k)
        for (std::size_t l = 0; l < kLanes; ++l) {
            range.low = std::min(range.low, lows[k][l]);
            range.high = std::max(range.high, highs[k][l]);
        }
    // The last elements one by one, through the same vector arithmetic.
    for (; i < n; ++i) {
        const T x = b == nullptr ? a[i] : P::combine(splat<V>(a[i]), splat<V>(b[i]), subtract)[0];
        out[i] = x;
        if (P::counts(x)) {
            range.low = std::min(range.low, x);
            range.high = std::max(range.high, x);
        }
    }
}

// The region's rows from RoI1's rectangle and, when there is one, region 2's band. The range
// starts empty (low above high) and stays so when no element counts.
template <typename P, typename T = typename P::T>
Range<T> buildPixels(const std::vector<T>& pixels, std::int32_t imageWidth, const RoIRect& roi1,
                     const std::optional<RoIRect>& band, bool subtract, std::vector<T>& out)
{
    const auto w = static_cast<std::size_t>(roi1.TopRightX - roi1.BottomLeftX + 1);
    const auto h = static_cast<std::size_t>(roi1.TopRightY - roi1.BottomLeftY + 1);
    out.resize(w * h);
    Range<T> range{std::numeric_limits<T>::max(), std::numeric_limits<T>::lowest()};
    const auto stride = static_cast<std::size_t>(imageWidth);
    const std::size_t column = static_cast<std::size_t>(roi1.BottomLeftX) - 1;
    for (std::size_t r = 0; r < h; ++r) {
        const T* a = pixels.data() + (static_cast<std::size_t>(roi1.BottomLeftY) - 1 + r) * stride + column;
        const T* b =
            band ? pixels.data() + (static_cast<std::size_t>(band->BottomLeftY) - 1 + r) * stride + column : nullptr;
        buildRow<P>(a, b, out.data() + r * w, w, subtract, range);
    }
    return range;
}

template <typename T>
void release(std::vector<T>& unused)
{
    std::vector<T>().swap(unused);
}

void fillRegion(const ImageStore& image, const RoIRecord& roi, RegionArray& region)
{
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
        const auto range =
            buildPixels<FloatPixels>(image.floatPixels, image.width, roi1, band, roi.Subtract, region.floatPixels);
        if (range.low <= range.high) {
            region.floatMin = range.low;
            region.floatMax = range.high;
            region.HasRange = range.low != range.high;
        }
        return;
    }
    release(region.floatPixels);
    const auto range = buildPixels<IntPixels>(image.intPixels, image.width, roi1, band, roi.Subtract, region.intPixels);
    region.intMin = range.low;
    region.intMax = range.high;
    region.HasRange = range.low != range.high;
}

}  // namespace

void BuildRegion(const ImageStore& image, const RoIRecord& roi, ResultFlags& flags, RegionArray& region)
{
    if (flags.regionBuilt)
        return;
    fillRegion(image, roi, region);
    flags.regionBuilt = true;
}

PlaceRoI2Result PlaceRoI2(const RoIRect& roi1, std::int32_t topRow, std::int32_t imageHeight)
{
    const std::int64_t bottom =
        static_cast<std::int64_t>(topRow) - (static_cast<std::int64_t>(roi1.TopRightY) - roi1.BottomLeftY);
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
