#include "gDataOrg.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

#include "HistogramWalk.h"
#include "LargeBuffer.h"
#include "NumberFormat.h"
#include "gFileOrg.h"

namespace kestrova {

namespace {

constexpr int kLastBin = kDisplayBins - 1;

// Images below this many pixels are mapped on one thread; larger ones are split in two.
constexpr std::size_t kParallelFrom = std::size_t{1} << 18;

// Pixels are binned and mapped in blocks small enough to stay in the first-level cache.
constexpr std::size_t kBlock = 2048;

// Adding and subtracting these rounds to the nearest integer, halves to even, in the default
// rounding mode, for magnitudes below 2^51 (double) and 2^22 (float). Unlike std::nearbyint
// it is a plain addition, which the compiler can vectorise.
constexpr double kRoundDouble = 6755399441055744.0;  // 1.5 * 2^52
constexpr float kRoundFloat = 12582912.0f;           // 1.5 * 2^23

// The double-precision loops over float pixels also get a version for processors with 256-bit
// vectors, chosen when the program starts: twice the doubles per instruction.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
#define KESTROVA_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define KESTROVA_WIDE_VECTORS
#endif

// Runs work(begin, end) over [0, count), on two threads for large counts.
template <typename Work>
void forEachHalf(std::size_t count, const Work& work)
{
    if (count < kParallelFrom) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t half = count / 2;
    std::thread other;
    try {
        other = std::thread([&work, half, count] { work(half, count); });
    } catch (const std::system_error&) {
        work(std::size_t{0}, count);
        return;
    }
    work(std::size_t{0}, half);
    other.join();
}

// The value range R: maximum - minimum, or 255 when they are equal (or out of order).
std::int64_t intRange(const PixelSource& p)
{
    return p.intMin < p.intMax ? static_cast<std::int64_t>(p.intMax) - p.intMin : 255;
}

// For float images in double precision: the difference of two floats can exceed the float range.
double floatRange(const PixelSource& p)
{
    return p.floatMin < p.floatMax ? static_cast<double>(p.floatMax) - static_cast<double>(p.floatMin) : 255.0;
}

// False for NaN and the infinities; a plain comparison, which the compiler can vectorise.
inline bool isFinitePixel(float v)
{
    return std::fabs(v) <= std::numeric_limits<float>::max();
}

// Bins of a block of integer pixels. (v - min) * 4095 is exact in a double, and a correctly
// rounded quotient of two exact integers is exactly x.5 only when the true quotient is, so
// rounding the double quotient gives the exact bin.
void intBins(const std::int32_t* v, std::size_t n, std::int32_t minimum, double range, std::uint16_t* bins)
{
    const double lowest = minimum;
    for (std::size_t k = 0; k < n; ++k) {
        double q = (static_cast<double>(v[k]) - lowest) * 4095.0 / range;
        q = q < 0.0 ? 0.0 : q;
        q = q > 4095.0 ? 4095.0 : q;
        q = (q + kRoundDouble) - kRoundDouble;
        bins[k] = static_cast<std::uint16_t>(static_cast<std::int32_t>(q));
    }
}

// The place of a pixel that is counted in no bin: a float pixel that is not finite.
constexpr std::uint16_t kNoBin = kDisplayBins;

// Bins of a block of float pixels, in double precision so that no product overflows; a pixel
// that is not finite (NaN, infinity) gets kNoBin.
KESTROVA_WIDE_VECTORS
void floatBins(const float* v, std::size_t n, double minimum, double range, std::uint16_t* bins)
{
    for (std::size_t k = 0; k < n; ++k) {
        double q = (static_cast<double>(v[k]) - minimum) * 4095.0 / range;
        q = q > 0.0 ? q : 0.0;  // also NaN
        q = q < 4095.0 ? q : 4095.0;
        q = (q + kRoundDouble) - kRoundDouble;
        const auto bin = static_cast<std::uint16_t>(static_cast<std::int32_t>(q));
        bins[k] = isFinitePixel(v[k]) ? bin : kNoBin;
    }
}

// The display bins and, last, the count of pixels in no bin.
using PartialHistogram = std::array<std::uint32_t, kDisplayBins + 1>;

// Counts into four interleaved histograms, so that runs of equal bins do not wait on each other.
void countBins(const std::uint16_t* bins, std::size_t n, PartialHistogram* h)
{
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        ++h[0][bins[k]];
        ++h[1][bins[k + 1]];
        ++h[2][bins[k + 2]];
        ++h[3][bins[k + 3]];
    }
    for (; k < n; ++k)
        ++h[0][bins[k]];
}

// Integer images whose range is narrower than this (and than their pixel count) are mapped
// through tables with one entry per value of the range, filled by the same exact rule.
constexpr std::int64_t kLargestTable = std::int64_t{1} << 20;

// The number of table entries for an integer image, or 0 when it is not mapped through tables.
std::size_t tableSize(const PixelSource& p)
{
    const std::int64_t entries = static_cast<std::int64_t>(p.intMax) - p.intMin + 1;
    if (entries < 1 || entries > kLargestTable || entries > static_cast<std::int64_t>(p.count))
        return 0;
    return static_cast<std::size_t>(entries);
}

// The values minimum .. minimum + entries - 1, for filling the tables.
std::vector<std::int32_t> tableValues(const PixelSource& p, std::size_t entries)
{
    std::vector<std::int32_t> values(entries);
    for (std::size_t u = 0; u < entries; ++u)
        values[u] = static_cast<std::int32_t>(p.intMin + static_cast<std::int64_t>(u));
    return values;
}

// Table offset of a value: within the table when below `entries`; a value outside the range
// wraps to a large offset.
inline std::uint32_t tableOffset(std::int32_t v, std::int32_t minimum)
{
    return static_cast<std::uint32_t>(v) - static_cast<std::uint32_t>(minimum);
}

void countThroughTable(const PixelSource& p, std::size_t begin, std::size_t end,
                       const std::vector<std::uint16_t>& table, PartialHistogram* h)
{
    const auto entries = static_cast<std::uint32_t>(table.size());
    const double range = static_cast<double>(intRange(p));
    auto binOf = [&](std::int32_t v) {
        const std::uint32_t u = tableOffset(v, p.intMin);
        if (u < entries)
            return table[u];
        std::uint16_t bin = 0;
        intBins(&v, 1, p.intMin, range, &bin);
        return bin;
    };
    const std::int32_t* v = p.intPixels;
    std::size_t k = begin;
    for (; k + 4 <= end; k += 4) {
        ++h[0][binOf(v[k])];
        ++h[1][binOf(v[k + 1])];
        ++h[2][binOf(v[k + 2])];
        ++h[3][binOf(v[k + 3])];
    }
    for (; k < end; ++k)
        ++h[0][binOf(v[k])];
}

void histogramOfPart(const PixelSource& p, std::size_t begin, std::size_t end, const std::vector<std::uint16_t>& table,
                     PartialHistogram& out)
{
    std::vector<PartialHistogram> h(4, PartialHistogram{});
    if (!table.empty()) {
        countThroughTable(p, begin, end, table, h.data());
    } else {
        std::uint16_t bins[kBlock];
        const double intR = static_cast<double>(intRange(p));
        const double floatR = floatRange(p);
        for (std::size_t at = begin; at < end; at += kBlock) {
            const std::size_t n = std::min(kBlock, end - at);
            if (p.isFloat)
                floatBins(p.floatPixels + at, n, static_cast<double>(p.floatMin), floatR, bins);
            else
                intBins(p.intPixels + at, n, p.intMin, intR, bins);
            countBins(bins, n, h.data());
        }
    }
    for (int b = 0; b < kDisplayBins; ++b)
        out[static_cast<std::size_t>(b)] = h[0][static_cast<std::size_t>(b)] + h[1][static_cast<std::size_t>(b)] +
                                           h[2][static_cast<std::size_t>(b)] + h[3][static_cast<std::size_t>(b)];
}

// The bin of one value, as the histogram computes it.
int binOfInt(const PixelSource& p, std::int32_t value)
{
    const std::int64_t b = roundDivHalfEven((static_cast<std::int64_t>(value) - p.intMin) * 4095, intRange(p));
    return static_cast<int>(std::clamp<std::int64_t>(b, 0, kLastBin));
}

int binOfFloat(const PixelSource& p, float value)
{
    std::uint16_t bin = 0;
    floatBins(&value, 1, static_cast<double>(p.floatMin), floatRange(p), &bin);
    return bin == kNoBin ? 0 : bin;
}

// The count below or above a bin, by the same trapezoid rule and in the same exact halves as the
// threshold walks (HistogramWalk.h).
std::int64_t walkStart(const DisplayHistogram& h, int bin)
{
    return h[static_cast<std::size_t>(bin)];
}

std::int64_t walkStep(const DisplayHistogram& h, int a, int b, std::int64_t twiceCount)
{
    return twiceCount + h[static_cast<std::size_t>(a)] + h[static_cast<std::size_t>(b)];
}

std::int64_t countOf(std::int64_t twiceCount)
{
    return roundDivHalfEven(twiceCount, 2);
}

std::string percentText(std::int64_t count, std::size_t pixels)
{
    if (pixels == 0)
        return formatNumber(0.0, "#0.00");
    return formatNumber(static_cast<double>(count) * 100.0 / static_cast<double>(pixels), "#0.00");
}

// Grey levels of a block of integer pixels, exact for the same reason as intBins. A span that is
// not positive is passed as infinity, which maps every pixel between the thresholds to 0.
void intGreys(const std::int32_t* v, std::size_t n, std::int32_t lo, std::int32_t hi, double span, std::uint32_t* out)
{
    const double low = lo;
    for (std::size_t k = 0; k < n; ++k) {
        double g = (static_cast<double>(v[k]) - low) * 255.0 / span;
        g = g < 0.0 ? 0.0 : g;
        g = g > 255.0 ? 255.0 : g;
        g = (g + kRoundDouble) - kRoundDouble;
        std::uint32_t grey = static_cast<std::uint32_t>(static_cast<std::int32_t>(g));
        grey = v[k] < lo ? 0u : grey;
        grey = v[k] > hi ? 255u : grey;
        out[k] = grey * 0x010101u;
    }
}

// Grey levels of a block of float pixels: the quotient computed in double precision (no product
// overflows), then rounded to a 32-bit float and to the grey level. NaN and the infinities map to 0.
KESTROVA_WIDE_VECTORS
void floatGreys(const float* v, std::size_t n, float lo, float hi, double span, std::uint32_t* out)
{
    const double low = lo;
    for (std::size_t k = 0; k < n; ++k) {
        double q = (static_cast<double>(v[k]) - low) * 255.0 / span;
        q = q > 0.0 ? q : 0.0;  // also NaN, and 0 / 0 for a zero span
        q = q < 255.0 ? q : 255.0;
        float g = static_cast<float>(q);
        g = (g + kRoundFloat) - kRoundFloat;
        std::uint32_t grey = static_cast<std::uint32_t>(static_cast<std::int32_t>(g));
        grey = v[k] < lo ? 0u : grey;
        grey = v[k] > hi ? 255u : grey;
        grey = isFinitePixel(v[k]) ? grey : 0u;
        out[k] = grey * 0x010101u;
    }
}

}  // namespace

PixelSource PixelSource::of(const ImageStore& image)
{
    PixelSource p;
    p.isFloat = image.isFloat;
    p.intPixels = image.intPixels.data();
    p.floatPixels = image.floatPixels.data();
    const std::size_t held = image.isFloat ? image.floatPixels.size() : image.intPixels.size();
    const std::int64_t count = image.pixelCount();
    p.count = count > 0 ? std::min(held, static_cast<std::size_t>(count)) : 0;
    p.intMin = image.intMin;
    p.intMax = image.intMax;
    p.floatMin = image.floatMin;
    p.floatMax = image.floatMax;
    return p;
}

PixelSource PixelSource::of(const RegionArray& region, bool isFloat)
{
    PixelSource p;
    p.isFloat = isFloat;
    p.intPixels = region.intPixels.data();
    p.floatPixels = region.floatPixels.data();
    const std::size_t held = isFloat ? region.floatPixels.size() : region.intPixels.size();
    const std::int64_t count = static_cast<std::int64_t>(region.width) * region.height;
    p.count = count > 0 ? std::min(held, static_cast<std::size_t>(count)) : 0;
    p.intMin = region.intMin;
    p.intMax = region.intMax;
    p.floatMin = region.floatMin;
    p.floatMax = region.floatMax;
    return p;
}

void BuildDisplayHistogram(const PixelSource& pixels, DisplayHistogram& histogram)
{
    std::vector<std::uint16_t> table;
    if (const std::size_t entries = pixels.isFloat ? 0 : tableSize(pixels); entries > 0) {
        const std::vector<std::int32_t> values = tableValues(pixels, entries);
        table.resize(entries);
        intBins(values.data(), entries, pixels.intMin, static_cast<double>(intRange(pixels)), table.data());
    }
    PartialHistogram first{};
    PartialHistogram second{};
    forEachHalf(pixels.count, [&](std::size_t begin, std::size_t end) {
        histogramOfPart(pixels, begin, end, table, begin == 0 ? first : second);
    });
    for (int b = 0; b < kDisplayBins; ++b) {
        const auto i = static_cast<std::size_t>(b);
        histogram[i] = static_cast<std::int32_t>(first[i] + second[i]);
    }
}

std::int64_t percentTarget(std::int64_t pixelCount, float percent)
{
    const float share = static_cast<float>(pixelCount) * percent;
    if (!std::isfinite(share))
        return share > 0 ? pixelCount + 1 : 0;
    const double pixels = roundHalfEven(static_cast<double>(share));
    return static_cast<std::int64_t>(roundHalfEven(pixels / 100.0));
}

ThresholdBins walkThresholdBins(const DisplayHistogram& h, std::int64_t lowerTarget, std::int64_t upperTarget)
{
    const WalkedBins walked = walkHistogramBins(h, lowerTarget, upperTarget);
    return {walked.lower, walked.upper};
}

void ThresholdsFromPercent(const PixelSource& pixels, float lowerPercent, float upperPercent,
                           DisplayThresholds& thresholds)
{
    DisplayHistogram h{};
    BuildDisplayHistogram(pixels, h);
    const auto n = static_cast<std::int64_t>(pixels.count);
    const ThresholdBins bins = walkThresholdBins(h, percentTarget(n, lowerPercent), percentTarget(n, upperPercent));

    ThresholdSide& lower = thresholds.lower;
    ThresholdSide& upper = thresholds.upper;
    if (pixels.isFloat) {
        const double r = floatRange(pixels);
        const auto valueAt = [&](int bin) {
            return static_cast<float>(static_cast<double>(pixels.floatMin) + bin * r / 4095.0);
        };
        const float l = valueAt(bins.lower);
        const float u = valueAt(bins.upper);
        lower.valueText = generalText(l);
        upper.valueText = generalText(u);
        lower.floatValue = lower.on ? l : pixels.floatMin;
        upper.floatValue = upper.on ? u : pixels.floatMax;
        return;
    }
    const std::int64_t r = intRange(pixels);
    const auto valueAt = [&](int bin) {
        const std::int64_t v = roundDivHalfEven(static_cast<std::int64_t>(pixels.intMin) * 4095 + bin * r, 4095);
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const std::int32_t l = valueAt(bins.lower);
    const std::int32_t u = valueAt(bins.upper);
    lower.valueText = generalText(l);
    upper.valueText = generalText(u);
    lower.intValue = lower.on ? l : pixels.intMin;
    upper.intValue = upper.on ? u : pixels.intMax;
}

void PercentFromThresholds(const PixelSource& pixels, DisplayThresholds& thresholds)
{
    DisplayHistogram h{};
    BuildDisplayHistogram(pixels, h);
    const int bL =
        pixels.isFloat ? binOfFloat(pixels, thresholds.lower.floatValue) : binOfInt(pixels, thresholds.lower.intValue);
    const int bU =
        pixels.isFloat ? binOfFloat(pixels, thresholds.upper.floatValue) : binOfInt(pixels, thresholds.upper.intValue);

    std::int64_t below = walkStart(h, 0);
    for (int k = 1; k <= bL; ++k)
        below = walkStep(h, k - 1, k, below);

    std::int64_t above = 0;
    if (pixels.isFloat) {
        for (int k = bU; k <= kLastBin; ++k)
            above += h[static_cast<std::size_t>(k)];
    } else {
        above = walkStart(h, kLastBin);
        for (int k = kLastBin - 1; k >= bU; --k)
            above = walkStep(h, k + 1, k, above);
        above = countOf(above);
    }
    below = countOf(below);
    thresholds.lower.percentText = percentText(below, pixels.count);
    thresholds.upper.percentText = percentText(above, pixels.count);
}

void RenderDisplayBuffer(const PixelSource& pixels, const DisplayThresholds& thresholds,
                         std::vector<std::uint8_t>& buffer)
{
    resizeLargeBuffer(buffer, pixels.count * 4);
    std::uint8_t* out = buffer.data();
    if (pixels.isFloat) {
        const float lo = thresholds.lower.floatValue;
        const float hi = thresholds.upper.floatValue;
        const double span = lo < hi ? static_cast<double>(hi) - static_cast<double>(lo)
                                    : static_cast<double>(pixels.floatMax) - static_cast<double>(pixels.floatMin);
        forEachHalf(pixels.count, [&](std::size_t begin, std::size_t end) {
            std::uint32_t greys[kBlock];
            for (std::size_t at = begin; at < end; at += kBlock) {
                const std::size_t n = std::min(kBlock, end - at);
                floatGreys(pixels.floatPixels + at, n, lo, hi, span, greys);
                std::memcpy(out + at * 4, greys, n * 4);
            }
        });
        return;
    }
    const std::int32_t lo = thresholds.lower.intValue;
    const std::int32_t hi = thresholds.upper.intValue;
    const std::int64_t span =
        lo < hi ? static_cast<std::int64_t>(hi) - lo : static_cast<std::int64_t>(pixels.intMax) - pixels.intMin;
    const double spanValue = span > 0 ? static_cast<double>(span) : HUGE_VAL;

    if (const std::size_t entries = tableSize(pixels); entries > 0) {
        std::vector<std::uint32_t> table(entries);
        const std::vector<std::int32_t> values = tableValues(pixels, entries);
        intGreys(values.data(), entries, lo, hi, spanValue, table.data());
        const auto size = static_cast<std::uint32_t>(entries);
        forEachHalf(pixels.count, [&](std::size_t begin, std::size_t end) {
            std::uint32_t greys[kBlock];
            for (std::size_t at = begin; at < end; at += kBlock) {
                const std::size_t n = std::min(kBlock, end - at);
                const std::int32_t* v = pixels.intPixels + at;
                for (std::size_t k = 0; k < n; ++k) {
                    const std::uint32_t u = tableOffset(v[k], pixels.intMin);
                    if (u < size)
                        greys[k] = table[u];
                    else
                        intGreys(v + k, 1, lo, hi, spanValue, greys + k);
                }
                std::memcpy(out + at * 4, greys, n * 4);
            }
        });
        return;
    }
    forEachHalf(pixels.count, [&](std::size_t begin, std::size_t end) {
        std::uint32_t greys[kBlock];
        for (std::size_t at = begin; at < end; at += kBlock) {
            const std::size_t n = std::min(kBlock, end - at);
            intGreys(pixels.intPixels + at, n, lo, hi, spanValue, greys);
            std::memcpy(out + at * 4, greys, n * 4);
        }
    });
}

void InvertDisplayBuffer(std::span<std::uint8_t> buffer)
{
    // Eight bytes (two pixels) at a time: the three grey bytes of each flip, the fourth stays.
    constexpr std::uint64_t kGreyBytes = 0x00FFFFFF00FFFFFFull;
    std::size_t k = 0;
    for (; k + 8 <= buffer.size(); k += 8) {
        std::uint64_t two = 0;
        std::memcpy(&two, buffer.data() + k, 8);
        two ^= kGreyBytes;
        std::memcpy(buffer.data() + k, &two, 8);
    }
    for (; k + 4 <= buffer.size(); k += 4) {
        for (std::size_t b = 0; b < 3; ++b)
            buffer[k + b] = static_cast<std::uint8_t>(255 - buffer[k + b]);
    }
}

bool RefreshDisplay(ProgramState& state, Messages& messages)
{
    const PixelSource pixels = PixelSource::of(state.image);
    RenderDisplayBuffer(pixels, state.displayThresholds, state.displayBuffer);
    if (state.inversion.effectiveInvert())
        InvertDisplayBuffer(state.displayBuffer);
    const BitmapInfoHeader header = BitmapInfoHeader::forPicture(state.image.width, state.image.height);
    return WriteDisplayBitmap(state.workFolder, header, state.displayBuffer, messages);
}

}  // namespace kestrova
