// Times the region histogram and the region display picture (thresholds, grey mapping, bitmap
// written) on a full-size region (6144 x 4096) and on a 6144 x 1000 band, for a 16-bit region,
// a region of wide 32-bit range (a background-subtracted 32-bit band) and a float region, each
// against a plain memory copy of the same element array. The processor time (both threads)
// shows the work itself on a machine that other programs keep busy.
//
//   bench_region [runs]     (default 7; the work folder is a fresh folder under TMP or /tmp)

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ProgramState.h"
#include "gDataHistogram.h"
#include "gDataRegionDisplay.h"
#include "gFileConvert.h"

using namespace kestrova;

namespace {

struct Timing {
    double seconds;     // median wall time
    double cpuSeconds;  // median processor time of the whole process (both threads)
};

Timing medianTiming(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        cpuTimes.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    return {bench::median(std::move(times)), bench::median(std::move(cpuTimes))};
}

enum class Kind { Int16, WideInt, Float };

const char* nameOf(Kind kind)
{
    switch (kind) {
    case Kind::Int16:
        return "16-bit";
    case Kind::WideInt:
        return "wide 32-bit";
    case Kind::Float:
        return "float";
    }
    return "";
}

// A spectrum-like band: a bright stripe over a sloping background, with some noise, in 0..1.
double sample(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 16777216.0;
    const double stripe = std::abs(y - height / 2) < height / 20 ? 0.6 : 0.0;
    return std::min(1.0, 0.1 + 0.2 * x / width + stripe + 0.1 * noise);
}

void fillRegion(RegionArray& region, Kind kind, std::int32_t width, std::int32_t height)
{
    region = RegionArray{};
    region.width = width;
    region.height = height;
    region.header = BitmapInfoHeader::forPicture(width, height);
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint32_t seed = 12345;
    const auto at = [&](std::size_t p) {
        return sample(static_cast<std::int32_t>(p % static_cast<std::size_t>(width)),
                      static_cast<std::int32_t>(p / static_cast<std::size_t>(width)), width, height, seed);
    };
    if (kind == Kind::Float) {
        region.floatPixels.resize(count);
        for (std::size_t p = 0; p < count; ++p)
            region.floatPixels[p] = static_cast<float>(1000.0 * at(p));
        const auto [lo, hi] = std::minmax_element(region.floatPixels.begin(), region.floatPixels.end());
        region.floatMin = *lo;
        region.floatMax = *hi;
        return;
    }
    const double scale = kind == Kind::Int16 ? 65535.0 : 4.0e9;
    const double shift = kind == Kind::Int16 ? 0.0 : -2.0e9;
    region.intPixels.resize(count);
    for (std::size_t p = 0; p < count; ++p)
        region.intPixels[p] = static_cast<std::int32_t>(shift + scale * at(p) * 0.999);
    const auto [lo, hi] = std::minmax_element(region.intPixels.begin(), region.intPixels.end());
    region.intMin = *lo;
    region.intMax = *hi;
}

struct Row {
    std::string name;
    Timing timing;
    double baseline;
};

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    const std::string folder = bench::temporaryFolder(workFolderFromEnvironment());
    if (folder.empty())
        return 1;

    struct Size {
        std::int32_t width;
        std::int32_t height;
        const char* name;
    };
    const Size sizes[] = {{6144, 4096, "6144 x 4096"}, {6144, 1000, "6144 x 1000"}};

    std::vector<Row> rows;
    bool ok = true;
    for (const Size& size : sizes) {
        for (const Kind kind : {Kind::Int16, Kind::WideInt, Kind::Float}) {
            const std::string label = std::string(size.name) + " " + nameOf(kind);
            ProgramState state;
            state.workFolder = folder;
            state.image.isFloat = kind == Kind::Float;
            fillRegion(state.region, kind, size.width, size.height);
            const PixelSource pixels = PixelSource::of(state.region, state.image.isFloat);

            // The baseline: one copy of the element array into memory already touched.
            const std::size_t bytes = pixels.count * 4;
            std::vector<unsigned char> copy(bytes, 1);
            const void* source = state.image.isFloat ? static_cast<const void*>(pixels.floatPixels)
                                                     : static_cast<const void*>(pixels.intPixels);
            const double memcpySeconds = medianTiming(runs, [&] { std::memcpy(copy.data(), source, bytes); }).seconds;

            const Timing histogram = medianTiming(runs, [&] { computeRegionHistogram(pixels, state.regionHistogram); });
            rows.push_back({label + ": region histogram", histogram, memcpySeconds});

            Messages messages;
            RefreshRegionPicture(state, messages);  // the buffer exists from here on, as in the window
            const Timing picture = medianTiming(runs, [&] {
                state.regionDisplay.thresholds =
                    RegionThresholdsFromPercent(pixels, state.regionHistogram, state.displayThresholds, 0.02f, 0.02f);
                ok = RefreshRegionPicture(state, messages) && ok;
            });
            rows.push_back({label + ": thresholds + RefreshRegionPicture", picture, memcpySeconds});
            for (const std::string& m : messages)
                std::fprintf(stderr, "%s\n", m.c_str());
        }
    }

    if (std::FILE* load = std::fopen("/proc/loadavg", "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, load) != nullptr)
            std::printf("load average: %s", line);
        std::fclose(load);
    }
    std::printf("%-58s %9s %9s %9s %9s\n", "operation", "median s", "cpu s", "memcpy s", "x memcpy");
    for (const Row& r : rows)
        std::printf("%-58s %9.4f %9.4f %9.4f %9.1f\n", r.name.c_str(), r.timing.seconds, r.timing.cpuSeconds,
                    r.baseline, r.timing.seconds / r.baseline);
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
