#include "graphs/graph_windows.h"

#include <QMdiSubWindow>
#include <cmath>

#include "entry/number_format.h"
#include "entry/units.h"
#include "graphs/plot_file_reader.h"
#include "graphs/plot_form.h"
#include "graphs/pressure_parts.h"
#include "graphs/py_working_range.h"
#include "project/program_data.h"

namespace korvel {

TGraphWindows::TGraphWindows(TProgramData& project) : project_(project) {}

bool TGraphWindows::ReadPlotFile(const QString& path, bool after_run) {
    // The main window shows the after-run message itself.
    const TPlotReadResult result = korvel::ReadPlotFile(path, after_run, plots_, project_);
    last_error_ = result.Error;
    py_sets_ = result.Loaded ? ReadPYSets(path) : std::vector<std::vector<TPYCurveData>>{};
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
    const bool fresh = Graph(kind).PlotWindow.isNull();
    if (kind == TGraphKind::kPY) SelectStagePYCurves();
    QWidget* window = korvel::ShowPlot(Graph(kind), area);
    TPlotForm* form = window ? window->findChild<TPlotForm*>() : nullptr;
    if (fresh && form) ShowOpeningRanges(kind, *form);
    return window;
}

void TGraphWindows::ShowOpeningRanges(TGraphKind kind, TPlotForm& form) {
    if (kind != TGraphKind::kPY) {
        ShowToTheToe(kind, form);
        return;
    }
    // The p-y graph opens on the working range of the wall's deflections.
    const TCurveList& sets = plots_.pltDef.Lines;
    const int stage = project_.CurrentStage;
    const bool staged = project_.StageCount > 1 && sets.CurveCount() == project_.StageCount;
    double largest = 0;
    for (int i = 0; i < sets.CurveCount(); ++i) {
        // The current stage's deflections, or those of every set.
        if (staged && i != stage - 1) continue;
        for (int j = 0; j < sets.PointCount(); ++j)
            largest = std::max(largest, std::abs(static_cast<double>(sets.Point(i, j).X)));
    }
    TPanelRanges ranges;
    if (PYWorkingRange(plots_.pltPY.Lines, largest, kPYWorkingRangeFactor, ranges))
        form.ShowRanges(ranges);
}

void TGraphWindows::ShowToTheToe(TGraphKind kind, TPlotForm& form) {
    // The result rows run to station N+1, one increment below the toe: a new
    // window of a result graph opens with its depth axis ending at the toe.
    if (kind != TGraphKind::kDef && kind != TGraphKind::kMom && kind != TGraphKind::kShear &&
        kind != TGraphKind::kSoil && kind != TGraphKind::kDMS)
        return;
    TGraphPlot& g = Graph(kind);
    const int panels = g.ShowThree ? 3 : 1;
    for (int panel = 1; panel <= panels; ++panel) {
        const TCurveList& lines = g.PanelLines(panel);
        if (lines.PointCount() < 3) continue;
        double toe = 0;
        for (int i = 0; i < lines.CurveCount(); ++i)
            toe = std::max(toe, static_cast<double>(lines.Point(i, lines.PointCount() - 2).Y));
        TPanelRanges ranges = form.CurrentRanges()[static_cast<size_t>(panel - 1)];
        TAxisRange depth;
        if (!FullAxisRange({0.0, toe}, depth)) continue;
        ranges.Y = depth;
        form.ShowRanges(ranges, panel - 1);
    }
}

void TGraphWindows::SelectStagePYCurves() {
    TGraphPlot& g = plots_.pltPY;
    TCurveList& lines = g.Lines;
    const int stages = project_.StageCount;
    const int stage = project_.CurrentStage;
    if (stages > 1 && static_cast<int>(py_sets_.size()) == stages && stage >= 1 &&
        stage <= stages) {
        const std::vector<TPYCurveData>& curves = py_sets_[static_cast<size_t>(stage - 1)];
        size_t longest = 0;
        for (const TPYCurveData& c : curves) longest = std::max(longest, c.Points.size());
        lines.SetCurveCount(static_cast<int>(curves.size()));
        lines.SetPointCount(static_cast<int>(longest));
        for (size_t i = 0; i < curves.size(); ++i) {
            TLine& line = lines.Curve(static_cast<int>(i));
            line.Value = curves[i].Label;
            for (int j = 0; j < line.PointCount(); ++j) line.Point(j) = {};
            for (size_t j = 0; j < curves[i].Points.size(); ++j)
                line.Point(static_cast<int>(j)) = {curves[i].Points[j].first,
                                                   curves[i].Points[j].second};
            // As the reader fills the curves of a block: short ones end in copies.
            if (!curves[i].Points.empty() && curves[i].Points.size() < longest)
                line.FillFrom(static_cast<int>(curves[i].Points.size()));
        }
        g.Title = QStringLiteral("Stage %1").arg(stage);
    }
    // The file labels generated curves alone by depth, every other curve by station.
    const bool depths = project_.PYCurveOption == 2 && !project_.ApplyExternalPYCurves;
    const bool english = project_.UnitSystem() == kEnglishUnits;
    const double h = static_cast<double>(project_.IncrementLength);
    g.DefaultLegends.clear();
    for (int i = 0; i < lines.CurveCount() && h > 0; ++i) {
        const double label = static_cast<double>(lines.Curve(i).Value);
        const int station = static_cast<int>(std::lround(depths ? label / h : label));
        const double depth = (depths ? label : station * h) / (english ? 12.0 : 1.0);
        g.DefaultLegends << QStringLiteral("x = %1 %2 (station %3)")
                                .arg(FormatGeneral(depth, 5),
                                     english ? QStringLiteral("ft") : QStringLiteral("m"))
                                .arg(station);
    }
}

void TGraphWindows::ShowNewResults(const std::array<bool, kGraphCount>& available) {
    SelectStagePYCurves();
    for (int i = 0; i < kGraphCount; ++i) {
        const auto kind = static_cast<TGraphKind>(i);
        TGraphPlot& g = Graph(kind);
        ReloadPlot(g, available[static_cast<size_t>(i)]);
        // A graph redrawn with new results shows the ranges a new window of it opens on.
        QObject* window = g.PlotWindow.data();
        TPlotForm* form = window ? window->findChild<TPlotForm*>() : nullptr;
        if (form) ShowOpeningRanges(kind, *form);
    }
}

}  // namespace korvel
