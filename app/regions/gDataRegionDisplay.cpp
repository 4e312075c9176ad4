#include "gDataRegionDisplay.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "HistogramWalk.h"
#include "LargeBuffer.h"
#include "NumberFormat.h"
#include "ParallelHalves.h"
#include "WideVectors.h"
#include "gDataHistogram.h"
#include "gDataLayout.h"
#include "gDataReadOut.h"
#include "gDataZoom.h"
#include "gFileOrg.h"

namespace kestrova {

namespace {

constexpr int kLastBin = kRegionBins - 1;
constexpr std::size_t kBlock = 2048;
constexpr double kRoundDouble = 6755399441055744.0;  // 1.5 * 2^52: rounds halves to even
constexpr std::int64_t kLargestTable = std::int64_t{1} << 20;
constexpr std::uint32_t kGreyBytes = 0x00FFFFFFu;
constexpr const char* kZoomTextFormat = "###0.00";

// Grey levels of integer elements, each as the 4-byte pixel grey * 0x010101 (xor `flip`).
// (v - low) * 255 and the span are exact in a double, and the correctly rounded quotient of two
// exact integers is exactly x.5 only when the true quotient is: the grey level is exact. A span
// that is not positive is passed as infinity, which maps the values between the thresholds to 0.
KESTROVA_WIDE_VECTORS void intGreys(const std::int32_t* v, std::size_t n, std::int32_t low, std::int32_t high,
                                    double span, std::uint32_t flip, std::uint32_t* out)
{
    const double lowValue = low;
    for (std::size_t k = 0; k < n; ++k) {
        double g = (static_cast<double>(v[k]) - lowValue) * 255.0 / span;
        g = g < 0.0 ? 0.0 : g;
        g = g > 255.0 ? 255.0 : g;
        g = (g + kRoundDouble) - kRoundDouble;
        std::uint32_t grey = static_cast<std::uint32_t>(static_cast<std::int32_t>(g));
        grey = v[k] < low ? 0u : grey;
        grey = v[k] > high ? 255u : grey;
        out[k] = (grey * 0x010101u) ^ flip;
    }
}

// Grey levels of float elements in double precision; a non-finite element maps to 0.
KESTROVA_WIDE_VECTORS void floatGreys(const float* v, std::size_t n, float low, float high, double span,
                                      std::uint32_t flip, std::uint32_t* out)
{
    const double lowValue = low;
    for (std::size_t k = 0; k < n; ++k) {
        double g = (static_cast<double>(v[k]) - lowValue) * 255.0 / span;
        g = g > 0.0 ? g : 0.0;
        g = g < 255.0 ? g : 255.0;
        g = (g + kRoundDouble) - kRoundDouble;
        std::uint32_t grey = static_cast<std::uint32_t>(static_cast<std::int32_t>(g));
        grey = v[k] < low ? 0u : grey;
        grey = v[k] > high ? 255u : grey;
        grey = std::fabs(v[k]) <= FLT_MAX ? grey : 0u;
        out[k] = (grey * 0x010101u) ^ flip;
    }
}

double intSpan(const RegionDisplayThresholds& t)
{
    return t.intLow < t.intHigh ? static_cast<double>(t.intHigh) - t.intLow : HUGE_VAL;
}

double floatSpan(const RegionDisplayThresholds& t)
{
    return t.floatLow < t.floatHigh ? static_cast<double>(t.floatHigh) - t.floatLow : HUGE_VAL;
}

// The grey pixels of every value of a narrow integer range, or nothing.
std::vector<std::uint32_t> greyTable(const PixelSource& p, const RegionDisplayThresholds& t, std::uint32_t flip)
{
    const std::int64_t entries = static_cast<std::int64_t>(p.intMax) - p.intMin + 1;
    if (entries < 1 || entries > kLargestTable || entries > static_cast<std::int64_t>(p.count))
        return {};
    std::vector<std::int32_t> values(static_cast<std::size_t>(entries));
    for (std::size_t u = 0; u < values.size(); ++u)
        values[u] = static_cast<std::int32_t>(p.intMin + static_cast<std::int64_t>(u));
    std::vector<std::uint32_t> table(values.size());
    intGreys(values.data(), values.size(), t.intLow, t.intHigh, intSpan(t), flip, table.data());
    return table;
}

void renderIntPart(const PixelSource& p, const RegionDisplayThresholds& t, std::uint32_t flip,
                   const std::vector<std::uint32_t>& table, std::size_t begin, std::size_t end, std::uint8_t* out)
{
    std::uint32_t greys[kBlock];
    const auto entries = static_cast<std::uint32_t>(table.size());
    const double span = intSpan(t);
    for (std::size_t at = begin; at < end; at += kBlock) {
        const std::size_t n = std::min(kBlock, end - at);
        const std::int32_t* v = p.intPixels + at;
        if (entries == 0) {
            intGreys(v, n, t.intLow, t.intHigh, span, flip, greys);
        } else {
            for (std::size_t k = 0; k < n; ++k) {
                const std::uint32_t u = static_cast<std::uint32_t>(v[k]) - static_cast<std::uint32_t>(p.intMin);
                if (u < entries)
                    greys[k] = table[u];
                else
                    intGreys(v + k, 1, t.intLow, t.intHigh, span, flip, greys + k);
            }
        }
        std::memcpy(out + at * 4, greys, n * 4);
    }
}

struct IntegerCode {
    std::int16_t code;
    std::int64_t lowest;
    std::int64_t highest;
};

// What each integer data type code holds of the 32-bit signed elements.
constexpr IntegerCode kIntegerCodes[] = {
    {8, 0, 255},
    {10, -128, 127},
    {16, -32768, 32767},
    {20, 0, 65535},
    {32, INT32_MIN, INT32_MAX},
    {40, 0, INT32_MAX},
    {64, INT32_MIN, INT32_MAX},
};

bool codeHolds(std::int16_t code, std::int64_t minimum, std::int64_t maximum)
{
    for (const IntegerCode& c : kIntegerCodes)
        if (c.code == code)
            return minimum >= c.lowest && maximum <= c.highest;
    return false;
}

std::optional<std::string> zoomStep(std::string_view zoomText, double factor)
{
    const auto percent = textToInt16(zoomText);
    if (!percent)
        return std::nullopt;
    std::string text = formatNumber(static_cast<double>(*percent) * factor, kZoomTextFormat);
    const auto next = textToInt16(text);
    if (!next || *next < 1)
        return std::nullopt;
    return text;
}

}  // namespace

RegionDisplayThresholds RegionThresholdsFromPercent(const PixelSource& pixels, const RegionHistogram& histogram,
                                                    const DisplayThresholds& display, float lowPercent,
                                                    float highPercent)
{
    const auto n = static_cast<std::int64_t>(pixels.count);
    const WalkedBins bins =
        walkHistogramBins(histogram.counts, percentTarget(n, lowPercent), percentTarget(n, highPercent));
    const double range = regionRange(pixels);
    RegionDisplayThresholds t;
    if (pixels.isFloat) {
        const auto valueAt = [&](int bin) { return static_cast<float>(bin * range / kLastBin + pixels.floatMin); };
        const float low = valueAt(bins.lower);
        const float high = valueAt(bins.upper);
        t.lowText = generalText(low);
        t.highText = generalText(high);
        t.floatLow = display.lower.on ? low : pixels.floatMin;
        t.floatHigh = display.upper.on ? high : pixels.floatMax;
        return t;
    }
    const auto r = static_cast<std::int64_t>(range);
    const auto valueAt = [&](int bin) {
        const std::int64_t v =
            roundDivHalfEven(bin * r + static_cast<std::int64_t>(pixels.intMin) * kLastBin, kLastBin);
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const std::int32_t low = valueAt(bins.lower);
    const std::int32_t high = valueAt(bins.upper);
    t.lowText = generalText(low);
    t.highText = generalText(high);
    t.intLow = display.lower.on ? low : pixels.intMin;
    t.intHigh = display.upper.on ? high : pixels.intMax;
    return t;
}

std::uint8_t regionGreyOf(std::int32_t value, const RegionDisplayThresholds& thresholds)
{
    std::uint32_t grey = 0;
    intGreys(&value, 1, thresholds.intLow, thresholds.intHigh, intSpan(thresholds), 0, &grey);
    return static_cast<std::uint8_t>(grey);
}

std::uint8_t regionGreyOf(float value, const RegionDisplayThresholds& thresholds)
{
    std::uint32_t grey = 0;
    floatGreys(&value, 1, thresholds.floatLow, thresholds.floatHigh, floatSpan(thresholds), 0, &grey);
    return static_cast<std::uint8_t>(grey);
}

void RenderRegionBuffer(const PixelSource& pixels, const RegionDisplayThresholds& thresholds, bool invert,
                        std::vector<std::uint8_t>& buffer)
{
    resizeLargeBuffer(buffer, pixels.count * 4);
    std::uint8_t* out = buffer.data();
    const std::uint32_t flip = invert ? kGreyBytes : 0u;
    if (pixels.isFloat) {
        const double span = floatSpan(thresholds);
        forEachHalfOf(pixels.count, [&](std::size_t begin, std::size_t end, int) {
            std::uint32_t greys[kBlock];
            for (std::size_t at = begin; at < end; at += kBlock) {
                const std::size_t n = std::min(kBlock, end - at);
                floatGreys(pixels.floatPixels + at, n, thresholds.floatLow, thresholds.floatHigh, span, flip, greys);
                std::memcpy(out + at * 4, greys, n * 4);
            }
        });
        return;
    }
    const std::vector<std::uint32_t> table = greyTable(pixels, thresholds, flip);
    forEachHalfOf(pixels.count, [&](std::size_t begin, std::size_t end, int) {
        renderIntPart(pixels, thresholds, flip, table, begin, end, out);
    });
}

bool RefreshRegionPicture(ProgramState& state, Messages& messages)
{
    RegionDisplayState& view = state.regionDisplay;
    const bool invert = view.invertAtOpen != state.inversion.regionInvertDisplay;
    RenderRegionBuffer(PixelSource::of(state.region, state.image.isFloat), view.thresholds, invert, view.buffer);
    return WriteDisplayBitmap(state.workFolder, state.region.header, view.buffer, messages);
}

bool PrepareRegionDisplay(ProgramState& state, Messages& messages)
{
    RegionDisplayState& view = state.regionDisplay;
    const RegionArray& region = state.region;
    view.regionZoomText = "100";
    view.invertAtOpen = state.inversion.invertIntensity;
    view.regionBaseScale = regionBaseScaleFor(region.width, region.height);
    BuildRegionHistogram(region, state.image.isFloat, state.resultFlags, state.regionHistogram);
    view.thresholds = RegionThresholdsFromPercent(PixelSource::of(region, state.image.isFloat), state.regionHistogram,
                                                  state.displayThresholds, state.displayThresholds.lower.percent,
                                                  state.displayThresholds.upper.percent);
    return RefreshRegionPicture(state, messages);
}

float regionBaseScaleFor(std::int32_t width, std::int32_t height)
{
    const std::int32_t longer = std::max(width, height);
    return longer > 0 ? 512.0f / static_cast<float>(longer) : 1.0f;
}

std::optional<std::string> regionZoomInText(std::string_view zoomText)
{
    return zoomStep(zoomText, 2.0);
}

std::optional<std::string> regionZoomOutText(std::string_view zoomText)
{
    return zoomStep(zoomText, 0.5);
}

std::optional<float> regionZoomFactor(std::string_view zoomText, float regionBaseScale)
{
    const auto percent = textToInt16(zoomText);
    if (!percent || *percent < 1)
        return std::nullopt;
    return zoomFactor(*percent, regionBaseScale);
}

std::string regionCaption(const ImageStore& image, bool roi1On, const RegionArray& region)
{
    std::string caption = "File name: " + image.imageBaseName + image.imageExtension;
    if (roi1On)
        caption += "   RoI1";
    return caption + roi2Suffix(region);
}

RegionReadOut regionReadOutAt(double x, double y, const PixelSource& pixels, const RegionArray& region,
                              const RegionDisplayThresholds& thresholds, const Calibration& calibration,
                              const std::string& valueFormat)
{
    const PixelPosition at = pixelUnderMouse(x, y, region.width, region.height);
    const std::int32_t column = region.builtRoI1.BottomLeftX + at.column - 1;
    RegionReadOut out;
    out.column = formatNumber(column, "###0");
    out.row = formatNumber(region.builtRoI1.BottomLeftY + at.row - 1, "###0");
    if (calibration.calibrationLoaded && column >= 1 &&
        static_cast<std::size_t>(column) <= calibration.wavelengths.size())
        out.wavelength = formatNumber(calibration.wavelengths[static_cast<std::size_t>(column) - 1], "###0.0");

    const std::size_t index =
        static_cast<std::size_t>(at.row - 1) * static_cast<std::size_t>(std::max(region.width, 0)) +
        static_cast<std::size_t>(at.column - 1);
    if (index >= pixels.count)
        return out;
    const auto greyText = [&](auto value, auto low, auto high) -> std::string {
        if (value < low)
            return kBelowThresholdText;
        if (value > high)
            return kAboveThresholdText;
        return formatNumber(static_cast<std::int32_t>(regionGreyOf(value, thresholds)), "##0");
    };
    if (pixels.isFloat) {
        const float value = pixels.floatPixels[index];
        out.intensity = formatNumber(value, valueFormat);
        out.grey = greyText(value, thresholds.floatLow, thresholds.floatHigh);
        return out;
    }
    const std::int32_t value = pixels.intPixels[index];
    out.intensity = formatNumber(value, valueFormat);
    out.grey = greyText(value, thresholds.intLow, thresholds.intHigh);
    return out;
}

std::int16_t regionSaveDataType(std::int16_t storeDataType, const RegionArray& region, bool isFloat)
{
    if (isFloat || storeDataType <= 0)
        return storeDataType;
    if (codeHolds(storeDataType, region.intMin, region.intMax))
        return storeDataType;
    return codeHolds(16, region.intMin, region.intMax) ? std::int16_t{16} : std::int16_t{32};
}

}  // namespace kestrova
