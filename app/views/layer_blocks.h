// Which soil blocks a layer of the 3D view is made of: the retained column
// (left of the wall), the excavation column (right of it) and, below the wall's
// tip, full blocks on both sides. Depths are positive downwards, in scene units.
#pragma once

#include <vector>

namespace korvel {

enum class TLayerColumn {
    kRetained,    // x from -2A to -T/2
    kExcavation,  // x from 0 to 2A - T/2
    kFullLeft,    // x from -2A to 0, below the wall's tip
    kFullRight,   // x from 0 to 2A, below the wall's tip
};

struct TLayerBlock {
    TLayerColumn Column;
    double Top = 0.0;     // depth
    double Bottom = 0.0;  // depth
};

// Blocks of a layer from depth top to bottom, with H the excavation depth (free
// height) and L the wall's length. A layer of no thickness gives no blocks.
std::vector<TLayerBlock> LayerBlocks(double top, double bottom, double free_height,
                                     double wall_length);

}  // namespace korvel
