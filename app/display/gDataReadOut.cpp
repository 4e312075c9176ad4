#include "gDataReadOut.h"

#include <cstddef>
#include <vector>

#include "NumberFormat.h"
#include "gDataOrg.h"

namespace kestrova {
namespace {

// The grey level of one value through the same mapping that renders the picture.
int greyLevelOf(const ImageStore& image, const DisplayThresholds& thresholds, std::size_t index)
{
    PixelSource one = PixelSource::of(image);
    if (image.isFloat)
        one.floatPixels = image.floatPixels.data() + index;
    else
        one.intPixels = image.intPixels.data() + index;
    one.count = 1;
    std::vector<std::uint8_t> buffer;
    RenderDisplayBuffer(one, thresholds, buffer);
    return buffer.empty() ? 0 : buffer[0];
}

template <typename T>
std::string greyText(T value, T lower, T upper, int greyLevel)
{
    if (value < lower)
        return kBelowThresholdText;
    if (value > upper)
        return kAboveThresholdText;
    return formatNumber(static_cast<std::int32_t>(greyLevel), "##0");
}

}  // namespace

ReadOut readOutAt(const ProgramState& state, std::int32_t column, std::int32_t row)
{
    const ImageStore& image = state.image;
    ReadOut out;
    out.column = formatNumber(column, "###0");
    out.row = formatNumber(row, "###0");
    const Calibration& calibration = state.calibration;
    if (calibration.calibrationLoaded && column >= 1 &&
        static_cast<std::size_t>(column) <= calibration.wavelengths.size())
        out.wavelength = formatNumber(calibration.wavelengths[static_cast<std::size_t>(column) - 1], "###0.0");

    const std::size_t index = static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(image.width) +
                              static_cast<std::size_t>(column - 1);
    const DisplayThresholds& thresholds = state.displayThresholds;
    if (image.isFloat) {
        if (index >= image.floatPixels.size())
            return out;
        const float value = image.floatPixels[index];
        out.intensity = formatNumber(value, image.valueFormat);
        out.grey = greyText(value, thresholds.lower.floatValue, thresholds.upper.floatValue,
                            greyLevelOf(image, thresholds, index));
        return out;
    }
    if (index >= image.intPixels.size())
        return out;
    const std::int32_t value = image.intPixels[index];
    out.intensity = formatNumber(value, image.valueFormat);
    out.grey =
        greyText(value, thresholds.lower.intValue, thresholds.upper.intValue, greyLevelOf(image, thresholds, index));
    return out;
}

}  // namespace kestrova
