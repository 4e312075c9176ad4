#pragma once

// The command line of kestrova-batch: its options, the output names a pattern gives each frame,
// and the checks made before any frame is touched.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::batch {

enum class Units { AsOpened, Pixel, Wavelength };

struct BatchOptions {
    std::string analysisFile;  // "" when absent
    std::string displayFile;
    Units units = Units::AsOpened;
    std::string spectrumPattern;
    std::string profilePattern;
    std::string histogramPattern;
    std::string centroidFile;
    std::string regionImagePattern;
    std::string displayImagePattern;
    int jobs = 0;  // 0: the number of processors
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> images;

    // True when the frame's analysis (projections, histogram or centroid) is asked for.
    bool wantsAnalysis() const;
};

struct ParsedCommandLine {
    std::optional<BatchOptions> options;
    std::string error;  // the usage error when options is empty
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// A pattern with {name} (the file name without its extension) and {dir} (its folder, "." for a
// bare name) replaced for one frame.
std::string expandPattern(std::string_view pattern, std::string_view image);

// The outputs of one frame, "" for those not asked for.
struct FrameOutputs {
    std::string spectrum;
    std::string profile;
    std::string histogram;
    std::string regionImage;
    std::string displayImage;
};
FrameOutputs frameOutputsOf(const BatchOptions& options, const std::string& image);

// The usage error of a run whose outputs clash: a pattern without {name} over several frames,
// two outputs (the centroid table included) naming the same file, or an output naming a frame
// or a settings file of the run. "" when none.
std::string outputClash(const BatchOptions& options);

// The text of --help.
std::string usageText();

}  // namespace kestrova::batch
