// Checks made before the analysis run.
#pragma once

#include "project/program_data.h"

namespace korvel {

// Asked before a run whose wall carries no load; Yes runs it all the same.
constexpr const char* kNoLoadQuestion =
    "The wall carries no load: the earth pressure specified by the user is zero at every "
    "depth and no other load or specified deflection is applied, so every result would be "
    "zero.\rDo you want to run the analysis anyway?";

// True when something in the data file that a save writes loads the wall:
// generated earth pressure (from the soil layers, with its surcharges), a non-zero
// user pressure (short-term, and long-term when analysed) while the user's
// pressure is chosen, applied concentrated loads or moments, or a specified
// deflection or slope other than zero.
bool WallCarriesLoad(const TProgramData& project);

}  // namespace korvel
