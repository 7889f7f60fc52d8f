// TPlotForm: the window of one graph. It draws the graph on a white canvas under
// its "&Plot" menu, keeps the legend box, shows the data coordinates under the
// mouse in its caption, zooms with the left button (single-panel graphs) and out
// with the right, prints and saves the graph as a bitmap. It reads the graph when
// it is created; closing it frees it, so every showing starts afresh.
#pragma once

#include <QMarginsF>
#include <QWidget>
#include <array>
#include <memory>

#include "graphs/axis_scale.h"
#include "graphs/plot_layout.h"

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QPrinter;

namespace korvel {

class TGraphPlot;
class TLegendBox;
struct TPlotView;

class TPlotForm : public QWidget {
    Q_OBJECT

  public:
    explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);
    ~TPlotForm() override;

    // False when the graph's points give no axis step: the window must close.
    bool Valid() const { return valid_; }
    TGraphPlot& Graph() const { return graph_; }
    QWidget* Canvas() const { return canvas_; }
    TLegendBox* Legend() const { return legend_; }
    QMenu* PlotMenu() const { return plot_menu_; }
    // The menu's actions by their object names ("ShowLegend", "Markers5", ...).
    QAction* Action(const QString& name) const;

    const std::array<TPanelRanges, 3>& FullRanges() const { return full_; }
    const std::array<TPanelRanges, 3>& CurrentRanges() const { return current_; }
    // Layout of the canvas at its current size.
    const TPlotLayout& Layout() const { return layout_; }

    // Caption text for a canvas position: Caption, " X: ", x, " Y: ", y (5 digits),
    // clamped to the plot area; the panel under the point in a three-panel graph.
    QString CoordinateCaption(const QPointF& canvas_position) const;
    // Zoom to a canvas rectangle (single-panel graphs); zoom out around a point.
    void ZoomTo(const QRectF& canvas_rect);
    // Shows a panel (0 to 2) in these ranges (kept within its full ranges, which
    // zooming out still reaches).
    void ShowRanges(const TPanelRanges& ranges, int panel = 0);
    void ZoomOutAt(const QPointF& canvas_position);

    // Draws the graph with its legend into a bitmap of round(width x ppi) by
    // round(height x ppi) pixels and writes it as a Windows bitmap. False when the
    // bitmap cannot be made or written (nothing is written then).
    bool SaveBitmap(const QString& path, double height_inches, double width_inches, int ppi);
    // The same picture written by path's extension: ".svg" a scalable drawing,
    // ".bmp" a Windows bitmap, anything else a PNG image.
    bool SavePicture(const QString& path, double height_inches, double width_inches, int ppi);
    // The window's canvas in inches at the screen's resolution (the size a
    // picture is saved at unless another is chosen).
    QSizeF CanvasInches() const;
    // Draws the graph on the printer's page within the margins, with the legend.
    void PrintOn(QPrinter& printer);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    class TCanvas;
    friend class TCanvas;

    void createMenus();
    void PlotMenuAboutToShow();
    void Redraw();
    void Relayout();
    TPlotView View(double dx, double dy, bool for_output) const;
    QRect LegendBounds(const QRect& legend_box) const;
    int PanelAt(const QPointF& canvas_position) const;
    // True when no printer is configured: the printer then writes a PDF file.
    bool PrintsToFile();
    void PrintClick();
    void PageSetupClick();
    void SaveClick();
    void SetFontSize(int size_font);

    TGraphPlot& graph_;
    bool valid_ = false;
    std::array<TPanelRanges, 3> full_{};
    std::array<TPanelRanges, 3> current_{};
    TPlotLayout layout_;
    QMenuBar* menu_bar_;
    QMenu* plot_menu_ = nullptr;
    QWidget* canvas_;
    TLegendBox* legend_;
    bool legend_placed_ = false;
    bool legend_at_start_ = false;  // the legend was shown when the window was made
    std::unique_ptr<QPrinter> printer_;
    QMarginsF margins_{1000, 1000, 1000, 1000};  // thousandths of an inch
};

// Shows the graph's window in area: creates it when there is none (owned by the
// area, remembered by the graph), restores it when minimized. Returns nullptr when
// the graph's points give no axis step.
QMdiSubWindow* ShowPlot(TGraphPlot& graph, QMdiArea* area);

// After a new reading of the plot data: the graph's open window, if it has one,
// draws the new curves in place (its position, size and maximised state kept,
// zoom and legend place starting afresh), or, when has_results is false or the
// new points give no axis step, says that the graph has nothing to show.
void ReloadPlot(TGraphPlot& graph, bool has_results);

// The text a graph window shows when the last analysis gave it nothing to draw.
inline constexpr const char* kNoResultsNote = "The last analysis gave no results for this graph.";

}  // namespace korvel
