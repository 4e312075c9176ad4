// Times the analysis windows on a full-size float frame (6144 x 4096) held in memory: opening
// the spectrum window with its plot drawn (the projection cached, and computed afresh from the
// region), and the refresh after a change of the regions with the spectrum, profile and
// centroid windows open, against plain column sums of the frame in the same run.
//
//   bench_analysis_windows [runs]     (default 9; run with QT_QPA_PLATFORM=offscreen or a display)

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "ProgramState.h"
#include "gDataRefresh.h"
#include "gFormWindows.h"

using namespace kestrova;

namespace {

constexpr std::int32_t kWidth = 6144;
constexpr std::int32_t kHeight = 4096;

using bench::medianMilliseconds;

// A spectrum-like float frame: a bright band over a sloping background, with some noise.
void fillImage(ImageStore& image)
{
    image.width = kWidth;
    image.height = kHeight;
    image.isFloat = true;
    image.dataType = -32;
    image.analysisAllowed = true;
    image.imageBaseName = "frame";
    image.imageExtension = ".fits";
    image.floatPixels.resize(static_cast<std::size_t>(image.pixelCount()));
    std::uint32_t seed = 12345;
    for (std::size_t p = 0; p < image.floatPixels.size(); ++p) {
        seed = seed * 1664525u + 1013904223u;
        const auto x = static_cast<double>(p % kWidth);
        const auto y = static_cast<std::int32_t>(p / kWidth);
        const double band = std::abs(y - kHeight / 2) < 200 ? 600.0 : 0.0;
        image.floatPixels[p] = static_cast<float>(100.0 + 200.0 * x / kWidth + band + (seed >> 24));
    }
    const auto [low, high] = std::minmax_element(image.floatPixels.begin(), image.floatPixels.end());
    image.floatMin = *low;
    image.floatMax = *high;
}

// The refresh path of the main window without its picture: stale results cleared, the open
// windows that depend on the change opened again in order.
class BenchServices : public WindowServices {
public:
    explicit BenchServices(ProgramState& state) : state_(state) {}
    void attach(ChildWindows& windows) { windows_ = &windows; }
    void refresh(Change change) override
    {
        invalidate(state_.resultFlags, change);
        windows_->reopenAfter(change);
    }
    bool applyCustomZoom(const std::string&) override { return false; }
    QWidget* openWindow(const QString& name) override { return windows_->open(name); }
    QWidget* openedWindow(const QString& name) override { return windows_->window(name); }

private:
    ProgramState& state_;
    ChildWindows* windows_ = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    auto state = std::make_unique<ProgramState>();
    fillImage(state->image);
    state->roi.RoI1 = RoIRect::whole(kWidth, kHeight);
    QWidget owner;
    BenchServices services(*state);
    ChildWindows windows(childWindowTable(), &owner, *state, services, [](const char*) { return nullptr; });
    services.attach(windows);
    const QString spectrum = QString::fromLatin1(windows::kSpectrum);
    const auto settle = [] { QCoreApplication::processEvents(); };

    // The baseline: one plain pass summing the frame's columns.
    std::vector<double> sums(kWidth);
    const double baseline = medianMilliseconds(runs, [&] {
        std::fill(sums.begin(), sums.end(), 0.0);
        const float* pixel = state->image.floatPixels.data();
        for (std::int32_t y = 0; y < kHeight; ++y)
            for (std::int32_t x = 0; x < kWidth; ++x)
                sums[static_cast<std::size_t>(x)] += *pixel++;
    });

    windows.open(spectrum);
    settle();
    const double cached = medianMilliseconds(runs, [&] {
        windows.open(spectrum);
        settle();
    });
    const double fresh = medianMilliseconds(runs, [&] {
        state->resultFlags.clearAll();
        windows.open(spectrum);
        settle();
    });
    windows.open(QString::fromLatin1(windows::kProfile));
    windows.open(QString::fromLatin1(windows::kCentroid));
    settle();
    const double refresh = medianMilliseconds(runs, [&] {
        services.refresh(Change::Regions);
        settle();
    });
    for (const char* name : {windows::kSpectrum, windows::kProfile, windows::kCentroid}) {
        if (!windows.isOpen(QString::fromLatin1(name))) {
            std::fprintf(stderr, "%s is not open after the refresh\n", name);
            return 1;
        }
    }

    std::printf("Analysis windows on a %dx%d float frame, median of %d runs\n", kWidth, kHeight, runs);
    std::printf("%-58s%12s%14s\n", "step", "median ms", "x baseline");
    const auto row = [baseline](const char* name, double ms) {
        std::printf("%-58s%12.2f%14.2f\n", name, ms, ms / baseline);
    };
    row("baseline: plain column sums of the frame", baseline);
    row("open the spectrum window, projection cached", cached);
    row("open the spectrum window, region and projection computed", fresh);
    row("refresh after a region change: spectrum, profile, centroid", refresh);
    return 0;
}
