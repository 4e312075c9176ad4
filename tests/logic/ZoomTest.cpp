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
    // The zoomed picture's longer side may reach 2^20 screen pixels, whatever the window.
    struct Case {
        double width, height;
        float factor;
        bool allowed;
    };
    const Case cases[] = {
        {6144, 4096, 32.0f, true},                               // 3200 % of one-for-one: 196608 pixels
        {6144, 4096, 170.0f, true},                              // 1044480
        {6144, 4096, 171.0f, false},                             // 1050624
        {1048576, 10, 1.0f, true},                               // exactly at the limit
        {1048577, 10, 1.0f, false},  {10, 524289, 2.0f, false},  // the height counts as well
        {2048, 512, 0.02f, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zoomWithinLimit(c.width, c.height, c.factor), c.allowed)
            << c.width << " x " << c.height << " at " << c.factor;
    EXPECT_STREQ(kZoomRefusedMessage, "Error -  image cannot be enlarged");
}

TEST(Zoom, ActualPixels)
{
    struct Case {
        std::int32_t width, height;
        const char* text;
    };
    const Case cases[] = {
        {6144, 4096, "600.00"}, {2048, 512, "200.00"}, {1024, 1024, "100.00"}, {40, 25, "3.91"}, {1000, 10, "97.66"},
    };
    for (const Case& c : cases) {
        const float base = baseScaleFor(c.width, c.height);
        EXPECT_EQ(actualPixelsText(base), c.text) << c.width;
    }
    // Where 100 / baseScale is a whole number the factor is exactly one.
    EXPECT_EQ(zoomFactor(*zoomPercent(actualPixelsText(baseScaleFor(6144, 4096))), baseScaleFor(6144, 4096)), 1.0f);
}

TEST(Zoom, StepKeepsThePointUnderTheAnchor)
{
    struct Case {
        double oldScroll, oldAnchor, newAnchor, oldLength, newLength, view, expected;
    };
    const Case cases[] = {
        {0, 500, 500, 1024, 2048, 1000, 500},      // centre of a 1024 picture stays the centre
        {1000, 500, 500, 2048, 1024, 1000, 24},    // zoom out, limited to the new range
        {0, 100, 100, 1000, 1200, 1000, 20},       // under the mouse at 100
        {0, 500, 500, 1000, 800, 1000, 0},         // smaller than the viewport: no scroll
        {5000, 0, 0, 6144, 196608, 1100, 160000},  // the left edge's image column stays at the left
        {0, 0, 0, 0, 500, 100, 0},                 // no picture before
        {100, 300, 400, 1000, 2000, 800, 400},     // the viewport grew: its new centre
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(scrollKeepingPoint(c.oldScroll, c.oldAnchor, c.newAnchor, c.oldLength, c.newLength, c.view),
                         c.expected)
            << c.oldScroll << " " << c.oldAnchor;
}

TEST(Zoom, FitAndCustomTexts)
{
    EXPECT_EQ(fitZoomText(9000, 15360), "58.59");
    EXPECT_EQ(fitZoomText(15360, 15360), "100.00");
    EXPECT_EQ(fitZoomText(100, 0), "100");

    const std::pair<const char*, const char*> cases[] = {
        {"250", "250"},      {"1", "1"},      {"500", "500"},    {"600", "144.00"},  {"0", "144.00"},
        {"-5", "144.00"},    {"x", "144.00"}, {"-", "144.00"},   {"499.6", "499.6"}, {"500.5", "500.5"},
        {"500.6", "144.00"}, {"0.6", "0.6"},  {"0.5", "144.00"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(customZoomText(typed, "144.00"), expected) << typed;
}
