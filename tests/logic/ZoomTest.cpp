#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gDataZoom.h"

using namespace kestrova;

TEST(Zoom, InAndOutSequences)
{
    std::vector<std::string> in;
    std::string text = "100";
    for (int step = 0; step < 4; ++step)
        in.push_back(text = zoomInText(text));
    EXPECT_EQ(in, (std::vector<std::string>{"120.00", "144.00", "172.80", "207.60"}));

    std::vector<std::string> out;
    text = "100";
    for (int step = 0; step < 3; ++step)
        out.push_back(text = zoomOutText(text));
    EXPECT_EQ(out, (std::vector<std::string>{"83.33", "69.17", "57.50"}));

    // Zoom Out ends at 2 per cent: 2 / 1.2 = 1.67 reads as 2 again.
    text = "100";
    for (int step = 0; step < 40; ++step)
        text = zoomOutText(text);
    EXPECT_EQ(text, "1.67");
    EXPECT_EQ(zoomPercent(text), 2);
    EXPECT_EQ(zoomOutText(text), "1.67");
}

TEST(Zoom, TextsReadAsSixteenBitIntegers)
{
    const std::pair<const char*, int> cases[] = {{"172.80", 173}, {"207.60", 208}, {"83.33", 83},
                                                 {"69.17", 69},   {"57.50", 58},   {"100", 100}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(zoomPercent(text), expected) << text;
    EXPECT_FALSE(zoomPercent("abc"));
    EXPECT_FALSE(zoomPercent("40000"));
    EXPECT_EQ(zoomInText("abc"), "abc");  // an unreadable text is left alone
}

TEST(Zoom, ScaleAndFactor)
{
    EXPECT_FLOAT_EQ(baseScaleFor(2048, 512), 0.5f);
    EXPECT_FLOAT_EQ(baseScaleFor(512, 512), 2.0f);
    EXPECT_FLOAT_EQ(baseScaleFor(6144, 4096), 1024.0f / 6144.0f);
    // A 2048 x 512 image at 100 % is 1024 x 256 screen pixels, at 200 % 2048 x 512.
    EXPECT_FLOAT_EQ(2048 * zoomFactor(100, 0.5f), 1024.0f);
    EXPECT_FLOAT_EQ(512 * zoomFactor(200, 0.5f), 512.0f);
    EXPECT_FLOAT_EQ(zoomFactor(173, 2.0f), 3.46f);
}

TEST(Zoom, EnlargementLimit)
{
    // Inner size 15000 x 12000 twips: the picture may reach 15000 + 31327 wide, 12000 + 31327 high.
    struct Case {
        double width, height;
        float factor;
        bool allowed;
    };
    const Case cases[] = {
        {15360, 15360, 1.0f, true},
        {15360, 15360, 3.0f, false},  // the height, 46080, passes 12000 + 31327
        {46327, 1000, 1.0f, true},          // exactly at the limit
        {46328, 1000, 1.0f, false},
        {1000, 43328, 1.0f, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zoomWithinLimit(c.width, c.height, c.factor, 15000, 12000), c.allowed)
            << c.width << " x " << c.height << " at " << c.factor;
    EXPECT_STREQ(kZoomRefusedMessage, "Error -  image cannot be enlarged");
}

TEST(Zoom, FitAndCustomTexts)
{
    EXPECT_EQ(fitZoomText(9000, 15360), "58.59");
    EXPECT_EQ(fitZoomText(15360, 15360), "100.00");
    EXPECT_EQ(fitZoomText(100, 0), "100");

    const std::pair<const char*, const char*> cases[] = {
        {"250", "250"}, {"1", "1"}, {"500", "500"}, {"600", "144.00"}, {"0", "144.00"},
        {"-5", "144.00"}, {"x", "144.00"}, {"-", "144.00"}, {"499.6", "499.6"}, {"500.5", "500.5"}, {"500.6", "144.00"}, {"0.6", "0.6"}, {"0.5", "144.00"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(customZoomText(typed, "144.00"), expected) << typed;
}
