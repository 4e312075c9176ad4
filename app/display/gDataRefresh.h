#pragma once

// The one refresh path's logic: each kind of change of the program-wide records, the lazy
// results it makes stale, and whether the display pipeline has to run again.

#include <cstdint>

#include "RoIRecord.h"

namespace kestrova {

enum class Change : std::uint8_t {
    ImageLoaded,
    ImageClosed,
    DisplayThresholds,
    DisplayInverted,
    Regions,
    DataThresholds,
    IntensityInverted,
    MeanSum,
    SpectrumLimits,
    ProfileLimits,
};

// A set of changes, one bit each.
using ChangeSet = std::uint32_t;
constexpr ChangeSet changeBit(Change change)
{
    return ChangeSet{1} << static_cast<unsigned>(change);
}
template <class... Changes>
constexpr ChangeSet changeSet(Changes... changes)
{
    return (ChangeSet{0} | ... | changeBit(changes));
}

// Clears the result flags that depend on what changed.
void invalidate(ResultFlags& flags, Change change);

// True when the change alters the grey picture: the display mapping and the zoom run again.
bool changesDisplay(Change change);

}  // namespace kestrova
