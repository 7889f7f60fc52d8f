// The working range of a p-y graph: generated curves reach far beyond the
// deflections of the wall (a sand curve to 3 m for a wall that moves 40 mm), so
// the graph opens on y within a few times the wall's largest deflection, and on
// the soil resistance the curves take there.
#pragma once

#include "graphs/axis_scale.h"
#include "graphs/curve_list.h"

namespace korvel {

// The largest deflection is a magnitude in the curves' y unit. False (ranges
// untouched) when it is not positive or there are no curves.
bool PYWorkingRange(const TCurveList& curves, double largest_deflection, double factor,
                    TPanelRanges& ranges);

// How many times the largest deflection the working range spans.
constexpr double kPYWorkingRangeFactor = 2.5;

}  // namespace korvel
