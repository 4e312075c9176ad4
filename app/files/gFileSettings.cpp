#include "gFileSettings.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "NumberFormat.h"
#include "RegularFile.h"
#include "SafeOutput.h"
#include "gFileConvert.h"

namespace kestrova {

namespace {

constexpr const char* kReadFailed = "Error - when reading initial display settings filee";
constexpr const char* kWriteFailed = "Error - when writing initial display settings file";
constexpr long kLargestSettingsFile = 65536;

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string homeFolder()
{
    std::string home = readEnvironment("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

std::string trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return std::string(text);
}

std::optional<bool> flagValue(const std::string& text)
{
    const auto value = numericValue(text);
    if (!value)
        return std::nullopt;
    return *value != 0.0;
}

// Applies one side's switch to both records. False when an On side's text is no number.
bool applySide(bool on, const std::string& text, float& initialPercent, ThresholdSide& display)
{
    if (!on) {
        display.on = false;
        display.percent = 0.0f;
        initialPercent = 0.0f;
        return true;
    }
    const auto percent = textToFloat(text);
    if (!percent)
        return false;
    display.on = true;
    display.percent = *percent;
    initialPercent = *percent;
    return true;
}

}  // namespace

std::string settingsRootFromEnvironment()
{
    std::string root = readEnvironment("AppData");
    if (root.empty())
        root = readEnvironment("XDG_CONFIG_HOME");
    if (root.empty()) {
        const std::string home = homeFolder();
        root = home.empty() ? workFolderFromEnvironment() : home + "/.config";
    }
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

bool EnsureFolder(const std::string& path)
{
    if (!isFolder(path))
        ::mkdir(path.c_str(), 0755);
    return isFolder(path);
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string initialValuesPath(const std::string& settingsFolder)
{
    return settingsFolder + "/" + kInitialValuesFileName;
}

std::string StartSettings(const std::string& root, InitialThresholds& initial, DisplayThresholds& display,
                          Messages& messages)
{
    // The platform's configuration folder itself may not exist yet on a fresh account.
    std::error_code ignored;
    if (!root.empty() && !isFolder(root))
        std::filesystem::create_directories(root, ignored);
    const std::string maker = root + "/Halvern Labs";
    if (!EnsureFolder(maker))
        messages.push_back(maker + " *not* created");
    const std::string folder = maker + "/Kestrova";
    if (!EnsureFolder(folder))
        messages.push_back(folder + " *not* created");
    LoadInitialThresholds(folder, initial, display, messages);
    return folder;
}

void LoadInitialThresholds(const std::string& settingsFolder, InitialThresholds& initial, DisplayThresholds& display,
                           Messages& messages)
{
    const std::string path = initialValuesPath(settingsFolder);
    // Written from the defaults only when nothing at all has the name: a FIFO or a device there
    // gives the reading failure instead.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        WriteInitialThresholds(path, InitialThresholds{}, messages);
    ReadInitialThresholds(path, initial, display, messages);
}

void LoadInitialThresholds(const FileContext& context, InitialThresholds& initial, DisplayThresholds& display,
                           Messages& messages)
{
    LoadInitialThresholds(context.settingsFolder, initial, display, messages);
}

void ReadInitialThresholds(const std::string& path, InitialThresholds& initial, DisplayThresholds& display,
                           Messages& messages)
{
    initial = InitialThresholds{};
    display.lower.on = initial.lowerOn;
    display.lower.percentText = initial.lowerText;
    display.lower.percent = initial.lowerPercent;
    display.upper.on = initial.upperOn;
    display.upper.percentText = initial.upperText;
    display.upper.percent = initial.upperPercent;

    const auto values = readSettingsValues(path);
    if (!values) {
        messages.push_back(kReadFailed);
        return;
    }
    auto fail = [&messages]() { messages.push_back(kReadFailed); };
    const std::vector<std::string>& v = *values;
    if (v.empty())
        return fail();
    const auto lowerOn = flagValue(v[0]);
    if (!lowerOn)
        return fail();
    initial.lowerOn = *lowerOn;
    if (v.size() < 2)
        return fail();
    initial.lowerText = v[1];
    if (v.size() < 3)
        return fail();
    const auto upperOn = flagValue(v[2]);
    if (!upperOn)
        return fail();
    initial.upperOn = *upperOn;
    if (v.size() < 4)
        return fail();
    initial.upperText = v[3];

    display.lower.percentText = initial.lowerText;
    display.upper.percentText = initial.upperText;
    if (!applySide(initial.lowerOn, initial.lowerText, initial.lowerPercent, display.lower))
        return fail();
    if (!applySide(initial.upperOn, initial.upperText, initial.upperPercent, display.upper))
        return fail();
}

bool WriteInitialThresholds(const std::string& path, const InitialThresholds& initial, Messages& messages)
{
    const std::string text = settingsLine(initial.lowerOn ? "1" : "0") + settingsLine(initial.lowerText) +
                             settingsLine(initial.upperOn ? "1" : "0") + settingsLine(initial.upperText);
    // Only a regular file (or a new one) takes the values; a FIFO would block the program.
    struct stat info {};
    const bool replaceable = ::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
    ksv::SafeOutput output;
    if (!replaceable || !output.create(path) ||
        std::fwrite(text.data(), 1, text.size(), output.stream()) != text.size() || !output.commit()) {
        output.abandon();
        messages.push_back(kWriteFailed);
        return false;
    }
    return true;
}

InitialThresholdsCheck validateInitialThresholds(const std::string& lowerText, const std::string& upperText)
{
    InitialThresholdsCheck check;
    const auto lower = numericValue(lowerText);
    if (!lower) {
        check.message = "Error - Lower Threshold Value is not numeric";
        return check;
    }
    const auto upper = numericValue(upperText);
    if (!upper) {
        check.message = "Error - Upper Threshold Value is not numeric";
        return check;
    }
    if (*lower + *upper >= 100.0) {
        check.message = "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00";
        return check;
    }
    if (*lower < 0.0 || *lower > 99.99) {
        check.message = "Error - Lower Threshold Value must be between 0.00 and 99.99";
        return check;
    }
    if (*upper < 0.0 || *upper > 99.99) {
        check.message = "Error - Upper Threshold Value must be between O.00 and 99.99";
        return check;
    }
    check.ok = true;
    check.lowerText = formatNumber(*lower, "#0.00");
    check.upperText = formatNumber(*upper, "#0.00");
    return check;
}

std::string settingsLine(const std::string& value)
{
    return " " + value + "\r";
}

std::optional<std::vector<std::string>> readSettingsValues(const std::string& path)
{
    std::FILE* file = openRegularStream(path);
    if (file == nullptr)
        return std::nullopt;
    std::string content;
    char buffer[4096];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        content.append(buffer, n);
        if (content.size() > static_cast<std::size_t>(kLargestSettingsFile)) {
            ok = false;
            break;
        }
        if (n < sizeof buffer) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    if (!ok)
        return std::nullopt;

    std::vector<std::string> values;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < content.size()) {
        const char c = content[i];
        if (c == '\r' || c == '\n' || c == ',') {
            values.push_back(trimmed(std::string_view(content).substr(start, i - start)));
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
                ++i;  // CR LF ends one line
            start = i + 1;
        }
        ++i;
    }
    if (start < content.size())
        values.push_back(trimmed(std::string_view(content).substr(start)));
    return values;
}

}  // namespace kestrova
