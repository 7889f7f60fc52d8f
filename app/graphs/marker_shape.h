// Marker shapes of graph curves: shape (curve index mod 10) + 1. Shape 1 is a
// triangle pointing left, 2 an upright square, 3 to 10 regular polygons with that
// many vertices from 0 degrees (10 approaches a circle).
#pragma once

#include <QPointF>
#include <vector>

namespace korvel {

int MarkerShape(int curve_index);
// Vertices on the unit circle, angles counted anticlockwise with y upwards.
std::vector<QPointF> MarkerVertices(int shape);

}  // namespace korvel
