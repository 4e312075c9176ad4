// Draws Kestrova's logo, "OvrinLogo.bmp": a spectrometer frame (a band of emission lines on a
// dark background), its spectrum traced below it, and the program's name, in the proportions
// 986 : 794 that the main window gives the logo. Usage: kestrova_make_logo OUTPUT.bmp

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 493;
constexpr int kHeight = 397;

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

struct Canvas {
    std::vector<Rgb> pixels = std::vector<Rgb>(static_cast<std::size_t>(kWidth) * kHeight);

    Rgb& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)]; }
    void blend(int x, int y, Rgb colour, double alpha)
    {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return;
        Rgb& p = at(x, y);
        p.r += (colour.r - p.r) * alpha;
        p.g += (colour.g - p.g) * alpha;
        p.b += (colour.b - p.b) * alpha;
    }
};

// Emission lines: position across the frame (0..1) and strength.
constexpr std::array<std::pair<double, double>, 9> kLines{{{0.12, 0.55},
                                                           {0.21, 1.0},
                                                           {0.37, 0.35},
                                                           {0.49, 0.8},
                                                           {0.53, 0.45},
                                                           {0.64, 0.9},
                                                           {0.71, 0.3},
                                                           {0.82, 0.65},
                                                           {0.9, 0.4}}};

double spectrum(double u)
{
    double value = 0.08 + 0.10 * std::exp(-std::pow((u - 0.5) / 0.3, 2.0));
    for (const auto& [position, strength] : kLines)
        value += strength * std::exp(-std::pow((u - position) / 0.006, 2.0));
    return value;
}

// A 5 x 7 font for the letters of the name.
struct Glyph {
    char letter;
    std::array<const char*, 7> rows;
};
constexpr std::array<Glyph, 8> kFont{{
    {'K', {"10001", "10010", "10100", "11000", "10100", "10010", "10001"}},
    {'E', {"11111", "10000", "10000", "11110", "10000", "10000", "11111"}},
    {'S', {"01111", "10000", "10000", "01110", "00001", "00001", "11110"}},
    {'T', {"11111", "00100", "00100", "00100", "00100", "00100", "00100"}},
    {'R', {"11110", "10001", "10001", "11110", "10100", "10010", "10001"}},
    {'O', {"01110", "10001", "10001", "10001", "10001", "10001", "01110"}},
    {'V', {"10001", "10001", "10001", "10001", "10001", "01010", "00100"}},
    {'A', {"01110", "10001", "10001", "11111", "10001", "10001", "10001"}},
}};

void drawText(Canvas& canvas, const char* text, int left, int top, int cell, Rgb colour)
{
    int x = left;
    for (const char* c = text; *c; ++c) {
        const auto glyph = std::find_if(kFont.begin(), kFont.end(), [c](const Glyph& g) { return g.letter == *c; });
        if (glyph != kFont.end()) {
            for (int row = 0; row < 7; ++row)
                for (int column = 0; column < 5; ++column)
                    if (glyph->rows[static_cast<std::size_t>(row)][column] == '1')
                        for (int dy = 0; dy < cell; ++dy)
                            for (int dx = 0; dx < cell; ++dx)
                                canvas.blend(x + column * cell + dx, top + row * cell + dy, colour, 1.0);
        }
        x += 6 * cell;
    }
}

void draw(Canvas& canvas)
{
    // Background: a dark slate gradient.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double t = static_cast<double>(y) / kHeight;
            canvas.at(x, y) = {18 + 10 * t, 24 + 14 * t, 38 + 20 * t};
        }

    // The frame: a band of lines, brightest in its middle rows.
    const int frameLeft = 40;
    const int frameRight = kWidth - 40;
    const int frameTop = 150;
    const int frameBottom = 230;
    for (int y = frameTop; y < frameBottom; ++y) {
        const double v = (y - (frameTop + frameBottom) / 2.0) / 16.0;
        const double band = std::exp(-v * v);
        for (int x = frameLeft; x < frameRight; ++x) {
            const double u = static_cast<double>(x - frameLeft) / (frameRight - frameLeft);
            const double grey = std::min(1.0, 0.06 + band * spectrum(u)) * 255.0;
            canvas.at(x, y) = {grey, grey, grey};
        }
    }

    // The spectrum traced below the frame.
    const int plotBase = 345;
    const double plotHeight = 90.0;
    int previous = plotBase;
    for (int x = frameLeft; x < frameRight; ++x) {
        const double u = static_cast<double>(x - frameLeft) / (frameRight - frameLeft);
        const int y = plotBase - static_cast<int>(std::min(1.0, spectrum(u)) * plotHeight);
        for (int yy = std::min(previous, y); yy <= std::max(previous, y); ++yy)
            canvas.blend(x, yy, {120, 200, 255}, 0.9);
        previous = y;
    }
    for (int x = frameLeft; x < frameRight; ++x)
        canvas.blend(x, plotBase + 1, {90, 110, 140}, 1.0);

    drawText(canvas, "KESTROVA", (kWidth - (8 * 6 - 1) * 8) / 2, 40, 8, {235, 240, 250});
}

void put16(std::FILE* file, std::uint16_t value)
{
    std::fputc(value & 0xFF, file);
    std::fputc(value >> 8, file);
}

void put32(std::FILE* file, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        std::fputc(static_cast<int>((value >> shift) & 0xFF), file);
}

bool writeBitmap(const Canvas& canvas, const char* path)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const std::uint32_t rowBytes = (kWidth * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = rowBytes * kHeight;
    std::fputc('B', file);
    std::fputc('M', file);
    put32(file, 54 + imageSize);
    put32(file, 0);
    put32(file, 54);
    put32(file, 40);
    put32(file, kWidth);
    put32(file, kHeight);
    put16(file, 1);
    put16(file, 24);
    put32(file, 0);
    put32(file, imageSize);
    put32(file, 2835);
    put32(file, 2835);
    put32(file, 0);
    put32(file, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < kWidth; ++x) {
            const Rgb& p = canvas.pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)];
            for (double channel : {p.b, p.g, p.r})
                std::fputc(static_cast<int>(std::clamp(std::lround(channel), 0L, 255L)), file);
            written += 3;
        }
        for (; written < rowBytes; ++written)
            std::fputc(0, file);
    }
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrova_make_logo OUTPUT.bmp\n");
        return 2;
    }
    Canvas canvas;
    draw(canvas);
    if (!writeBitmap(canvas, argv[1])) {
        std::fprintf(stderr, "kestrova_make_logo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
