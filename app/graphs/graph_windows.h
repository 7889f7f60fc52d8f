// TGraphWindows: the main window's result graphs behind its TResultGraphs
// interface: the eight graph components, filled by ReadPlotFile from the open
// project, and their plot windows in the main window's MDI area.
#pragma once

#include <vector>

#include "graphs/result_graphs.h"
#include "graphs/result_plots.h"
#include "report/plot_py_sets.h"

namespace korvel {

class TPlotForm;
class TProgramData;

class TGraphWindows : public TResultGraphs {
  public:
    // project must outlive this object.
    explicit TGraphWindows(TProgramData& project);

    bool ReadPlotFile(const QString& path, bool after_run) override;
    bool HasCurve(TGraphKind kind) const override;
    QWidget* ShowPlot(TGraphKind kind, QMdiArea* area) override;
    void ShowNewResults(const std::array<bool, kGraphCount>& available) override;

    TGraphPlot& Graph(TGraphKind kind);
    const TGraphPlot& Graph(TGraphKind kind) const;
    TResultPlots& Plots() { return plots_; }
    // The reader's message of the last failed reading.
    const QString& LastError() const { return last_error_; }

    // Puts the p-y curves of the project's current stage into the p-y graph (the
    // reader leaves the last stage's there) and names each curve by its depth
    // and station. ShowPlot does it before it opens the p-y window.
    void SelectStagePYCurves();

  private:
    void ShowToTheToe(TGraphKind kind, TPlotForm& form);
    // What a new window of the graph opens on: result graphs end at the toe,
    // the p-y graph spans the working range of the wall's deflections.
    void ShowOpeningRanges(TGraphKind kind, TPlotForm& form);

    TProgramData& project_;
    std::vector<std::vector<TPYCurveData>> py_sets_;  // every set's curves, from the file
    TResultPlots plots_;
    QString last_error_;
};

}  // namespace korvel
