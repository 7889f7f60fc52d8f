// TLine: one curve of a graph, its points in drawing order with a numeric label,
// a legend name and the two display flags. Its point count is changed only by
// the curve list that owns it, so that all curves of a list stay equally long.
#pragma once

#include <QString>
#include <vector>

#include "graphs/float_point.h"

namespace korvel {

class TGraphPlot;
class TCurveList;

class TLine {
  public:
    TLine(TGraphPlot* owner, long double value, int point_count);

    int PointCount() const { return static_cast<int>(points_.size()); }
    // j from 0 to PointCount() - 1.
    TFloatPoint& Point(int j) { return points_.at(static_cast<size_t>(j)); }
    const TFloatPoint& Point(int j) const { return points_.at(static_cast<size_t>(j)); }
    const std::vector<TFloatPoint>& Points() const { return points_; }

    // Filling: every point from index first on (never point 0) takes the values of
    // its predecessor, so a curve of which only the first points were read ends in
    // copies of its last real point. Points read before first stay as they are, even
    // at the origin (p-y curves pass through it).
    void FillFrom(int first);

    // Numeric label: 1, 2, 3 ... by creation; p-y curves carry their depth here.
    long double Value;
    // Legend text; empty means the graph's default text applies.
    QString Name;
    bool Visible = true;  // drawn; the legend shows " *" after its text
    bool Active = true;   // listed in the legend and the plot menu
    TGraphPlot* Owner;

  private:
    friend class TCurveList;
    std::vector<TFloatPoint> points_;
};

}  // namespace korvel
