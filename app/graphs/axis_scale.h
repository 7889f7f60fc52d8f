// Axis arithmetic of the graphs: the full range of a panel, the tick marks of an
// axis, and the zoom rules. Pure numbers, shared by the window, printing and saving.
#pragma once

#include <vector>

#include "graphs/curve_list.h"

namespace korvel {

struct TAxisRange {
    double Min = 0.0;
    double Max = 0.0;
    double Width() const { return Max - Min; }
};

// Full range of one axis: 0 always lies in it; a zero span is widened by 0.01 on
// each side; the ends are rounded away from zero to multiples of the step, a power
// of ten (one tenth of it when the span is under three steps). False when no
// usable step results (values that are not finite).
bool FullAxisRange(const std::vector<double>& values, TAxisRange& range, double* step = nullptr);

struct TPanelRanges {
    TAxisRange X;
    TAxisRange Y;
};
// Full ranges of the points of a curve list.
bool FullPanelRanges(const TCurveList& lines, TPanelRanges& ranges);

struct TTick {
    double Value;
    bool Major;  // grid line and label
};
// Minor ticks of a range for the wanted number of intervals: the major step is the
// rough step (width / intervals) cut to its leading digit, the minor step a fifth
// of it; every fifth minor tick (a multiple of the major step) is major. None when
// intervals is below 1.
std::vector<TTick> AxisTicks(const TAxisRange& range, int intervals);

// Narrowest zoom: this part of the full width.
constexpr double kZoomLimit = 1.0 / 20.0;

// Zoom to [a, b] (either order): a range narrower than kZoomLimit of the full one
// is widened to exactly that around its centre, then shifted inside the full range.
TAxisRange ZoomIn(const TAxisRange& full, double a, double b);
// Zoom out around centre: twice the current width (at most the full width),
// shifted inside the full range.
TAxisRange ZoomOut(const TAxisRange& full, const TAxisRange& current, double centre);

}  // namespace korvel
