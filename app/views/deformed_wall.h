// The wall bent along the computed deflection line: one quadrilateral per
// increment in the x-z plane, T thick perpendicular to its own axis, with
// neighbouring segments meeting on a common mitred edge.
#pragma once

#include <array>
#include <vector>

namespace korvel {

// Corners in the x-z plane: (x, z).
struct TPoint2 {
    double x = 0.0;
    double z = 0.0;
};

// One segment from node i-1 to node i: the two corners of its top edge and of
// its bottom edge, each ordered -x side then +x side of the segment.
struct TWallSegment {
    std::array<TPoint2, 2> Top;
    std::array<TPoint2, 2> Bottom;
};

// Segments 1..N of a wall of N increments of length h and thickness T, with
// node n at x = factor x deflection[n], z = -n h. Nodes beyond the end of the
// deflection list are taken as undeflected. No segments when N < 1 or h <= 0.
std::vector<TWallSegment> DeformedWall(const std::vector<double>& deflection, int increments,
                                       double h, double thickness, double factor);

}  // namespace korvel
