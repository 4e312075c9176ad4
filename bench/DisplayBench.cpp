// Times the display pipeline and the opening of a FITS file on full-size images (6144 x 4096),
// float and 16-bit, each against a plain memory copy of the same pixel array.
//
//   bench_display [runs]     (default 7; the work folder is a fresh folder under TMP or /tmp)

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ProgramState.h"
#include "gDataOrg.h"
#include "gFileConvert.h"
#include "gFileOrg.h"

using namespace kestrova;

namespace {

constexpr std::int32_t kWidth = 6144;
constexpr std::int32_t kHeight = 4096;

using bench::medianSeconds;

void fillImage(ImageStore& image, bool isFloat)
{
    image.width = kWidth;
    image.height = kHeight;
    image.isFloat = isFloat;
    image.dataType = isFloat ? std::int16_t{-32} : std::int16_t{20};
    const auto count = static_cast<std::size_t>(image.pixelCount());
    std::uint32_t seed = 12345;
    if (isFloat) {
        image.floatPixels.resize(count);
        for (std::size_t p = 0; p < count; ++p)
            image.floatPixels[p] = static_cast<float>(
                1000.0 * bench::spectrumSample(static_cast<std::int32_t>(p % kWidth),
                                               static_cast<std::int32_t>(p / kWidth), kWidth, kHeight, seed));
        const auto [lo, hi] = std::minmax_element(image.floatPixels.begin(), image.floatPixels.end());
        image.floatMin = *lo;
        image.floatMax = *hi;
    } else {
        image.intPixels.resize(count);
        for (std::size_t p = 0; p < count; ++p)
            image.intPixels[p] = static_cast<std::int32_t>(
                65535.0 *
                std::min(1.0, bench::spectrumSample(static_cast<std::int32_t>(p % kWidth),
                                                    static_cast<std::int32_t>(p / kWidth), kWidth, kHeight, seed)));
        const auto [lo, hi] = std::minmax_element(image.intPixels.begin(), image.intPixels.end());
        image.intMin = *lo;
        image.intMax = *hi;
    }
    image.dibHeader = BitmapInfoHeader::forPicture(kWidth, kHeight);
}

struct Row {
    std::string name;
    double seconds;
    double baseline;
};

void print(const std::vector<Row>& rows)
{
    std::printf("%-52s %10s %10s %12s\n", "operation (6144 x 4096)", "median s", "memcpy s", "x memcpy");
    for (const Row& r : rows)
        std::printf("%-52s %10.4f %10.4f %12.1f\n", r.name.c_str(), r.seconds, r.baseline, r.seconds / r.baseline);
}

bool fail(const Messages& messages)
{
    for (const std::string& m : messages)
        std::fprintf(stderr, "%s\n", m.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    const std::string folder = bench::temporaryFolder(workFolderFromEnvironment());
    if (folder.empty())
        return 1;

    std::vector<Row> rows;
    bool ok = true;
    for (const bool isFloat : {true, false}) {
        const char* kind = isFloat ? "float" : "16-bit";
        ProgramState state;
        state.workFolder = folder;
        state.converterFolder = executableFolder();
        fillImage(state.image, isFloat);

        // The baseline: one copy of the pixel array into memory already touched.
        const std::size_t bytes = static_cast<std::size_t>(state.image.pixelCount()) * 4;
        std::vector<unsigned char> copy(bytes, 1);
        const void* source = isFloat ? static_cast<const void*>(state.image.floatPixels.data())
                                     : static_cast<const void*>(state.image.intPixels.data());
        const double memcpySeconds = medianSeconds(runs, [&] { std::memcpy(copy.data(), source, bytes); });

        Messages messages;
        state.displayThresholds.lower.on = state.displayThresholds.upper.on = true;
        const PixelSource pixels = PixelSource::of(state.image);
        RefreshDisplay(state, messages);  // the display buffer exists from here on, as in the program

        DisplayHistogram histogram{};
        const double binning = medianSeconds(runs, [&] { BuildDisplayHistogram(pixels, histogram); });
        rows.push_back({std::string(kind) + ":   of which BuildDisplayHistogram", binning, memcpySeconds});
        const double greys =
            medianSeconds(runs, [&] { RenderDisplayBuffer(pixels, state.displayThresholds, state.displayBuffer); });
        rows.push_back({std::string(kind) + ":   of which RenderDisplayBuffer", greys, memcpySeconds});

        const double mapping = medianSeconds(runs, [&] {
            ThresholdsFromPercent(pixels, 0.02f, 0.02f, state.displayThresholds);
            RenderDisplayBuffer(pixels, state.displayThresholds, state.displayBuffer);
        });
        rows.push_back({std::string(kind) + ": histogram + thresholds + grey mapping", mapping, memcpySeconds});

        const double refresh = medianSeconds(runs, [&] {
            ThresholdsFromPercent(pixels, 0.02f, 0.02f, state.displayThresholds);
            ok = RefreshDisplay(state, messages) && ok;
        });
        rows.push_back({std::string(kind) + ": ThresholdsFromPercent + RefreshDisplay", refresh, memcpySeconds});

        const std::string fits = folder + (isFloat ? "/frame32.fits" : "/frame16.fits");
        if (converterProgram(state.converterFolder, "fit2ksv").find('/') == std::string::npos) {
            std::printf("(fit2ksv is not beside this program: OpenImage not timed)\n");
        } else if (!SaveImage(state, fits, messages)) {
            ok = fail(messages);
        } else {
            ProgramState opener;
            opener.workFolder = folder;
            opener.converterFolder = state.converterFolder;
            const double open = medianSeconds(runs, [&] { ok = OpenImage(opener, fits, messages) && ok; });
            rows.push_back({std::string(kind) + ": OpenImage of a FITS file", open, memcpySeconds});
        }
        if (!ok)
            fail(messages);
    }
    print(rows);
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
