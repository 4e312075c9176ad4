#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "LogicFixture.h"
#include "gFileSettings.h"

using namespace kestrova;
using namespace testsupport;

namespace {

const std::string kReadFailed = "Error - when reading initial display settings filee";

}  // namespace

class Settings : public LogicTest {
protected:
    InitialThresholds initial;
    DisplayThresholds display;
};

TEST_F(Settings, RootFromAppDataThenXdgThenHome)
{
    ::setenv("AppData", "/a/b/", 1);
    EXPECT_EQ(settingsRootFromEnvironment(), "/a/b");
    ::unsetenv("AppData");
    ::setenv("XDG_CONFIG_HOME", "/x/config", 1);
    EXPECT_EQ(settingsRootFromEnvironment(), "/x/config");
    ::unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        EXPECT_EQ(settingsRootFromEnvironment(), std::string(home) + "/.config");
}

TEST_F(Settings, FirstStartCreatesFoldersAndTheDefaultFile)
{
    const std::string folder = StartSettings(settingsRootFromEnvironment(), initial, display, messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(folder, file("appdata") + "/Halvern Labs/Kestrova");
    EXPECT_EQ(readText(folder + "/InitialValues.txt"), " 1\r 0.02\r 1\r 0.02\r");
    EXPECT_TRUE(initial.lowerOn);
    EXPECT_EQ(initial.lowerText, "0.02");
    EXPECT_EQ(initial.lowerPercent, 0.02f);
    EXPECT_TRUE(display.upper.on);
    EXPECT_EQ(display.upper.percentText, "0.02");
    EXPECT_EQ(display.upper.percent, 0.02f);

    // A second start keeps the file that is there.
    writeText(folder + "/InitialValues.txt", " 0\r 5\r 1\r 2.5\r");
    StartSettings(settingsRootFromEnvironment(), initial, display, messages);
    EXPECT_EQ(readText(folder + "/InitialValues.txt"), " 0\r 5\r 1\r 2.5\r");
    EXPECT_FALSE(display.lower.on);
    EXPECT_EQ(display.lower.percent, 0.0f);
    EXPECT_EQ(display.lower.percentText, "5");
    EXPECT_EQ(display.upper.percent, 2.5f);
}

TEST_F(Settings, FolderThatCannotBeCreatedIsReported)
{
    writeText(file("blocked"), "a file, not a folder");
    StartSettings(file("blocked"), initial, display, messages);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], file("blocked") + "/Halvern Labs *not* created");
    EXPECT_EQ(messages[1], file("blocked") + "/Halvern Labs/Kestrova *not* created");
    EXPECT_EQ(messages[2], "Error - when writing initial display settings file");
    EXPECT_EQ(messages[3], kReadFailed);
    EXPECT_EQ(display.lower.percent, 0.02f);  // the defaults hold
}

TEST_F(Settings, ReadingTheFile)
{
    struct Case {
        const char* content;
        bool lowerOn;
        float lowerPercent;
        const char* lowerText;
        bool upperOn;
        float upperPercent;
        const char* upperText;
        bool fails;
    };
    const Case cases[] = {
        {" 1\r 0.02\r 1\r 0.02\r", true, 0.02f, "0.02", true, 0.02f, "0.02", false},
        {" 0\r 1.50\r 1\r 3.00\r", false, 0.0f, "1.50", true, 3.0f, "3.00", false},
        {"1\n7\r\n0\n8", true, 7.0f, "7", false, 0.0f, "8", false},  // LF, CR LF, no last line end
        {"1,4,1,6", true, 4.0f, "4", true, 6.0f, "6", false},
        {" 1\r 0.5\r", true, 0.02f, "0.02", true, 0.02f, "0.02", true},  // too short
        {" yes\r 1\r 1\r 1\r", true, 0.02f, "0.02", true, 0.02f, "0.02", true},
        {" 1\r lots\r 1\r 1\r", true, 0.02f, "lots", true, 0.02f, "1", true},
    };
    for (const Case& c : cases) {
        messages.clear();
        writeText(file("InitialValues.txt"), c.content);
        ReadInitialThresholds(file("InitialValues.txt"), initial, display, messages);
        EXPECT_EQ(messages.empty(), !c.fails) << c.content;
        if (c.fails)
            EXPECT_EQ(messages, Messages{kReadFailed});
        EXPECT_EQ(display.lower.on, c.lowerOn) << c.content;
        EXPECT_EQ(display.lower.percent, c.lowerPercent) << c.content;
        EXPECT_EQ(display.lower.percentText, c.lowerText) << c.content;
        EXPECT_EQ(display.upper.on, c.upperOn) << c.content;
        EXPECT_EQ(display.upper.percent, c.upperPercent) << c.content;
        EXPECT_EQ(display.upper.percentText, c.upperText) << c.content;
        if (!c.fails) {
            EXPECT_EQ(initial.lowerPercent, c.lowerPercent);
            EXPECT_EQ(initial.upperText, c.upperText);
        }
    }
    messages.clear();
    ReadInitialThresholds(file("absent.txt"), initial, display, messages);
    EXPECT_EQ(messages, Messages{kReadFailed});
}

TEST_F(Settings, WritingTheFileReplacesItWhole)
{
    initial.lowerOn = false;
    initial.lowerText = "59.99";
    initial.upperText = "40.00";
    ASSERT_TRUE(WriteInitialThresholds(file("InitialValues.txt"), initial, messages));
    EXPECT_EQ(readText(file("InitialValues.txt")), " 0\r 59.99\r 1\r 40.00\r");

    EXPECT_FALSE(WriteInitialThresholds(file("absent/InitialValues.txt"), initial, messages));
    EXPECT_EQ(messages, Messages{"Error - when writing initial display settings file"});
}

TEST(InitialThresholdsDialog, ValidationInOrder)
{
    struct Case {
        const char* lower;
        const char* upper;
        const char* message;
        const char* lowerText;
        const char* upperText;
    };
    const Case cases[] = {
        {"59.99", "40", "", "59.99", "40.00"},
        {"5", "0.02", "", "5.00", "0.02"},
        {"0", "0", "", "0.00", "0.00"},
        {" 1.005 ", "2", "", "1.01", "2.00"},
        {"60", "40", "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00", "", ""},
        {"abc", "x", "Error - Lower Threshold Value is not numeric", "", ""},
        {"", "1", "Error - Lower Threshold Value is not numeric", "", ""},
        {"1", "+-", "Error - Upper Threshold Value is not numeric", "", ""},
        {"-1", "5", "Error - Lower Threshold Value must be between 0.00 and 99.99", "", ""},
        {"5", "-0.5", "Error - Upper Threshold Value must be between O.00 and 99.99", "", ""},
        {"50", "50", "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00", "", ""},
        {"-50", "120", "Error - Lower Threshold Value must be between 0.00 and 99.99", "", ""},
        {"-20", "99.995", "Error - Lower Threshold Value must be between 0.00 and 99.99", "", ""},
    };
    for (const Case& c : cases) {
        const InitialThresholdsCheck check = validateInitialThresholds(c.lower, c.upper);
        EXPECT_EQ(check.message, c.message) << c.lower << " / " << c.upper;
        EXPECT_EQ(check.ok, std::string(c.message).empty());
        EXPECT_EQ(check.lowerText, c.lowerText);
        EXPECT_EQ(check.upperText, c.upperText);
    }
}

TEST(SettingsLines, ValuesSeparatedByAnyLineEndOrComma)
{
    testsupport::TempDir dir;
    writeText(dir.file("s.txt"), " a\r  b\n c\r\n d,e\r\r");
    EXPECT_EQ(readSettingsValues(dir.file("s.txt")), (std::vector<std::string>{"a", "b", "c", "d", "e", ""}));
    EXPECT_EQ(settingsLine("0.02"), " 0.02\r");
    EXPECT_FALSE(readSettingsValues(dir.file("absent.txt")));
}

TEST_F(Settings, SettingsFilesThatAreNoRegularFilesAreNotWaitedOn)
{
    // A FIFO named InitialValues.txt: start-up goes on with the reading failure and the defaults.
    const std::string folder = file("appdata/Halvern Labs/Kestrova");
    std::filesystem::create_directories(folder);
    ASSERT_EQ(::mkfifo(initialValuesPath(folder).c_str(), 0600), 0);
    StartSettings(file("appdata"), initial, display, messages);
    EXPECT_EQ(messages, Messages{kReadFailed});
    EXPECT_EQ(display.lower.percent, 0.02f);
    messages.clear();
    EXPECT_FALSE(WriteInitialThresholds(initialValuesPath(folder), initial, messages));
    struct stat info {};
    ASSERT_EQ(::lstat(initialValuesPath(folder).c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_FALSE(readSettingsValues(initialValuesPath(folder)));
    EXPECT_FALSE(readSettingsValues("/dev/zero"));
}
