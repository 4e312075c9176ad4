// Fault injection for the six converters: a full disk, an output that cannot be created, an
// input that ends early or shrinks while it is read, a corrupt KSV file, a converter killed by a
// signal. Each fails with its table code, leaves an earlier file at the output path byte for
// byte as it was, and leaves no temporary file in the folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "ConverterMessages.h"
#include "ExitCodes.h"
#include "RobustnessSupport.h"

using namespace testsupport;
using namespace robustness;

namespace {

const Bytes kEarlierOutput = {'k', 'e', 'e', 'p', ' ', 'm', 'e', '\n', 0, 1, 2, 3};

std::string reportOf(int code)
{
    return std::string(*ksv::converterMessage(code)) + "\n\n";
}

class ConverterFaults : public ::testing::TestWithParam<ConverterCase> {
protected:
    void SetUp() override
    {
        if (!isBuilt(GetParam()))
            GTEST_SKIP() << GetParam().name << " is not built";
    }

    const ConverterCase& converter() const { return GetParam(); }
    std::string input() const { return dir.file(converter().inputName); }
    std::string output() const { return dir.file(converter().outputName); }

    // The folder holds the input and the earlier output, nothing else.
    void expectOutputUntouched(const std::string& what)
    {
        EXPECT_EQ(readBytes(output()), kEarlierOutput) << what;
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{converter().inputName, converter().outputName}))
            << what;
    }

    TempDir dir;
    TempDir other;  // for reports and files that must not be in `dir`
};

std::string caseName(const ::testing::TestParamInfo<ConverterCase>& info)
{
    return info.param.name;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(EveryConverter, ConverterFaults, ::testing::ValuesIn(converterCases()), caseName);

TEST_P(ConverterFaults, FullDiskGivesTheWriteOrCloseCode)
{
    writeBytes(input(), converter().input(300, 70));
    const RunResult r = run(arguments(converter(), input(), "/dev/full"));
    const auto& codes = converter().fullDiskCodes;
    EXPECT_NE(std::find(codes.begin(), codes.end(), r.exitCode), codes.end()) << "exit code " << r.exitCode;
    EXPECT_NE(r.standardError.find(*ksv::converterMessage(r.exitCode)), std::string::npos) << r.standardError;
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{converter().inputName});
}

TEST_P(ConverterFaults, OutputUnderAPlainFileCannotBeCreated)
{
    writeBytes(input(), converter().input(4, 3));
    writeBytes(output(), kEarlierOutput);
    writeText(other.file("plain"), "a file, not a folder");
    const RunResult r = run(arguments(converter(), input(), other.file("plain/") + converter().outputName));
    EXPECT_EQ(r.exitCode, converter().createCode);
    EXPECT_EQ(r.standardError.substr(r.standardError.size() - reportOf(r.exitCode).size()), reportOf(r.exitCode));
    EXPECT_EQ(listFolder(other.path()), std::vector<std::string>{"plain"});
}

TEST_P(ConverterFaults, FolderWithoutWritePermissionKeepsTheEarlierFile)
{
    if (runningAsRoot())
        GTEST_SKIP() << "running as root: permission bits do not stop writes (the plain-file case covers it)";
    writeBytes(input(), converter().input(4, 3));
    writeBytes(output(), kEarlierOutput);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const RunResult r = run(arguments(converter(), input(), output()));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(r.exitCode, converter().createCode);
    expectOutputUntouched("read-only folder");
}

TEST_P(ConverterFaults, InputCutShortFailsBeforeTouchingTheOutput)
{
    const Bytes whole = converter().input(40, 40);
    // Cut inside the first row of pixels, in the middle, and one byte before the end.
    const std::size_t header = converter().toKsv ? whole.size() - 40 * 40 * (converter().name[0] == 'f' ? 2 : 1) : 256;
    for (const std::size_t keep : {header + 1, whole.size() / 2 + header / 2, whole.size() - 1}) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<long>(keep));
        writeBytes(input(), cut);
        writeBytes(output(), kEarlierOutput);
        const RunResult r = run(arguments(converter(), input(), output()));
        // A FITS file is whole blocks of 2880 bytes: the last one missing is a short read too.
        EXPECT_EQ(r.exitCode, converter().shortInputCode) << "kept " << keep << " of " << whole.size();
        expectOutputUntouched("kept " + std::to_string(keep));
    }
}

TEST_P(ConverterFaults, InputShrinkingWhileReadGivesTheReadCode)
{
    const Bytes whole = converter().input(256, 256);
    writeBytes(input(), whole);
    writeBytes(output(), kEarlierOutput);
    pid_t pid = 0;
    int early = 0;
    const std::string report = other.file("stderr.txt");
    ASSERT_TRUE(startStalled(arguments(converter(), input(), output()), pid, early, report))
        << "ended with " << early << " before its first read after creating the output";
    // Now that the converter has checked the size and created its output, the file shrinks.
    ASSERT_EQ(::truncate(input().c_str(), 6000), 0);
    EXPECT_EQ(resume(pid, 0), converter().shortInputCode);
    EXPECT_NE(readText(report).find(reportOf(converter().shortInputCode)), std::string::npos) << readText(report);
    EXPECT_EQ(readBytes(output()), kEarlierOutput);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{converter().inputName, converter().outputName}));
}

TEST_P(ConverterFaults, InputRemovedWhileReadIsStillConvertedWhole)
{
    writeBytes(input(), converter().input(256, 256));
    writeBytes(other.file("reference"), converter().input(256, 256));
    writeBytes(output(), kEarlierOutput);
    pid_t pid = 0;
    int early = 0;
    ASSERT_TRUE(startStalled(arguments(converter(), input(), output()), pid, early, "")) << "ended with " << early;
    // The open file outlives its name: the conversion goes on with every byte.
    ASSERT_EQ(::unlink(input().c_str()), 0);
    EXPECT_EQ(resume(pid, 0), 0);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{converter().outputName});
    const Bytes converted = readBytes(output());
    EXPECT_NE(converted, kEarlierOutput);

    TempDir again;
    EXPECT_EQ(run(arguments(converter(), other.file("reference"), again.file(converter().outputName))).exitCode, 0);
    EXPECT_EQ(readBytes(again.file(converter().outputName)), converted);
}

TEST_P(ConverterFaults, KilledConverterLeavesNoTraceBesideTheOutput)
{
    for (const int signal : {SIGKILL, SIGTERM, SIGINT, SIGHUP}) {
        writeBytes(input(), converter().input(256, 256));
        writeBytes(output(), kEarlierOutput);
        pid_t pid = 0;
        int early = 0;
        ASSERT_TRUE(startStalled(arguments(converter(), input(), output()), pid, early, "")) << "ended with " << early;
        EXPECT_EQ(resume(pid, signal), 128 + signal) << strsignal(signal);
        if (signal == SIGKILL && std::string(converter().name) == "ksv2fit") {
            // The FITS library creates its file by name, so a process killed outright leaves
            // that one hidden temporary file; the output itself is untouched.
            EXPECT_EQ(readBytes(output()), kEarlierOutput);
            for (const std::string& name : listFolder(dir.path())) {
                if (name.rfind(".ksvout.", 0) == 0)
                    std::remove(dir.file(name).c_str());
            }
        }
        expectOutputUntouched(strsignal(signal));
    }
}

TEST_P(ConverterFaults, SignalIgnoredByTheParentStaysIgnored)
{
    writeBytes(input(), converter().input(64, 64));
    writeBytes(output(), kEarlierOutput);
    // Started as nohup starts it: hang-ups ignored, a disposition the converter inherits.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGHUP, &ignore, &previous);
    pid_t pid = 0;
    int early = 0;
    const bool stalled = startStalled(arguments(converter(), input(), output()), pid, early, "");
    ::sigaction(SIGHUP, &previous, nullptr);
    ASSERT_TRUE(stalled) << "ended with " << early;
    EXPECT_EQ(resume(pid, SIGHUP), 0);
    EXPECT_NE(readBytes(output()), kEarlierOutput);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{converter().inputName, converter().outputName}));
}

// The from-KSV converters read a temporary KSV file that another program wrote.
TEST(KsvInputFaults, CorruptOrShortTemporaryFileGivesItsCode)
{
    struct Case {
        const char* what;
        Bytes file;
        int code;
    };
    Bytes headerOnly = makeKsv("KSV V000\r 8\r 2\r 2\r 0\r 3\r", {});
    Bytes partHeader(headerOnly.begin(), headerOnly.begin() + 20);
    Bytes textOnly(headerOnly.begin(), headerOnly.begin() + 27);
    const Case cases[] = {
        {"empty file", {}, ksv::KsvParametersRead},
        {"magic wrong", makeKsv("KSV W000\r 8\r 2\r 2\r 0\r 3\r", {0, 1, 2, 3}), ksv::KsvParametersRead},
        {"a bitmap instead", bmpImage(2, 2), ksv::KsvParametersRead},
        {"field missing", makeKsv("KSV V000\r 8\r 2\r 2\r 0\r", {0, 1, 2, 3}), ksv::KsvParametersRead},
        {"field not a number", makeKsv("KSV V000\r 8\r two\r 2\r 0\r 3\r", {0, 1, 2, 3}), ksv::KsvParametersRead},
        {"negative width", makeKsv("KSV V000\r 8\r -2\r 2\r 0\r 3\r", {0, 1, 2, 3}), ksv::KsvParametersRead},
        {"header cut in a field", partHeader, ksv::KsvParametersRead},
        {"header text only, no padding", textOnly, ksv::KsvRead},
        {"no pixel block", headerOnly, ksv::KsvRead},
        {"one pixel short", makeKsv("KSV V000\r 8\r 2\r 2\r 0\r 3\r", {0, 1, 2}), ksv::KsvRead},
        {"size beyond any file", makeKsv("KSV V000\r 8\r 2147483647\r 2147483647\r 0\r 3\r", {0}), ksv::KsvRead},
    };
    for (const auto& c : converterCases()) {
        if (c.toKsv || !isBuilt(c))
            continue;
        for (const Case& k : cases) {
            TempDir dir;
            writeBytes(dir.file("Tmp.ksv"), k.file);
            writeBytes(dir.file(c.outputName), kEarlierOutput);
            const RunResult r = run(arguments(c, dir.file("Tmp.ksv"), dir.file(c.outputName)));
            EXPECT_EQ(r.exitCode, k.code) << c.name << ": " << k.what;
            EXPECT_EQ(r.standardError.substr(r.standardError.size() - reportOf(k.code).size()), reportOf(k.code))
                << c.name << ": " << k.what;
            EXPECT_EQ(readBytes(dir.file(c.outputName)), kEarlierOutput) << c.name << ": " << k.what;
            EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"Tmp.ksv", c.outputName}))
                << c.name << ": " << k.what;
        }
    }
}
