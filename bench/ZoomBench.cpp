// Times one zoom step of the main window (Zoom In and back out, each with the repaint of the
// visible picture) on an opened frame at 100 %, at Actual Pixels and at 32 times that, against
// a repaint alone at 100 % in the same run.
//
//   bench_zoom FILE [runs]     (default 15; run with QT_QPA_PLATFORM=offscreen or a display)

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ProgramState.h"
#include "frmMainMenufrm.h"
#include "gDataZoom.h"

namespace {

using bench::medianMilliseconds;

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_zoom FILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    auto state = std::make_unique<kestrova::ProgramState>();
    kestrova::frmMainMenufrm window(*state);
    window.resize(1200, 900);
    window.show();
    if (!window.OpenImageFile(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    QAction* in = window.findChild<QAction*>(QStringLiteral("mnuImageZoomZoomIn"));
    QAction* out = window.findChild<QAction*>(QStringLiteral("mnuImageZoomZoomOut"));
    const auto settle = [&window] {
        window.repaint();
        QCoreApplication::processEvents();
    };

    const std::string actual = kestrova::actualPixelsText(state->zoom.baseScale);
    const std::string beyond = std::to_string(std::stoi(actual) * 32);
    struct Level {
        const char* name;
        std::string text;
    };
    const Level levels[] = {{"100 %", "100"}, {"Actual Pixels", actual}, {"32 x Actual Pixels", beyond}};

    window.applyCustomZoom("100");
    settle();
    const double repaint = medianMilliseconds(runs, settle);
    std::printf("Zoom step of %dx%d, median of %d runs (each: one step and its repaint)\n", state->image.width,
                state->image.height, runs);
    std::printf("%-22s%12s%14s\n", "level", "median ms", "x repaint");
    std::printf("%-22s%12.2f%14.2f\n", "repaint alone, 100 %", repaint, 1.0);
    for (const Level& level : levels) {
        window.applyCustomZoom(level.text);
        settle();
        bool inward = true;
        const double step = medianMilliseconds(runs, [&] {
            (inward ? in : out)->trigger();
            inward = !inward;
            settle();
        });
        std::printf("%-22s%12.2f%14.2f\n", level.name, step, step / repaint);
    }
    return 0;
}
