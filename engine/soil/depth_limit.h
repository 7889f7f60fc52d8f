// How deep the soil profile of a section may reach. The work of a run is
// bounded by the wall (the earth pressure down to the tip, the p-y curves
// down to the tip plus two increments), but a layer bottom far below any
// wall is a typing error (a depth in the wrong unit, digits too many), and
// the run says so instead of analysing a profile nobody meant.
#pragma once

#include "soil/soil_problem.h"

namespace korvel::soil {

// A layer bottom may lie at most this many wall lengths (N times h) below
// the top of the backfill.
constexpr double kDepthLimitInWallLengths = 100.0;

// Throws SoilDataError naming the first layer (1-based, as in the data file)
// whose bottom lies deeper than the limit or is not a number.
void CheckLayerDepths(const SoilProblem& problem);

}  // namespace korvel::soil
