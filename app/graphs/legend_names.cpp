#include "graphs/legend_names.h"

#include "graphs/graph_plot.h"

namespace korvel {

TLegendNames::TLegendNames(const TGraphPlot& graph) {
    for (int i = 0; i < graph.Lines.CurveCount(); ++i) names_.append(graph.LegendText(i));
}

bool TLegendNames::Rename(int index, const QString& text) {
    if (text.isEmpty() || index < 0 || index >= Count()) return false;
    names_[index] = text;
    return true;
}

void TLegendNames::Apply(TGraphPlot& graph) const {
    for (int i = 0; i < graph.Lines.CurveCount() && i < Count(); ++i)
        graph.Lines.Curve(i).Name = names_[i];
}

}  // namespace korvel
