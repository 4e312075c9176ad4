// Values files of the plot windows, byte for byte.

#include <gtest/gtest.h>

#include "AnalysisFrames.h"
#include "LogicFixture.h"
#include "gFileValues.h"

using namespace kestrova;
using namespace analysisframes;

namespace {

Projections projectionsOf(const ImageStore& image, bool invert)
{
    Projections projections;
    ResultFlags flags;
    const RegionArray region = regionOf(image, {1, 1, image.width, image.height});
    ComputeColumnProjection({image, region, -1e9, 1e9, invert, true}, flags, projections);
    return projections;
}

}  // namespace

TEST(ValuesText, ProjectionLines)
{
    const Projections p = projectionsOf(fourByThree(), false);
    const Projections inverted = projectionsOf(fourByThree(), true);
    const std::vector<float> wavelengths{400.5f, 401.25f, 1234567.9f, 0.00001234f};
    struct Case {
        const char* name;
        const Projection& projection;
        bool mean;
        const std::vector<float>* wavelengths;
        const char* text;
    };
    const Case cases[] = {
        {"spectrum, Mean", p.column, true, nullptr,
         "1,1.66666666666667\r\n2,3\r\n3,1.66666666666667\r\n4,4.33333333333333\r\n"},
        {"profile, Mean", p.row, true, nullptr, "1,2.5\r\n2,2\r\n3,3.5\r\n"},
        {"spectrum, Sum, inverted", inverted.column, false, nullptr, "1,13\r\n2,9\r\n3,13\r\n4,5\r\n"},
        {"spectrum, Sum, wavelengths", p.column, false, &wavelengths,
         "400.5,5\r\n401.25,9\r\n1234568,5\r\n1.234E-05,13\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProjectionValuesText(c.projection, c.mean, c.wavelengths), c.text) << c.name;

    Projection large;
    large.first = 7;
    large.sum = {-4.0e12 / 3.0, 1e20, 0.000012345678901234567};
    EXPECT_EQ(ProjectionValuesText(large, false, nullptr),
              "7,-1333333333333.33\r\n8,1E+20\r\n9,1.23456789012346E-05\r\n");
    EXPECT_EQ(CountValuesText(0, {3, 0, 12}), "0,3\r\n1,0\r\n2,12\r\n");
}

TEST(ValuesText, FileNames)
{
    const std::pair<const char*, bool> cases[] = {
        {"/d/a.csv", true}, {"/d/a.CSV", true},  {"a.Csv", true},     {"/d/.csv", false},
        {"/d/a", false},    {"/d/a.txt", false}, {"/d.csv/a", false}, {"", false},
    };
    for (const auto& [path, ok] : cases)
        EXPECT_EQ(IsValuesFileName(path), ok) << path;
}

class ValuesFileTest : public LogicTest {};

TEST_F(ValuesFileTest, WrittenWholeOrNotAtAll)
{
    const std::string path = file("s.csv");
    ASSERT_TRUE(WriteValuesFile(path, "1,2\r\n", messages));
    EXPECT_EQ(testsupport::readText(path), "1,2\r\n");
    EXPECT_TRUE(messages.empty());

    EXPECT_FALSE(WriteValuesFile(file("missing/s.csv"), "1,2\r\n", messages));
    EXPECT_EQ(messages, Messages{kValuesWriteFailed});
    EXPECT_EQ(testsupport::listFolder(dir.path()), std::vector<std::string>{"s.csv"});
}
