// The folder named by TMP is shared with other users and other running copies of the program:
// what they leave there (links, FIFOs, files of their own under the program's temporary names)
// changes nothing outside the program's private folder and disturbs nothing, and two copies
// working at once never see each other's files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ProgramState.h"
#include "RobustnessSupport.h"
#include "gFileOrg.h"
#include "gFileWorkFolder.h"

using namespace testsupport;
using namespace kestrova;

namespace {

enum class Planted { Link, Fifo, ForeignFile };

void plant(Planted kind, const std::string& path, const std::string& victim)
{
    switch (kind) {
    case Planted::Link:
        ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0);
        break;
    case Planted::Fifo:
        ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
        break;
    case Planted::ForeignFile:
        writeText(path, "someone else's");
        break;
    }
}

void expectUnchanged(Planted kind, const std::string& path, const std::string& victim)
{
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0) << path;
    switch (kind) {
    case Planted::Link:
        EXPECT_EQ(std::filesystem::read_symlink(path).string(), victim);
        break;
    case Planted::Fifo:
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << path;
        break;
    case Planted::ForeignFile:
        EXPECT_EQ(readText(path), "someone else's");
        break;
    }
}

// Sets TMP for the length of a scope.
class SharedTmp {
public:
    explicit SharedTmp(const std::string& folder)
    {
        const char* old = std::getenv("TMP");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        ::setenv("TMP", folder.c_str(), 1);
    }
    ~SharedTmp()
    {
        if (had_)
            ::setenv("TMP", old_.c_str(), 1);
        else
            ::unsetenv("TMP");
    }

private:
    bool had_ = false;
    std::string old_;
};

// Opens, redraws and saves an image `rounds` times in a private folder of its own; the number of
// steps that failed or gave another image.
int workOnOwnImage(const std::string& folder, int width, int rounds)
{
    Messages messages;
    PrivateWorkFolder work(messages);
    ProgramState state;
    state.workFolder = work.path();
    state.converterFolder = binDir();
    const std::string image = folder + "/image" + std::to_string(width) + ".pgm";
    const std::string saved = folder + "/saved" + std::to_string(width) + ".pgm";
    writeBytes(image, robustness::pgmImage(width, 3));
    int failures = messages.empty() && !work.path().empty() ? 0 : 1;
    std::vector<std::int32_t> expected;
    for (int round = 0; round < rounds; ++round) {
        if (!OpenImage(state, image, messages) || state.image.width != width)
            ++failures;
        if (round == 0)
            expected = state.image.intPixels;
        else if (state.image.intPixels != expected)
            ++failures;
        const auto header = BitmapInfoHeader::forPicture(width, 3);
        const std::vector<std::uint8_t> picture(header.imageSize, static_cast<std::uint8_t>(width));
        if (!WriteDisplayBitmap(state.workFolder, header, picture, messages) ||
            readBytes(state.workFolder + "/Pic.Bmp").size() != 54u + header.imageSize ||
            readBytes(state.workFolder + "/Pic.Bmp").back() != width)
            ++failures;
        if (!SaveImage(state, saved, messages) || !OpenImage(state, saved, messages) ||
            state.image.intPixels != expected)
            ++failures;
    }
    return failures + static_cast<int>(messages.size());
}

}  // namespace

TEST(SharedWorkFolder, PlantedNamesChangeNothingAndDisturbNothing)
{
    const char* const names[] = {"Tmp.ksv", "Pic.Bmp", "Tmp.bmp"};
    const Planted kinds[] = {Planted::Link, Planted::Fifo, Planted::ForeignFile};
    for (int round = 0; round < 3; ++round) {
        TempDir dir;
        const std::string shared = dir.file("shared");
        std::filesystem::create_directories(shared);
        writeText(dir.file("victim.txt"), "the victim's own file");
        for (int i = 0; i < 3; ++i)
            plant(kinds[(i + round) % 3], shared + "/" + names[i], dir.file("victim.txt"));

        SharedTmp tmp(shared);
        Messages messages;
        PrivateWorkFolder work(messages);
        ProgramState state;
        state.workFolder = work.path();
        state.converterFolder = binDir();
        writeBytes(dir.file("in.pgm"), robustness::pgmImage(5, 4));
        EXPECT_TRUE(OpenImage(state, dir.file("in.pgm"), messages));
        const auto header = BitmapInfoHeader::forPicture(5, 4);
        const std::vector<std::uint8_t> picture(header.imageSize, 0x20);
        EXPECT_TRUE(WriteDisplayBitmap(state.workFolder, header, picture, messages));
        EXPECT_TRUE(SaveImage(state, dir.file("out.pgm"), messages));
        EXPECT_TRUE(SaveDisplay(state, header, picture, dir.file("shown.pgm"), messages));
        EXPECT_TRUE(messages.empty()) << testing::PrintToString(messages);

        EXPECT_EQ(readText(dir.file("victim.txt")), "the victim's own file");
        for (int i = 0; i < 3; ++i)
            expectUnchanged(kinds[(i + round) % 3], shared + "/" + names[i], dir.file("victim.txt"));
    }
}

TEST(SharedWorkFolder, TwoRunningCopiesKeepTheirOwnImages)
{
    TempDir dir;
    const std::string shared = dir.file("shared");
    std::filesystem::create_directories(shared);
    SharedTmp tmp(shared);
    std::vector<pid_t> copies;
    for (const int width : {4, 7}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(std::min(workOnOwnImage(dir.path(), width, 50), 100));
        copies.push_back(child);
    }
    for (const pid_t child : copies) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "failed or mixed-up steps";
    }
    EXPECT_TRUE(listFolder(shared).empty());  // each copy removed its folder
}
