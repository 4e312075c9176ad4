// KSV files whose range lies at the edges of the number types. ksv2pgm once converted a float
// image's scale divisor to a 64-bit integer, undefined for a maximum near the float limit (found
// by fuzzing); the sanitizer build turns any such conversion into a failure here.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RobustnessSupport.h"

using namespace testsupport;
using namespace robustness;

TEST(ExtremeRanges, FromKsvConvertersMapEveryRange)
{
    struct Case {
        const char* what;
        Bytes ksv;
        int pgmSampleOfLast;  // the last pixel in the 16-bit PGM
    };
    const std::string biggest = "340282346638528859811704183484516925440.000000";
    const Case cases[] = {
        {"float maximum at the limit",
         makeKsvFloat("KSV V000\r -32\r 2\r 1\r 0.000000\r " + biggest + "\r", {0.0f, 3.4028234663852886e38f}), 65535},
        {"float range over the whole line",
         makeKsvFloat("KSV V000\r -64\r 2\r 1\r -" + biggest + "\r " + biggest + "\r",
                      {-3.4028234663852886e38f, 3.4028234663852886e38f}),
         65535},
        {"integer range over all 32 bits",
         makeKsv("KSV V000\r 32\r 2\r 1\r -2147483648\r 2147483647\r", {-2147483647 - 1, 2147483647}), 65535},
    };
    for (const Case& c : cases) {
        for (const auto& converter : converterCases()) {
            if (converter.toKsv || !isBuilt(converter))
                continue;
            TempDir dir;
            writeBytes(dir.file("in.ksv"), c.ksv);
            const RunResult r = run(arguments(converter, dir.file("in.ksv"), dir.file(converter.outputName)));
            EXPECT_EQ(r.exitCode, 0) << converter.name << ": " << c.what << "\n" << r.standardError;
            if (std::string(converter.name) == "ksv2pgm" && r.exitCode == 0) {
                const Bytes pgm = readBytes(dir.file("out.pgm"));
                ASSERT_GE(pgm.size(), 2u);
                EXPECT_EQ(pgm[pgm.size() - 2] * 256 + pgm[pgm.size() - 1], c.pgmSampleOfLast) << c.what;
            }
        }
    }
}
