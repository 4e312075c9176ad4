#include "gDataCentroid.h"

#include "NumberFormat.h"

namespace kestrova {

namespace {

double weightedCentre(const Projection& projection, double lower, double upper, double baseline)
{
    double s = 0.0;
    double m = 0.0;
    for (std::int32_t i = 0; i < projection.count(); ++i) {
        const double mean = projection.mean[static_cast<std::size_t>(i)];
        if (!(lower <= mean && mean <= upper))
            continue;
        s += mean - baseline;
        m += (mean - baseline) * (projection.first + i);
    }
    if (s == 0.0)
        return (static_cast<double>(projection.first) + projection.last()) / 2.0;
    return m / s;
}

}  // namespace

CentroidThresholds CentroidThresholdsFor(double lower, bool lowerOn, double upper, bool upperOn,
                                         const RegionArray& region, bool isFloat)
{
    CentroidThresholds thresholds{lower, upper};
    if (!region.builtRoI2On)
        return thresholds;
    if (!lowerOn)
        thresholds.lower = isFloat ? static_cast<double>(region.floatMin) : region.intMin;
    if (!upperOn)
        thresholds.upper = isFloat ? static_cast<double>(region.floatMax) : region.intMax;
    return thresholds;
}

void ComputeCentroid(const Projections& projections, const CentroidThresholds& thresholds, ResultFlags& flags,
                     CentroidResult& centroid)
{
    if (!flags.centroidXComputed) {
        centroid.centroidX = weightedCentre(projections.column, thresholds.lower, thresholds.upper, thresholds.lower);
        flags.centroidXComputed = true;
    }
    if (!flags.centroidYComputed) {
        centroid.centroidY =
            weightedCentre(projections.row, thresholds.lower, thresholds.upper, projections.row.meanMin);
        flags.centroidYComputed = true;
    }
}

std::string CentroidWavelengthText(const Calibration& calibration, double centroidX)
{
    if (!calibration.WavelengthUnits)
        return "No Cal";
    const auto column = roundToInt32(centroidX);
    if (!column || *column < 1 || static_cast<std::size_t>(*column) > calibration.wavelengths.size())
        return "No Cal";
    return formatNumber(calibration.wavelengths[static_cast<std::size_t>(*column - 1)], "###0.0");
}

}  // namespace kestrova
