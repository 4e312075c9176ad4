// Times the spectrum, profile and centroid of a band of a full-size image (6144 x 4096), float
// and 32-bit integer, against plain column sums of the same band in the same run.
//
//   bench_analysis [runs]     (default 9)

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ProgramState.h"
#include "gDataCentroid.h"
#include "gDataProjection.h"

using namespace kestrova;

namespace {

constexpr std::int32_t kWidth = 6144;
constexpr std::int32_t kHeight = 4096;
constexpr std::int32_t kBandHeight = 1000;

using bench::medianSeconds;

void fillImage(ImageStore& image, bool isFloat)
{
    image.width = kWidth;
    image.height = kHeight;
    image.isFloat = isFloat;
    const auto count = static_cast<std::size_t>(image.pixelCount());
    std::uint32_t seed = 12345;
    for (std::size_t p = 0; p < count; ++p) {
        const double v = bench::spectrumSample(static_cast<std::int32_t>(p % kWidth),
                                               static_cast<std::int32_t>(p / kWidth), kWidth, kHeight, seed);
        if (isFloat)
            image.floatPixels.push_back(static_cast<float>(1000.0 * v));
        else
            image.intPixels.push_back(static_cast<std::int32_t>(1.0e6 * v));
    }
}

// The region of rows bottom..bottom + height - 1, copied as the program builds it.
RegionArray bandOf(const ImageStore& image, std::int32_t bottom, std::int32_t height)
{
    RegionArray region;
    region.width = image.width;
    region.height = height;
    region.builtRoI1 = {1, bottom, image.width, bottom + height - 1};
    const auto begin = static_cast<std::size_t>(bottom - 1) * static_cast<std::size_t>(image.width);
    const auto end = begin + static_cast<std::size_t>(height) * static_cast<std::size_t>(image.width);
    if (image.isFloat)
        region.floatPixels.assign(image.floatPixels.begin() + static_cast<std::ptrdiff_t>(begin),
                                  image.floatPixels.begin() + static_cast<std::ptrdiff_t>(end));
    else
        region.intPixels.assign(image.intPixels.begin() + static_cast<std::ptrdiff_t>(begin),
                                image.intPixels.begin() + static_cast<std::ptrdiff_t>(end));
    return region;
}

// The baseline: the column sums of the region, nothing else.
template <typename T>
void plainColumnSums(const std::vector<T>& pixels, std::int32_t width, std::int32_t height, std::vector<double>& sums)
{
    sums.assign(static_cast<std::size_t>(width), 0.0);
    for (std::int32_t r = 0; r < height; ++r) {
        const T* row = pixels.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
        for (std::int32_t c = 0; c < width; ++c)
            sums[static_cast<std::size_t>(c)] += static_cast<double>(row[c]);
    }
}

struct Row {
    std::string name;
    double seconds;
    double baseline;
};

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::vector<Row> rows;
    double checksum = 0.0;
    for (const bool isFloat : {true, false}) {
        const std::string kind = isFloat ? "float" : "32-bit";
        ImageStore image;
        fillImage(image, isFloat);
        const double lower = isFloat ? 0.0 : 0.0;
        const double upper = isFloat ? 1.0e30 : 2.0e9;
        for (const std::int32_t height : {kBandHeight, kHeight}) {
            const RegionArray region = bandOf(image, height == kHeight ? 1 : 1500, height);
            std::vector<double> sums;
            const double baseline = medianSeconds(runs, [&] {
                if (isFloat)
                    plainColumnSums(region.floatPixels, region.width, region.height, sums);
                else
                    plainColumnSums(region.intPixels, region.width, region.height, sums);
                checksum += sums[0];
            });
            Projections projections;
            CentroidResult centroid;
            const ProjectionInput input{image, region, lower, upper, false, true};
            const double all = medianSeconds(runs, [&] {
                ResultFlags flags;
                ComputeColumnProjection(input, flags, projections);
                ComputeRowProjection(input, flags, projections);
                ComputeCentroid(projections, {lower, upper}, flags, centroid);
                checksum += centroid.centroidX;
            });
            const std::string size = "6144 x " + std::to_string(height);
            rows.push_back({kind + ": spectrum + profile + centroid, " + size, all, baseline});
        }
    }
    std::printf("%-52s %10s %10s %10s\n", "operation", "median ms", "sums ms", "x sums");
    for (const Row& r : rows)
        std::printf("%-52s %10.2f %10.2f %10.2f\n", r.name.c_str(), 1e3 * r.seconds, 1e3 * r.baseline,
                    r.seconds / r.baseline);
    std::printf("(checksum %g)\n", checksum);
    return 0;
}
