#include "BatchOptions.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>

#include "gFileConvert.h"
#include "gFileOrg.h"

namespace kestrova::batch {

namespace {

constexpr int kMostJobs = 256;

bool hasImageExtension(const std::string& pattern)
{
    return !converterForSaving(SplitImagePath(pattern).extension).empty();
}

std::optional<int> jobsValue(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMostJobs)
        return std::nullopt;
    return value;
}

// The option's value: the text after "=" in "--name=value", else the next argument.
struct OptionReader {
    const std::vector<std::string>& arguments;
    std::size_t index = 0;
    std::string error;

    std::optional<std::string> value(const std::string& name, std::optional<std::string> attached)
    {
        if (attached)
            return attached;
        if (index + 1 >= arguments.size()) {
            error = "option " + name + " needs a value";
            return std::nullopt;
        }
        return arguments[++index];
    }
};

}  // namespace

bool BatchOptions::wantsAnalysis() const
{
    return !spectrumPattern.empty() || !profilePattern.empty() || !histogramPattern.empty() || !centroidFile.empty();
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    BatchOptions options;
    OptionReader reader{arguments, 0, {}};
    auto fail = [](std::string error) { return ParsedCommandLine{std::nullopt, std::move(error)}; };
    bool optionsEnded = false;
    for (; reader.index < arguments.size(); ++reader.index) {
        const std::string& argument = arguments[reader.index];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.images.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = argument;
        std::optional<std::string> attached;
        if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
            name = argument.substr(0, equals);
            attached = argument.substr(equals + 1);
        } else if (argument.starts_with("-j") && argument.size() > 2) {
            name = "-j";
            attached = argument.substr(2);
        }
        if (name == "--help" || name == "--version" || name == "-q" || name == "--quiet") {
            if (attached)
                return fail("option " + name + " takes no value");
            options.help = options.help || name == "--help";
            options.version = options.version || name == "--version";
            options.quiet = options.quiet || name == "-q" || name == "--quiet";
            continue;
        }
        std::string* text = nullptr;
        if (name == "--analysis")
            text = &options.analysisFile;
        else if (name == "--display")
            text = &options.displayFile;
        else if (name == "--spectrum")
            text = &options.spectrumPattern;
        else if (name == "--profile")
            text = &options.profilePattern;
        else if (name == "--histogram")
            text = &options.histogramPattern;
        else if (name == "--centroid")
            text = &options.centroidFile;
        else if (name == "--region-image")
            text = &options.regionImagePattern;
        else if (name == "--display-image")
            text = &options.displayImagePattern;
        else if (name != "--units" && name != "-j" && name != "--jobs")
            return fail("unknown option " + name);

        const auto value = reader.value(name, attached);
        if (!value)
            return fail(reader.error);
        if (value->empty())
            return fail("option " + name + " needs a value");
        if (text != nullptr) {
            *text = *value;
        } else if (name == "--units") {
            if (*value != "pixel" && *value != "wavelength")
                return fail("--units takes pixel or wavelength, not " + *value);
            options.units = *value == "pixel" ? Units::Pixel : Units::Wavelength;
        } else {
            const auto jobs = jobsValue(*value);
            if (!jobs)
                return fail(name + " takes a number from 1 to " + std::to_string(kMostJobs) + ", not " + *value);
            options.jobs = *jobs;
        }
    }
    if (options.help || options.version)
        return ParsedCommandLine{options, {}};
    if (options.images.empty())
        return fail("no image given");
    for (const std::string* pattern : {&options.regionImagePattern, &options.displayImagePattern}) {
        if (!pattern->empty() && !hasImageExtension(*pattern))
            return fail(*pattern + ": an image output ends in .bmp, .fit, .fts, .fits or .pgm");
    }
    return ParsedCommandLine{options, {}};
}

std::string expandPattern(std::string_view pattern, std::string_view image)
{
    const PathParts parts = SplitImagePath(image);
    // The folder without its trailing '/', "/" itself kept, "." for a bare name.
    const std::size_t folderLength = parts.folder.size() > 1 ? parts.folder.size() - 1 : parts.folder.size();
    const std::string folder = parts.folder.empty() ? std::string(1, '.') : parts.folder.substr(0, folderLength);
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.substr(i).starts_with("{name}")) {
            out += parts.baseName;
            i += 6;
        } else if (pattern.substr(i).starts_with("{dir}")) {
            out += folder;
            i += 5;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

FrameOutputs frameOutputsOf(const BatchOptions& options, const std::string& image)
{
    auto expand = [&image](const std::string& pattern) {
        return pattern.empty() ? std::string() : expandPattern(pattern, image);
    };
    return FrameOutputs{expand(options.spectrumPattern), expand(options.profilePattern),
                        expand(options.histogramPattern), expand(options.regionImagePattern),
                        expand(options.displayImagePattern)};
}

std::string outputClash(const BatchOptions& options)
{
    for (const std::string* pattern : {&options.spectrumPattern, &options.profilePattern, &options.histogramPattern,
                                       &options.regionImagePattern, &options.displayImagePattern}) {
        if (!pattern->empty() && options.images.size() > 1 && pattern->find("{name}") == std::string::npos)
            return *pattern + ": a pattern without {name} names one file for several frames";
    }
    // Names compared as files: relative to the current folder, links and "." / ".." resolved.
    auto fileOf = [](const std::string& path) {
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
        if (failed)
            return std::filesystem::path(path).lexically_normal().string();
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, failed);
        return failed ? absolute.lexically_normal().string() : resolved.string();
    };
    std::set<std::string> inputs;
    for (const std::string* path : {&options.analysisFile, &options.displayFile})
        if (!path->empty())
            inputs.insert(fileOf(*path));
    for (const std::string& image : options.images)
        inputs.insert(fileOf(image));
    std::set<std::string> names;
    auto clash = [&](const std::string& path) -> std::string {
        if (path.empty())
            return {};
        const std::string file = fileOf(path);
        if (inputs.contains(file))
            return path + ": an output would replace an input";
        if (!names.insert(file).second)
            return path + ": two outputs name the same file";
        return {};
    };
    if (std::string found = clash(options.centroidFile); !found.empty())
        return found;
    for (const std::string& image : options.images) {
        const FrameOutputs out = frameOutputsOf(options, image);
        for (const std::string* path :
             {&out.spectrum, &out.profile, &out.histogram, &out.regionImage, &out.displayImage}) {
            if (std::string found = clash(*path); !found.empty())
                return found;
        }
    }
    return {};
}

std::string usageText()
{
    return "Usage: kestrova-batch [OPTIONS] IMAGE...\n"
           "Applies the analyses of the Kestrova windows to every frame and writes their files.\n"
           "\n"
           "  --analysis FILE          analysis settings file (as Analysis Settings, Save As writes it)\n"
           "  --display FILE           display settings file (as Display Settings, Save As writes it)\n"
           "  --units pixel|wavelength X units of the spectrum values and the centroid wavelength\n"
           "  --spectrum PATTERN       the spectrum values file of each frame\n"
           "  --profile PATTERN        the profile values file of each frame\n"
           "  --histogram PATTERN      the histogram values file of each frame\n"
           "  --centroid FILE          one centroid table for the whole run\n"
           "  --region-image PATTERN   the analysis region (.bmp .fit .fts .fits .pgm)\n"
           "  --display-image PATTERN  the display picture at one pixel per image pixel\n"
           "  -j, --jobs N             frames converted and analysed at once (default: processors)\n"
           "  -q, --quiet              no progress line\n"
           "  --help, --version\n"
           "\n"
           "In a PATTERN, {name} is the frame's file name without its extension and {dir} its folder.\n"
           "Exit status: 0 every frame succeeded, 1 a frame failed, 2 a usage or settings error.\n";
}

}  // namespace kestrova::batch
