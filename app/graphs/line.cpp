#include "graphs/line.h"

namespace korvel {

TLine::TLine(TGraphPlot* owner, long double value, int point_count)
    : Value(value), Owner(owner), points_(static_cast<size_t>(point_count > 0 ? point_count : 0)) {}

void TLine::FillFrom(int first) {
    for (size_t j = static_cast<size_t>(first > 1 ? first : 1); j < points_.size(); ++j) {
        points_[j] = points_[j - 1];
    }
}

}  // namespace korvel
