// Makes the bundled sample: a synthetic spectrometer frame with wavelength along X.
//
//   kestrova_make_sample FOLDER
//       writes FOLDER/spectrum.pgm (16-bit binary PGM, 1024 x 384) and FOLDER/SpecCal.txt:
//       a band of rows crossed by mercury and neon emission lines over a weak continuum, on a
//       sloping dark background, with photon and read noise and a few cosmic-ray hits.
//   kestrova_make_sample --ksv-float WIDTH HEIGHT FILE.ksv
//       writes the same kind of frame, stretched to WIDTH x HEIGHT, as a float KSV file (for
//       turning into a float FITS with ksv2fit, as the benchmarks do).
//
// The frame is the same on every run: the noise comes from a fixed seed.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "KsvFormat.h"

namespace {

// The calibration of the sample: lambda(x) = 380 nm + 0.35 nm per column, x from 1.
constexpr double kFirstWavelength = 380.0;
constexpr double kNanometresPerColumn = 0.35;

struct Line {
    double nanometres;
    double strength;
};

// Mercury and neon lines inside 380 .. 738 nm.
constexpr std::array<Line, 11> kLines{{{404.66, 0.30},
                                       {435.83, 0.80},
                                       {546.07, 1.00},
                                       {576.96, 0.35},
                                       {579.07, 0.38},
                                       {585.25, 0.50},
                                       {614.31, 0.22},
                                       {640.22, 0.60},
                                       {650.65, 0.40},
                                       {692.95, 0.30},
                                       {703.24, 0.35}}};

// Counts of the frame at column x (0-based) and row y (0-based, bottom row first) of a frame
// `width` x `height`, before noise. Columns map onto the sample's 1024 calibrated columns.
double signalAt(int x, int y, int width, int height)
{
    const double column = 1.0 + x * 1024.0 / width;
    const double lambda = kFirstWavelength + kNanometresPerColumn * column;
    const double v = (y - height * 0.52) / (height * 0.07);
    const double band = std::exp(-v * v * v * v);

    double spectrum = 0.16 * std::exp(-std::pow((lambda - 560.0) / 110.0, 2.0));
    const double widthNm = 1.3 * kNanometresPerColumn * std::max(1.0, width / 1024.0) * 1024.0 / width;
    for (const Line& line : kLines)
        spectrum += line.strength * std::exp(-0.5 * std::pow((lambda - line.nanometres) / widthNm, 2.0));

    const double background = 600.0 + 0.08 * x * 1024.0 / width + 0.15 * y * 256.0 / height;
    return background + 30000.0 * band * spectrum;
}

std::vector<double> makeFrame(int width, int height)
{
    std::mt19937 random(20240611u);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<double> frame(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double signal = signalAt(x, y, width, height);
            const double noise = std::sqrt(signal) * gauss(random) + 12.0 * gauss(random);
            frame[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                signal + noise;
        }
    std::uniform_int_distribution<int> column(0, width - 1);
    std::uniform_int_distribution<int> row(0, height - 1);
    for (int hit = 0; hit < 6; ++hit)
        frame[static_cast<std::size_t>(row(random)) * static_cast<std::size_t>(width) +
              static_cast<std::size_t>(column(random))] = 60000.0;
    return frame;
}

bool writePgm(const std::string& path, const std::vector<double>& frame, int width, int height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P5\n# Kestrova sample: synthetic spectrometer frame\n%d %d\n65535\n", width, height);
    // The converter keeps the file's raster order: its first row becomes the frame's row 0.
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double value =
                frame[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            const auto counts = static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
            row[static_cast<std::size_t>(x) * 2] = static_cast<unsigned char>(counts >> 8);
            row[static_cast<std::size_t>(x) * 2 + 1] = static_cast<unsigned char>(counts & 0xFF);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

bool writeCalibration(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "%g, %g\r\n", kFirstWavelength, kNanometresPerColumn);
    return std::fclose(file) == 0;
}

bool writeFloatKsv(const std::string& path, const std::vector<double>& frame, int width, int height)
{
    std::vector<float> pixels(frame.begin(), frame.end());
    const auto [lowest, highest] = std::minmax_element(pixels.begin(), pixels.end());
    ksv::KsvHeader header;
    header.dataType = static_cast<std::int16_t>(ksv::KsvDataType::SinglePrecision);
    header.width = width;
    header.height = height;
    header.floatMin = *lowest;
    header.floatMax = *highest;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok =
        ksv::writeHeader(file, header) && ksv::seekToPixels(file) && ksv::writeRows(file, pixels.data(), width, height);
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

int usage()
{
    std::fprintf(stderr, "usage: kestrova_make_sample FOLDER\n"
                         "       kestrova_make_sample --ksv-float WIDTH HEIGHT FILE.ksv\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--ksv-float") {
        const int width = std::atoi(argv[2]);
        const int height = std::atoi(argv[3]);
        if (width < 1 || height < 1)
            return usage();
        if (!writeFloatKsv(argv[4], makeFrame(width, height), width, height)) {
            std::fprintf(stderr, "kestrova_make_sample: cannot write %s\n", argv[4]);
            return 1;
        }
        return 0;
    }
    if (argc != 2)
        return usage();
    const std::string folder = argv[1];
    const int width = 1024;
    const int height = 384;
    if (!writePgm(folder + "/spectrum.pgm", makeFrame(width, height), width, height) ||
        !writeCalibration(folder + "/SpecCal.txt")) {
        std::fprintf(stderr, "kestrova_make_sample: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
