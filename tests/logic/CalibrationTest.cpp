#include <array>
#include <filesystem>
#include <sys/stat.h>

#include "LogicFixture.h"
#include "gFileCal.h"
#include "gFileOrg.h"

using namespace kestrova;
using namespace testsupport;

namespace {

const std::string kUnexpected = "Error - format error (unexpected character(s) in calibration file (SpecCal.txt)";
const std::string kCommas = "Error - format error (incorrect number of commas in calibration file (SpecCal.txt)";
const std::string kNonNumeric = "Error - format error (non numeric characters in calibration file (SpecCal.txt)";

}  // namespace

class CalibrationFile : public LogicTest {
protected:
    Calibration read(const std::string& content, std::int32_t width = 100)
    {
        writeText(file("SpecCal.txt"), content);
        Calibration c;
        c.calibrationLoaded = true;  // left over from an earlier image
        c.coefficients = {9, 9, 9, 9};
        ReadCalibration(c, file("SpecCal.txt"), width, messages);
        return c;
    }
};

TEST_F(CalibrationFile, AcceptedLines)
{
    struct Case {
        const char* content;
        float offset;
        std::array<float, 4> coefficients;
    };
    const Case cases[] = {
        {"400,0.5", 400.0f, {0.5f, 0, 0, 0}},
        {"400,0.5\r", 400.0f, {0.5f, 0, 0, 0}},
        {"400,0.5\r\n", 400.0f, {0.5f, 0, 0, 0}},
        {"400,0.5\n", 400.0f, {0.5f, 0, 0, 0}},
        {"400,0.5\n1,2,3,4,5,6,7\n", 400.0f, {0.5f, 0, 0, 0}},  // only the first line counts
        {" 400 , 0.5 \rnot;read\nat all", 400.0f, {0.5f, 0, 0, 0}},
        {"-1.5E+2,+2,1E-3,0,-4E-9", -150.0f, {2.0f, 0.001f, 0.0f, -4e-9f}},
        {"350,1,0.25", 350.0f, {1.0f, 0.25f, 0, 0}},
    };
    for (const Case& c : cases) {
        messages.clear();
        const Calibration cal = read(c.content);
        EXPECT_TRUE(messages.empty()) << c.content;
        EXPECT_TRUE(cal.calibrationLoaded) << c.content;
        EXPECT_TRUE(cal.WavelengthUnits) << c.content;
        EXPECT_EQ(cal.offset, c.offset) << c.content;
        EXPECT_EQ(cal.coefficients, c.coefficients) << c.content;
        EXPECT_EQ(cal.wavelengths.size(), 100u);
    }
}

TEST_F(CalibrationFile, WavelengthsOfTheStraightLineAndThePolynomial)
{
    Calibration line = read("400,0.5");
    EXPECT_EQ(line.wavelengths[0], 400.5f);
    EXPECT_EQ(line.wavelengths[99], 450.0f);

    const Calibration poly = read("10,2,0.5,0.25,0.125", 3);
    // x = 2: 10 + 4 + 2 + 2 + 2
    EXPECT_EQ(poly.wavelengths, (std::vector<float>{12.875f, 20.0f, 37.375f}));
}

TEST_F(CalibrationFile, TableIsAsWideAsTheImage)
{
    const Calibration wide = read("0,1", 7000);
    ASSERT_EQ(wide.wavelengths.size(), 7000u);
    EXPECT_EQ(wide.wavelengths[6999], 7000.0f);
}

TEST_F(CalibrationFile, RefusedLines)
{
    struct Case {
        const char* content;
        std::string message;
    };
    const Case cases[] = {
        {"1,2,3,4,5,6", kCommas},   {"400", kCommas},          {"400;0.5", kUnexpected},
        {"400,0.5\t", kUnexpected}, {"400,abc", kUnexpected},  // the character scan runs first
        {"4e2,0.5", kUnexpected},   {"400,+-", kNonNumeric},   {"400,", kNonNumeric},
        {",0.5", kNonNumeric},      {"4 00,0.5", kNonNumeric}, {"400,1.2.3", kNonNumeric},
    };
    for (const Case& c : cases) {
        messages.clear();
        const Calibration cal = read(c.content);
        EXPECT_EQ(messages, Messages{c.message}) << c.content;
        EXPECT_FALSE(cal.calibrationLoaded) << c.content;
        EXPECT_FALSE(cal.WavelengthUnits) << c.content;
        EXPECT_TRUE(cal.wavelengths.empty()) << c.content;
    }
}

TEST_F(CalibrationFile, MissingEmptyOrUnreadableGivesNoMessage)
{
    for (const char* content : {"", "1E99,1"}) {  // empty; a value beyond the float range
        const Calibration cal = read(content);
        EXPECT_FALSE(cal.calibrationLoaded) << content;
        EXPECT_TRUE(messages.empty()) << content;
    }
    Calibration none;
    none.calibrationLoaded = true;
    ReadCalibration(none, file("absent/SpecCal.txt"), 10, messages);
    EXPECT_FALSE(none.calibrationLoaded);
    // A FIFO of that name is not waited on.
    std::filesystem::create_directories(file("fifo"));
    ASSERT_EQ(::mkfifo(file("fifo/SpecCal.txt").c_str(), 0600), 0);
    ReadCalibration(none, file("fifo/SpecCal.txt"), 10, messages);
    EXPECT_FALSE(none.calibrationLoaded);
    EXPECT_EQ(none.coefficients, (std::array<float, 4>{1, 0, 0, 0}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(CalibrationFile, OpeningAnImageReadsTheFileBesideIt)
{
    std::filesystem::create_directories(file("with"));
    std::filesystem::create_directories(file("without"));
    writeText(file("with/SpecCal.txt"), "400,0.5\r");
    writeBytes(file("with/a.pgm"), pgmFile(3, 1, 255, {1, 2, 3}));
    writeBytes(file("without/b.pgm"), pgmFile(2, 1, 255, {1, 2}));

    ASSERT_TRUE(OpenImage(state, file("with/a.pgm"), messages));
    EXPECT_TRUE(state.calibration.calibrationLoaded);
    EXPECT_EQ(state.calibration.wavelengths, (std::vector<float>{400.5f, 401.0f, 401.5f}));

    ASSERT_TRUE(OpenImage(state, file("without/b.pgm"), messages));
    EXPECT_FALSE(state.calibration.calibrationLoaded);
    EXPECT_FALSE(state.calibration.WavelengthUnits);

    // A malformed file is reported, but the image is loaded.
    writeText(file("without/SpecCal.txt"), "400");
    EXPECT_TRUE(OpenImage(state, file("without/b.pgm"), messages));
    EXPECT_EQ(messages, Messages{kCommas});
}
