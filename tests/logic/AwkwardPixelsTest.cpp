// Float frames with values that the display must survive: pixels that are not finite, a range
// wider than the float type, and values far below the header's six decimals. Each is opened
// through the real converters and shown as File, Open shows it.

#ifdef KESTROVA_TEST_CFITSIO

#include <fitsio.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <set>

#include "LogicFixture.h"
#include "gDataOrg.h"
#include "gDataThresholdEntry.h"
#include "gFileOrg.h"

using namespace kestrova;
using namespace testsupport;

namespace {

constexpr long kSide = 64;

void writeFloatFits(const std::string& path, const std::vector<float>& values)
{
    int status = 0;
    fitsfile* f = nullptr;
    long axes[2] = {kSide, kSide};
    std::filesystem::remove(path);
    fits_create_diskfile(&f, path.c_str(), &status);
    fits_create_img(f, FLOAT_IMG, 2, axes, &status);
    fits_write_img(f, TFLOAT, 1, static_cast<LONGLONG>(values.size()), const_cast<float*>(values.data()), &status);
    fits_close_file(f, &status);
    ASSERT_EQ(status, 0);
}

std::vector<float> readFloatFits(const std::string& path)
{
    std::vector<float> values(static_cast<std::size_t>(kSide * kSide));
    int status = 0;
    int anyNull = 0;
    fitsfile* f = nullptr;
    fits_open_diskfile(&f, path.c_str(), READONLY, &status);
    fits_read_img(f, TFLOAT, 1, static_cast<LONGLONG>(values.size()), nullptr, values.data(), &anyNull, &status);
    fits_close_file(f, &status);
    EXPECT_EQ(status, 0);
    return values;
}

bool sameValues(const std::vector<float>& a, const std::vector<float>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!(a[k] == b[k] || (std::isnan(a[k]) && std::isnan(b[k]))))
            return false;
    return true;
}

// kSide x kSide values from `low` to `high` in pixel order.
std::vector<float> ramp(double low, double high)
{
    std::vector<float> v(static_cast<std::size_t>(kSide * kSide));
    for (std::size_t k = 0; k < v.size(); ++k)
        v[k] = static_cast<float>(low + (high - low) * static_cast<double>(k) / static_cast<double>(v.size() - 1));
    return v;
}

}  // namespace

class AwkwardPixels : public LogicTest {
protected:
    // Opens a frame as File, Open does, with the initial thresholds of 0.02 % on both sides, and
    // returns the grey level of every pixel of the display picture, in pixel order.
    std::vector<int> openAndShow(const std::string& name, const std::vector<float>& values)
    {
        writeFloatFits(file(name), values);
        EXPECT_TRUE(OpenImage(state, file(name), messages)) << (messages.empty() ? "" : messages.front());
        EXPECT_TRUE(PrepareLoadedImage(state, messages));
        state.displayThresholds.lower.on = true;
        state.displayThresholds.upper.on = true;
        ThresholdsFromPercent(PixelSource::of(state.image), 0.02f, 0.02f, state.displayThresholds);
        EXPECT_TRUE(RefreshDisplay(state, messages));
        const Bytes bitmap = readBytes(file("Pic.Bmp"));
        std::vector<int> greys;
        for (std::size_t at = 54; at + 4 <= bitmap.size(); at += 4)
            greys.push_back(bitmap[at]);
        EXPECT_EQ(greys.size(), values.size());
        return greys;
    }

    // The absolute thresholds dialog accepts the image's own range texts.
    bool rangeTextsAccepted() const
    {
        return checkAbsoluteThresholds(state.image, state.image.minText, state.image.maxText).ok;
    }
};

TEST_F(AwkwardPixels, PixelsThatAreNotFiniteShowBlackAndChangeNothingElse)
{
    std::vector<float> plain(static_cast<std::size_t>(kSide * kSide));
    for (std::size_t k = 0; k < plain.size(); ++k)
        plain[k] = static_cast<float>((k * 37) % plain.size()) * 0.25f - 100.0f;  // every value once
    std::vector<float> awkward = plain;
    awkward[100] = std::numeric_limits<float>::infinity();
    awkward[200] = std::numeric_limits<float>::quiet_NaN();

    const std::vector<int> expected = openAndShow("plain.fits", plain);
    const ImageStore reference = state.image;
    const DisplayThresholds referenceThresholds = state.displayThresholds;
    ASSERT_NE(expected[100], 0);
    ASSERT_NE(expected[200], 0);

    std::vector<int> shown = openAndShow("awkward.fits", awkward);
    EXPECT_EQ(state.image.floatMin, reference.floatMin);
    EXPECT_EQ(state.image.floatMax, reference.floatMax);
    EXPECT_EQ(state.image.minText, reference.minText);
    EXPECT_EQ(state.image.maxText, reference.maxText);
    EXPECT_TRUE(rangeTextsAccepted());
    EXPECT_EQ(state.displayThresholds.lower.valueText, referenceThresholds.lower.valueText);
    EXPECT_EQ(state.displayThresholds.upper.valueText, referenceThresholds.upper.valueText);
    EXPECT_EQ(shown[100], 0);
    EXPECT_EQ(shown[200], 0);
    shown[100] = expected[100];
    shown[200] = expected[200];
    EXPECT_EQ(shown, expected);

    ASSERT_TRUE(SaveImage(state, file("back.fits"), messages));
    EXPECT_TRUE(sameValues(readFloatFits(file("back.fits")), awkward));
    EXPECT_TRUE(messages.empty());
}

TEST_F(AwkwardPixels, HugeAndTinyRampsShowAGreyRamp)
{
    struct Case {
        const char* what;
        double low, high;
    };
    const Case cases[] = {
        {"the whole float line", -1e38, 1e38},
        {"flux-calibrated", 1e-17, 5e-17},
        {"tiny and negative", -4e-17, -1e-18},
        {"wider than any float", -3e38, 3e38},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<int> greys = openAndShow("ramp.fits", ramp(c.low, c.high));
        EXPECT_EQ(state.image.floatMin, static_cast<float>(c.low));  // read back from the KSV header
        EXPECT_EQ(state.image.floatMax, static_cast<float>(c.high));
        EXPECT_TRUE(state.image.thresholdsAllowed);
        EXPECT_TRUE(rangeTextsAccepted());
        EXPECT_EQ(greys.front(), 0);
        EXPECT_EQ(greys.back(), 255);
        EXPECT_TRUE(std::is_sorted(greys.begin(), greys.end()));
        EXPECT_EQ(std::set<int>(greys.begin(), greys.end()).size(), 256u);
    }
}

#endif
