// The bundled sample through kestrova-batch and through the logic functions in the order the
// windows call them: File Open, the display and analysis settings opened, the spectrum window's
// Save As Values and the main picture's grey mapping.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgramState.h"
#include "TestSupport.h"
#include "gDataAnalysis.h"
#include "gDataOrg.h"
#include "gDataProjection.h"
#include "gDataRoI.h"
#include "gFileOrg.h"
#include "gFileRoI.h"
#include "gFileValues.h"

using namespace testsupport;
using namespace kestrova;

namespace {

std::string settingsFile(const std::vector<std::string>& values)
{
    std::string text;
    for (const std::string& v : values)
        text += " " + v + "\r";
    return text;
}

struct WindowResults {
    std::string spectrum;
    Bytes picture;
};

// What the windows compute for the frame after opening both settings files.
WindowResults windowResults(const std::string& frame, const std::string& work, const std::string& display,
                            const std::string& analysis)
{
    ProgramState state;
    state.workFolder = work;
    state.converterFolder = binDir();
    Messages messages;
    EXPECT_TRUE(OpenImage(state, frame, messages));
    EXPECT_TRUE(PrepareLoadedImage(state, messages));
    state.displayThresholds = DisplayThresholds{};  // the initial thresholds' defaults
    ThresholdsFromPercent(PixelSource::of(state.image), 0.02f, 0.02f, state.displayThresholds);
    EXPECT_TRUE(ReadDisplaySettings(display, state.image, state.displayThresholds, state.inversion, messages).applied);
    EXPECT_TRUE(ReadAnalysisSettings(analysis, state.image, state.inversion, state.roi, state.dataThresholds,
                                     state.resultFlags, messages));
    BuildRegion(state.image, state.roi, state.resultFlags, state.region);
    const EffectiveDataThresholds e = effectiveDataThresholds(state.dataThresholds, state.image);
    const ProjectionInput input{state.image,
                                state.region,
                                static_cast<double>(e.intLower),
                                static_cast<double>(e.intUpper),
                                state.inversion.invertIntensity,
                                state.roi.Mean};
    ComputeColumnProjection(input, state.resultFlags, state.projections);

    WindowResults results;
    results.spectrum = ProjectionValuesText(state.projections.column, state.projections.spectrumLimits.yScaleMean,
                                            &state.calibration.wavelengths);
    RenderDisplayBuffer(PixelSource::of(state.image), state.displayThresholds, state.displayBuffer);
    if (state.inversion.effectiveInvert())
        InvertDisplayBuffer(state.displayBuffer);
    results.picture.assign(state.displayBuffer.begin(), state.displayBuffer.end());
    return results;
}

}  // namespace

TEST(BatchSample, EqualsTheWindowsComputations)
{
    TempDir dir;
    const std::filesystem::path sample = std::filesystem::path(binDir()).parent_path() / "sample";
    for (const char* name : {"spectrum.pgm", "SpecCal.txt"})
        std::filesystem::copy_file(sample / name, dir.file(name));
    std::filesystem::create_directory(dir.file("work"));
    std::filesystem::create_directory(dir.file("tmp"));

    struct Case {
        const char* invertDisplay;
        const char* invertIntensity;
        const char* mean;
    };
    for (const Case c : {Case{"0", "0", "1"}, Case{"1", "0", "0"}, Case{"1", "1", "1"}, Case{"0", "1", "0"}}) {
        // The band over rows 200..260 with its background under it, subtracted, lower threshold on.
        writeText(dir.file("a.txt"), settingsFile({c.invertIntensity, "1", "1", "200", "1024", "260", "1", "1", "100",
                                                   "1024", "160", "1", c.mean, "1", "1000", "0", "60000"}));
        writeText(dir.file("d.txt"), settingsFile({"100", c.invertDisplay, "0", "0", "0", "1", "5", "40000"}));
        const RunResult r =
            run({program("kestrova-batch"), "--display", dir.file("d.txt"), "--analysis", dir.file("a.txt"),
                 "--spectrum", dir.file("x.csv"), "--display-image", dir.file("d.bmp"), dir.file("spectrum.pgm")},
                {{"TMP", dir.file("tmp")}, {"XDG_CONFIG_HOME", dir.file("config")}});
        ASSERT_EQ(r.exitCode, 0) << r.standardError;
        const WindowResults expected =
            windowResults(dir.file("spectrum.pgm"), dir.file("work"), dir.file("d.txt"), dir.file("a.txt"));
        EXPECT_EQ(readText(dir.file("x.csv")), expected.spectrum) << c.invertDisplay << c.invertIntensity;
        const Bytes bitmap = readBytes(dir.file("d.bmp"));
        ASSERT_EQ(bitmap.size(), 54 + expected.picture.size());
        EXPECT_TRUE(std::equal(expected.picture.begin(), expected.picture.end(), bitmap.begin() + 54))
            << c.invertDisplay << c.invertIntensity;
    }
}
