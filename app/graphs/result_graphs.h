// What the main window needs of its result graphs: reading the plot data file
// into them, whether a graph has something to draw, and opening its window.
// The window holds one TResultGraphs; the graph component plugs in behind it.
#pragma once

#include <QString>
#include <array>

#include "graphs/graph_kind.h"

class QMdiArea;
class QWidget;

namespace korvel {

class TResultGraphs {
  public:
    virtual ~TResultGraphs() = default;
    // Reads the plot data file; false when the read stopped on an error (the
    // caller decides what to tell the user).
    virtual bool ReadPlotFile(const QString& path, bool after_run) = 0;
    // At least one curve, and the first curve of its first list has more than one point.
    virtual bool HasCurve(TGraphKind kind) const = 0;
    // Opens the graph's window (or brings it to the front) in area.
    virtual QWidget* ShowPlot(TGraphKind kind, QMdiArea* area) = 0;
    // After a run: every open graph window draws the new results when its graph
    // is available (by TGraphKind, as the Graphics menu offers it), or says that
    // the run gave none for it.
    virtual void ShowNewResults(const std::array<bool, kGraphCount>& available) = 0;
};

}  // namespace korvel
