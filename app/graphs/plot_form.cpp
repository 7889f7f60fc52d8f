#include "graphs/plot_form.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <cmath>

#include "entry/number_format.h"
#include "entry/ui/child_window.h"
#include "entry/ui/dialog_folder.h"
#include "graphs/graph_plot.h"
#include "graphs/legend_box.h"
#include "graphs/plot_dialogs.h"
#include "graphs/plot_painter.h"
#include "graphs/save_attributes_dialog.h"

namespace korvel {
namespace {

// Curves made active when a window is created, when the graph limits them.
constexpr int kInitialActiveCurves = 20;
// Significant digits of the mouse coordinates in the caption.
constexpr int kCoordinateDigits = 5;
constexpr double kThousandthsPerInch = 1000.0;
// Smallest canvas (pixels) on which the axes, their labels and a curve still read.
constexpr int kMinCanvasWidth = 400;
constexpr int kMinCanvasHeight = 300;

struct TChoice {
    const char* Text;
    int Value;
};
constexpr TChoice kMarkerChoices[] = {{"&Never", 0},
                                      {"Every &Increment", 1},
                                      {"Every &2 Increments", 2},
                                      {"Every &3 Increments", 3},
                                      {"Every &5 Increments", 5},
                                      {"Every &10 Increments", 10}};
constexpr TChoice kFontChoices[] = {{"&Default", 10},    {"1.5 * Default", 15},
                                    {"2 * Default", 20}, {"2.5 * Default", 25},
                                    {"3 * Default", 30}, {"4 * Default", 40}};
constexpr TChoice kWidthChoices[] = {{"&Default", 1},
                                     {"2 * Default", 2},
                                     {"4 * Default", 4},
                                     {"6 * Default", 6},
                                     {"10 * Default", 10}};

}  // namespace

// The drawing surface under the menu bar: paints the graph, follows the mouse and
// draws the zoom rectangle with an inverting pen.
class TPlotForm::TCanvas : public QWidget {
  public:
    explicit TCanvas(TPlotForm& form) : QWidget(&form), form_(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setObjectName(QStringLiteral("PlotCanvas"));
        setMinimumSize(kMinCanvasWidth, kMinCanvasHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        form_.layout_ =
            PaintGraph(p, form_.graph_, size(), form_.View(logicalDpiX(), logicalDpiY(), false));
        if (zooming_) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.setPen(QPen(Qt::white, 0, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(zoom_start_, zoom_end_).normalized());
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        form_.setWindowTitle(form_.CoordinateCaption(event->position()));
        if (zooming_) {
            zoom_end_ = Clamp(event->position());
            update();
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPointF at = event->position();
        if (!form_.layout_.Plot.contains(at)) return;
        if (event->button() == Qt::LeftButton && !form_.graph_.ShowThree) {
            zooming_ = true;
            zoom_start_ = zoom_end_ = at;
        } else if (event->button() == Qt::RightButton) {
            form_.ZoomOutAt(at);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!zooming_ || event->button() != Qt::LeftButton) return;
        zooming_ = false;
        zoom_end_ = Clamp(event->position());
        const QRectF rect = QRectF(zoom_start_, zoom_end_).normalized();
        if (rect.width() > 0 && rect.height() > 0) {
            form_.ZoomTo(rect);
        } else {
            update();
        }
    }

  private:
    QPointF Clamp(const QPointF& at) const {
        const QRectF& r = form_.layout_.Plot;
        return {std::clamp(at.x(), r.left(), r.right()), std::clamp(at.y(), r.top(), r.bottom())};
    }

    TPlotForm& form_;
    bool zooming_ = false;
    QPointF zoom_start_;
    QPointF zoom_end_;
};

TPlotForm::TPlotForm(TGraphPlot& graph, QWidget* parent)
    : QWidget(parent),
      graph_(graph),
      menu_bar_(new QMenuBar(this)),
      canvas_(new TCanvas(*this)),
      legend_(nullptr) {
    setObjectName(QStringLiteral("PlotForm"));
    setWindowTitle(graph.Caption);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menu_bar_);
    layout->addWidget(canvas_);

    // Full ranges of each panel; the current ones start equal to them.
    valid_ = true;
    for (int panel = 1; panel <= (graph.ShowThree ? 3 : 1); ++panel) {
        valid_ = valid_ &&
                 FullPanelRanges(graph.PanelLines(panel), full_[static_cast<size_t>(panel - 1)]);
    }
    current_ = full_;

    // Active curves: all, or the first 20 when the graph limits them.
    for (TCurveList* list : {&graph.Lines, &graph.Lines2, &graph.Lines3}) {
        for (int i = 0; i < list->CurveCount(); ++i) {
            list->Curve(i).Active = !graph.LimitActiveCurves || i < kInitialActiveCurves;
        }
    }

    legend_ = new TLegendBox(graph, canvas_);
    legend_->setObjectName(QStringLiteral("LegendBox"));
    graph.LegendFont = static_cast<int>(std::lround(legend_->FontPoints()));
    legend_->Rebuild();
    legend_at_start_ = graph.Lines.CurveCount() > 0 && graph.ShowLegend;
    legend_->setVisible(legend_at_start_);
    connect(legend_, &TLegendBox::visibilityToggled, this, [this] { Redraw(); });

    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    createMenus();
}

TPlotForm::~TPlotForm() = default;

QAction* TPlotForm::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void TPlotForm::createMenus() {
    plot_menu_ = menu_bar_->addMenu(QStringLiteral("&Plot"));
    plot_menu_->setObjectName(QStringLiteral("PlotMenu"));
    const auto add = [this](QMenu* menu, const char* text, const char* name, auto slot) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(plot_menu_, "Show &Legend", "ShowLegend", [this] {
        graph_.ShowLegend = !graph_.ShowLegend;
        legend_->setVisible(graph_.ShowLegend);
        Redraw();
    })->setCheckable(true);
    add(plot_menu_, "Show &Soil Layer", "ShowSoilLayer", [this] {
        graph_.ShowLayers = !graph_.ShowLayers;
        Relayout();
    })->setCheckable(true);
    add(plot_menu_, "Show &Wall Geometry", "ShowWallGeometry", [this] {
        graph_.ShowWall = !graph_.ShowWall;
        Redraw();
    })->setCheckable(true);

    QMenu* markers = plot_menu_->addMenu(QStringLiteral("Show &Markers"));
    for (const TChoice& c : kMarkerChoices) {
        QAction* a = add(markers, c.Text, "", [this, v = c.Value] {
            graph_.Markers = v;
            Redraw();
        });
        a->setObjectName(QStringLiteral("Markers%1").arg(c.Value));
        a->setCheckable(true);
        a->setData(c.Value);
    }
    QMenu* fonts = plot_menu_->addMenu(QStringLiteral("&Font Size"));
    fonts->menuAction()->setObjectName(QStringLiteral("FontSize"));
    for (const TChoice& c : kFontChoices) {
        QAction* a = add(fonts, c.Text, "", [this, v = c.Value] { SetFontSize(v); });
        a->setObjectName(QStringLiteral("Font%1").arg(c.Value));
        a->setCheckable(true);
        a->setData(c.Value);
    }
    QMenu* widths = plot_menu_->addMenu(QStringLiteral("&Line Width"));
    widths->menuAction()->setObjectName(QStringLiteral("LineWidth"));
    for (const TChoice& c : kWidthChoices) {
        QAction* a = add(widths, c.Text, "", [this, v = c.Value] {
            graph_.WidthLine = v;
            Redraw();
        });
        a->setObjectName(QStringLiteral("Width%1").arg(c.Value));
        a->setCheckable(true);
        a->setData(c.Value);
    }
    add(plot_menu_, "&Graph Title", "GraphTitle",
        [this] { GraphTitleClick(*this, [this] { Relayout(); }); });
    add(plot_menu_, "&Edit Legend", "EditLegend", [this] { EditLegendClick(*this); });
    add(plot_menu_, "&Active Curves", "ActiveCurves", [this] { ActiveCurvesClick(*this); });
    plot_menu_->addSeparator();
    add(plot_menu_, "&Print...", "Print", [this] { PrintClick(); });
    add(plot_menu_, "P&age Setup", "PageSetup", [this] { PageSetupClick(); });
    add(plot_menu_, "&Save To Disk...", "SaveToDisk", [this] { SaveClick(); });
    plot_menu_->addSeparator();
    for (int i = 0; i < graph_.Lines.CurveCount(); ++i) {
        if (!graph_.Lines.Curve(i).Active) continue;
        QAction* a = add(plot_menu_, "", "", [this, i] {
            TLine& curve = graph_.Lines.Curve(i);
            curve.Visible = !curve.Visible;
            Redraw();
        });
        a->setText(graph_.LegendText(i));
        a->setObjectName(QStringLiteral("Curve%1").arg(i));
        a->setCheckable(true);
    }
    connect(plot_menu_, &QMenu::aboutToShow, this, &TPlotForm::PlotMenuAboutToShow);
    PlotMenuAboutToShow();
}

void TPlotForm::PlotMenuAboutToShow() {
    const auto set = [this](const char* name, bool visible, bool enabled, bool checked) {
        QAction* a = Action(QString::fromLatin1(name));
        a->setVisible(visible);
        a->setEnabled(enabled);
        a->setChecked(checked);
    };
    set("ShowLegend", legend_at_start_, true, graph_.ShowLegend);
    set("ShowSoilLayer", graph_.LayerLines.CurveCount() > 0, true, graph_.ShowLayers);
    set("ShowWallGeometry", graph_.WallLineCount > 0, graph_.ShowLayers, graph_.ShowWall);
    for (const TChoice& c : kMarkerChoices)
        Action(QStringLiteral("Markers%1").arg(c.Value))->setChecked(graph_.Markers == c.Value);
    for (const TChoice& c : kFontChoices)
        Action(QStringLiteral("Font%1").arg(c.Value))->setChecked(graph_.SizeFont == c.Value);
    for (const TChoice& c : kWidthChoices)
        Action(QStringLiteral("Width%1").arg(c.Value))->setChecked(graph_.WidthLine == c.Value);
    Action(QStringLiteral("FontSize"))->setVisible(graph_.ShowFontWidth);
    Action(QStringLiteral("LineWidth"))->setVisible(graph_.ShowFontWidth);
    // Without a printer the page is printed to a PDF file.
    const bool printer = !QPrinterInfo::availablePrinters().isEmpty();
    Action(QStringLiteral("Print"))
        ->setText(printer ? QStringLiteral("&Print...") : QStringLiteral("&Print to PDF File..."));
    for (int i = 0; i < graph_.Lines.CurveCount(); ++i) {
        if (QAction* a = Action(QStringLiteral("Curve%1").arg(i)))
            a->setChecked(graph_.Lines.Curve(i).Visible);
    }
}

void TPlotForm::SetFontSize(int size_font) {
    graph_.SizeFont = size_font;
    legend_->SetFontPoints(graph_.LegendFont * size_font / 10.0);
    legend_->KeepInside();
    Relayout();
}

void TPlotForm::Redraw() {
    legend_->update();
    canvas_->update();
}

void TPlotForm::Relayout() {
    QPainter probe;  // the layout needs the canvas's font metrics only
    QImage dummy(1, 1, QImage::Format_RGB32);
    dummy.setDotsPerMeterX(static_cast<int>(std::lround(canvas_->logicalDpiX() / 0.0254)));
    dummy.setDotsPerMeterY(static_cast<int>(std::lround(canvas_->logicalDpiY() / 0.0254)));
    probe.begin(&dummy);
    layout_ = GraphLayout(graph_, canvas_->size(),
                          View(canvas_->logicalDpiX(), canvas_->logicalDpiY(), false), probe);
    probe.end();
    if (legend_placed_) legend_->KeepInside();
    Redraw();
}

void TPlotForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
    if (!legend_placed_ && canvas_->width() > 0 && canvas_->height() > 0) {
        // At the bottom right of the plot when the window is first laid out.
        legend_->move(static_cast<int>(layout_.Plot.right()) - legend_->width() - 2,
                      static_cast<int>(layout_.Plot.bottom()) - legend_->height() - 2);
        legend_placed_ = true;
    }
    // Inside the plot area, clear of the axis labels, at every size.
    legend_->SetBounds([this](const QRect& box) { return LegendBounds(box); });
}

QRect TPlotForm::LegendBounds(const QRect& box) const {
    // Inside the frame line of the plot area (of the nearest panel of a
    // three-panel graph), clear of the axis labels.
    const QRectF area = LegendArea(layout_, QRectF(box).center());
    return area.toAlignedRect().adjusted(1, 1, -1, -1);
}

TPlotView TPlotForm::View(double dx, double dy, bool for_output) const {
    TPlotView view;
    view.Ranges = current_;
    view.Dx = dx;
    view.Dy = dy;
    view.FontPoints = font().pointSizeF() > 0 ? font().pointSizeF() : 10;
    view.DrawLegend = for_output && legend_->isVisible();
    if (canvas_->width() > 0 && canvas_->height() > 0) {
        view.LegendPlace = QPointF(static_cast<double>(legend_->x()) / canvas_->width(),
                                   static_cast<double>(legend_->y()) / canvas_->height());
    }
    return view;
}

int TPlotForm::PanelAt(const QPointF& at) const {
    int best = 0;
    double distance = 1e300;
    for (size_t i = 0; i < layout_.Panels.size(); ++i) {
        const QRectF& r = layout_.Panels[i];
        const double d =
            at.x() < r.left() ? r.left() - at.x() : (at.x() > r.right() ? at.x() - r.right() : 0);
        if (d < distance) {
            distance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

QString TPlotForm::CoordinateCaption(const QPointF& at) const {
    if (layout_.Panels.empty()) return graph_.Caption;
    const int panel = PanelAt(at);
    const QRectF& r = layout_.Panels[static_cast<size_t>(panel)];
    const TPanelRanges& ranges = current_[static_cast<size_t>(panel)];
    const double px = std::clamp(at.x(), r.left(), r.right());
    const double py = std::clamp(at.y(), r.top(), r.bottom());
    const double x = PanelX(r, ranges.X, px);
    const double y = PanelY(r, ranges.Y, graph_.XOnTop, py);
    return graph_.Caption + QStringLiteral(" X: ") + FormatGeneral(x, kCoordinateDigits) +
           QStringLiteral(" Y: ") + FormatGeneral(y, kCoordinateDigits);
}

void TPlotForm::ZoomTo(const QRectF& rect) {
    if (graph_.ShowThree || layout_.Panels.empty()) return;
    const QRectF& r = layout_.Plot;
    const QRectF c = rect.intersected(r);
    if (c.width() <= 0 || c.height() <= 0) return;
    TPanelRanges& now = current_[0];
    const TPanelRanges before = now;
    now.X = ZoomIn(full_[0].X, PanelX(r, before.X, c.left()), PanelX(r, before.X, c.right()));
    now.Y = ZoomIn(full_[0].Y, PanelY(r, before.Y, graph_.XOnTop, c.top()),
                   PanelY(r, before.Y, graph_.XOnTop, c.bottom()));
    Redraw();
}

void TPlotForm::ShowRanges(const TPanelRanges& ranges, int panel) {
    if (panel < 0 || panel > 2) return;
    TPanelRanges& now = current_[static_cast<size_t>(panel)];
    const TPanelRanges& full = full_[static_cast<size_t>(panel)];
    now.X = {std::max(full.X.Min, ranges.X.Min), std::min(full.X.Max, ranges.X.Max)};
    now.Y = {std::max(full.Y.Min, ranges.Y.Min), std::min(full.Y.Max, ranges.Y.Max)};
    if (!(now.X.Width() > 0)) now.X = full.X;
    if (!(now.Y.Width() > 0)) now.Y = full.Y;
    Redraw();
}

void TPlotForm::ZoomOutAt(const QPointF& at) {
    if (layout_.Panels.empty()) return;
    const int panel = PanelAt(at);
    const QRectF& r = layout_.Panels[static_cast<size_t>(panel)];
    TPanelRanges& now = current_[static_cast<size_t>(panel)];
    const TPanelRanges& full = full_[static_cast<size_t>(panel)];
    now.X = ZoomOut(full.X, now.X, PanelX(r, now.X, at.x()));
    now.Y = ZoomOut(full.Y, now.Y, PanelY(r, now.Y, graph_.XOnTop, at.y()));
    Redraw();
}

bool TPlotForm::SaveBitmap(const QString& path, double height_inches, double width_inches,
                           int ppi) {
    return SavePicture(path, height_inches, width_inches, ppi);
}

QSizeF TPlotForm::CanvasInches() const {
    return {canvas_->width() / static_cast<double>(canvas_->logicalDpiX()),
            canvas_->height() / static_cast<double>(canvas_->logicalDpiY())};
}

bool TPlotForm::SavePicture(const QString& path, double height_inches, double width_inches,
                            int ppi) {
    const int w = static_cast<int>(std::lround(width_inches * ppi));
    const int h = static_cast<int>(std::lround(height_inches * ppi));
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        if (w <= 0 || h <= 0) return false;
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(w, h));
        svg.setViewBox(QRect(0, 0, w, h));
        svg.setResolution(ppi);
        svg.setTitle(graph_.Caption);
        QPainter p;
        if (!p.begin(&svg)) return false;
        PaintGraph(p, graph_, QSizeF(w, h), View(ppi, ppi, true));
        return p.end();
    }
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return false;  // could not be allocated
    // The image's resolution sizes the fonts like the layout's inches.
    image.setDotsPerMeterX(static_cast<int>(std::lround(ppi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(ppi / 0.0254)));
    {
        QPainter p(&image);
        PaintGraph(p, graph_, QSizeF(w, h), View(ppi, ppi, true));
    }
    return image.save(path, suffix == QLatin1String("bmp") ? "BMP" : "PNG");
}

void TPlotForm::PrintOn(QPrinter& printer) {
    printer.setDocName(graph_.Caption);
    printer.setFullPage(true);
    QPainter p;
    if (!p.begin(&printer)) return;
    const double dx = printer.logicalDpiX();
    const double dy = printer.logicalDpiY();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    // Margins from thousandths of an inch, never inside the unprintable edges.
    const double left =
        std::max(margins_.left() / kThousandthsPerInch * dx, printable.left() - paper.left());
    const double top =
        std::max(margins_.top() / kThousandthsPerInch * dy, printable.top() - paper.top());
    const double right =
        std::max(margins_.right() / kThousandthsPerInch * dx, paper.right() - printable.right());
    const double bottom =
        std::max(margins_.bottom() / kThousandthsPerInch * dy, paper.bottom() - printable.bottom());
    const QSizeF area(paper.width() - left - right, paper.height() - top - bottom);
    p.translate(left, top);
    TPlotView view = View(dx, dy, true);
    view.FinePictures = true;
    PaintGraph(p, graph_, area, view);
    p.end();
    Relayout();  // the window's own layout again
}

bool TPlotForm::PrintsToFile() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) return false;
    printer_->setOutputFormat(QPrinter::PdfFormat);
    return true;
}

void TPlotForm::PrintClick() {
    if (PrintsToFile()) {
        // No printer: the page goes into a PDF file of the user's choice.
        QFileDialog files(this, QStringLiteral("Print to PDF File"));
        files.setAcceptMode(QFileDialog::AcceptSave);
        files.setNameFilter(QStringLiteral("PDF (*.pdf)"));
        files.setDefaultSuffix(QStringLiteral("pdf"));
        files.setDirectory(DialogStartFolder());
        if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty()) return;
        RememberDialogFolder(files.selectedFiles().constFirst());
        printer_->setOutputFileName(files.selectedFiles().constFirst());
        PrintOn(*printer_);
        return;
    }
    QPrintDialog dialog(printer_.get(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    PrintOn(*printer_);
}

void TPlotForm::PageSetupClick() {
    PrintsToFile();
    printer_->setPageMargins(margins_ / kThousandthsPerInch, QPageLayout::Inch);
    QPageSetupDialog dialog(printer_.get(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    margins_ = printer_->pageLayout().margins(QPageLayout::Inch) * kThousandthsPerInch;
}

void TPlotForm::SaveClick() {
    QFileDialog files(this, QStringLiteral("Save To Disk"));
    files.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters = {QStringLiteral("PNG image (*.png)"),
                                 QStringLiteral("SVG drawing (*.svg)"),
                                 QStringLiteral("Bitmap (*.bmp)")};
    const QStringList suffixes = {QStringLiteral("png"), QStringLiteral("svg"),
                                  QStringLiteral("bmp")};
    files.setNameFilters(filters);
    files.setDefaultSuffix(suffixes.front());
    connect(&files, &QFileDialog::filterSelected, &files, [&](const QString& filter) {
        files.setDefaultSuffix(
            suffixes.value(static_cast<int>(filters.indexOf(filter)), suffixes.front()));
    });
    files.setDirectory(DialogStartFolder());
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty()) return;
    RememberDialogFolder(files.selectedFiles().constFirst());
    // The window's own size unless the user chooses another.
    TSaveAttributesDialog attributes(this);
    const QSizeF inches = CanvasInches();
    attributes.SetValues(inches.height(), inches.width(),
                         static_cast<int>(std::lround(canvas_->logicalDpiY())));
    if (attributes.exec() != QDialog::Accepted) return;
    const QString path = files.selectedFiles().constFirst();
    if (!SavePicture(path, attributes.HeightInches(), attributes.WidthInches(),
                     attributes.PixelsPerInch())) {
        QMessageBox::information(this, graph_.Caption,
                                 QStringLiteral("The picture could not be saved to ") + path);
    }
}

namespace {

// Puts content into window in place of what it shows, keeping the window's place.
void ReplaceContent(QMdiSubWindow* window, QWidget* content, const QString& caption) {
    const QRect geometry = window->geometry();
    const bool maximized = window->isMaximized();
    QWidget* old = window->widget();
    window->setWidget(nullptr);
    delete old;
    window->setWidget(content);
    window->setWindowTitle(caption);
    if (!maximized && !window->isMinimized()) window->setGeometry(geometry);
    content->show();
}

QWidget* NoResultsNote(const TGraphPlot& graph) {
    auto* note = new QLabel(QLatin1String(kNoResultsNote));
    note->setObjectName(QStringLiteral("PlotNote"));
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setMargin(20);
    note->setWindowTitle(graph.Caption);
    note->setAutoFillBackground(true);
    QPalette white = note->palette();
    white.setColor(QPalette::Window, Qt::white);
    note->setPalette(white);
    return note;
}

}  // namespace

void ReloadPlot(TGraphPlot& graph, bool has_results) {
    auto* window = qobject_cast<QMdiSubWindow*>(graph.PlotWindow.data());
    if (!window) return;
    QWidget* content = nullptr;
    if (has_results) {
        auto* form = new TPlotForm(graph);
        if (form->Valid()) {
            content = form;
        } else {
            delete form;
        }
    }
    if (!content) content = NoResultsNote(graph);
    ReplaceContent(window, content, graph.Caption);
}

QMdiSubWindow* ShowPlot(TGraphPlot& graph, QMdiArea* area) {
    auto* window = qobject_cast<QMdiSubWindow*>(graph.PlotWindow.data());
    // A window that says it has nothing to show draws the graph again once it has.
    if (window && !qobject_cast<TPlotForm*>(window->widget())) {
        auto* form = new TPlotForm(graph);
        if (!form->Valid()) {
            delete form;
            return nullptr;
        }
        ReplaceContent(window, form, graph.Caption);
    }
    if (!window) {
        auto* form = new TPlotForm(graph);
        if (!form->Valid()) {
            delete form;
            return nullptr;
        }
        window = area->addSubWindow(form);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowIcon(QIcon());
        graph.PlotWindow = window;
        // Sized first, so that restoring the maximised window gives a usable size.
        PlaceChildWindow(window);
        window->showMaximized();
    } else if (window->isMinimized()) {
        window->showNormal();
        PlaceChildWindow(window);
    }
    window->show();
    area->setActiveSubWindow(window);
    return window;
}

}  // namespace korvel
