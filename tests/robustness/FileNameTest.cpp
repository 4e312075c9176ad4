// File names that a shell would misread (blanks, quotes, semicolons, substitutions, a leading
// dash, non-ASCII letters, bytes that are no UTF-8, names as long as the file system allows) go
// through every converter, on the command line and in the environment, and through opening and
// saving in the main program, exactly as they are.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ProgramState.h"
#include "RobustnessSupport.h"
#include "gFileOrg.h"

using namespace testsupport;
using namespace robustness;

namespace {

// Base names, each given the format's extension.
const std::vector<std::string> kAwkwardNames = {
    "two  words",
    "it's \"quoted\"",
    "semi;colon & pipe | end",
    "dollar $(touch made-by-shell) `touch made-by-backtick` ${HOME}",
    "-x",
    "--help",
    "Spëktrum µm Ångström ü",
    "star * question ? [brackets]",
    "caf\xE9 from an old archive",
};

struct Pair {
    const char* toKsv;
    const char* fromKsv;
    const char* extension;
    Bytes (*input)(int width, int height);
};

const Pair kPairs[] = {
    {"pgm2ksv", "ksv2pgm", ".pgm", pgmImage},
    {"bmp2ksv", "ksv2bmp", ".bmp", bmpImage},
    {"fit2ksv", "ksv2fit", ".fits", fitsImage},
};

Bytes pixelBlock(const Bytes& ksvFile)
{
    return Bytes(ksvFile.begin() + 256, ksvFile.end());
}

bool built(const char* name)
{
    return fileExists(program(name));
}

}  // namespace

TEST(AwkwardFileNames, GoThroughEveryConverterUnharmed)
{
    for (const Pair& pair : kPairs) {
        if (!built(pair.toKsv) || !built(pair.fromKsv))
            continue;
        for (const std::string& base : kAwkwardNames) {
            const std::string what = std::string(pair.toKsv) + " with \"" + base + "\"";
            TempDir dir;
            const std::string source = base + pair.extension;
            const std::string ksvName = base + ".ksv";
            const std::string output = base + " back" + pair.extension;
            writeBytes(dir.file(source), pair.input(6, 5));

            // Command line, relative to the working folder: a leading dash is protected by "./".
            ASSERT_EQ(runIn(dir.path(), {program(pair.toKsv), "./" + source, "./" + ksvName, "ignored"}), 0) << what;
            // Environment, absolute names, an error file of the same kind.
            ASSERT_EQ(runIn(dir.path(), {program(pair.fromKsv)},
                            {{"HLV_KSVINFN", dir.file(ksvName)},
                             {"HLV_OUTFN", dir.file(output)},
                             {"HLV_ERROUTFN", dir.file(base + "_error.txt")}}),
                      0)
                << what;
            // And back to KSV from the command line with absolute names: the same pixels.
            ASSERT_EQ(runIn(dir.path(), {program(pair.toKsv), dir.file(output), dir.file("check.ksv"), "ignored"}), 0)
                << what;
            EXPECT_EQ(pixelBlock(readBytes(dir.file("check.ksv"))), pixelBlock(readBytes(dir.file(ksvName)))) << what;

            std::vector<std::string> expected = {source, ksvName, output, "check.ksv"};
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(listFolder(dir.path()), expected) << what;  // nothing made by a shell, nothing half-named

            // A failure report lands in the error file of exactly that name.
            std::filesystem::remove(dir.file(source));
            EXPECT_NE(runIn(dir.path(), {program(pair.toKsv)},
                            {{"HLV_INFN", dir.file(source)},
                             {"HLV_KSVOUTFN", dir.file(ksvName)},
                             {"HLV_ERROUTFN", dir.file(base + "_error.txt")}}),
                      0)
                << what;
            EXPECT_TRUE(fileExists(dir.file(base + "_error.txt"))) << what;
        }
    }
}

TEST(AwkwardFileNames, OpenAndSaveInTheMainProgram)
{
    for (const std::string& base : kAwkwardNames) {
        TempDir dir;
        kestrova::ProgramState state;
        kestrova::Messages messages;
        std::filesystem::create_directories(dir.file("work"));
        state.workFolder = dir.file("work");
        state.converterFolder = binDir();
        writeBytes(dir.file(base + ".pgm"), pgmImage(4, 3));
        ASSERT_TRUE(kestrova::OpenImage(state, dir.file(base + ".pgm"), messages)) << base;
        ASSERT_TRUE(kestrova::PrepareLoadedImage(state, messages)) << base;
        EXPECT_EQ(state.image.imageBaseName, base);
        const std::vector<std::int32_t> pixels = state.image.intPixels;

        for (const char* extension : {".fits", ".bmp", ".pgm"}) {
            const std::string saved = dir.file(base + " saved" + extension);
            ASSERT_TRUE(kestrova::SaveImage(state, saved, messages)) << base << extension;
            EXPECT_EQ(state.image.imageBaseName, base + " saved");
            kestrova::ProgramState reopened;
            reopened.workFolder = state.workFolder;
            reopened.converterFolder = binDir();
            ASSERT_TRUE(kestrova::OpenImage(reopened, saved, messages)) << base << extension;
            EXPECT_EQ(reopened.image.intPixels, pixels) << base << extension;
        }
        const auto header = kestrova::BitmapInfoHeader::forPicture(4, 3);
        const std::vector<std::uint8_t> picture(header.imageSize, 0x40);
        ASSERT_TRUE(kestrova::SaveDisplay(state, header, picture, dir.file(base + " display.pgm"), messages)) << base;

        std::vector<std::string> expected = {base + ".pgm",       base + " saved.fits",  base + " saved.bmp",
                                             base + " saved.pgm", base + " display.pgm", "work"};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(listFolder(dir.path()), expected) << base;
        EXPECT_TRUE(messages.empty()) << testing::PrintToString(messages);
    }
}

TEST(LongestFileNames, GoThroughEveryConverterAndTheMainProgram)
{
    for (const Pair& pair : kPairs) {
        if (!built(pair.toKsv) || !built(pair.fromKsv))
            continue;
        TempDir dir;
        const std::string extension = pair.extension;
        const std::string longest = dir.file(std::string(255 - extension.size(), 'n') + extension);
        const std::string longestKsv = dir.file(std::string(251, 'k') + ".ksv");
        writeBytes(dir.file("in" + extension), pair.input(6, 5));
        ASSERT_EQ(runIn(dir.path(), {program(pair.toKsv), dir.file("in" + extension), longestKsv, "x"}), 0)
            << pair.toKsv;
        ASSERT_EQ(runIn(dir.path(), {program(pair.fromKsv), longestKsv, longest}), 0) << pair.fromKsv;
        ASSERT_EQ(runIn(dir.path(), {program(pair.toKsv), longest, dir.file("check.ksv"), "x"}), 0) << pair.toKsv;
        EXPECT_EQ(pixelBlock(readBytes(dir.file("check.ksv"))), pixelBlock(readBytes(longestKsv))) << pair.toKsv;

        // Opening and saving under such names in the main program.
        kestrova::ProgramState state;
        kestrova::Messages messages;
        std::filesystem::create_directories(dir.file("work"));
        state.workFolder = dir.file("work");
        state.converterFolder = binDir();
        ASSERT_TRUE(kestrova::OpenImage(state, longest, messages)) << testing::PrintToString(messages);
        const std::vector<std::int32_t> pixels = state.image.intPixels;
        std::filesystem::remove(longest);
        ASSERT_TRUE(kestrova::SaveImage(state, longest, messages)) << testing::PrintToString(messages);
        ASSERT_TRUE(kestrova::OpenImage(state, longest, messages));
        EXPECT_EQ(state.image.intPixels, pixels) << pair.extension;
        EXPECT_TRUE(listFolder(dir.file("work")).empty());
    }
}
