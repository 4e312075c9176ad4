// Fault injection for the main program's file steps: opening, saving the image and saving the
// display when the converter is missing, is killed, or finds its temporary KSV file corrupt or
// short; and when the disk is full or the output cannot be created. Each gives its message, the
// image that was loaded stays loaded and can still be saved, and an earlier file at the output
// path keeps every byte. No converter report is left beside the images.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "ProgramState.h"
#include "RobustnessSupport.h"
#include "gFileOrg.h"

using namespace testsupport;
using namespace kestrova;

namespace {

const char* const kOpenFailed = "Error - when reading image from input file";
const char* const kSaveFailed = "Error - when writing image to output file";
const Bytes kEarlierOutput = {'e', 'a', 'r', 'l', 'i', 'e', 'r', '\r', '\n', 0, 255};

class MainProgramFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(work());
        std::filesystem::create_directories(images());
        std::filesystem::create_directories(stubs());
        state.workFolder = work();
        state.converterFolder = binDir();
        const char* path = std::getenv("PATH");
        savedPath_ = path != nullptr ? path : "";
        writeBytes(image("first.pgm"), robustness::pgmImage(5, 3));
        ASSERT_TRUE(OpenImage(state, image("first.pgm"), messages)) << testing::PrintToString(messages);
        ASSERT_TRUE(PrepareLoadedImage(state, messages));
        firstPixels = state.image.intPixels;
        messages.clear();
    }

    void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }

    std::string work() const { return dir.file("work"); }
    std::string images() const { return dir.file("images"); }
    std::string stubs() const { return dir.file("stubs"); }
    std::string image(const std::string& name) const { return images() + "/" + name; }

    // A stand-in converter: a tiny script under the converter's name, found before the real one.
    void stub(const std::string& name, const std::string& script)
    {
        const std::string path = stubs() + "/" + name;
        writeText(path, "#!/bin/sh\n" + script + "\n");
        ::chmod(path.c_str(), 0755);
        state.converterFolder = stubs();
    }

    // The first image is still loaded, with its name, and saves and reopens as it was.
    void expectFirstImageUsable(const std::string& what)
    {
        EXPECT_EQ(state.image.width, 5) << what;
        EXPECT_EQ(state.image.height, 3) << what;
        EXPECT_EQ(state.image.intPixels, firstPixels) << what;
        EXPECT_EQ(state.image.imageBaseName, "first") << what;
        EXPECT_EQ(state.image.imageExtension, ".pgm") << what;

        ProgramState copy;
        copy.workFolder = work();
        copy.converterFolder = binDir();
        copy.image = state.image;
        Messages saveMessages;
        TempDir other;
        ASSERT_TRUE(SaveImage(copy, other.file("again.pgm"), saveMessages)) << what;
        ASSERT_TRUE(OpenImage(copy, other.file("again.pgm"), saveMessages)) << what;
        EXPECT_EQ(copy.image.intPixels, firstPixels) << what;
    }

    // Only these names in the images folder.
    void expectImagesFolder(std::vector<std::string> names, const std::string& what)
    {
        std::sort(names.begin(), names.end());
        EXPECT_EQ(listFolder(images()), names) << what;
    }

    TempDir dir;
    ProgramState state;
    Messages messages;
    std::vector<std::int32_t> firstPixels;

private:
    std::string savedPath_;
};

struct FaultCase {
    const char* what;
    std::function<void()> arrange;
    Messages expected;
};

}  // namespace

TEST_F(MainProgramFaults, FailedOpenKeepsTheLoadedImage)
{
    const Bytes second = robustness::pgmImage(4, 4);
    const std::string emptyPath = dir.file("empty-path");
    std::filesystem::create_directories(emptyPath);
    const FaultCase cases[] = {
        {"converter missing",
         [&] {
             state.converterFolder = "";
             ::setenv("PATH", emptyPath.c_str(), 1);
         },
         {kOpenFailed}},
        {"converter killed", [this] { stub("pgm2ksv", "kill -KILL $$"); }, {kOpenFailed}},
        {"converter killed after part of its output",
         [this] { stub("pgm2ksv", "printf 'KSV V000\\r 8\\r 4\\r 4\\r' > \"$HLV_KSVOUTFN\"; kill -TERM $$"); },
         {kOpenFailed}},
        {"temporary KSV corrupt",
         [this] { stub("pgm2ksv", "printf 'P5\\n4 4\\n255\\n' > \"$HLV_KSVOUTFN\""); },
         {kOpenFailed}},
        {"temporary KSV shorter than its header",
         [this] { stub("pgm2ksv", "printf 'KSV V000\\r 8\\r 4' > \"$HLV_KSVOUTFN\""); },
         {kOpenFailed}},
        {"temporary KSV shorter than its pixels",
         [this] { stub("pgm2ksv", "head -c 300 \"" + dir.file("real.ksv") + "\" > \"$HLV_KSVOUTFN\""); },
         {"Error - when reading image from temporary KSV input fil"}},
    };
    writeBytes(dir.file("real.ksv"), robustness::ksvImage(4, 4));
    for (const FaultCase& c : cases) {
        writeBytes(image("second.pgm"), second);
        state.converterFolder = binDir();
        messages.clear();
        c.arrange();
        EXPECT_FALSE(OpenImage(state, image("second.pgm"), messages)) << c.what;
        TearDown();
        EXPECT_EQ(messages, c.expected) << c.what;
        EXPECT_EQ(readBytes(image("second.pgm")), second) << c.what;
        expectFirstImageUsable(c.what);
        expectImagesFolder({"first.pgm", "second.pgm"}, c.what);
    }
}

TEST_F(MainProgramFaults, FailedSaveLeavesTheEarlierFileAndTheImage)
{
    const std::string realKsv2pgm = program("ksv2pgm");
    const std::string emptyPath = dir.file("empty-path");
    std::filesystem::create_directories(emptyPath);
    writeText(dir.file("plain"), "not a folder");
    struct SaveCase {
        const char* what;
        std::string path;
        std::function<void()> arrange;
        Messages expected;
    };
    const SaveCase cases[] = {
        {"converter missing",
         image("out.pgm"),
         [&] {
             state.converterFolder = "";
             ::setenv("PATH", emptyPath.c_str(), 1);
         },
         {kSaveFailed}},
        {"converter killed", image("out.pgm"), [this] { stub("ksv2pgm", "kill -KILL $$"); }, {kSaveFailed}},
        {"temporary KSV corrupt before the converter reads it",
         image("out.pgm"),
         [&] {
             stub("ksv2pgm",
                  "printf 'XSV V000' | dd of=\"$HLV_KSVINFN\" conv=notrunc 2>/dev/null; exec \"" + realKsv2pgm + "\"");
         },
         {"Error - when reading image parameters from KSV input file"}},
        {"temporary KSV shorter than its header",
         image("out.pgm"),
         [&] { stub("ksv2pgm", "truncate -s 12 \"$HLV_KSVINFN\"; exec \"" + realKsv2pgm + "\""); },
         {"Error - when reading image parameters from KSV input file"}},
        {"temporary KSV shorter than its pixels",
         image("out.pgm"),
         [&] { stub("ksv2pgm", "truncate -s 270 \"$HLV_KSVINFN\"; exec \"" + realKsv2pgm + "\""); },
         {"Error - when reading image from KSV input file"}},
        {"work folder gone",
         image("out.pgm"),
         [this] { state.workFolder = dir.file("gone"); },
         {"Error - when opening temporary KSV file"}},
        {"output under a plain file", dir.file("plain/out.pgm"), [] {}, {"Error - when opening PGM output file"}},
        // A name with the extension, linked to the device: the converter writes the device in place.
        {"full disk", dir.file("full.pgm"), [] {}, {"Error - when closing PGM output file"}},
    };
    ASSERT_EQ(::symlink("/dev/full", dir.file("full.pgm").c_str()), 0);
    for (const SaveCase& c : cases) {
        writeBytes(image("out.pgm"), kEarlierOutput);
        state.converterFolder = binDir();
        state.workFolder = work();
        messages.clear();
        c.arrange();
        EXPECT_FALSE(SaveImage(state, c.path, messages)) << c.what;
        TearDown();
        state.workFolder = work();
        EXPECT_EQ(messages, c.expected) << c.what;
        EXPECT_EQ(readBytes(image("out.pgm")), kEarlierOutput) << c.what;
        expectFirstImageUsable(c.what);
        expectImagesFolder({"first.pgm", "out.pgm"}, c.what);
    }
}

TEST_F(MainProgramFaults, FailedDisplaySaveLeavesTheEarlierFile)
{
    const BitmapInfoHeader header = BitmapInfoHeader::forPicture(5, 3);
    const std::vector<std::uint8_t> picture(header.imageSize, 0x80);
    const FaultCase cases[] = {
        {"bitmap converter killed", [this] { stub("bmp2ksv", "kill -KILL $$"); }, {kSaveFailed}},
        {"PGM converter killed",
         [this] {
             stub("bmp2ksv", "exec \"" + program("bmp2ksv") + "\"");
             stub("ksv2pgm", "kill -KILL $$");
         },
         {kSaveFailed}},
        {"temporary KSV cut short between the two converters",
         [this] {
             stub("bmp2ksv", "exec \"" + program("bmp2ksv") + "\"");
             stub("ksv2pgm", "truncate -s 100 \"$HLV_KSVINFN\"; exec \"" + program("ksv2pgm") + "\"");
         },
         {"Error - when reading image from KSV input file"}},
    };
    for (const FaultCase& c : cases) {
        writeBytes(image("display.pgm"), kEarlierOutput);
        state.converterFolder = binDir();
        messages.clear();
        c.arrange();
        EXPECT_FALSE(SaveDisplay(state, header, picture, image("display.pgm"), messages)) << c.what;
        EXPECT_EQ(messages, c.expected) << c.what;
        EXPECT_EQ(readBytes(image("display.pgm")), kEarlierOutput) << c.what;
        expectFirstImageUsable(c.what);
        expectImagesFolder({"display.pgm", "first.pgm"}, c.what);
    }
}
