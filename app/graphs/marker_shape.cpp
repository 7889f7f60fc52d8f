#include "graphs/marker_shape.h"

#include <cmath>
#include <numbers>

namespace korvel {

int MarkerShape(int curve_index) {
    return ((curve_index % 10) + 10) % 10 + 1;
}

std::vector<QPointF> MarkerVertices(int shape) {
    std::vector<double> degrees;
    if (shape == 1) {
        degrees = {180, 300, 60};
    } else if (shape == 2) {
        degrees = {45, 135, 225, 315};
    } else {
        for (int k = 0; k < shape; ++k) degrees.push_back(360.0 * k / shape);
    }
    std::vector<QPointF> vertices;
    for (double d : degrees) {
        const double a = d * std::numbers::pi / 180.0;
        vertices.emplace_back(std::cos(a), std::sin(a));
    }
    return vertices;
}

}  // namespace korvel
