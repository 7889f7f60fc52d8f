#include "views/deformed_wall.h"

#include <cmath>

namespace korvel {

namespace {

struct TOffset {
    double b = 0.0;  // x part of the half-thickness offset
    double c = 0.0;  // z part
};

// Half-thickness offset perpendicular to a segment that moves dx over a depth h.
TOffset SegmentOffset(double dx, double h, double thickness) {
    const double a = std::sqrt(dx * dx + h * h);
    return {thickness / 2.0 * h / a, thickness / 2.0 * dx / a};
}

std::array<TPoint2, 2> Edge(double x, double z, TOffset o) {
    return {TPoint2{x - o.b, z - o.c}, TPoint2{x + o.b, z + o.c}};
}

}  // namespace

std::vector<TWallSegment> DeformedWall(const std::vector<double>& deflection, int increments,
                                       double h, double thickness, double factor) {
    std::vector<TWallSegment> segments;
    if (increments < 1 || !(h > 0.0)) return segments;
    const auto x = [&](int n) {
        return n < static_cast<int>(deflection.size()) ? factor * deflection[static_cast<size_t>(n)]
                                                       : 0.0;
    };
    const auto z = [&](int n) { return -n * h; };
    const auto offset = [&](int i) { return SegmentOffset(x(i) - x(i - 1), h, thickness); };

    for (int i = 1; i <= increments; ++i) {
        TWallSegment s;
        s.Top = i == 1 ? Edge(x(0), z(0), offset(1)) : segments.back().Bottom;
        TOffset o = offset(i);
        if (i < increments) {
            const TOffset next = offset(i + 1);
            o = {(o.b + next.b) / 2.0, (o.c + next.c) / 2.0};
        }
        s.Bottom = Edge(x(i), z(i), o);
        segments.push_back(s);
    }
    return segments;
}

}  // namespace korvel
