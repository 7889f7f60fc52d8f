// Sizes of the wall in scene units (feet in English units, the held length in
// the other systems), derived from the project whenever they are needed, and the
// scene extents that the 3D view fixes at its first activation.
#pragma once

namespace korvel {

class TProgramData;

struct TWallDimensions {
    int NIncr = 0;            // GetWallNIncr: increments
    double Incr = 0.0;        // GetWallIncr (h): increment length
    double Length = 0.0;      // GetWallLength (L): NIncr x h
    double Width = 0.0;       // GetWallWidth (W): Wa, or L/10 when Wa is 0
    double Thickness = 0.0;   // GetWallThickness (T): Wp/10, or L/100 when Wp is 0
    double FreeHeight = 0.0;  // H: the free height of the wall

    // z of node n: its depth below the wall's top, negated.
    double NodeZ(int node) const { return -node * Incr; }
    // y of wall unit j of 20 (j = 0..19): units 0..9 on the -y side, 10..19 on +y.
    double UnitY(int unit) const;
};

// Number of wall units drawn along the wall, ten on each side of y = 0.
constexpr int kWallUnits = 20;

// A held length (inches in English, metres or user units otherwise) in scene units.
double SceneLength(long double held, int unit_system);

TWallDimensions GetWallDimensions(const TProgramData& project);

// The soil layer table is part of the problem: p-y curves or the earth pressure
// are generated from it. Both views draw the layers exactly then.
bool SoilLayersInUse(const TProgramData& project);

// GetMaxDims: A = 12.5 W, B = 5 W, Zm = max(L, bottom of the last soil layer),
// D = max(2 Zm, A) the largest extent, S = 2 B, c = -Zm/2 the vertical centre.
struct TSceneExtents {
    double A = 0.0;
    double B = 0.0;
    double Zm = 0.0;
    double D = 0.0;
    double S = 0.0;
    double Centre = 0.0;
};

TSceneExtents GetMaxDims(const TWallDimensions& wall, double last_layer_bottom);
// The extents of the project as it stands (bottom of NewSoil's last row).
TSceneExtents GetMaxDims(const TProgramData& project);

}  // namespace korvel
