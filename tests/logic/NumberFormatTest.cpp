#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "NumberFormat.h"

using namespace kestrova;

TEST(NumberFormat, PatternsOfTheProgram)
{
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, "###0", "0"},
        {1234.4, "###0", "1234"},
        {1234.5, "###0", "1235"},
        {-1234.5678, "###0.0", "-1234.6"},
        {5.0, "##0", "5"},
        {1234567.0, "##0", "1234567"},  // more digits than places
        {-7.0, "####0", "-7"},
        {-3.14159, "#0.00", "-3.14"},
        {59.99, "#0.00", "59.99"},
        {40.0, "#0.00", "40.00"},
        {2.675, "#0.00", "2.68"},  // rounded on its decimal digits
        {0.0, "#0.00", "0.00"},
        {-0.001, "#0.00", "0.00"},  // no minus sign on a zero
        {0.006, "#0.00", "0.01"},
        {0.0049, "#0.00", "0.00"},
        {172.8, "###0.00", "172.80"},
        {1.0 / 1.2 * 2.0, "###0.00", "1.67"},
        {12.5, "#0.000", "12.500"},
        {3.0, "0.0000", "3.0000"},
        {250.125, "##0.00", "250.13"},
        {5.0, "0.0###", "5.0"},
        {1.23456, "0.0###", "1.2346"},
        {9.99999, "0.0###", "10.0"},  // the carry adds a digit
        {0.1, "0.0###", "0.1"},
        {123456.0, "0.0###E+###", "1.2346E+5"},
        {0.000123, "0.0###E+###", "1.23E-4"},
        {1.0, "0.0###E+###", "1.0E+0"},
        {0.0, "0.0###E+###", "0.0E+0"},
        {-250000.0, "0.0###E+###", "-2.5E+5"},
        {99999.5, "0.0E+###", "1.0E+5"},
        {100000.0, "#####E+#", "10000E+1"},
        {2147483647.0, "#####E+#", "21475E+5"},
        {-2147483648.0, "#####E+#", "-21475E+5"},
        {0.5, "#####E+###", "50000E-5"},
        {123456789.0, "#####E+###", "12346E+4"},
        {12345.0, "0.00E-00", "1.23E04"},  // "E-" shows only a negative sign; zeros pad
        {1234.0, "#######0", "1234"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
}

TEST(NumberFormat, FloatsAndIntegersUseTheirOwnDigits)
{
    // A float is formatted with the digits it prints as, not its binary expansion.
    EXPECT_EQ(formatNumber(0.02f, "#0.00"), "0.02");
    EXPECT_EQ(formatNumber(0.1f, "0.0###E+###"), "1.0E-1");
    EXPECT_EQ(formatNumber(12.5f, "#0.000"), "12.500");
    EXPECT_EQ(formatNumber(-3.0f, "#0.000"), "-3.000");
    EXPECT_EQ(formatNumber(0.125f, "#0.00"), "0.13");
    EXPECT_EQ(formatNumber(std::int32_t{-2147483647 - 1}, "####0"), "-2147483648");
    EXPECT_EQ(formatNumber(std::int64_t{65535}, "####0"), "65535");
    EXPECT_EQ(formatNumber(std::numeric_limits<float>::quiet_NaN(), "#0.00"), "NaN");
}

TEST(NumberFormat, RoundingHalvesToEven)
{
    const std::pair<double, double> cases[] = {{0.5, 0.0},   {1.5, 2.0},   {2.5, 2.0},    {3.5, 4.0},     {-0.5, -0.0},
                                               {-1.5, -2.0}, {-2.5, -2.0}, {2.4999, 2.0}, {127.5, 128.0}, {76.5, 76.0}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(roundHalfEven(value), expected) << value;

    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5));  // rounds to 2^31, one too many
    EXPECT_FALSE(roundToInt32(std::nan("")));

    struct Division {
        std::int64_t num, den, expected;
    };
    const Division divisions[] = {{5, 2, 2},
                                  {7, 2, 4},
                                  {-5, 2, -2},
                                  {-7, 2, -4},
                                  {1275, 10, 128},
                                  {765, 10, 76},
                                  {1, 3, 0},
                                  {2, 3, 1},
                                  {-1, 3, 0},
                                  {-2, 3, -1},
                                  {4095LL * 4000000000LL, 4000000000LL, 4095}};
    for (const Division& d : divisions)
        EXPECT_EQ(roundDivHalfEven(d.num, d.den), d.expected) << d.num << " / " << d.den;
}

TEST(NumberFormat, NumericText)
{
    for (const char* text : {"1", " 1 ", "+1", "-1.5", ".5", "5.", "1E5", "1e-5", "1.5E+10", "  -0.02", "007"})
        EXPECT_TRUE(isNumeric(text)) << '"' << text << '"';
    for (const char* text : {"", " ", "+-", "-+", ".", "1e", "1E+", "abc", "1 2", "1,5", "0x10", "1..2", "--1", "nan",
                             "inf", "1.5.", "E5", "5-"})
        EXPECT_FALSE(isNumeric(text)) << '"' << text << '"';

    EXPECT_EQ(numericValue(" -1.5E2 "), -150.0);
    EXPECT_EQ(numericValue("+.5"), 0.5);
    EXPECT_EQ(numericValue("1e-400"), 0.0);  // too small: zero
    EXPECT_FALSE(numericValue("1e400"));     // too large: no value
    EXPECT_FALSE(textToFloat("1e39"));
    EXPECT_EQ(textToFloat("0.02"), 0.02f);
}

TEST(NumberFormat, TextReadAsSixteenBitInteger)
{
    struct Case {
        const char* text;
        std::optional<std::int16_t> expected;
    };
    const Case cases[] = {
        {"172.80", 173},       {"207.60", 208},    {"83.33", 83},    {"57.50", 58},        {"56.5", 56},
        {"1.67", 2},           {"0.5", 0},         {"32767", 32767}, {"-32768.4", -32768}, {"32768", std::nullopt},
        {"abc", std::nullopt}, {"-", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(textToInt16(c.text), c.expected) << c.text;
    EXPECT_EQ(textToInt32("2147483647"), 2147483647);
    EXPECT_FALSE(textToInt32("2147483648"));
}

TEST(NumberFormat, GeneralTextOfThresholdValues)
{
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {{0.0f, "0"},
                          {410.0f, "410"},
                          {0.5f, "0.5"},
                          {-2.5f, "-2.5"},
                          {1.1f, "1.1"},
                          {1234567.0f, "1234567"},
                          {12345678.0f, "1.234568E+07"},
                          {0.0001f, "0.0001"},
                          {0.00001f, "1E-05"},
                          {0.3f, "0.3"},
                          {3.4028235e38f, "3.402823E+38"},
                          {-1.5e-10f, "-1.5E-10"},
                          {2.2222222f, "2.222222"}};
    for (const Case& c : cases)
        EXPECT_EQ(generalText(c.value), c.expected) << c.value;
    EXPECT_EQ(generalText(std::int32_t{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(generalText(std::int32_t{65535}), "65535");
}
