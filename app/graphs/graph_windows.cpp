#include "graphs/graph_windows.h"

#include <QMdiSubWindow>

#include "graphs/plot_file_reader.h"
#include "graphs/plot_form.h"
#include "graphs/pressure_parts.h"

namespace korvel {

TGraphWindows::TGraphWindows(TProgramData& project) : project_(project) {}

bool TGraphWindows::ReadPlotFile(const QString& path, bool after_run) {
    // The main window shows the after-run message itself.
    const TPlotReadResult result = korvel::ReadPlotFile(path, after_run, plots_, project_);
    last_error_ = result.Error;
    // The combined graph shows soils, water and surcharges each as what they are.
    if (result.Loaded) ShowPressureParts(plots_.PltCombine, project_);
    return result.Loaded;
}

TGraphPlot& TGraphWindows::Graph(TGraphKind kind) {
    return *plots_.All()[static_cast<size_t>(GraphIndex(kind))];
}

const TGraphPlot& TGraphWindows::Graph(TGraphKind kind) const {
    return const_cast<TGraphWindows*>(this)->Graph(kind);
}

bool TGraphWindows::HasCurve(TGraphKind kind) const {
    const TCurveList& lines = Graph(kind).Lines;
    return lines.CurveCount() > 0 && lines.PointCount() > 1;
}

QWidget* TGraphWindows::ShowPlot(TGraphKind kind, QMdiArea* area) {
    return korvel::ShowPlot(Graph(kind), area);
}

void TGraphWindows::ShowNewResults(const std::array<bool, kGraphCount>& available) {
    for (int i = 0; i < kGraphCount; ++i)
        ReloadPlot(Graph(static_cast<TGraphKind>(i)), available[static_cast<size_t>(i)]);
}

}  // namespace korvel
