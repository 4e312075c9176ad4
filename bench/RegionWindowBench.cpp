// Times opening the region display window, picture drawn on the screen included (region built,
// its histogram, thresholds, grey picture, temporary bitmap written and loaded, zoom and
// repaint), for a 6144 x 1000 band and for a whole 6144 x 4096 frame (25 Mpx) of a 16-bit image,
// each against one plain copy of the region's elements in the same run. Then the refresh after a
// change of the regions with all five analysis windows open on the band (each reopened and drawn).
//
//   bench_region_window [runs]     (default 7; run with QT_QPA_PLATFORM=offscreen or a display)

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "ProgramState.h"
#include "frmMainMenufrm.h"
#include "gFormWindows.h"

namespace {

using bench::medianSeconds;

// A 16-bit spectrum-like frame: a bright band over a sloping background, with noise.
bool writeFrame(const QString& path, int width, int height)
{
    QByteArray bytes = QByteArray("P5\n") + QByteArray::number(width) + ' ' + QByteArray::number(height) + "\n65535\n";
    const qsizetype header = bytes.size();
    bytes.resize(header + static_cast<qsizetype>(width) * height * 2);
    std::uint32_t seed = 12345;
    char* out = bytes.data() + header;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const double band = std::abs(y - height / 2) < height / 20 ? 30000.0 : 0.0;
            const auto v = static_cast<std::uint32_t>(5000.0 + 10000.0 * x / width + band + (seed >> 20));
            *out++ = static_cast<char>(v >> 8);
            *out++ = static_cast<char>(v & 0xFF);
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir folder;
    qputenv("TMP", folder.path().toLocal8Bit());
    qputenv("AppData", folder.path().toLocal8Bit());
    const QString path = folder.path() + QStringLiteral("/frame.pgm");
    if (!writeFrame(path, 6144, 4096)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    auto state = std::make_unique<kestrova::ProgramState>();
    kestrova::frmMainMenufrm window(*state);
    window.resize(1200, 900);
    window.show();
    if (!window.OpenImageFile(path)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        return 1;
    }

    struct Case {
        const char* name;
        kestrova::RoIRect roi1;
    };
    const Case cases[] = {{"6144 x 1000 band", {1, 1549, 6144, 2548}},
                          {"6144 x 4096 frame (25 Mpx)", {1, 1, 6144, 4096}}};
    const QString name = QString::fromLatin1(kestrova::windows::kRegionDisplay);
    std::printf("Opening the region display window, median of %d runs\n", runs);
    std::printf("%-30s %10s %10s %10s\n", "region", "median s", "copy s", "x copy");
    for (const Case& c : cases) {
        state->roi.RoI1On = true;
        state->roi.RoI1 = c.roi1;
        window.refresh(kestrova::Change::Regions);
        const double open = medianSeconds(runs, [&] {
            // Nothing computed before: the region and its histogram are built again.
            state->resultFlags.clearAll();
            QWidget* shown = window.openWindow(name);
            shown->repaint();
            QCoreApplication::processEvents();
        });
        const std::size_t bytes = state->region.intPixels.size() * sizeof(std::int32_t);
        std::vector<unsigned char> copy(bytes, 1);
        const auto* source = reinterpret_cast<const unsigned char*>(state->region.intPixels.data());
        const double baseline = medianSeconds(runs, [&] { std::memcpy(copy.data(), source, bytes); });
        std::printf("%-30s %10.4f %10.4f %10.1f\n", c.name, open, baseline, open / baseline);
    }

    state->roi.RoI1 = cases[0].roi1;
    window.refresh(kestrova::Change::Regions);
    for (const char* analysis :
         {kestrova::windows::kSpectrum, kestrova::windows::kProfile, kestrova::windows::kCentroid,
          kestrova::windows::kHistogram, kestrova::windows::kRegionDisplay})
        window.openWindow(QString::fromLatin1(analysis));
    QCoreApplication::processEvents();
    const double refresh = medianSeconds(runs, [&] {
        window.refresh(kestrova::Change::Regions);
        QCoreApplication::processEvents();
    });
    int open = 0;
    for (const char* analysis :
         {kestrova::windows::kSpectrum, kestrova::windows::kProfile, kestrova::windows::kCentroid,
          kestrova::windows::kHistogram, kestrova::windows::kRegionDisplay})
        open += window.isWindowOpen(QString::fromLatin1(analysis)) ? 1 : 0;
    std::printf("%-30s %10.4f   (%d windows open)\n", "refresh, 5 windows on the band", refresh, open);
    return 0;
}
