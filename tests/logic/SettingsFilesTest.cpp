#include <string>
#include <vector>

#include "ImageFixture.h"
#include "LogicFixture.h"
#include "gFileRoI.h"

using namespace kestrova;
using namespace testsupport;

namespace {

// 4 x 3, values 0 .. 110.
std::vector<std::int32_t> ramp()
{
    std::vector<std::int32_t> pixels;
    for (int i = 0; i < 12; ++i)
        pixels.push_back(i * 10);
    return pixels;
}

}  // namespace

class SettingsFiles : public LogicTest {
protected:
    void SetUp() override
    {
        LogicTest::SetUp();
        loadImage(state, 4, 3, ramp(), 16);  // "####0"
    }
    AnalysisSettings analysis() const
    {
        return currentAnalysisSettings(state.inversion, state.roi, state.dataThresholds);
    }
    DisplaySettings display() const
    {
        return currentDisplaySettings(state.zoom, state.inversion, state.displayThresholds);
    }
};

TEST_F(SettingsFiles, DisplayFileByteForByteAndBack)
{
    state.zoom.zoomText = "172.80";
    state.inversion.invertDisplay = true;
    state.displayThresholds.lower = {true, "0.02", 0.02f, "20", 20, 0.0f};
    state.displayThresholds.upper = {false, "0.50", 0.5f, "90", 110, 0.0f};
    ASSERT_TRUE(WriteDisplaySettings(file("d.txt"), state.zoom, state.inversion, state.displayThresholds, messages));
    EXPECT_EQ(readText(file("d.txt")), " 172.80\r 1\r 1\r 0.02\r 20\r 0\r 0.50\r 90\r");

    // Read on a fresh state, in another line-end style, with the side switches swapped.
    writeText(file("e.txt"), "100\n0\r\n0\r\n5\r\n1234\r\n1\r\n2.5\r\n95\r\n");
    state.inversion.invertDisplay = true;
    const DisplaySettingsRead read =
        ReadDisplaySettings(file("e.txt"), state.image, state.displayThresholds, state.inversion, messages);
    EXPECT_TRUE(read.applied);
    EXPECT_EQ(read.zoomText, "100");
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(state.inversion.invertDisplay);
    const DisplayThresholds& t = state.displayThresholds;
    EXPECT_FALSE(t.lower.on);
    EXPECT_EQ(t.lower.intValue, 0);  // an Off side holds the minimum whatever its line says
    EXPECT_EQ(t.lower.percent, 0.0f);
    EXPECT_EQ(t.lower.valueText, "1234");
    EXPECT_TRUE(t.upper.on);
    EXPECT_EQ(t.upper.intValue, 95);
    EXPECT_EQ(t.upper.percent, 2.5f);
    EXPECT_EQ(t.upper.percentText, "16.67");  // from the value: 2 of the 12 pixels lie above it

    // A file written and read back on the same image restores what was written.
    const DisplaySettings written = display();
    ASSERT_TRUE(WriteDisplaySettings(file("f.txt"), state.zoom, state.inversion, t, messages));
    ReadDisplaySettings(file("f.txt"), state.image, state.displayThresholds, state.inversion, messages);
    EXPECT_EQ(display(), written);
}

TEST_F(SettingsFiles, RefusedDisplayFilesChangeNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"seven lines", " 100\r 0\r 1\r 5\r 20\r 1\r 5\r"},
        {"flag no number", " 100\r yes\r 1\r 5\r 20\r 1\r 5\r 90\r"},
        {"On side's value no number", " 100\r 0\r 1\r 5\r 2O\r 1\r 5\r 90\r"},
        {"On side's per-cent no number", " 100\r 0\r 0\r 5\r 20\r 1\r -\r 90\r"},
    };
    state.displayThresholds.lower.on = true;
    const DisplaySettings before = display();
    for (const auto& [what, content] : cases) {
        writeText(file("d.txt"), content);
        messages.clear();
        EXPECT_FALSE(
            ReadDisplaySettings(file("d.txt"), state.image, state.displayThresholds, state.inversion, messages).applied)
            << what;
        EXPECT_EQ(messages, Messages{"Error - wwhen reading display settings file"}) << what;
        EXPECT_EQ(display(), before) << what;
    }
    messages.clear();
    EXPECT_FALSE(
        ReadDisplaySettings(file("missing.txt"), state.image, state.displayThresholds, state.inversion, messages)
            .applied);

    // A zoom text that is no zoom keeps the current zoom, refused once; the rest applies.
    writeText(file("d.txt"), " abc\r 1\r 1\r 5\r 200\r 1\r 5\r 90\r");
    messages.clear();
    const DisplaySettingsRead read =
        ReadDisplaySettings(file("d.txt"), state.image, state.displayThresholds, state.inversion, messages);
    EXPECT_TRUE(read.applied);
    EXPECT_FALSE(read.zoomText);
    EXPECT_EQ(messages, Messages{"Error -  image cannot be enlarged"});
    EXPECT_EQ(state.displayThresholds.lower.intValue, 110);  // brought into the image range
}

TEST_F(SettingsFiles, AnalysisFileByteForByteAndBack)
{
    state.inversion.invertIntensity = true;
    state.roi.RoI1On = true;
    state.roi.RoI1 = {2, 1, 4, 2};
    state.roi.RoI2On = true;
    state.roi.RoI2 = {2, 2, 4, 3};
    state.roi.Subtract = false;
    state.dataThresholds.lower = {true, "20", 20, 0.0f};
    state.dataThresholds.upper = {false, "kept", 110, 0.0f};
    ASSERT_TRUE(WriteAnalysisSettings(file("a.txt"), state.inversion, state.roi, state.dataThresholds, messages));
    EXPECT_EQ(readText(file("a.txt")), " 1\r 1\r 2\r 1\r 4\r 2\r 1\r 2\r 2\r 4\r 3\r 0\r 1\r 1\r 20\r 0\r kept\r");
    const AnalysisSettings written = analysis();

    loadImage(state, 4, 3, ramp(), 16);  // everything back to the defaults
    state.resultFlags.regionBuilt = true;
    state.roi.RoI2Placement = true;
    ASSERT_TRUE(ReadAnalysisSettings(file("a.txt"), state.image, state.inversion, state.roi, state.dataThresholds,
                                     state.resultFlags, messages));
    EXPECT_EQ(analysis(), written);
    EXPECT_EQ(state.roi.RoI2Shown, state.roi.RoI2);
    EXPECT_EQ(state.roi.RegionWidth, 3);
    EXPECT_EQ(state.roi.RegionHeight, 2);
    EXPECT_FALSE(state.roi.RoI2Placement || state.resultFlags.regionBuilt);
    EXPECT_EQ(state.dataThresholds.upper.intValue, 110);
    EXPECT_TRUE(messages.empty());

    // An On threshold is converted as the dialog converts it.
    writeText(file("b.txt"), " 0\r 0\r 1\r 1\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 1\r 7.5\r 1\r 99.5\r");
    ASSERT_TRUE(ReadAnalysisSettings(file("b.txt"), state.image, state.inversion, state.roi, state.dataThresholds,
                                     state.resultFlags, messages));
    EXPECT_EQ(state.dataThresholds.lower.text, "8");
    EXPECT_EQ(state.dataThresholds.lower.intValue, 8);
    EXPECT_EQ(state.dataThresholds.upper.intValue, 100);
}

TEST_F(SettingsFiles, RefusedAnalysisFilesChangeNothing)
{
    // Lines: invert, RoI1 on, RoI1 corners, RoI2 on, RoI2 corners, subtract, mean, thresholds.
    const std::pair<const char*, const char*> cases[] = {
        {"sixteen lines", " 0\r 1\r 1\r 1\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 0\r"},
        {"RoI1 wider than the image", " 0\r 1\r 1\r 1\r 5\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 0\r 110\r"},
        {"RoI1 off, still checked", " 0\r 0\r 1\r 0\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 0\r 110\r"},
        {"RoI1 corners disordered", " 0\r 1\r 3\r 1\r 2\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 0\r 110\r"},
        {"RoI2 used, above the image", " 0\r 1\r 1\r 1\r 4\r 2\r 1\r 1\r 3\r 4\r 4\r 1\r 1\r 0\r 0\r 0\r 110\r"},
        {"corner no number", " 0\r 1\r 1\r one\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 0\r 110\r"},
        {"On lower no number", " 0\r 1\r 1\r 1\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 1\r x\r 0\r 110\r"},
        {"On upper outside", " 0\r 1\r 1\r 1\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 0\r 0\r 1\r 111\r"},
        {"On lower at the maximum", " 0\r 1\r 1\r 1\r 4\r 3\r 0\r 1\r 1\r 4\r 3\r 1\r 1\r 1\r 110\r 0\r y\r"},
    };
    const AnalysisSettings before = analysis();
    for (const auto& [what, content] : cases) {
        writeText(file("a.txt"), content);
        messages.clear();
        EXPECT_FALSE(ReadAnalysisSettings(file("a.txt"), state.image, state.inversion, state.roi, state.dataThresholds,
                                          state.resultFlags, messages))
            << what;
        EXPECT_EQ(messages, Messages{"Error - wwhen reading analysis settings file"}) << what;
        EXPECT_EQ(analysis(), before) << what;
    }
    // An unused RoI2 is not checked, an Off side's text is kept as it is.
    writeText(file("a.txt"), " 0\r 1\r 1\r 1\r 4\r 3\r 1\r 9\r 9\r 9\r 9\r 1\r 1\r 0\r x\r 0\r 110\r");
    messages.clear();
    EXPECT_FALSE(ReadAnalysisSettings(file("a.txt"), state.image, state.inversion, state.roi, state.dataThresholds,
                                      state.resultFlags, messages));
    writeText(file("a.txt"), " 0\r 0\r 1\r 1\r 4\r 3\r 1\r 9\r 9\r 9\r 9\r 1\r 1\r 0\r x\r 0\r 110\r");
    EXPECT_TRUE(ReadAnalysisSettings(file("a.txt"), state.image, state.inversion, state.roi, state.dataThresholds,
                                     state.resultFlags, messages));
    EXPECT_EQ(state.dataThresholds.lower.text, "x");
    EXPECT_EQ(state.dataThresholds.lower.intValue, 0);

    messages.clear();
    EXPECT_FALSE(
        WriteAnalysisSettings(file("no/such/folder.txt"), state.inversion, state.roi, state.dataThresholds, messages));
    EXPECT_EQ(messages, Messages{"Error - wwhen writing analysis settings file"});
}
