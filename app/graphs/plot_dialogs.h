// The "&Graph Title", "&Edit Legend" and "&Active Curves" items of a plot
// window's "&Plot" menu: each runs its dialog modally and brings the window in
// line with what it changed.
#pragma once

#include <functional>

namespace korvel {

class TPlotForm;

void EditLegendClick(TPlotForm& form);
void ActiveCurvesClick(TPlotForm& form);
// relayout lays the window out anew (the title moves the plot area).
void GraphTitleClick(TPlotForm& form, const std::function<void()>& relayout);

// After legend texts or active flags changed: the legend box and the plot menu's
// curve items list the active curves in curve order with their texts (a curve
// item is checked while its curve is Visible), the legend box is sized to its
// items, and the graph is redrawn.
void RebuildCurveItems(TPlotForm& form);

}  // namespace korvel
