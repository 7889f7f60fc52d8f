#include "graphs/curve_list.h"

#include <algorithm>

namespace korvel {

void TCurveList::SetCurveCount(int count) {
    count = std::max(count, 0);
    if (count < CurveCount()) {
        curves_.resize(static_cast<size_t>(count));
        return;
    }
    curves_.reserve(static_cast<size_t>(count));
    while (CurveCount() < count) {
        curves_.push_back(std::make_unique<TLine>(owner_, CurveCount() + 1, point_count_));
    }
}

void TCurveList::SetPointCount(int count) {
    point_count_ = std::max(count, 0);
    for (auto& curve : curves_) curve->points_.resize(static_cast<size_t>(point_count_));
}

}  // namespace korvel
