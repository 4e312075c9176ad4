#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "LogicFixture.h"
#include "gFileWorkFolder.h"

using namespace kestrova;
using namespace testsupport;

namespace {

// A process id that is certainly not running: a child that has ended and been collected.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

std::string folderName(uid_t uid, pid_t pid, const char* tail = "abcdef")
{
    return "kestrova-" + std::to_string(uid) + "-" + std::to_string(pid) + "-" + tail;
}

}  // namespace

TEST_F(LogicTest, PrivateWorkFolderIsOwnAndGoneAtTheEnd)
{
    std::string path;
    {
        PrivateWorkFolder folder(messages);
        path = folder.path();
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(path.substr(0, dir.path().size() + 1), dir.path() + "/");
        const std::string ownPrefix = folderName(::getuid(), ::getpid(), "");
        EXPECT_EQ(path.substr(dir.path().size() + 1, ownPrefix.size()), ownPrefix);
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        writeText(path + "/Tmp.ksv", "left over");
    }
    EXPECT_FALSE(fileExists(path));
}

TEST_F(LogicTest, LeftoversOfEndedProgramsOfThisUserAreRemoved)
{
    const uid_t me = ::getuid();
    const pid_t ended = endedProcess();
    const std::string dead = folderName(me, ended);
    const std::string running = folderName(me, ::getppid());
    const std::string otherUser = folderName(me + 1, ended);
    const std::string notOurs = "kestrova-notes";
    for (const std::string& name : {dead, running, otherUser, notOurs}) {
        std::filesystem::create_directories(file(name));
        writeText(file(name) + "/Pic.Bmp", "x");
    }
    // A link with a leftover's name is not followed into the folder it names.
    std::filesystem::create_directories(file("precious"));
    writeText(file("precious/keep.txt"), "keep");
    ASSERT_EQ(::symlink(file("precious").c_str(), file(folderName(me, ended, "linked")).c_str()), 0);

    removeLeftoverFolders(dir.path());
    EXPECT_FALSE(fileExists(file(dead)));
    for (const std::string& name : {running, otherUser, notOurs})
        EXPECT_TRUE(fileExists(file(name) + "/Pic.Bmp")) << name;
    EXPECT_EQ(readText(file("precious/keep.txt")), "keep");
}

TEST_F(LogicTest, UnusableTmpIsNamedAndTheNextFolderServes)
{
    ::setenv("TMP", file("absent").c_str(), 1);
    ::setenv("TMPDIR", file("second").c_str(), 1);
    std::filesystem::create_directories(file("second"));
    EXPECT_EQ(workFolderCandidates(), (std::vector<std::string>{file("absent"), file("second"), "/tmp"}));
    PrivateWorkFolder folder(messages);
    EXPECT_EQ(messages, Messages{"Error - cannot create work folder in " + file("absent")});
    EXPECT_EQ(folder.path().substr(0, file("second").size()), file("second"));
    ::unsetenv("TMPDIR");
}
