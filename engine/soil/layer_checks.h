// Checks of the soil profile as the SOILS records give it, before any soil
// model runs: every layer must reach below the one above it.
#pragma once

#include <vector>

#include "soil/soil_problem.h"

namespace korvel::soil {

// Throws SoilDataError naming the first layer (numbered from 1 as in the
// data file) whose bottom is not below the bottom of the layer above (for
// the first layer: not below the top of the backfill). A layer without
// thickness would end the earth-pressure table early, and one going back
// up would make the p-y layers overlap.
void CheckLayerDepths(const std::vector<SoilLayer>& layers);

}  // namespace korvel::soil
