#include "gFileRoI.h"

#include <algorithm>
#include <cstdio>

#include "NumberFormat.h"
#include "SafeOutput.h"
#include "gDataAnalysis.h"
#include "gDataOrg.h"
#include "gDataZoom.h"
#include "gFileSettings.h"

namespace kestrova {

namespace {

constexpr std::size_t kDisplayLines = 8;
constexpr std::size_t kAnalysisLines = 17;

std::string flagLine(bool flag)
{
    return settingsLine(flag ? "1" : "0");
}

std::string cornerLines(const RoIRect& r)
{
    return settingsLine(std::to_string(r.BottomLeftX)) + settingsLine(std::to_string(r.BottomLeftY)) +
           settingsLine(std::to_string(r.TopRightX)) + settingsLine(std::to_string(r.TopRightY));
}

// A flag is any number, true when not 0.
std::optional<bool> flagOf(const std::string& text)
{
    const auto value = numericValue(text);
    if (!value)
        return std::nullopt;
    return *value != 0.0;
}

// Reads the values in order; the first that fails leaves `ok` false.
class ValueReader {
public:
    explicit ValueReader(const std::vector<std::string>& values) : values_(values) {}
    bool ok() const { return ok_; }
    const std::string& text() { return ok_ && next_ < values_.size() ? values_[next_++] : fail(); }
    bool flag()
    {
        const auto value = flagOf(text());
        ok_ = ok_ && value.has_value();
        return value.value_or(false);
    }
    std::int32_t corner()
    {
        const auto value = textToInt32(text());
        ok_ = ok_ && value.has_value();
        return value.value_or(0);
    }
    RoIRect rect()
    {
        RoIRect r;
        r.BottomLeftX = corner();
        r.BottomLeftY = corner();
        r.TopRightX = corner();
        r.TopRightY = corner();
        return r;
    }

private:
    const std::string& fail()
    {
        ok_ = false;
        return empty_;
    }
    const std::vector<std::string>& values_;
    std::size_t next_ = 0;
    bool ok_ = true;
    std::string empty_;
};

bool writeWhole(const std::string& path, const std::string& text, const char* failure, Messages& messages)
{
    ksv::SafeOutput output;
    if (!output.create(path) || std::fwrite(text.data(), 1, text.size(), output.stream()) != text.size() ||
        !output.commit()) {
        output.abandon();
        messages.push_back(failure);
        return false;
    }
    return true;
}

// A display threshold's absolute text in the image's type, brought into the image range.
struct DisplayValue {
    std::int32_t intValue = 0;
    float floatValue = 0.0f;
};
std::optional<DisplayValue> displayValueOf(const std::string& text, const ImageStore& image)
{
    const auto value = numericValue(text);
    if (!value)
        return std::nullopt;
    DisplayValue v;
    if (image.isFloat)
        v.floatValue = static_cast<float>(
            std::clamp(*value, static_cast<double>(image.floatMin), static_cast<double>(image.floatMax)));
    else
        v.intValue = static_cast<std::int32_t>(
            std::clamp(roundHalfEven(*value), static_cast<double>(image.intMin), static_cast<double>(image.intMax)));
    return v;
}

// One side as the file sets it; nothing when an On side's texts do not read.
std::optional<ThresholdSide> displaySide(const DisplaySettingsSide& file, const ThresholdSide& current,
                                         const ImageStore& image, bool upper)
{
    ThresholdSide side = current;
    side.on = file.on;
    side.percentText = file.percentText;
    side.valueText = file.valueText;
    side.percent = 0.0f;
    side.intValue = upper ? image.intMax : image.intMin;
    side.floatValue = upper ? image.floatMax : image.floatMin;
    if (!file.on)
        return side;
    const auto percent = textToFloat(file.percentText);
    const auto value = displayValueOf(file.valueText, image);
    if (!percent || !value)
        return std::nullopt;
    side.percent = *percent;
    side.intValue = value->intValue;
    side.floatValue = value->floatValue;
    return side;
}

bool insideImage(const RoIRect& r, const ImageStore& image)
{
    return 1 <= r.BottomLeftX && r.BottomLeftX <= r.TopRightX && r.TopRightX <= image.width && 1 <= r.BottomLeftY &&
           r.BottomLeftY <= r.TopRightY && r.TopRightY <= image.height;
}

// A data threshold side from the file: an On side converted as the dialog converts it.
std::optional<DataThresholdSide> dataSide(bool on, const std::string& text, const ImageStore& image, bool upper)
{
    DataThresholdSide side;
    side.on = on;
    side.text = text;
    side.intValue = upper ? image.intMax : image.intMin;
    side.floatValue = upper ? image.floatMax : image.floatMin;
    if (!on)
        return side;
    const DataThresholdText converted = convertDataThreshold(image, text);
    if (!converted.inRange)
        return std::nullopt;
    side.text = converted.text;
    side.intValue = converted.intValue;
    side.floatValue = converted.floatValue;
    return side;
}

bool ordered(const DataThresholds& t, const ImageStore& image)
{
    if (!t.lower.on && !t.upper.on)
        return true;
    const EffectiveDataThresholds e = effectiveDataThresholds(t, image);
    return image.isFloat ? e.floatLower < e.floatUpper : e.intLower < e.intUpper;
}

}  // namespace

DisplaySettings currentDisplaySettings(const ZoomState& zoom, const DisplayInversion& inversion,
                                       const DisplayThresholds& thresholds)
{
    const auto side = [](const ThresholdSide& s) { return DisplaySettingsSide{s.on, s.percentText, s.valueText}; };
    return {zoom.zoomText, inversion.invertDisplay, side(thresholds.lower), side(thresholds.upper)};
}

AnalysisSettings currentAnalysisSettings(const DisplayInversion& inversion, const RoIRecord& roi,
                                         const DataThresholds& thresholds)
{
    return {inversion.invertIntensity,
            roi.RoI1On,
            roi.RoI1,
            roi.RoI2On,
            roi.RoI2,
            roi.Subtract,
            roi.Mean,
            thresholds.lower.on,
            thresholds.lower.text,
            thresholds.upper.on,
            thresholds.upper.text};
}

std::string displaySettingsText(const DisplaySettings& s)
{
    return settingsLine(s.zoomText) + flagLine(s.invertDisplay) + flagLine(s.lower.on) +
           settingsLine(s.lower.percentText) + settingsLine(s.lower.valueText) + flagLine(s.upper.on) +
           settingsLine(s.upper.percentText) + settingsLine(s.upper.valueText);
}

std::string analysisSettingsText(const AnalysisSettings& s)
{
    return flagLine(s.invertIntensity) + flagLine(s.roi1On) + cornerLines(s.roi1) + flagLine(s.roi2On) +
           cornerLines(s.roi2) + flagLine(s.subtract) + flagLine(s.mean) + flagLine(s.lowerOn) +
           settingsLine(s.lowerText) + flagLine(s.upperOn) + settingsLine(s.upperText);
}

std::optional<DisplaySettings> parseDisplaySettings(const std::vector<std::string>& values)
{
    if (values.size() < kDisplayLines)
        return std::nullopt;
    ValueReader in(values);
    DisplaySettings s;
    s.zoomText = in.text();
    s.invertDisplay = in.flag();
    for (DisplaySettingsSide* side : {&s.lower, &s.upper}) {
        side->on = in.flag();
        side->percentText = in.text();
        side->valueText = in.text();
    }
    if (!in.ok())
        return std::nullopt;
    return s;
}

std::optional<AnalysisSettings> parseAnalysisSettings(const std::vector<std::string>& values)
{
    if (values.size() < kAnalysisLines)
        return std::nullopt;
    ValueReader in(values);
    AnalysisSettings s;
    s.invertIntensity = in.flag();
    s.roi1On = in.flag();
    s.roi1 = in.rect();
    s.roi2On = in.flag();
    s.roi2 = in.rect();
    s.subtract = in.flag();
    s.mean = in.flag();
    s.lowerOn = in.flag();
    s.lowerText = in.text();
    s.upperOn = in.flag();
    s.upperText = in.text();
    if (!in.ok())
        return std::nullopt;
    return s;
}

bool WriteDisplaySettings(const std::string& path, const ZoomState& zoom, const DisplayInversion& inversion,
                          const DisplayThresholds& thresholds, Messages& messages)
{
    return writeWhole(path, displaySettingsText(currentDisplaySettings(zoom, inversion, thresholds)),
                      kDisplaySettingsWriteFailed, messages);
}

bool WriteAnalysisSettings(const std::string& path, const DisplayInversion& inversion, const RoIRecord& roi,
                           const DataThresholds& thresholds, Messages& messages)
{
    return writeWhole(path, analysisSettingsText(currentAnalysisSettings(inversion, roi, thresholds)),
                      kAnalysisSettingsWriteFailed, messages);
}

DisplaySettingsRead ReadDisplaySettings(const std::string& path, const ImageStore& image, DisplayThresholds& thresholds,
                                        DisplayInversion& inversion, Messages& messages)
{
    DisplaySettingsRead read;
    const auto values = readSettingsValues(path);
    const auto file = values ? parseDisplaySettings(*values) : std::nullopt;
    const auto lower = file ? displaySide(file->lower, thresholds.lower, image, false) : std::nullopt;
    const auto upper = file ? displaySide(file->upper, thresholds.upper, image, true) : std::nullopt;
    if (!lower || !upper) {
        messages.push_back(kDisplaySettingsReadFailed);
        return read;
    }
    thresholds.lower = *lower;
    thresholds.upper = *upper;
    inversion.invertDisplay = file->invertDisplay;
    PercentFromThresholds(PixelSource::of(image), thresholds);
    read.applied = true;

    const auto percent = zoomPercent(file->zoomText);
    if (percent && *percent >= 1)
        read.zoomText = file->zoomText;
    else
        messages.push_back(kZoomRefusedMessage);
    return read;
}

bool ReadAnalysisSettings(const std::string& path, const ImageStore& image, DisplayInversion& inversion, RoIRecord& roi,
                          DataThresholds& thresholds, ResultFlags& flags, Messages& messages)
{
    const auto values = readSettingsValues(path);
    const auto file = values ? parseAnalysisSettings(*values) : std::nullopt;
    const auto fail = [&messages]() {
        messages.push_back(kAnalysisSettingsReadFailed);
        return false;
    };
    if (!file || !insideImage(file->roi1, image))
        return fail();
    if (file->roi1On && file->roi2On && !insideImage(file->roi2, image))
        return fail();
    const auto lower = dataSide(file->lowerOn, file->lowerText, image, false);
    const auto upper = dataSide(file->upperOn, file->upperText, image, true);
    if (!lower || !upper)
        return fail();
    const DataThresholds read{*lower, *upper};
    if (!ordered(read, image))
        return fail();

    thresholds = read;
    inversion.invertIntensity = file->invertIntensity;
    roi.RoI1On = file->roi1On;
    roi.RoI1 = roi.RoI1Shown = file->roi1;
    roi.RoI2On = file->roi2On;
    roi.RoI2 = roi.RoI2Shown = file->roi2;
    roi.Subtract = file->subtract;
    roi.Mean = file->mean;
    roi.RegionWidth = file->roi1.TopRightX - file->roi1.BottomLeftX + 1;
    roi.RegionHeight = file->roi1.TopRightY - file->roi1.BottomLeftY + 1;
    roi.RoI2Placement = false;
    flags.clearAll();
    return true;
}

}  // namespace kestrova
