#include "BatchFrame.h"

#include <utility>

#include "NumberFormat.h"
#include "ProgramState.h"
#include "gDataAnalysis.h"
#include "gDataCentroid.h"
#include "gDataHistogram.h"
#include "gDataOrg.h"
#include "gDataProjection.h"
#include "gDataRegionDisplay.h"
#include "gDataRoI.h"
#include "gFileOrg.h"
#include "gFileRoI.h"
#include "gFileValues.h"

namespace kestrova::batch {

namespace {

FrameResult failed(Messages messages)
{
    FrameResult result;
    result.messages = std::move(messages);
    return result;
}

// The display thresholds as File Open leaves them: the initial per-cents, then their values.
void applyInitialThresholds(ProgramState& state, const DisplayThresholds& initial)
{
    for (auto [side, from] : {std::pair{&state.displayThresholds.lower, &initial.lower},
                              std::pair{&state.displayThresholds.upper, &initial.upper}}) {
        side->on = from->on;
        side->percentText = from->percentText;
        side->percent = from->percent;
    }
    ThresholdsFromPercent(PixelSource::of(state.image), state.displayThresholds.lower.percent,
                          state.displayThresholds.upper.percent, state.displayThresholds);
}

// The X units after File Open, or those asked for. False (with the reason) when wavelengths are
// asked for and the frame has no usable calibration.
bool chooseUnits(Calibration& calibration, Units units, Messages& calibrationMessages, Messages& messages)
{
    if (units == Units::Pixel) {
        calibration.WavelengthUnits = false;
        return true;
    }
    if (units == Units::Wavelength && !calibration.calibrationLoaded) {
        if (calibrationMessages.empty())
            messages.push_back(kNoCalibration);
        else
            messages.insert(messages.end(), calibrationMessages.begin(), calibrationMessages.end());
        return false;
    }
    if (units == Units::AsOpened)  // a refused calibration is told, and the frame goes on in pixels
        messages.insert(messages.end(), calibrationMessages.begin(), calibrationMessages.end());
    calibration.WavelengthUnits = calibration.calibrationLoaded;
    return true;
}

// The wavelength of the column nearest the centre, halves to even; none outside the calibration.
std::optional<float> centreWavelength(const Calibration& calibration, double centroidX)
{
    if (!calibration.WavelengthUnits)
        return std::nullopt;
    const auto column = roundToInt32(centroidX);
    if (!column || *column < 1 || static_cast<std::size_t>(*column) > calibration.wavelengths.size())
        return std::nullopt;
    return calibration.wavelengths[static_cast<std::size_t>(*column - 1)];
}

bool writeValues(const std::string& path, const std::string& text, Messages& messages)
{
    return path.empty() || WriteValuesFile(path, text, messages);
}

// The projections, histogram and centroid asked for; their values files written.
bool analyse(ProgramState& state, const FrameSettings& settings, const FrameOutputs& outputs, FrameResult& result)
{
    const ImageStore& image = state.image;
    const EffectiveDataThresholds effective = effectiveDataThresholds(state.dataThresholds, image);
    const double lower = image.isFloat ? static_cast<double>(effective.floatLower) : effective.intLower;
    const double upper = image.isFloat ? static_cast<double>(effective.floatUpper) : effective.intUpper;
    const bool projections = settings.centroid || !outputs.spectrum.empty() || !outputs.profile.empty();
    if (projections) {
        const ProjectionInput input{image, state.region, lower, upper, state.inversion.invertIntensity, state.roi.Mean};
        ComputeColumnProjection(input, state.resultFlags, state.projections);
        ComputeRowProjection(input, state.resultFlags, state.projections);
    }
    Messages& messages = result.messages;
    if (!outputs.spectrum.empty()) {
        const Calibration& calibration = state.calibration;
        const std::vector<float>* wavelengths = calibration.WavelengthUnits ? &calibration.wavelengths : nullptr;
        const std::string text =
            ProjectionValuesText(state.projections.column, state.projections.spectrumLimits.yScaleMean, wavelengths);
        if (!writeValues(outputs.spectrum, text, messages))
            return false;
    }
    if (!outputs.profile.empty()) {
        const std::string text =
            ProjectionValuesText(state.projections.row, state.projections.profileLimits.yScaleMean, nullptr);
        if (!writeValues(outputs.profile, text, messages))
            return false;
    }
    if (!outputs.histogram.empty()) {
        BuildRegionHistogram(state.region, image.isFloat, state.resultFlags, state.regionHistogram);
        if (!writeValues(outputs.histogram, histogramValuesText(state.regionHistogram), messages))
            return false;
    }
    if (settings.centroid) {
        const CentroidThresholds thresholds = CentroidThresholdsFor(
            lower, state.dataThresholds.lower.on, upper, state.dataThresholds.upper.on, state.region, image.isFloat);
        ComputeCentroid(state.projections, thresholds, state.resultFlags, state.centroid);
        result.centroid.x = state.centroid.centroidX;
        result.centroid.y = state.centroid.centroidY;
        result.centroid.wavelength = centreWavelength(state.calibration, state.centroid.centroidX);
        result.centroid.area = state.projections.column.pixelCount;
    }
    return true;
}

// The region as the region display saves it: in the smallest type that holds its values.
bool saveRegion(const ProgramState& state, const FileContext& context, const std::string& path, Messages& messages)
{
    ImageStore typeOnly;  // the saver reads only the type from the store
    typeOnly.isFloat = state.image.isFloat;
    typeOnly.dataType = regionSaveDataType(state.image.dataType, state.region, state.image.isFloat);
    return SaveRegionImage(context, typeOnly, state.region, path, messages);
}

// The grey picture at one pixel per image pixel, inverted as the main window shows it.
bool saveDisplayPicture(ProgramState& state, const FileContext& context, const std::string& path, Messages& messages)
{
    RenderDisplayBuffer(PixelSource::of(state.image), state.displayThresholds, state.displayBuffer);
    if (state.inversion.effectiveInvert())
        InvertDisplayBuffer(state.displayBuffer);
    const BitmapInfoHeader header = BitmapInfoHeader::forPicture(state.image.width, state.image.height);
    return SaveDisplay(context, header, state.displayBuffer, path, messages);
}

}  // namespace

FrameResult RunFrame(const FrameSettings& settings, const std::string& image, const FrameOutputs& outputs)
{
    ProgramState state;
    state.workFolder = settings.context.workFolder;
    state.converterFolder = settings.context.converterFolder;
    state.settingsFolder = settings.context.settingsFolder;

    Messages messages;
    if (!OpenImage(settings.context, state.image, state.calibration, image, messages))
        return failed(std::move(messages));
    Messages calibrationMessages = std::move(messages);
    messages = Messages();
    if (!PrepareLoadedImage(state, messages))
        return failed(std::move(messages));
    if (!outputs.displayImage.empty()) {
        applyInitialThresholds(state, settings.initial);
        if (!settings.displayFile.empty()) {
            Messages displayMessages;  // a zoom the file holds is no concern of the batch
            if (!ReadDisplaySettings(settings.displayFile, state.image, state.displayThresholds, state.inversion,
                                     displayMessages)
                     .applied)
                return failed(std::move(displayMessages));
        }
    }
    if (!settings.analysisFile.empty() &&
        !ReadAnalysisSettings(settings.analysisFile, state.image, state.inversion, state.roi, state.dataThresholds,
                              state.resultFlags, messages))
        return failed(std::move(messages));
    if (!chooseUnits(state.calibration, settings.units, calibrationMessages, messages))
        return failed(std::move(messages));

    FrameResult result;
    result.messages = std::move(messages);
    const bool analysis =
        settings.centroid || !outputs.spectrum.empty() || !outputs.profile.empty() || !outputs.histogram.empty();
    if (analysis || !outputs.regionImage.empty()) {
        BuildRegion(state.image, state.roi, state.resultFlags, state.region);
        if (analysis && !state.region.HasRange) {
            result.messages.push_back(kNoRange);
            return result;
        }
    }
    if (analysis && !analyse(state, settings, outputs, result))
        return result;
    if (!outputs.regionImage.empty() && !saveRegion(state, settings.context, outputs.regionImage, result.messages))
        return result;
    if (!outputs.displayImage.empty() &&
        !saveDisplayPicture(state, settings.context, outputs.displayImage, result.messages))
        return result;
    result.ok = true;
    return result;
}

}  // namespace kestrova::batch
