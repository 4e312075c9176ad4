#include "gDataHistogram.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "NumberFormat.h"
#include "ParallelHalves.h"
#include "WideVectors.h"
#include "gDataScale.h"
#include "gFileValues.h"

namespace kestrova {

namespace {

constexpr int kLastBin = kRegionBins - 1;

// Elements are binned in blocks small enough to stay in the first-level cache.
constexpr std::size_t kBlock = 2048;

// Adding and subtracting this rounds to the nearest integer, halves to even, for magnitudes
// below 2^51, as a plain addition that the compiler can vectorise.
constexpr double kRoundDouble = 6755399441055744.0;  // 1.5 * 2^52

// Integer regions narrower than this (and than their element count) are binned through a
// table with one entry per value of the range, filled by the same rule.
constexpr std::int64_t kLargestTable = std::int64_t{1} << 20;

using PartialCounts = std::array<std::uint32_t, kRegionBins>;

// Bins of integer elements. (v - minimum) * 255 and the range are exact in a double (below
// 2^41 and 2^33), and the correctly rounded quotient of two such integers is exactly x.5 only
// when the true quotient is, so rounding it gives the exact bin.
KESTROVA_WIDE_VECTORS void intBins(const std::int32_t* v, std::size_t n, double minimum, double range,
                                   std::uint8_t* bins)
{
    for (std::size_t k = 0; k < n; ++k) {
        double q = (static_cast<double>(v[k]) - minimum) * 255.0 / range;
        q = q < 0.0 ? 0.0 : q;
        q = q > 255.0 ? 255.0 : q;
        q = (q + kRoundDouble) - kRoundDouble;
        bins[k] = static_cast<std::uint8_t>(static_cast<std::int32_t>(q));
    }
}

// Bins of float elements in double precision; a non-finite element goes to bin 0.
KESTROVA_WIDE_VECTORS void floatBins(const float* v, std::size_t n, double minimum, double range, std::uint8_t* bins)
{
    for (std::size_t k = 0; k < n; ++k) {
        double q = (static_cast<double>(v[k]) - minimum) * 255.0 / range;
        q = std::fabs(v[k]) <= FLT_MAX ? q : 0.0;
        q = q > 0.0 ? q : 0.0;
        q = q < 255.0 ? q : 255.0;
        q = (q + kRoundDouble) - kRoundDouble;
        bins[k] = static_cast<std::uint8_t>(static_cast<std::int32_t>(q));
    }
}

// Counts into four interleaved partial histograms, so that runs of equal bins do not wait on
// each other.
void countBins(const std::uint8_t* bins, std::size_t n, PartialCounts* h)
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

std::vector<std::uint8_t> binTable(const PixelSource& p, double range)
{
    const std::int64_t entries = static_cast<std::int64_t>(p.intMax) - p.intMin + 1;
    if (p.isFloat || entries < 1 || entries > kLargestTable || entries > static_cast<std::int64_t>(p.count))
        return {};
    std::vector<std::int32_t> values(static_cast<std::size_t>(entries));
    for (std::size_t u = 0; u < values.size(); ++u)
        values[u] = static_cast<std::int32_t>(p.intMin + static_cast<std::int64_t>(u));
    std::vector<std::uint8_t> table(values.size());
    intBins(values.data(), values.size(), p.intMin, range, table.data());
    return table;
}

// Counts a narrow integer range through its bin table, one partial histogram per lane.
void countThroughTable(const PixelSource& p, double range, const std::vector<std::uint8_t>& table, std::size_t begin,
                       std::size_t end, PartialCounts* h)
{
    const auto entries = static_cast<std::uint32_t>(table.size());
    const auto minimum = static_cast<std::uint32_t>(p.intMin);
    const auto binOf = [&](std::int32_t v) {
        // A value outside the range wraps to a large offset and is binned directly.
        const std::uint32_t u = static_cast<std::uint32_t>(v) - minimum;
        if (u < entries)
            return table[u];
        std::uint8_t bin = 0;
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

void countPart(const PixelSource& p, double range, const std::vector<std::uint8_t>& table, std::size_t begin,
               std::size_t end, PartialCounts& out)
{
    std::array<PartialCounts, 4> h{};
    if (!table.empty()) {
        countThroughTable(p, range, table, begin, end, h.data());
    } else {
        std::uint8_t bins[kBlock];
        for (std::size_t at = begin; at < end; at += kBlock) {
            const std::size_t n = std::min(kBlock, end - at);
            if (p.isFloat)
                floatBins(p.floatPixels + at, n, p.floatMin, range, bins);
            else
                intBins(p.intPixels + at, n, p.intMin, range, bins);
            countBins(bins, n, h.data());
        }
    }
    for (std::size_t b = 0; b < out.size(); ++b)
        out[b] = h[0][b] + h[1][b] + h[2][b] + h[3][b];
}

// Read-out and tick formats by the largest count magnitude.
void chooseFormats(double m, HistogramScales& s)
{
    if (m >= 100000.0) {
        s.readoutFormat = "0.0###E+###";
        s.tickFormat = "0.0E+###";
        return;
    }
    const char* format = m < 10.0 ? "0" : m < 100.0 ? "#0" : m < 1000.0 ? "##0" : m < 10000.0 ? "###0" : "####0";
    s.readoutFormat = s.tickFormat = format;
}

// The Y axis from the smallest and largest plotted quantity; `logarithmic` floors the ends
// where the linear axis rounds them.
void chooseYAxis(double smallest, double largest, bool logarithmic, HistogramScales& s)
{
    float r = static_cast<float>(largest - smallest);
    if (r <= 0.0f)
        r = 1.0f;
    float scale = 1.0f;
    while (r < 8.0f) {
        scale *= 10.0f;
        r *= 10.0f;
    }
    s.yScale = scale;
    s.yStep = static_cast<std::int32_t>(NiceStep(roundHalfEven(r / 4.0)));
    if (logarithmic) {
        s.yMin = static_cast<std::int32_t>(std::floor(scale * smallest));
        s.yMax = static_cast<std::int32_t>(std::floor(scale * largest)) + 1;
    } else {
        s.yMin = static_cast<std::int32_t>(roundHalfEven(scale * smallest));
        s.yMax = static_cast<std::int32_t>(roundHalfEven(scale * largest)) + 1;
    }
    s.yRange = s.yMax - s.yMin;
}

std::string valueText(const PixelSource& p, double value, const std::string& format)
{
    return p.isFloat ? formatNumber(static_cast<float>(value), format) : formatNumber(value, format);
}

// A float or an integer value of the region's pixel class, as a double.
double classValue(const PixelSource& p, float floatValue, std::int32_t intValue)
{
    return p.isFloat ? static_cast<double>(floatValue) : static_cast<double>(intValue);
}

double regionMinimum(const PixelSource& p)
{
    return classValue(p, p.floatMin, p.intMin);
}

}  // namespace

double regionRange(const PixelSource& p)
{
    if (p.isFloat)
        return p.floatMin < p.floatMax ? static_cast<double>(p.floatMax) - p.floatMin : 255.0;
    return p.intMin < p.intMax ? static_cast<double>(p.intMax) - p.intMin : 255.0;
}

void computeRegionHistogram(const PixelSource& pixels, RegionHistogram& histogram)
{
    const double range = regionRange(pixels);
    const std::vector<std::uint8_t> table = binTable(pixels, range);
    std::array<PartialCounts, 2> parts{};
    forEachHalfOf(pixels.count, [&](std::size_t begin, std::size_t end, int part) {
        countPart(pixels, range, table, begin, end, parts[static_cast<std::size_t>(part)]);
    });
    for (std::size_t b = 0; b < histogram.counts.size(); ++b) {
        histogram.counts[b] = static_cast<std::int32_t>(parts[0][b] + parts[1][b]);
        histogram.logCounts[b] = static_cast<float>(std::log(static_cast<double>(histogram.counts[b]) + 1.0));
    }
}

void BuildRegionHistogram(const RegionArray& region, bool isFloat, ResultFlags& flags, RegionHistogram& histogram)
{
    if (flags.histogramComputed)
        return;
    computeRegionHistogram(PixelSource::of(region, isFloat), histogram);
    flags.histogramComputed = true;
}

HistogramScales histogramScalesFor(const RegionHistogram& histogram, bool yScaleLin)
{
    HistogramScales s;
    s.xStep = static_cast<std::int32_t>(NiceStep(roundHalfEven(255.0 / 5.0)));
    const auto [lowCount, highCount] = std::minmax_element(histogram.counts.begin(), histogram.counts.end());
    chooseFormats(std::max(std::abs(static_cast<double>(*lowCount)), std::abs(static_cast<double>(*highCount))), s);
    if (yScaleLin) {
        chooseYAxis(*lowCount, *highCount, false, s);
        return s;
    }
    const auto [lowLog, highLog] = std::minmax_element(histogram.logCounts.begin(), histogram.logCounts.end());
    chooseYAxis(*lowLog, *highLog, true, s);
    return s;
}

HistogramScales PrepareHistogram(ProgramState& state)
{
    BuildRegionHistogram(state.region, state.image.isFloat, state.resultFlags, state.regionHistogram);
    return histogramScalesFor(state.regionHistogram, state.histogramSettings.YScaleLin);
}

std::string roi2Suffix(const RegionArray& region)
{
    if (!region.builtRoI2On)
        return "";
    return region.builtSubtract ? " - RoI2" : " + RoI2";
}

std::string histogramYTitle(bool yScaleLin, bool roi1On, const RegionArray& region)
{
    std::string title = yScaleLin ? "Number of Pixels (Lin Scale)" : "Number of Pixels (Log Scale)";
    if (roi1On)
        title += " RoI1";
    return title + roi2Suffix(region);
}

std::vector<HistogramMarker> histogramMarkers(const PixelSource& pixels, const RegionArray& region,
                                              const HistogramSettings& settings, const DisplayThresholds& display,
                                              const DataThresholds& data, const std::string& valueFormat)
{
    std::vector<HistogramMarker> markers;
    if (region.builtRoI2On)
        return markers;
    const double minimum = regionMinimum(pixels);
    const double maximum = classValue(pixels, pixels.floatMax, pixels.intMax);
    const double range = regionRange(pixels);
    const auto add = [&](double value, const char* name) {
        if (!(value >= minimum && value <= maximum))
            return;
        markers.push_back({(value - minimum) * 255.0 / range, name + valueText(pixels, value, valueFormat)});
    };
    if (settings.MarkDataThresholds) {
        add(classValue(pixels, data.lower.floatValue, data.lower.intValue), "Data Lo ");
        add(classValue(pixels, data.upper.floatValue, data.upper.intValue), "Data Hi ");
    } else {
        add(classValue(pixels, display.lower.floatValue, display.lower.intValue), "Display Lo ");
        add(classValue(pixels, display.upper.floatValue, display.upper.intValue), "Display Hi ");
    }
    return markers;
}

HistogramReadOut histogramReadOut(const PixelSource& pixels, const RegionHistogram& histogram,
                                  const HistogramScales& scales, int bin, const std::string& valueFormat)
{
    const int b = std::clamp(bin, 0, kLastBin);
    const double intensity = b * regionRange(pixels) / kLastBin + regionMinimum(pixels);
    return {valueText(pixels, intensity, valueFormat),
            formatNumber(histogram.counts[static_cast<std::size_t>(b)], scales.readoutFormat)};
}

std::string histogramValuesText(const RegionHistogram& histogram)
{
    return CountValuesText(0, std::vector<std::int32_t>(histogram.counts.begin(), histogram.counts.end()));
}

}  // namespace kestrova
