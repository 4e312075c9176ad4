#include "gDataRefresh.h"

namespace kestrova {

void invalidate(ResultFlags& flags, Change change)
{
    switch (change) {
    case Change::ImageLoaded:
    case Change::ImageClosed:
    case Change::Regions:
        flags.clearAll();
        return;
    case Change::IntensityInverted:
        // The inversion acts on the projections and the histogram, not on the region itself.
        flags.spectrumComputed = false;
        flags.profileComputed = false;
        flags.histogramComputed = false;
        flags.centroidXComputed = false;
        flags.centroidYComputed = false;
        return;
    case Change::DataThresholds:
        // The thresholds decide which pixels the projections count; the histogram counts them all.
        flags.spectrumComputed = false;
        flags.profileComputed = false;
        flags.centroidXComputed = false;
        flags.centroidYComputed = false;
        return;
    case Change::DisplayThresholds:
    case Change::DisplayInverted:
    case Change::MeanSum:
    case Change::SpectrumLimits:
    case Change::ProfileLimits:
        // Only what is drawn changes; the computed results stay valid.
        return;
    }
}

bool changesDisplay(Change change)
{
    switch (change) {
    case Change::ImageLoaded:
    case Change::DisplayThresholds:
    case Change::DisplayInverted:
    case Change::IntensityInverted:
        return true;
    default:
        return false;
    }
}

}  // namespace kestrova
