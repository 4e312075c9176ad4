#include <gtest/gtest.h>

#include <fitsio.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kWidth = 4;
constexpr int kHeight = 3;

// The test frame: 1 2 3 4 along the bottom row, 5..8 above it, 9..12 at the top.
int valueAt(int x, int rowFromBottom)
{
    return kWidth * rowFromBottom + x + 1;
}

void writePgm(const std::string& path)
{
    std::string text = "P5\n4 3\n255\n";
    for (int row = 0; row < kHeight; ++row)  // the first row read is row 1 of the frame
        for (int x = 0; x < kWidth; ++x)
            text += static_cast<char>(valueAt(x, row));
    writeText(path, text);
}

void writeBmp(const std::string& path)
{
    constexpr std::uint32_t stride = (kWidth * 3 + 3) / 4 * 4;
    Bytes b = {'B', 'M'};
    putU32(b, 54 + stride * kHeight);
    putU32(b, 0);
    putU32(b, 54);
    for (const std::uint32_t v : {40u, std::uint32_t{kWidth}, std::uint32_t{kHeight}})
        putU32(b, v);
    putU16(b, 1);
    putU16(b, 24);
    for (const std::uint32_t v : {0u, stride * kHeight, 2835u, 2835u, 0u, 0u})
        putU32(b, v);
    for (int row = 0; row < kHeight; ++row) {  // bottom-up
        for (int x = 0; x < kWidth; ++x)
            b.insert(b.end(), 3, static_cast<unsigned char>(valueAt(x, row)));
        b.resize(54 + stride * static_cast<std::uint32_t>(row + 1), 0);
    }
    writeBytes(path, b);
}

void writeFits(const std::string& path, int bitpix, int dataType)
{
    std::vector<float> values;
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            values.push_back(static_cast<float>(valueAt(x, row)));
    int status = 0;
    fitsfile* f = nullptr;
    long axes[2] = {kWidth, kHeight};
    fits_create_diskfile(&f, path.c_str(), &status);
    fits_create_img(f, bitpix, 2, axes, &status);
    fits_write_img(f, dataType == 0 ? TFLOAT : dataType, 1, static_cast<LONGLONG>(values.size()), values.data(),
                   &status);
    fits_close_file(f, &status);
    ASSERT_EQ(status, 0);
}

// A settings file as the program writes it: a blank, the value, CR.
std::string settingsFile(const std::vector<std::string>& values)
{
    std::string text;
    for (const std::string& v : values)
        text += " " + v + "\r";
    return text;
}

// RoI1 over columns 2..3 and every row; RoI2 off; subtract; Sum (mean = 0) or Mean.
std::string analysisFile(bool mean, const std::string& topRightY = "3")
{
    return settingsFile(
        {"0", "1", "2", "1", "3", topRightY, "0", "1", "1", "1", "1", "1", mean ? "1" : "0", "0", "1", "0", "12"});
}

// 256 lines "bin,count" with the region's six values in their bins.
std::string expectedHistogram()
{
    std::string text;
    for (int bin = 0; bin < 256; ++bin) {
        const bool filled = bin == 0 || bin == 28 || bin == 113 || bin == 142 || bin == 227 || bin == 255;
        text += std::to_string(bin) + (filled ? ",1\r\n" : ",0\r\n");
    }
    return text;
}

class BatchRun : public ::testing::Test {
protected:
    TempDir dir;
    std::string tmp = dir.file("tmp");
    std::string config = dir.file("config");

    void SetUp() override { std::filesystem::create_directory(tmp); }

    RunResult batch(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), program("kestrova-batch"));
        return run(arguments, {{"TMP", tmp}, {"XDG_CONFIG_HOME", config}});
    }
};

}  // namespace

TEST_F(BatchRun, ValuesFilesOfEveryFormat)
{
    struct Case {
        const char* file;
        std::function<void(const std::string&)> write;
    };
    const std::vector<Case> cases = {
        {"frame.pgm", writePgm},
        {"frame.bmp", writeBmp},
        {"frame.fits", [](const std::string& p) { writeFits(p, SHORT_IMG, TFLOAT); }},
        {"frame.fit", [](const std::string& p) { writeFits(p, FLOAT_IMG, TFLOAT); }},
    };
    writeText(dir.file("sum.txt"), analysisFile(false));
    writeText(dir.file("mean.txt"), analysisFile(true));
    for (const Case& c : cases) {
        c.write(dir.file(c.file));
        for (const bool mean : {false, true}) {
            const RunResult r = batch({"-q", "--analysis", dir.file(mean ? "mean.txt" : "sum.txt"), "--spectrum",
                                       "{dir}/{name}-X.csv", "--profile", "{dir}/{name}-Y.csv", "--histogram",
                                       "{dir}/{name}-H.csv", "--centroid", dir.file("c.csv"), dir.file(c.file)});
            ASSERT_EQ(r.exitCode, 0) << c.file << r.standardError;
            EXPECT_EQ(r.standardError, "");
            EXPECT_EQ(readText(dir.file("frame-X.csv")), mean ? "2,6\r\n3,7\r\n" : "2,18\r\n3,21\r\n") << c.file;
            EXPECT_EQ(readText(dir.file("frame-Y.csv")),
                      mean ? "1,2.5\r\n2,6.5\r\n3,10.5\r\n" : "1,5\r\n2,13\r\n3,21\r\n")
                << c.file;
            EXPECT_EQ(readText(dir.file("frame-H.csv")), expectedHistogram()) << c.file;
            // Column means 6 and 7 weigh 5 and 6 above the image minimum; row means above the least.
            EXPECT_EQ(readText(dir.file("c.csv")),
                      "file,x,y,wavelength,area\r\n" + dir.file(c.file) + ",2.54545454545455,2.66666666666667,,6\r\n")
                << c.file;
        }
    }
    EXPECT_TRUE(listFolder(tmp).empty());
    EXPECT_FALSE(fileExists(config));
}

TEST_F(BatchRun, WavelengthUnitsFollowTheCalibration)
{
    writePgm(dir.file("frame.pgm"));
    writeText(dir.file("sum.txt"), analysisFile(false));
    const std::vector<std::string> common = {
        "-q", "--analysis", dir.file("sum.txt"), "--spectrum", dir.file("x.csv"), "--centroid", dir.file("c.csv")};
    auto withFrame = [&](std::vector<std::string> extra) {
        std::vector<std::string> a = common;
        a.insert(a.end(), extra.begin(), extra.end());
        a.push_back("frame.pgm");
        return a;
    };
    const std::string header = "file,x,y,wavelength,area\r\n";
    // Without a calibration: pixels by default, a failure when wavelengths are asked for.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    RunResult r = batch(withFrame({"--units", "wavelength"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.standardError, "frame.pgm: Error - no calibration file (SpecCal.txt) beside the image\n");
    EXPECT_EQ(readText(dir.file("c.csv")), header);

    writeText(dir.file("SpecCal.txt"), "100, 2\r\n");
    r = batch(withFrame({}));
    EXPECT_EQ(r.exitCode, 0) << r.standardError;
    EXPECT_EQ(readText(dir.file("x.csv")), "104,18\r\n106,21\r\n");
    EXPECT_EQ(readText(dir.file("c.csv")), header + "frame.pgm,2.54545454545455,2.66666666666667,106,6\r\n");
    r = batch(withFrame({"--units", "pixel"}));
    EXPECT_EQ(readText(dir.file("x.csv")), "2,18\r\n3,21\r\n");

    writeText(dir.file("SpecCal.txt"), "not a calibration\r\n");
    r = batch(withFrame({}));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.standardError.find("frame.pgm: "), std::string::npos);
    EXPECT_EQ(readText(dir.file("x.csv")), "2,18\r\n3,21\r\n");
    std::filesystem::current_path(previous);
}

TEST_F(BatchRun, FailedFramesAreToldAndTheRunGoesOn)
{
    writePgm(dir.file("good.pgm"));
    writeText(dir.file("bad.pgm"), "P5\n4 3\n255\nxy");
    writeText(dir.file("small.pgm"), "P5\n2 2\n255\n\x01\x02\x03\x04");
    writeText(dir.file("a.txt"), analysisFile(true));
    const std::string quoted = dir.file("good, \"1\".pgm");
    writePgm(quoted);
    const RunResult r = batch({"--analysis", dir.file("a.txt"), "--centroid", dir.file("c.csv"), "--spectrum",
                               "{dir}/{name}.csv", "-j", "2", dir.file("bad.pgm"), dir.file("small.pgm"), quoted});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(readText(dir.file("c.csv")), "file,x,y,wavelength,area\r\n\"" + dir.path() +
                                               "/good, \"\"1\"\".pgm\",2.54545454545455,2.66666666666667,,6\r\n");
    EXPECT_NE(r.standardError.find(dir.file("bad.pgm") + ": Error - "), std::string::npos) << r.standardError;
    EXPECT_NE(r.standardError.find(dir.file("small.pgm") + ": Error - wwhen reading analysis settings file\n"),
              std::string::npos);
    EXPECT_EQ(std::count(r.standardError.begin(), r.standardError.end(), '\n'), 2);
    EXPECT_FALSE(fileExists(dir.file("bad.csv")));
    EXPECT_TRUE(listFolder(tmp).empty());
}

TEST_F(BatchRun, FlatFrameGivesItsRegionButNoAnalysis)
{
    writeText(dir.file("flat.pgm"), "P5\n4 3\n255\n" + std::string(12, '\x07'));
    RunResult r = batch({"--region-image", "{dir}/{name}-RoI.pgm", dir.file("flat.pgm")});
    EXPECT_EQ(r.exitCode, 0) << r.standardError;
    const std::string region = readText(dir.file("flat-RoI.pgm"));
    EXPECT_TRUE(region.starts_with("P5\n") && region.ends_with("\n4 3\n255\n" + std::string(12, '\x07'))) << region;
    r = batch({"--histogram", dir.file("h.csv"), dir.file("flat.pgm")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.standardError, dir.file("flat.pgm") + ": Minimum and Maximum Equal - Analysis Not Performed\n");
}

TEST_F(BatchRun, UsageErrorsWriteNothing)
{
    writePgm(dir.file("a.pgm"));
    writePgm(dir.file("b.pgm"));
    writeText(dir.file("short.txt"), settingsFile({"0", "1", "2"}));
    const std::string a = dir.file("a.pgm");
    const std::string b = dir.file("b.pgm");
    const std::string out = dir.file("out.csv");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", a},
        {"--units", "nm", a},
        {"--jobs", "0", a},
        {"-j", "x", a},
        {"--spectrum"},
        {"--analysis", dir.file("missing.txt"), "--centroid", out, a},
        {"--analysis", dir.file("short.txt"), "--centroid", out, a},
        {"--display", dir.file("short.txt"), "--centroid", out, a},
        {"--spectrum", out, a, b},
        {"--spectrum", "{name}.csv", "--profile", "./{name}.csv", a},
        {"--centroid", out, "--histogram",
         "{dir}/../" + std::filesystem::path(dir.path()).filename().string() + "/out.csv", "-q", a},
        {"--region-image", "{name}.png", a},
        {"--display-image", "{dir}/{name}.pgm", a},
    };
    const auto before = listFolder(dir.path());
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());  // relative outputs land here
    for (const auto& arguments : cases) {
        const RunResult r = batch(arguments);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(arguments);
        EXPECT_NE(r.standardError, "");
        EXPECT_EQ(listFolder(dir.path()), before) << ::testing::PrintToString(arguments);
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(listFolder(tmp).empty());
}
