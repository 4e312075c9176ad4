#pragma once

// The display mapping: image values to grey levels through the display thresholds, the
// 4096-bin histogram that converts per-cent thresholds to values and back, and the refresh
// pipeline up to the written "Pic.Bmp".

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "DisplayThresholds.h"
#include "ImageStore.h"
#include "Messages.h"
#include "ProgramState.h"
#include "RoIRecord.h"

namespace kestrova {

inline constexpr int kDisplayBins = 4096;
using DisplayHistogram = std::array<std::int32_t, kDisplayBins>;

// Pixels to map: the loaded image or a region, integer or float, with their range.
struct PixelSource {
    bool isFloat = false;
    const std::int32_t* intPixels = nullptr;
    const float* floatPixels = nullptr;
    std::size_t count = 0;
    std::int32_t intMin = 0;
    std::int32_t intMax = 0;
    float floatMin = 0.0f;
    float floatMax = 0.0f;

    static PixelSource of(const ImageStore& image);
    static PixelSource of(const RegionArray& region, bool isFloat);
};

// Bin of each pixel: round((v - minimum) * 4095 / R), R = maximum - minimum (255 when they are
// equal), clamped to 0..4095; float images in double precision. A float pixel that is not finite
// (NaN, infinity) is counted in no bin, so that it moves no threshold.
void BuildDisplayHistogram(const PixelSource& pixels, DisplayHistogram& histogram);

// Sets the value texts and value fields of both sides from the two per-cent figures. The
// per-cent fields are not changed.
void ThresholdsFromPercent(const PixelSource& pixels, float lowerPercent, float upperPercent,
                           DisplayThresholds& thresholds);

// Sets the two per-cent texts ("#0.00") from the value fields. Numeric per-cents unchanged.
void PercentFromThresholds(const PixelSource& pixels, DisplayThresholds& thresholds);

// Grey levels into `buffer` (4 bytes a pixel: grey, grey, grey, 0), resized to 4 * count.
// Below the lower value 0, above the upper 255, between them spread linearly (float images in
// double precision); NaN and the infinities map to 0.
void RenderDisplayBuffer(const PixelSource& pixels, const DisplayThresholds& thresholds,
                         std::vector<std::uint8_t>& buffer);

// g -> 255 - g in the first three bytes of every pixel.
void InvertDisplayBuffer(std::span<std::uint8_t> buffer);

// Render, invert when the effective inversion is on, and write workFolder + "/Pic.Bmp" from
// state.displayBuffer with the image's dibHeader. False (with messages) when the bitmap could
// not be written.
bool RefreshDisplay(ProgramState& state, Messages& messages);

// Pure pieces of the threshold conversions, exposed for reuse and tests.
struct ThresholdBins {
    int lower = 0;
    int upper = kDisplayBins - 1;
};
// Walks the histogram from both ends until lowerTarget / upperTarget pixels are passed
// (stopping at the end bins); collapses to 0..4095 when the walks meet.
ThresholdBins walkThresholdBins(const DisplayHistogram& histogram, std::int64_t lowerTarget, std::int64_t upperTarget);
// round(round(N * percent) / 100) with N and percent as 32-bit floats.
std::int64_t percentTarget(std::int64_t pixelCount, float percent);

}  // namespace kestrova
