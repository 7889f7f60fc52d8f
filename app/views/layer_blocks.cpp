#include "views/layer_blocks.h"

namespace korvel {

namespace {

void Columns(std::vector<TLayerBlock>& out, double top, double bottom) {
    if (!(bottom > top)) return;
    out.push_back({TLayerColumn::kRetained, top, bottom});
    out.push_back({TLayerColumn::kExcavation, top, bottom});
}

void Full(std::vector<TLayerBlock>& out, double top, double bottom) {
    out.push_back({TLayerColumn::kFullLeft, top, bottom});
    out.push_back({TLayerColumn::kFullRight, top, bottom});
}

// Both sides from top (at or below the excavation level) to bottom.
void BelowExcavation(std::vector<TLayerBlock>& out, double top, double bottom, double wall_length) {
    if (top > wall_length) {
        Full(out, top, bottom);
    } else if (bottom < wall_length) {
        Columns(out, top, bottom);
    } else {
        Columns(out, top, wall_length);
        Full(out, wall_length, bottom);
    }
}

}  // namespace

std::vector<TLayerBlock> LayerBlocks(double top, double bottom, double free_height,
                                     double wall_length) {
    std::vector<TLayerBlock> out;
    if (!(bottom > top)) return out;
    const double h = free_height;
    if (bottom <= h) {
        out.push_back({TLayerColumn::kRetained, top, bottom});
    } else if (top < h) {
        out.push_back({TLayerColumn::kRetained, top, h});
        BelowExcavation(out, h, bottom, wall_length);
    } else {
        BelowExcavation(out, top, bottom, wall_length);
    }
    return out;
}

}  // namespace korvel
