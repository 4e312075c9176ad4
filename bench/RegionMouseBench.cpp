// Times a mouse release that ends a region drag on the main picture: the regions committed, the
// outlines redrawn and the window repainted, with no analysis window open; against a repaint
// alone in the same run. Without FILE a 6144 x 4096 16-bit PGM frame is made in a temporary folder.
//
//   bench_region_mouse [FILE] [runs]     (default 51; run with QT_QPA_PLATFORM=offscreen or a display)

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
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
#include "gFormPictureBox.h"

namespace {

using bench::median;
using bench::milliseconds;

bool writeFrame(const QString& path, int width, int height)
{
    QByteArray bytes = QStringLiteral("P5\n%1 %2\n65535\n").arg(width).arg(height).toLatin1();
    const qsizetype header = bytes.size();
    bytes.resize(header + static_cast<qsizetype>(width) * height * 2);
    for (qsizetype i = 0; i < static_cast<qsizetype>(width) * height; ++i) {
        const auto value = static_cast<unsigned>((i * 7) % 65536);
        bytes[header + 2 * i] = static_cast<char>(value >> 8);
        bytes[header + 2 * i + 1] = static_cast<char>(value & 0xFF);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 51;
    QTemporaryDir folder;
    std::string file = argc > 1 ? argv[1] : "";
    if (file.empty()) {
        const QString made = folder.filePath(QStringLiteral("frame.pgm"));
        if (!writeFrame(made, 6144, 4096)) {
            std::fprintf(stderr, "cannot write a frame in %s\n", qPrintable(folder.path()));
            return 1;
        }
        file = QFile::encodeName(made).toStdString();
    }

    auto state = std::make_unique<kestrova::ProgramState>();
    kestrova::frmMainMenufrm window(*state);
    window.resize(1200, 900);
    window.show();
    if (!window.OpenImageFileName(file)) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return 1;
    }
    kestrova::PictureBox* box = window.findChild<kestrova::PictureBox*>(QStringLiteral("picBox2"));
    const auto send = [box](QEvent::Type type, QPointF user) {
        const QPointF at = box->fromUser(user);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, box->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          held, Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    };
    // Pending events first, then one whole repaint: every measure ends with the same paint.
    const auto settle = [&window] {
        QCoreApplication::processEvents();
        window.repaint();
    };
    settle();

    // Two drags taken in turn, so that every release moves the outline.
    const double w = state->image.width;
    const double h = state->image.height;
    const QPointF from(w * 0.1, h * 0.2);
    const QPointF ends[] = {QPointF(w * 0.6, h * 0.5), QPointF(w * 0.7, h * 0.6)};
    int turn = 0;
    const auto pressAndMove = [&] {
        send(QEvent::MouseButtonPress, from);
        send(QEvent::MouseMove, ends[turn % 2]);
        settle();
    };
    // The three measures taken in turn within each run, so that the load falls alike on them.
    std::vector<double> repaints, placings, releases;
    for (int run = 0; run < runs; ++run) {
        repaints.push_back(milliseconds(settle));
        pressAndMove();
        placings.push_back(milliseconds([&] { send(QEvent::MouseButtonRelease, ends[turn++ % 2]); }));
        settle();
        pressAndMove();
        releases.push_back(milliseconds([&] {
            send(QEvent::MouseButtonRelease, ends[turn++ % 2]);
            settle();
        }));
    }
    const double repaint = median(repaints);
    const double placed = median(placings);
    const double release = median(releases);
    std::printf("Mouse release ending a region drag on %dx%d, no analysis window open, median of %d runs\n",
                state->image.width, state->image.height, runs);
    std::printf("%-34s%12s%14s\n", "step", "median ms", "x repaint");
    std::printf("%-34s%12.3f%14.2f\n", "repaint alone", repaint, 1.0);
    std::printf("%-34s%12.3f%14.2f\n", "release to outlines placed", placed, placed / repaint);
    std::printf("%-34s%12.3f%14.2f\n", "release, outlines and repaint", release, release / repaint);
    return 0;
}
