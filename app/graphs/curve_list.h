// TCurveList: an owned list of curves (TLine) that all have the same number of
// points. Curves are added at the end with the list's current point count and
// removed from the end; changing the point count applies to every curve.
#pragma once

#include <memory>
#include <vector>

#include "graphs/line.h"

namespace korvel {

class TCurveList {
  public:
    explicit TCurveList(TGraphPlot* owner = nullptr) : owner_(owner) {}

    int CurveCount() const { return static_cast<int>(curves_.size()); }
    // New curves get Value = their number (curve count + 1 at creation) and
    // PointCount() points at (0, 0). A negative count counts as 0.
    void SetCurveCount(int count);
    // That of the first curve; 0 when there is none.
    int PointCount() const { return curves_.empty() ? 0 : curves_.front()->PointCount(); }
    // New points are (0, 0), surplus points at the end are dropped; a negative
    // count counts as 0.
    void SetPointCount(int count);
    // Raises the point count to count; never shortens.
    void Lengthen(int count) {
        if (count > PointCount()) SetPointCount(count);
    }

    TLine& Curve(int i) { return *curves_.at(static_cast<size_t>(i)); }
    const TLine& Curve(int i) const { return *curves_.at(static_cast<size_t>(i)); }
    TFloatPoint& Point(int i, int j) { return Curve(i).Point(j); }
    const TFloatPoint& Point(int i, int j) const { return Curve(i).Point(j); }

    // True when some curve has at least min_points points (all have the same count).
    bool HasPoints(int min_points) const { return !curves_.empty() && PointCount() >= min_points; }

  private:
    TGraphPlot* owner_;
    std::vector<std::unique_ptr<TLine>> curves_;
    // Kept separately so that the point count survives a list emptied of curves.
    int point_count_ = 0;
};

}  // namespace korvel
