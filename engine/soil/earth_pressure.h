// The earth-pressure module: turns the backfill profile, the water tables and
// the surcharges of a section into the active pressure on the retained side.
// It echoes wall, surcharge and soil data, reports the effective overburden,
// the coefficients and the layer forces, publishes the effective overburden
// at the excavation level in `problem.effectiveOverburden`, and leaves the
// pressure distribution in "bmwall.001" in `out.folder` for the engine to read.
// Depths run down from the top of the backfill; pressures are per unit width.
#pragma once

#include "soil/soil_problem.h"

namespace korvel::soil {

// What the run learns besides the pressure file.
struct EarthPressureResult {
    int pointsComputed = 0;   // points built: down to the wall tip, or to H when that is deeper
    double topTension = 0.0;  // minus the first sub-layer's cohesion, 0 when its PA2 is negligible
};

// Earth-pressure options 2 (triangular) and 3 (trapezoidal, anchored walls).
// Throws SoilStop with code 1 when the excavation level is not a sub-layer
// top (H below the soil profile) and code 2 beyond 21 sub-layers, both after
// the echo; SoilDataError when the pressure file cannot be written.
EarthPressureResult RunEarthPressure(SoilProblem& problem, const SoilOutput& out);

}  // namespace korvel::soil
