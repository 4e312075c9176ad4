#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"

using namespace testsupport;

namespace {

Bytes smallPgm()
{
    return Bytes{'P', '5', '\n', '2', ' ', '1', '\n', '2', '5', '5', '\n', 4, 5};
}

Bytes smallKsv()
{
    return makeKsv("KSV V000\r 8\r 2\r 1\r 4\r 5\r", {4, 5});
}

}  // namespace

TEST(ConverterFrame, ArgumentCountDecidesWhetherToRun)
{
    TempDir dir;
    writeBytes(dir.file("a.pgm"), smallPgm());
    writeBytes(dir.file("a.ksv"), smallKsv());

    // Two arguments: a to-KSV converter refuses silently, a from-KSV converter converts.
    RunResult r = run({program("pgm2ksv"), dir.file("a.pgm"), dir.file("b.ksv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.standardError, "");
    EXPECT_FALSE(fileExists(dir.file("b.ksv")));
    r = run({program("ksv2pgm"), dir.file("a.ksv"), dir.file("b.pgm")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(fileExists(dir.file("b.pgm")));

    // Counts that no converter takes.
    for (const auto& argv : {std::vector<std::string>{program("ksv2pgm"), "a"},
                             std::vector<std::string>{program("ksv2pgm"), "a", "b", "c", "d"},
                             std::vector<std::string>{program("pgm2ksv"), "a", "b", "c", "d", "e"}}) {
        r = run(argv);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.standardError, "");
    }
}

TEST(ConverterFrame, FailureReportGoesToTheChosenChannel)
{
    TempDir dir;
    const std::string missing = dir.file("missing.pgm");

    // Four arguments: to-KSV reports on standard error and ignores the third.
    RunResult r = run({program("pgm2ksv"), missing, dir.file("o.ksv"), dir.file("third.txt")});
    EXPECT_EQ(r.exitCode, 33);
    EXPECT_EQ(r.standardError, "Error - when opening PGM input file\n\n");
    EXPECT_FALSE(fileExists(dir.file("third.txt")));

    // Five arguments: the fourth names the error file, written with CR LF line ends.
    r = run({program("pgm2ksv"), missing, dir.file("o.ksv"), "x", dir.file("err5.txt")});
    EXPECT_EQ(r.exitCode, 33);
    EXPECT_EQ(r.standardError, "");
    EXPECT_EQ(readText(dir.file("err5.txt")), "Error - when opening PGM input file\r\n\r\n");

    // From-KSV with three names: the third is the error file.
    r = run({program("ksv2pgm"), dir.file("missing.ksv"), dir.file("o.pgm"), dir.file("err3.txt")});
    EXPECT_EQ(r.exitCode, 41);
    EXPECT_EQ(readText(dir.file("err3.txt")), "Error - when opening KSV input file\r\n\r\n");
}

TEST(ConverterFrame, EnvironmentNamesAndErrorFileLifeCycle)
{
    TempDir dir;
    writeBytes(dir.file("a.pgm"), smallPgm());
    writeText(dir.file("a_error.txt"), "left from an earlier failure");
    const std::map<std::string, std::string> names = {{"HLV_INFN", dir.file("a.pgm")},
                                                      {"HLV_KSVOUTFN", dir.file("Tmp.ksv")},
                                                      {"HLV_ERROUTFN", dir.file("a_error.txt")}};

    RunResult r = run({program("pgm2ksv")}, names);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(fileExists(dir.file("Tmp.ksv")));
    EXPECT_FALSE(fileExists(dir.file("a_error.txt")));

    r = run({program("ksv2pgm")}, {{"HLV_KSVINFN", dir.file("Tmp.ksv")},
                                   {"HLV_OUTFN", dir.file("back.pgm")},
                                   {"HLV_ERROUTFN", dir.file("back_error.txt")}});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(fileExists(dir.file("back.pgm")));
    EXPECT_FALSE(fileExists(dir.file("back_error.txt")));

    auto failing = names;
    failing["HLV_INFN"] = dir.file("gone.pgm");
    r = run({program("pgm2ksv")}, failing);
    EXPECT_EQ(r.exitCode, 33);
    EXPECT_EQ(r.standardError, "");
    EXPECT_EQ(readText(dir.file("a_error.txt")), "Error - when opening PGM input file\r\n\r\n");

    // Variables that are not set read as names that cannot be opened.
    r = run({program("ksv2pgm")}, {{"PATH", "/usr/bin:/bin"}}, true);
    EXPECT_EQ(r.exitCode, 41);
}

TEST(ConverterFrame, WriteFailuresKeepTheEarlierFile)
{
    TempDir dir;
    writeBytes(dir.file("a.pgm"), smallPgm());
    writeBytes(dir.file("a.ksv"), smallKsv());

    // A full disk: the device is written in place and the failure is reported.
    RunResult r = run({program("pgm2ksv"), dir.file("a.pgm"), "/dev/full", "x"});
    EXPECT_TRUE(r.exitCode == 44 || r.exitCode == 46 || r.exitCode == 50) << r.exitCode;
    r = run({program("ksv2pgm"), dir.file("a.ksv"), "/dev/full"});
    EXPECT_TRUE(r.exitCode == 36 || r.exitCode == 38) << r.exitCode;

    // A folder that does not exist cannot take the output.
    r = run({program("ksv2pgm"), dir.file("a.ksv"), dir.file("no/such/folder/a.pgm")});
    EXPECT_EQ(r.exitCode, 35);
    r = run({program("pgm2ksv"), dir.file("a.pgm"), dir.file("no/such/folder/a.ksv"), "x"});
    EXPECT_EQ(r.exitCode, 43);
}

TEST(ConverterFrame, SuccessfulRunReplacesTheOutputAndKeepsItsMode)
{
    TempDir dir;
    writeBytes(dir.file("a.ksv"), smallKsv());
    writeText(dir.file("out.pgm"), "old contents");
    ASSERT_EQ(::chmod(dir.file("out.pgm").c_str(), 0640), 0);
    ASSERT_EQ(run({program("ksv2pgm"), dir.file("a.ksv"), dir.file("out.pgm")}).exitCode, 0);
    EXPECT_NE(readText(dir.file("out.pgm")), "old contents");
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("out.pgm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a.ksv", "out.pgm"}));
}

TEST(ConverterFrame, ErrorFileThatIsTheInputOrTheOutputIsNotUsed)
{
    struct Case {
        const char* what;
        const char* errorName;  // in the folder; a link when linkTo is set
        const char* linkTo;
        const char* input;
    };
    const Case cases[] = {
        {"the output", "out.pgm", nullptr, "in.ksv"},
        {"the input", "in.ksv", nullptr, "in.ksv"},
        {"a link to the input", "link.txt", "in.ksv", "in.ksv"},
        {"a link to the output", "link.txt", "out.pgm", "in.ksv"},
        {"a hard link to the input", "hard.txt", nullptr, "in.ksv"},
        {"the output, failing", "out.pgm", nullptr, "missing.ksv"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeBytes(dir.file("in.ksv"), smallKsv());
        writeText(dir.file("out.pgm"), "earlier output");
        if (c.linkTo != nullptr)
            ASSERT_EQ(::symlink(dir.file(c.linkTo).c_str(), dir.file(c.errorName).c_str()), 0);
        if (std::string(c.errorName) == "hard.txt")
            ASSERT_EQ(::link(dir.file("in.ksv").c_str(), dir.file("hard.txt").c_str()), 0);
        const bool fails = std::string(c.input) == "missing.ksv";
        const RunResult r = run({program("ksv2pgm"), dir.file(c.input), dir.file("out.pgm"), dir.file(c.errorName)});
        EXPECT_EQ(r.exitCode, fails ? 41 : 0) << c.what;
        EXPECT_EQ(r.standardError, fails ? "Error - when opening KSV input file\n\n" : "") << c.what;
        EXPECT_EQ(readBytes(dir.file("in.ksv")), smallKsv()) << c.what;
        if (fails)
            EXPECT_EQ(readText(dir.file("out.pgm")), "earlier output") << c.what;
        else
            EXPECT_EQ(readText(dir.file("out.pgm")).substr(0, 2), "P5") << c.what;
        EXPECT_TRUE(fileExists(dir.file(c.errorName))) << c.what;
    }
}
