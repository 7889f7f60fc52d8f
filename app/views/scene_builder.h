// Builds the 3D view's scene from the project: list 2 (wall or deformed wall,
// lateral springs, concentrated loads, restraints, tiebacks, additional
// surcharges) and list 5 (translucent soil blocks and water tables, while the
// soil layers are in use: SoilLayersInUse). Plain code:
// the GL widget only replays what this returns.
#pragma once

#include <vector>

#include "views/scene_items.h"
#include "views/view_state.h"
#include "views/wall_dimensions.h"

namespace korvel {

class TProgramData;

// SetColorLayer: colour of soil layer row (0-based), by row modulo 10.
TColor LayerColor(int row);
// SetColorIndex: 1 blue, 2 green, 3 red, 4 magenta, 5 cyan, 6 yellow.
TColor SymbolColor(int index);

// Anchors on each side of y = 0 of a tieback row: Wa x 10 / spacing (Wa in scene
// units, spacing as in the table), rounded to the nearest integer with halves
// to even; a spacing of 0 stands for a single anchor at the wall's centre and
// gives -1. Capped so that a tiny spacing cannot flood the scene.
int TiebackAnchorsPerSide(double wa_scene, double spacing);
constexpr int kMaxAnchorsPerSide = 200;

struct TSceneInput {
    T3DShowFlags Show;
    TDeformedSettings Deformed;
    // Deflection of node n (top 0 to Increments) as held by the deflection graph.
    std::vector<double> Deflection;
    TSceneExtents Extents;  // as fixed at the window's first activation
};

TScene BuildScene(const TProgramData& project, const TSceneInput& input);

// The parts, for tests and for a caller that wants one list only.
TSceneList BuildPileCap(const TProgramData& project, const TSceneInput& input);
TSceneList BuildSoilLayers(const TProgramData& project, const TSceneInput& input);

}  // namespace korvel
