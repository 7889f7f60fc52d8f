// The parts of the generated earth pressure as "Earth Pressure Combined" shows
// them. The plot data file's three columns are the total, and the split the
// earth-pressure module keeps for its own sums: its "surcharge" column holds the
// layer's uniform share, which also carries the backfill water head at the top
// of the layer and the cohesion term. The graph shows what each part is: the
// soils, the water (net of both sides, as the module counts it) and, when the
// project has any, the surcharges.
#pragma once

#include <vector>

namespace korvel {

class TGraphPlot;
class TProgramData;

// One sub-layer of the module's profile: the input layers cut at the
// excavation level and at the backfill water table (held length unit).
struct TPressureLayer {
    double Top = 0.0;
    double Bottom = 0.0;
    bool Drained = false;  // sand, silt and rock; clays carry water in their total stress
    double Cohesion = 0.0;
    double Tana = 0.0;  // the cohesion term's coefficient (0 with a user coefficient)
};

struct TPressureProfile {
    std::vector<TPressureLayer> Layers;
    double FreeHeight = 0.0;
    double WaterBackfill = 0.0;
    double WaterExcavation = 0.0;
    double UnitWeightOfWater = 0.0;  // per held length cubed
    bool WaterCounted = true;        // the module's water flag
    double Factor = 1.0;             // active pressure factor
    double Wa = 1.0;                 // width multiplier down to the excavation level
    double Wp = 1.0;                 // and below it
    bool Surcharges = false;         // a uniform surcharge or applied additional ones
};

// The profile of the open project's soil layer table (the short-term one).
TPressureProfile PressureProfile(const TProgramData& project);

// At depth z (held unit) per unit length of wall, as the plot file's rows:
// the net water pressure, and the part of the "surcharge" column that is
// water head and cohesion rather than surcharge.
double WaterPressureAt(const TPressureProfile& profile, double z);
double UniformShareNotSurchargeAt(const TPressureProfile& profile, double z);

// Rebuilds the curves of the combined graph from the file's columns as read
// (0 total, 1 soils, 2 surcharges, depth in the graph's unit; depth_per_held
// converts held lengths to it): total, from soils, from water and, when the
// project has surcharges, from surcharge loads.
void SplitCombinedPressure(TGraphPlot& combine, const TPressureProfile& profile,
                           double depth_per_held);

// The combined graph of project's first result set as it should be shown: split
// as above when the pressure was generated from the project's soil profile
// (unstaged, or stage 1 open); a user pressure table keeps its soils column,
// with the surcharge curve only when there are surcharges.
void ShowPressureParts(TGraphPlot& combine, const TProgramData& project);

}  // namespace korvel
