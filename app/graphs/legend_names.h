// TLegendNames: the legend editor's working copy of a graph's legend texts, one
// per curve of Lines, active or not, in curve order. Nothing reaches the graph
// until Apply.
#pragma once

#include <QStringList>

namespace korvel {

class TGraphPlot;

inline constexpr const char* kLineNeedsName = "The line must have a name!";

class TLegendNames {
  public:
    explicit TLegendNames(const TGraphPlot& graph);

    const QStringList& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    // False (and nothing changes) for an empty text or an index outside the list.
    bool Rename(int index, const QString& text);
    // Every curve's name becomes its entry.
    void Apply(TGraphPlot& graph) const;

  private:
    QStringList names_;
};

}  // namespace korvel
