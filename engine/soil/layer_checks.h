// Checks of the soil profile as the SOILS records give it, before any soil
// model runs: every layer reaches below the one above it, and no deeper than
// a wall could ever need. The work of a run is bounded by the wall (the earth
// pressure down to the tip, the p-y curves down to the tip plus two
// increments), but a layer bottom far below any wall is a typing error (a
// depth in the wrong unit, digits too many), and the run says so instead of
// analysing a profile nobody meant.
#pragma once

#include "soil/soil_problem.h"

namespace korvel::soil {

// A layer bottom may lie at most this many wall lengths (N times h) below
// the top of the backfill.
constexpr double kDepthLimitInWallLengths = 100.0;

// Throws SoilDataError naming the first layer (numbered from 1 as in the
// data file) whose bottom is not below the bottom of the layer above (for
// the first layer: not below the top of the backfill), lies deeper than the
// limit, or is not a number. A layer without thickness would end the
// earth-pressure table early, and one going back up would make the p-y
// layers overlap.
void CheckLayerDepths(const SoilProblem& problem);

}  // namespace korvel::soil
