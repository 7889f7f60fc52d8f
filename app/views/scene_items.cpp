#include "views/scene_items.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

TVec3 TBlock::Min() const {
    TVec3 m = Corners[0];
    for (const TVec3& c : Corners) m = {std::min(m.x, c.x), std::min(m.y, c.y), std::min(m.z, c.z)};
    return m;
}

TVec3 TBlock::Max() const {
    TVec3 m = Corners[0];
    for (const TVec3& c : Corners) m = {std::max(m.x, c.x), std::max(m.y, c.y), std::max(m.z, c.z)};
    return m;
}

TBlock MakeBlock(TVec3 lo, TVec3 hi, TColor face, TColor edge) {
    return MakeTurnedBlock({}, 0.0, (lo + hi) * 0.5, hi - lo, face, edge);
}

TBlock MakeTurnedBlock(TVec3 origin, double turn_y, TVec3 centre, TVec3 size, TColor face,
                       TColor edge) {
    const double a = turn_y * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    TBlock block;
    block.Face = face;
    block.Edge = edge;
    for (int i = 0; i < 8; ++i) {
        const TVec3 local{centre.x + ((i & 1) ? 0.5 : -0.5) * size.x,
                          centre.y + ((i & 2) ? 0.5 : -0.5) * size.y,
                          centre.z + ((i & 4) ? 0.5 : -0.5) * size.z};
        // Rotation about y: x' = x cos + z sin, z' = -x sin + z cos.
        block.Corners[static_cast<size_t>(i)] =
            origin + TVec3{local.x * c + local.z * s, local.y, -local.x * s + local.z * c};
    }
    return block;
}

}  // namespace korvel
