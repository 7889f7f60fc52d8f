// TFloatPoint: one point of a graph curve. In depth graphs Y is the depth, so
// that the depth axis runs downwards.
#pragma once

namespace korvel {

struct TFloatPoint {
    long double X = 0.0L;
    long double Y = 0.0L;
};

}  // namespace korvel
