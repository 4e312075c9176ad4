#pragma once

// The scales of a projection plot: the axis ranges, the tick steps and the number formats,
// computed without any window. The histogram shares the step table and the formats.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Calibration.h"
#include "Messages.h"
#include "gDataProjection.h"

namespace kestrova {

inline constexpr const char* kWavelengthRevertMessage = "Unable to display wave length values reverting to pixels";

// The tick steps 2, 5, 10, 20, 50, ... 50000000.
const std::array<std::int32_t, 23>& AxisStepTable();

// The largest step of the table that is <= r (2 when none is); beyond the table the steps go
// on 1-2-5 (100000000, 200000000, 500000000, 1000000000, ...).
double NiceStep(double r);

// The read-out and tick formats for values whose largest magnitude is m.
struct MagnitudeFormats {
    const char* readoutFormat;
    const char* tickFormat;
};
MagnitudeFormats FormatsByMagnitude(float m);

// The plot rectangle of a drawing, in the drawing target's units.
struct PlotGeometry {
    std::int32_t plotLeft = 0;
    std::int32_t plotTop = 0;
    std::int32_t plotW = 0;
    std::int32_t plotH = 0;
    std::int32_t half = 0;  // half the width of one column (row) step
    std::int32_t bottom() const { return plotTop + plotH; }
};

struct PlotScale {
    std::int32_t first = 1;  // the projection's first and last column (row)
    std::int32_t last = 1;
    std::int32_t x0 = 1;  // the pixel axis runs from x0 to x1 (past `last` for narrow regions)
    std::int32_t x1 = 21;
    std::int32_t span = 20;
    std::int32_t pixelStep = 2;
    bool wavelengthMode = false;
    std::int32_t wFirst = 0;
    std::int32_t wLast = 0;
    std::int32_t wStep = 0;
    double plotLo = 0.0;
    double plotHi = 0.0;
    // The Y axis in scaled units (plot values times yMult), whole numbers held in doubles.
    double yLoS = 0.0;
    double yHiS = 0.0;
    double yRange = 1.0;
    double yStep = 2.0;
    double yMult = 1.0;
    std::string readoutFormat;
    std::string tickFormat;
    PlotGeometry geometry;  // of the latest on-screen drawing, for the read-out
};

// The scales of a projection over columns (rows) first..last. Copies the limits' Mean or Sum
// pair into their plotted limits. `calibration` labels the X axis in wavelength when its
// X-units flag says so (null for the profile); a calibration unusable for the region (a step
// below 3, decreasing, not finite, beyond 32 bits) adds kWavelengthRevertMessage and the axis
// stays in pixels. A zero Y range is widened by one scaled unit on each side.
PlotScale SetScales(ProjectionLimits& limits, std::int32_t first, std::int32_t last, const Calibration* calibration,
                    Messages& messages);

// The pixel ticks: every multiple of pixelStep from x0 to x1.
std::vector<std::int32_t> PixelTicks(const PlotScale& scale);

// The Y ticks in scaled units: every multiple of yStep from yLoS to yHiS.
std::vector<double> YTicks(const PlotScale& scale);

// A wavelength tick: its value and its fractional column.
struct WavelengthTick {
    std::int32_t value;
    double position;
};
std::vector<WavelengthTick> WavelengthTicks(const PlotScale& scale, const std::vector<float>& wavelengths);

}  // namespace kestrova
