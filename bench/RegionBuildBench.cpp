// Times the build of the analysis region on a full-size image (6144 x 4096): two 6144 x 1000
// bands of a float image subtracted, and the whole image with region 2 off (float and integer),
// each run against a plain memory copy of the 100 MB pixel array timed right after it.
//
//   bench_region_build [runs]     (default 9)

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchSupport.h"
#include "ImageStore.h"
#include "RoIRecord.h"
#include "gDataRoI.h"

using namespace kestrova;

namespace {

constexpr std::int32_t kWidth = 6144;
constexpr std::int32_t kHeight = 4096;

using bench::milliseconds;

ImageStore makeImage(bool isFloat)
{
    ImageStore image;
    image.width = kWidth;
    image.height = kHeight;
    image.isFloat = isFloat;
    image.dataType = isFloat ? std::int16_t{-32} : std::int16_t{20};
    const auto count = static_cast<std::size_t>(image.pixelCount());
    std::uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 16;
    };
    if (isFloat) {
        image.floatPixels.resize(count);
        for (float& v : image.floatPixels)
            v = static_cast<float>(next()) / 65536.0f;
    } else {
        image.intPixels.resize(count);
        for (std::int32_t& v : image.intPixels)
            v = static_cast<std::int32_t>(next());
    }
    return image;
}

struct Timing {
    double buildMs;
    double copyMs;
    double ratio;  // median of the per-run ratios build / copy
};

// Each run times the build and, right after it, the memory copy, so that a load on the machine
// weighs on both alike; reports the medians.
Timing timeBuild(int runs, const ImageStore& image, const RoIRecord& roi, RegionArray& region, std::vector<float>& copy,
                 const std::vector<float>& source)
{
    std::vector<double> builds, copies, ratios;
    for (int i = 0; i < runs; ++i) {
        const double build = milliseconds([&]() {
            ResultFlags flags;
            BuildRegion(image, roi, flags, region);
        });
        const double copied =
            milliseconds([&]() { std::memcpy(copy.data(), source.data(), copy.size() * sizeof(float)); });
        builds.push_back(build);
        copies.push_back(copied);
        ratios.push_back(build / copied);
    }
    return {bench::median(std::move(builds)), bench::median(std::move(copies)), bench::median(std::move(ratios))};
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const ImageStore floatImage = makeImage(true);
    const ImageStore intImage = makeImage(false);

    std::vector<float> copy(floatImage.floatPixels.size());
    const std::vector<float>& source = floatImage.floatPixels;

    RoIRecord bands;
    bands.RoI1On = bands.RoI2On = true;
    bands.Subtract = true;
    bands.RoI1 = {1, 1001, kWidth, 2000};
    bands.RoI2 = {1, 2501, kWidth, 3500};
    RoIRecord whole;
    whole.RoI1 = RoIRect::whole(kWidth, kHeight);
    whole.RoI2 = whole.RoI1;

    RegionArray region;  // one region array, rebuilt as the program rebuilds it
    const Timing bandsTime = timeBuild(runs, floatImage, bands, region, copy, source);
    const Timing wholeFloat = timeBuild(runs, floatImage, whole, region, copy, source);
    const Timing wholeInt = timeBuild(runs, intImage, whole, region, copy, source);

    std::printf("BuildRegion, %d x %d, median of %d runs, each against a memcpy of the 100 MB pixel array\n", kWidth,
                kHeight, runs);
    const auto line = [](const char* what, const Timing& t) {
        std::printf("  %-40s %8.2f ms   memcpy %7.2f ms   %.2fx memcpy\n", what, t.buildMs, t.copyMs, t.ratio);
    };
    line("float, two 6144 x 1000 bands, subtract", bandsTime);
    line("float, whole image, region 2 off", wholeFloat);
    line("integer, whole image, region 2 off", wholeInt);
    return 0;
}
