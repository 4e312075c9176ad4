// Fuzzes the display and analysis settings files: the same bytes are read as each file, against
// a small integer image and a small float image. A read either applies the whole file or
// changes nothing; what it applied, written and read again, is read the same. The regions of
// an analysis file, unchecked, also go to BuildRegion, which must stay inside the image.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ProgramState.h"
#include "gDataRoI.h"
#include "gFileOrg.h"
#include "gFileRoI.h"
#include "gFileSettings.h"

namespace {

using fuzzing::require;
using namespace kestrova;

ProgramState preparedState(bool isFloat)
{
    ProgramState state;
    ImageStore& image = state.image;
    image.width = 4;
    image.height = 3;
    image.isFloat = isFloat;
    if (isFloat) {
        image.dataType = -32;
        image.floatPixels = {-1.5f, 0.0f, 0.25f, 1.0f, 2.0f, 3.5f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 12.5f};
        image.floatMin = -1.5f;
        image.floatMax = 12.5f;
    } else {
        image.dataType = 32;
        image.intPixels = {0, 1, 2, 3, 100, 200, 300, 400, 5000, 60000, 700000, 2147483647};
        image.intMin = 0;
        image.intMax = 2147483647;
    }
    Messages messages;
    PrepareLoadedImage(state, messages);
    return state;
}

bool sameSide(const ThresholdSide& a, const ThresholdSide& b)
{
    return a.on == b.on && a.intValue == b.intValue && a.floatValue == b.floatValue && a.valueText == b.valueText &&
           a.percentText == b.percentText;
}

bool sameDisplay(const ProgramState& a, const ProgramState& b)
{
    return sameSide(a.displayThresholds.lower, b.displayThresholds.lower) &&
           sameSide(a.displayThresholds.upper, b.displayThresholds.upper) &&
           a.inversion.invertDisplay == b.inversion.invertDisplay && a.zoom.zoomText == b.zoom.zoomText;
}

bool sameDataSide(const DataThresholdSide& a, const DataThresholdSide& b)
{
    return a.on == b.on && a.text == b.text && a.intValue == b.intValue && a.floatValue == b.floatValue;
}

bool sameAnalysis(const ProgramState& a, const ProgramState& b)
{
    const RoIRecord& r = a.roi;
    const RoIRecord& s = b.roi;
    return currentAnalysisSettings(a.inversion, r, a.dataThresholds) ==
               currentAnalysisSettings(b.inversion, s, b.dataThresholds) &&
           sameDataSide(a.dataThresholds.lower, b.dataThresholds.lower) &&
           sameDataSide(a.dataThresholds.upper, b.dataThresholds.upper) && r.RoI1Shown == s.RoI1Shown &&
           r.RoI2Shown == s.RoI2Shown && r.RegionWidth == s.RegionWidth && r.RegionHeight == s.RegionHeight;
}

// Reads the display file into `state`; the zoom text is stored when it reads.
bool readDisplay(const std::string& path, ProgramState& state, Messages& messages)
{
    const DisplaySettingsRead read =
        ReadDisplaySettings(path, state.image, state.displayThresholds, state.inversion, messages);
    if (read.zoomText)
        state.zoom.zoomText = *read.zoomText;
    return read.applied;
}

void checkDisplay(const std::string& path, bool isFloat)
{
    const ProgramState start = preparedState(isFloat);
    ProgramState first = start;
    Messages messages;
    if (!readDisplay(path, first, messages)) {
        require(messages == Messages{kDisplaySettingsReadFailed}, "an unexpected message from a refused display file");
        require(sameDisplay(first, start), "a refused display file changed the state");
        return;
    }
    require(messages.size() <= 1, "more than one message from an applied display file");
    const std::string copy = fuzzing::scratchFile("display-copy.txt");
    require(WriteDisplaySettings(copy, first.zoom, first.inversion, first.displayThresholds, messages),
            "the display settings read cannot be written");
    ProgramState second = start;
    Messages again;
    require(readDisplay(copy, second, again) && again.empty(), "a written display file does not read back");
    require(sameDisplay(first, second), "the display settings do not survive a write and a read");
}

void checkAnalysis(const std::string& path, bool isFloat)
{
    const ProgramState start = preparedState(isFloat);
    ProgramState first = start;
    Messages messages;
    if (!ReadAnalysisSettings(path, first.image, first.inversion, first.roi, first.dataThresholds, first.resultFlags,
                              messages)) {
        require(messages == Messages{kAnalysisSettingsReadFailed},
                "an unexpected message from a refused analysis file");
        require(sameAnalysis(first, start), "a refused analysis file changed the state");
        return;
    }
    require(messages.empty(), "a message from an applied analysis file");
    const RoIRect& r = first.roi.RoI1;
    require(r.BottomLeftX >= 1 && r.BottomLeftX <= r.TopRightX && r.TopRightX <= first.image.width &&
                r.BottomLeftY >= 1 && r.BottomLeftY <= r.TopRightY && r.TopRightY <= first.image.height,
            "an applied analysis file left RoI1 outside the image");
    const std::string copy = fuzzing::scratchFile("analysis-copy.txt");
    require(WriteAnalysisSettings(copy, first.inversion, first.roi, first.dataThresholds, messages),
            "the analysis settings read cannot be written");
    ProgramState second = start;
    require(ReadAnalysisSettings(copy, second.image, second.inversion, second.roi, second.dataThresholds,
                                 second.resultFlags, messages),
            "a written analysis file does not read back");
    require(sameAnalysis(first, second), "the analysis settings do not survive a write and a read");
}

bool inside(const RoIRect& r, const ImageStore& image)
{
    return r.BottomLeftX >= 1 && r.BottomLeftX <= r.TopRightX && r.TopRightX <= image.width && r.BottomLeftY >= 1 &&
           r.BottomLeftY <= r.TopRightY && r.TopRightY <= image.height;
}

// Whatever the record holds, the region is built from rectangles inside the image.
void checkRegion(const std::vector<std::string>& values, bool isFloat)
{
    const auto file = parseAnalysisSettings(values);
    if (!file)
        return;
    const ProgramState state = preparedState(isFloat);
    RoIRecord roi;
    roi.RoI1On = file->roi1On;
    roi.RoI1 = file->roi1;
    roi.RoI2On = file->roi2On;
    roi.RoI2 = file->roi2;
    roi.Subtract = file->subtract;
    ResultFlags flags;
    RegionArray region;
    BuildRegion(state.image, roi, flags, region);
    require(inside(region.builtRoI1, state.image) && inside(region.builtRoI2, state.image),
            "the region was built from outside the image");
    require(region.width == region.builtRoI1.TopRightX - region.builtRoI1.BottomLeftX + 1 &&
                region.height == region.builtRoI1.TopRightY - region.builtRoI1.BottomLeftY + 1,
            "the region's size is not its rectangle's");
    const std::size_t held = isFloat ? region.floatPixels.size() : region.intPixels.size();
    require(held == static_cast<std::size_t>(region.width) * static_cast<std::size_t>(region.height),
            "the region holds a different number of elements");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzzing::scratchFile("settings.txt");
    fuzzing::writeFile(path, data, size);
    const auto values = readSettingsValues(path);
    for (const bool isFloat : {false, true}) {
        checkDisplay(path, isFloat);
        checkAnalysis(path, isFloat);
        if (values)
            checkRegion(*values, isFloat);
    }
    return 0;
}
