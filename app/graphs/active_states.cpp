#include "graphs/active_states.h"

#include "graphs/graph_plot.h"

namespace korvel {

TActiveStates::TActiveStates(const TGraphPlot& graph) {
    for (int i = 0; i < graph.Lines.CurveCount(); ++i) {
        texts_.append(graph.LegendText(i));
        active_.push_back(graph.Lines.Curve(i).Active);
    }
}

void TActiveStates::Toggle(int index) {
    if (index < 0 || index >= Count()) return;
    active_[static_cast<size_t>(index)] = !active_[static_cast<size_t>(index)];
}

void TActiveStates::SetAll(bool active) {
    active_.assign(active_.size(), active);
}

QString TActiveStates::ItemText(int index) const {
    return QString::fromLatin1(Active(index) ? kActiveState : kInactiveState) +
           QStringLiteral("   ") + texts_.value(index);
}

QStringList TActiveStates::ItemTexts() const {
    QStringList items;
    for (int i = 0; i < Count(); ++i) items.append(ItemText(i));
    return items;
}

void TActiveStates::Apply(TGraphPlot& graph) const {
    for (int i = 0; i < graph.Lines.CurveCount() && i < Count(); ++i)
        graph.Lines.Curve(i).Active = active_[static_cast<size_t>(i)];
}

}  // namespace korvel
