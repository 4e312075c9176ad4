#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "LogicFixture.h"
#include "gFileConvert.h"

using namespace kestrova;
using namespace testsupport;

namespace {

// Sets or clears an environment variable for the length of a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace

TEST(WorkFolder, TmpThenTmpdirThenSlashTmp)
{
    struct Case {
        const char* tmp;
        const char* tmpdir;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/work", "/other", "/data/work"},
        {"/data/work/", nullptr, "/data/work"},
        {nullptr, "/other", "/other"},
        {"", "/other", "/other"},
        {nullptr, nullptr, "/tmp"},  // never the file-system root
        {"", "", "/tmp"},
    };
    for (const Case& c : cases) {
        ScopedEnv tmp("TMP", c.tmp);
        ScopedEnv tmpdir("TMPDIR", c.tmpdir);
        EXPECT_EQ(workFolderFromEnvironment(), c.expected);
    }
    EXPECT_EQ(temporaryKsvPath("/w"), "/w/Tmp.ksv");
    EXPECT_EQ(temporaryBitmapPath("/w"), "/w/Pic.Bmp");
}

TEST(ConverterNames, ByLowerCasedExtension)
{
    const char* const cases[][3] = {
        {".bmp", "bmp2ksv", "ksv2bmp"},
        {".BMP", "bmp2ksv", "ksv2bmp"},
        {".fit", "fit2ksv", "ksv2fit"},
        {".fts", "fit2ksv", "ksv2fit"},
        {".fits", "fit2ksv", "ksv2fit"},
        {".FITS", "fit2ksv", "ksv2fit"},
        {".pgm", "pgm2ksv", "ksv2pgm"},
        {".png", "", ""},
        {".gz", "", ""},
        {"", "", ""},
        {".fitsx", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(converterForOpening(c[0]), c[1]) << c[0];
        EXPECT_EQ(converterForSaving(c[0]), c[2]) << c[0];
    }
}

TEST_F(LogicTest, ConverterFoundBesideTheProgramBeforePath)
{
    EXPECT_EQ(converterProgram(binDir(), "pgm2ksv"), binDir() + "/pgm2ksv");
    // Not beside the program: the bare name, for the search along PATH.
    EXPECT_EQ(converterProgram(file("nowhere"), "pgm2ksv"), "pgm2ksv");
    EXPECT_EQ(converterProgram("", "pgm2ksv"), "pgm2ksv");
    EXPECT_EQ(executableFolder(), binDir());
}

TEST_F(LogicTest, RunAndWaitReportsExitCodes)
{
    writeStub("exits7", "exit 7");
    writeStub("killsitself", "kill -9 $$");
    EXPECT_EQ(RunAndWait(stubFolder() + "/exits7"), 7);
    EXPECT_EQ(RunAndWait(stubFolder() + "/killsitself"), 128 + 9);  // outside the message table
    EXPECT_EQ(RunAndWait(file("no-such-program")), -1);
    EXPECT_EQ(RunAndWait("kestrova-no-such-program-anywhere"), -1);

    // A bare name is found along PATH.
    ScopedEnv path("PATH", stubFolder().c_str());
    EXPECT_EQ(RunAndWait("exits7"), 7);
}

TEST_F(LogicTest, ConvertSetsTheVariablesOfEachDirection)
{
    const std::string seen = file("seen.txt");
    writeStub("show", "printf '%s|%s|%s|%s|%s' \"$HLV_INFN\" \"$HLV_KSVOUTFN\" \"$HLV_KSVINFN\" \"$HLV_OUTFN\" "
                      "\"$HLV_ERROUTFN\" > '" +
                          seen + "'");
    ScopedEnv clear1("HLV_INFN", nullptr);
    ScopedEnv clear2("HLV_KSVOUTFN", nullptr);
    ScopedEnv clear3("HLV_KSVINFN", nullptr);
    ScopedEnv clear4("HLV_OUTFN", nullptr);

    ConvertRequest toKsv{ConvertDirection::ToKsv, stubFolder() + "/show", "/w/Tmp.ksv", "/d/a.b.fits",
                         "/d/a.b_error.txt"};
    int code = -2;
    EXPECT_EQ(Convert(toKsv, messages, &code), ConvertResult::Success);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readText(seen), "/d/a.b.fits|/w/Tmp.ksv|||/d/a.b_error.txt");

    ::unsetenv("HLV_INFN");
    ::unsetenv("HLV_KSVOUTFN");
    ConvertRequest fromKsv{ConvertDirection::FromKsv, stubFolder() + "/show", "/w/Tmp.ksv", "/o/r.pgm",
                           "/o/r_error.txt"};
    EXPECT_EQ(Convert(fromKsv, messages), ConvertResult::Success);
    EXPECT_EQ(readText(seen), "||/w/Tmp.ksv|/o/r.pgm|/o/r_error.txt");
    EXPECT_TRUE(messages.empty());
}

TEST_F(LogicTest, ConvertMapsExitCodesToTheTable)
{
    struct Case {
        std::string script;
        ConvertResult result;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"exit 0", ConvertResult::Success, {}},
        {"exit 43", ConvertResult::ReportedFailure, {"Error - when opening KSV output file"}},
        {"exit 5", ConvertResult::ReportedFailure, {"Error - when opening FITS input file"}},
        {"exit 50", ConvertResult::ReportedFailure, {"Error - when setting file position in KSV output file"}},
        {"exit 51", ConvertResult::UnknownFailure, {}},
        {"kill -SEGV $$", ConvertResult::UnknownFailure, {}},
    };
    for (const Case& c : cases) {
        writeStub("conv", c.script);
        messages.clear();
        ConvertRequest request{ConvertDirection::ToKsv, stubFolder() + "/conv", file("Tmp.ksv"), file("x.pgm"),
                               file("x_error.txt")};
        EXPECT_EQ(Convert(request, messages), c.result) << c.script;
        EXPECT_EQ(messages, c.messages) << c.script;
    }
    messages.clear();
    ConvertRequest missing{ConvertDirection::ToKsv, file("missing"), file("Tmp.ksv"), file("x.pgm"),
                           file("x_error.txt")};
    int code = 0;
    EXPECT_EQ(Convert(missing, messages, &code), ConvertResult::UnknownFailure);
    EXPECT_EQ(code, -1);
    EXPECT_TRUE(messages.empty());
}

namespace {

// Stands in for the wait dialog: asks to stop after a number of polls.
class CancellingObserver : public ConverterWaitObserver {
public:
    explicit CancellingObserver(int polls) : polls_(polls) {}
    void converterStarted(const std::string& fileName) override { started.push_back(fileName); }
    bool keepWaiting() override { return ++asked < polls_; }
    void converterEnded() override { ++ended; }

    std::vector<std::string> started;
    int asked = 0;
    int ended = 0;

private:
    int polls_;
};

}  // namespace

TEST_F(LogicTest, CancelledConverterIsEndedWithWhatItStarted)
{
    struct Case {
        const char* script;
        int exitCode;
    };
    const Case cases[] = {
        {"sleep 1000; exit 0", 128 + SIGTERM},
        {"trap '' TERM; sleep 1000; sleep 1000", 128 + SIGKILL},  // deaf to SIGTERM, children too
    };
    for (const Case& c : cases) {
        writeStub("slow", std::string("echo $$ > '") + file("pid") + "'; " + c.script);
        CancellingObserver observer(25);
        ConverterWaitObserver* previous = setConverterWaitObserver(&observer);
        const int code = RunAndWait(stubFolder() + "/slow", "run7.fits");
        setConverterWaitObserver(previous);
        EXPECT_EQ(code, c.exitCode) << c.script;
        EXPECT_EQ(observer.started, std::vector<std::string>{"run7.fits"});
        EXPECT_EQ(observer.ended, 1);
        const pid_t group = static_cast<pid_t>(std::stol(readText(file("pid"))));
        EXPECT_TRUE(processGroupEnds(group)) << c.script;  // no process left behind
    }

    // A converter that ends by itself is simply waited for; a cancelled Convert fails as a crash does.
    writeStub("quick", "exit 3");
    CancellingObserver patient(1000000);
    setConverterWaitObserver(&patient);
    EXPECT_EQ(RunAndWait(stubFolder() + "/quick"), 3);
    writeStub("slow", "sleep 1000");
    CancellingObserver impatient(2);
    setConverterWaitObserver(&impatient);
    ConvertRequest request{ConvertDirection::ToKsv, stubFolder() + "/slow", file("Tmp.ksv"), "/d/run7.pgm",
                           file("run7_error.txt")};
    EXPECT_EQ(Convert(request, messages), ConvertResult::UnknownFailure);
    EXPECT_EQ(impatient.started, std::vector<std::string>{"run7.pgm"});
    setConverterWaitObserver(nullptr);
}

TEST_F(LogicTest, ErrorFilesInTheWorkFolderAndTheirReports)
{
    const std::string longBase(250, 'n');
    EXPECT_EQ(workErrorFilePath("/w", "/d/a.b.fits"), "/w/a.b_error.txt");
    EXPECT_EQ(workErrorFilePath("/w", "/d/" + longBase + ".pgm"), "/w/" + longBase.substr(0, 245) + "_error.txt");

    writeText(file("report.txt"), "could not open the named file\r\nError - when opening FITS input file\r\n\r\n");
    EXPECT_EQ(readConverterReport(file("report.txt")),
              "could not open the named file\nError - when opening FITS input file");
    ASSERT_EQ(::symlink(file("report.txt").c_str(), file("link.txt").c_str()), 0);
    EXPECT_EQ(readConverterReport(file("link.txt")), "");  // never through a link
    EXPECT_EQ(readConverterReport(file("absent.txt")), "");
}
