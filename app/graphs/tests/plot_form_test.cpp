// The plot window on the offscreen platform: built from an engine example and
// from made-up graphs, driven through its menu, mouse and legend, saved as a bitmap.
#include "graphs/plot_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "entry/number_format.h"
#include "entry/table_definitions.h"
#include "graphs/graph_windows.h"
#include "graphs/legend_box.h"
#include "graphs/plot_painter.h"
#include "project/program_data.h"

namespace korvel {
namespace {

QString Data(const char* name) {
    return QStringLiteral(KORVEL_GRAPH_DATA "/") + QString::fromLatin1(name);
}

// Counts pixels of this colour, allowing for the shades of antialiased lines.
int CountColour(const QImage& image, QColor colour, int tolerance = 40) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) <= tolerance &&
                 std::abs(c.green() - colour.green()) <= tolerance &&
                 std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    }
    return n;
}

// A graph of n straight curves from (0, 0) to (10 + i, 25).
void MakeCurves(TGraphPlot& graph, int n) {
    graph.Caption = "Test Graph";
    graph.Lines.SetCurveCount(n);
    graph.Lines.SetPointCount(2);
    for (int i = 0; i < n; ++i) graph.Lines.Point(i, 1) = {10.0L + i, 25.0L};
}

class ExampleWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(project.CreateFromFile(Data("three_stages_english.kv5d")).Complete);
        ASSERT_TRUE(graphs.ReadPlotFile(Data("three_stages_english.kv5p"), true))
            << graphs.LastError().toStdString();
        area.resize(1000, 800);
        area.show();
    }
    TPlotForm* Show(TGraphKind kind) {
        QWidget* window = graphs.ShowPlot(kind, &area);
        return window ? window->findChild<TPlotForm*>() : nullptr;
    }

    TProgramTables tables;
    TProgramData project{tables};
    TGraphWindows graphs{project};
    QMdiArea area;
};

TEST_F(ExampleWindowTest, EveryGraphOpensWithItsCaption) {
    for (int i = 0; i < kGraphCount; ++i) {
        const auto kind = static_cast<TGraphKind>(i);
        EXPECT_TRUE(graphs.HasCurve(kind)) << i;
        TPlotForm* form = Show(kind);
        ASSERT_NE(form, nullptr) << i;
        EXPECT_EQ(form->windowTitle(), QString::fromLatin1(GraphCaption(kind)));
        EXPECT_TRUE(form->parentWidget()->isMaximized());
    }
    EXPECT_EQ(area.subWindowList().size(), kGraphCount);
    // Showing again brings the same window.
    QWidget* again = graphs.ShowPlot(TGraphKind::kDef, &area);
    EXPECT_EQ(area.subWindowList().size(), kGraphCount);
    EXPECT_EQ(again, graphs.Graph(TGraphKind::kDef).PlotWindow.data());
}

// The reader leaves the last stage's p-y curves in the graph; the window shows
// those of the project's current stage, each named by its depth and station.
// Stage 1 of the file has curves at stations 17, 38 and 60 (h = 6 in), the
// first from (-3, 500).
TEST_F(ExampleWindowTest, PYCurvesOfTheCurrentStage) {
    TGraphPlot& py = graphs.Graph(TGraphKind::kPY);
    const long double last_label = py.Lines.Curve(0).Value;
    project.CurrentStage = 1;
    ASSERT_NE(Show(TGraphKind::kPY), nullptr);
    ASSERT_EQ(py.Lines.CurveCount(), 3);
    EXPECT_EQ(py.Lines.Curve(0).Value, 17);
    EXPECT_EQ(py.Lines.Curve(2).Value, 60);
    EXPECT_EQ(py.Lines.Point(0, 0).X, -3);
    EXPECT_EQ(py.Lines.Point(0, 0).Y, 500);
    EXPECT_EQ(py.Lines.Point(1, 6).Y, -2500);
    EXPECT_EQ(py.LegendText(0), QStringLiteral("x = 8.5 ft (station 17)"));
    EXPECT_EQ(py.LegendText(2), QStringLiteral("x = 30 ft (station 60)"));
    EXPECT_EQ(py.Title, QStringLiteral("Stage 1"));
    // The window opens on 2.5 times stage 1's largest deflection, 0.2193 in at the
    // head: y from -0.6 to 0.6 in of the curves' -3 to 3; zooming out reaches them.
    TPlotForm* form = Show(TGraphKind::kPY);
    ASSERT_NE(form, nullptr);
    EXPECT_NEAR(form->CurrentRanges()[0].X.Min, -0.6, 1e-12);
    EXPECT_NEAR(form->CurrentRanges()[0].X.Max, 0.6, 1e-12);
    EXPECT_NEAR(form->FullRanges()[0].X.Max, 3, 1e-12);
    EXPECT_LT(form->CurrentRanges()[0].Y.Max, form->FullRanges()[0].Y.Max);
    // The last stage gives back what the reader read.
    project.CurrentStage = project.StageCount;
    graphs.SelectStagePYCurves();
    EXPECT_EQ(py.Lines.Curve(0).Value, last_label);
    EXPECT_EQ(py.Title, QStringLiteral("Stage %1").arg(project.StageCount));
}

// The result rows run one increment below the toe (31 ft of a 30 ft wall):
// the depth axes of a new window end at the toe, zooming out still reaches 31 ft.
TEST_F(ExampleWindowTest, DepthAxesEndAtTheToe) {
    TPlotForm* form = Show(TGraphKind::kDMS);
    ASSERT_NE(form, nullptr);
    for (size_t panel = 0; panel < 3; ++panel) {
        EXPECT_NEAR(form->CurrentRanges()[panel].Y.Max, 30, 1e-9) << panel;
        EXPECT_GT(form->FullRanges()[panel].Y.Max, 30) << panel;
    }
    TPlotForm* moment = Show(TGraphKind::kMom);
    ASSERT_NE(moment, nullptr);
    EXPECT_NEAR(moment->CurrentRanges()[0].Y.Max, 30, 1e-9);
}

TEST_F(ExampleWindowTest, ClosingFreesTheWindow) {
    TPlotForm* form = Show(TGraphKind::kDMS);
    ASSERT_NE(form, nullptr);
    form->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(graphs.Graph(TGraphKind::kDMS).PlotWindow.isNull());
    EXPECT_NE(Show(TGraphKind::kDMS), nullptr);
}

// After a run the open windows stay: a graph with results draws them anew in
// its window; one without says so, and draws again once it has results.
TEST_F(ExampleWindowTest, NewResultsReachTheOpenWindows) {
    TPlotForm* deflection = Show(TGraphKind::kDef);
    TPlotForm* pressure = Show(TGraphKind::kLD);
    ASSERT_NE(deflection, nullptr);
    ASSERT_NE(pressure, nullptr);
    QWidget* def_window = deflection->parentWidget();
    QWidget* ld_window = pressure->parentWidget();
    std::array<bool, kGraphCount> available{};
    available.fill(true);
    available[static_cast<size_t>(GraphIndex(TGraphKind::kLD))] = false;
    graphs.ShowNewResults(available);
    QCoreApplication::processEvents();
    EXPECT_EQ(area.subWindowList().size(), 2);
    // The same windows, maximised as before, with new contents.
    EXPECT_EQ(graphs.Graph(TGraphKind::kDef).PlotWindow.data(), def_window);
    EXPECT_EQ(graphs.Graph(TGraphKind::kLD).PlotWindow.data(), ld_window);
    auto* def_sub = qobject_cast<QMdiSubWindow*>(def_window);
    auto* ld_sub = qobject_cast<QMdiSubWindow*>(ld_window);
    ASSERT_NE(qobject_cast<TPlotForm*>(def_sub->widget()), nullptr);
    EXPECT_EQ(def_sub->windowTitle(), "Deflection vs Depth");
    auto* note = qobject_cast<QLabel*>(ld_sub->widget());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), kNoResultsNote);
    EXPECT_EQ(ld_sub->windowTitle(), "Earth Pressure Distribution");
    // Showing the graph again once it has results draws it in the same window.
    EXPECT_EQ(graphs.ShowPlot(TGraphKind::kLD, &area), ld_window);
    EXPECT_NE(qobject_cast<TPlotForm*>(ld_sub->widget()), nullptr);
    EXPECT_EQ(area.subWindowList().size(), 2);
}

TEST_F(ExampleWindowTest, ThreePanelsLegendAndMenu) {
    TPlotForm* form = Show(TGraphKind::kDMS);
    ASSERT_NE(form, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(form->Layout().Panels.size(), 3u);
    EXPECT_FALSE(form->Layout().LayerColumn.isEmpty());
    // Moment panel in kip-inches, from the converted rows.
    EXPECT_DOUBLE_EQ(form->FullRanges()[1].Y.Min, 0.0);
    EXPECT_DOUBLE_EQ(form->FullRanges()[1].Y.Max, 40.0);  // 30.5 ft: step 10
    TLegendBox* legend = form->Legend();
    ASSERT_EQ(legend->ItemCount(), 3);
    EXPECT_EQ(legend->ItemText(1), "Stage: 2 *");
    EXPECT_TRUE(legend->isVisible());
    EXPECT_TRUE(form->Layout().Plot.contains(QRectF(legend->geometry()).center()));
    EXPECT_TRUE(form->Action("ShowSoilLayer")->isVisible());
    EXPECT_TRUE(form->Action("ShowWallGeometry")->isVisible());
    EXPECT_TRUE(form->Action("ShowWallGeometry")->isEnabled());
    EXPECT_EQ(form->Action("Curve2")->text(), "Stage: 3");
    EXPECT_TRUE(form->Action("Curve2")->isChecked());
    // A double click on the legend's second item hides that curve.
    QTest::mouseDClick(legend, Qt::LeftButton, {},
                       QPoint(5, static_cast<int>(legend->ItemHeight() * 1.5)));
    EXPECT_FALSE(graphs.Graph(TGraphKind::kDMS).Lines.Curve(1).Visible);
    EXPECT_EQ(legend->ItemText(1), "Stage: 2");
    // Switching the soil layers off gives the plot its inch back.
    const double right = form->Layout().Plot.right();
    form->Action("ShowSoilLayer")->trigger();
    EXPECT_GT(form->Layout().Plot.right(), right + 50);
    EXPECT_FALSE(graphs.Graph(TGraphKind::kDMS).ShowLayers);
}

TEST_F(ExampleWindowTest, MenuChoicesSetTheGraph) {
    TPlotForm* form = Show(TGraphKind::kDef);
    ASSERT_NE(form, nullptr);
    TGraphPlot& graph = graphs.Graph(TGraphKind::kDef);
    form->Action("Markers10")->trigger();
    EXPECT_EQ(graph.Markers, 10);
    emit form->PlotMenu()->aboutToShow();
    EXPECT_TRUE(form->Action("Markers10")->isChecked());
    EXPECT_FALSE(form->Action("Markers1")->isChecked());
    EXPECT_EQ(form->Action("Markers3")->text(), "Every &3 Increments");
    const double legend_points = form->Legend()->FontPoints();
    const double top = form->Layout().Plot.top();
    form->Action("Font20")->trigger();
    EXPECT_EQ(graph.SizeFont, 20);
    EXPECT_DOUBLE_EQ(form->Legend()->FontPoints(), legend_points * 2);
    EXPECT_GT(form->Layout().Plot.top(), top);  // twice the text height above the plot
    form->Action("Width4")->trigger();
    EXPECT_EQ(graph.WidthLine, 4);
    EXPECT_FALSE(form->Action("ShowSoilLayer")->isVisible());  // no layers in this graph
}

TEST_F(ExampleWindowTest, MouseCoordinatesInTheCaption) {
    TPlotForm* form = Show(TGraphKind::kMom);
    ASSERT_NE(form, nullptr);
    QApplication::processEvents();
    const QRectF plot = form->Layout().Plot;
    const TPanelRanges& r = form->CurrentRanges()[0];
    // Bottom right corner (and beyond it: clamped): X maximum, Y maximum depth.
    const QString expected = QStringLiteral("Moment vs Depth X: %1 Y: %2")
                                 .arg(FormatGeneral(r.X.Max, 5), FormatGeneral(r.Y.Max, 5));
    EXPECT_EQ(form->CoordinateCaption(plot.bottomRight() + QPointF(40, 40)), expected);
    QTest::mouseMove(form->Canvas(), plot.topLeft().toPoint() + QPoint(1, 1));
    EXPECT_TRUE(form->windowTitle().startsWith("Moment vs Depth X: "))
        << form->windowTitle().toStdString();
}

TEST(PlotForm, ZoomStopsAtOneTwentiethAndRightClickZoomsOut) {
    TGraphPlot graph;
    MakeCurves(graph, 1);
    TPlotForm form(graph);
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    const TPanelRanges full = form.FullRanges()[0];
    EXPECT_DOUBLE_EQ(full.X.Max, 10);
    EXPECT_DOUBLE_EQ(full.Y.Max, 25);
    const QRectF plot = form.Layout().Plot;
    QWidget* canvas = form.Canvas();
    const QPoint a = plot.center().toPoint();
    QTest::mousePress(canvas, Qt::LeftButton, {}, a);
    QTest::mouseMove(canvas, a + QPoint(3, 3));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, a + QPoint(3, 3));
    const TPanelRanges zoomed = form.CurrentRanges()[0];
    EXPECT_NEAR(zoomed.X.Width(), full.X.Width() / 20, 1e-9);
    EXPECT_NEAR(zoomed.Y.Width(), full.Y.Width() / 20, 1e-9);
    EXPECT_NEAR((zoomed.X.Min + zoomed.X.Max) / 2, 5, 0.1);
    QTest::mouseClick(canvas, Qt::RightButton, {}, a);
    EXPECT_NEAR(form.CurrentRanges()[0].X.Width(), full.X.Width() / 10, 1e-9);
    for (int i = 0; i < 6; ++i) QTest::mouseClick(canvas, Qt::RightButton, {}, a);
    EXPECT_DOUBLE_EQ(form.CurrentRanges()[0].X.Min, full.X.Min);
    EXPECT_DOUBLE_EQ(form.CurrentRanges()[0].X.Max, full.X.Max);
}

TEST(PlotForm, ThreePanelGraphsDoNotZoomWithTheLeftButton) {
    TGraphPlot graph;
    MakeCurves(graph, 1);
    graph.ShowThree = true;
    for (TCurveList* list : {&graph.Lines2, &graph.Lines3}) {
        list->SetCurveCount(1);
        list->SetPointCount(2);
        list->Point(0, 1) = {1, 25};
    }
    TPlotForm form(graph);
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    const QPoint a = form.Layout().Panels[0].center().toPoint();
    QTest::mousePress(form.Canvas(), Qt::LeftButton, {}, a);
    QTest::mouseRelease(form.Canvas(), Qt::LeftButton, {}, a + QPoint(5, 5));
    EXPECT_DOUBLE_EQ(form.CurrentRanges()[0].X.Width(), form.FullRanges()[0].X.Width());
}

TEST(PlotForm, TwentyFiveCurvesShowTwentyInTheLegend) {
    TGraphPlot graph;
    MakeCurves(graph, 25);
    TPlotForm form(graph);
    EXPECT_EQ(form.Legend()->ItemCount(), 20);
    EXPECT_FALSE(graph.Lines.Curve(20).Active);
    EXPECT_EQ(form.Action("Curve20"), nullptr);
    EXPECT_NE(form.Action("Curve19"), nullptr);
    EXPECT_EQ(form.Legend()->ItemText(0), "Curve #1 *");
}

TEST(PlotForm, PointsWithoutAStepCloseTheWindow) {
    TGraphPlot graph;
    MakeCurves(graph, 1);
    graph.Lines.Point(0, 1).X = std::numeric_limits<long double>::infinity();
    QMdiArea area;
    EXPECT_EQ(ShowPlot(graph, &area), nullptr);
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST(PlotForm, SavesABitmapOfTheChosenSizeWithTheLegend) {
    TGraphPlot graph;
    MakeCurves(graph, 2);
    graph.Lines.Curve(1).Name = "second";
    TPlotForm form(graph);
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    QTemporaryDir dir;
    const QString path = dir.filePath("graph.bmp");
    ASSERT_TRUE(form.SaveBitmap(path, 4, 6, 72));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), "BM");
    file.close();
    const QImage image(path);
    EXPECT_EQ(image.width(), 432);
    EXPECT_EQ(image.height(), 288);
    EXPECT_GT(CountColour(image, CurveColours[1]), 20);  // the second curve in blue
    // The legend drawn into the picture: a black-framed white box near the plot's bottom right.
    TPlotForm no_legend_form(graph);
    graph.ShowLegend = false;
    no_legend_form.Legend()->hide();
    ASSERT_TRUE(no_legend_form.SaveBitmap(dir.filePath("plain.bmp"), 4, 6, 72));
    EXPECT_NE(QImage(dir.filePath("plain.bmp")), image);
    // A bitmap that cannot be made writes nothing.
    EXPECT_FALSE(form.SaveBitmap(dir.filePath("huge.bmp"), 100, 100, 2400));
    EXPECT_FALSE(QFile::exists(dir.filePath("huge.bmp")));
}

// "Save To Disk" at the window's size: a PNG and an SVG of the canvas's pixels,
// read back; the PNG shows the curves, the SVG is a drawing of that size.
TEST(PlotForm, SavesPngAndSvgAtTheWindowsSize) {
    TGraphPlot graph;
    MakeCurves(graph, 2);
    TPlotForm form(graph);
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    const QSizeF inches = form.CanvasInches();
    const int ppi = form.Canvas()->logicalDpiX();
    EXPECT_NEAR(inches.width() * ppi, form.Canvas()->width(), 1e-9);
    QTemporaryDir dir;
    const QString png = dir.filePath("graph.png");
    ASSERT_TRUE(form.SavePicture(png, inches.height(), inches.width(), ppi));
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    file.close();
    const QImage image(png);
    EXPECT_EQ(image.size(), form.Canvas()->size());
    EXPECT_GT(CountColour(image, CurveColours[1]), 100);
    const QString svg = dir.filePath("graph.svg");
    ASSERT_TRUE(form.SavePicture(svg, inches.height(), inches.width(), ppi));
    QFile drawing(svg);
    ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
    const QByteArray text = drawing.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"")
                                  .arg(form.Canvas()->width())
                                  .arg(form.Canvas()->height())
                                  .toLatin1()));
    // The BMP of before is still there.
    ASSERT_TRUE(form.SavePicture(dir.filePath("graph.bmp"), 4, 6, 72));
    EXPECT_EQ(QImage(dir.filePath("graph.bmp")).size(), QSize(432, 288));
}

// The legend is dragged to the window's bottom right corner; after the window
// shrinks it still lies wholly inside the plot area, clear of the axis labels.
TEST(PlotForm, LegendStaysInsideThePlotAreaAfterAResize) {
    TGraphPlot graph;
    MakeCurves(graph, 4);
    TPlotForm form(graph);
    form.resize(900, 700);
    form.show();
    QApplication::processEvents();
    TLegendBox* legend = form.Legend();
    ASSERT_TRUE(legend->isVisible());
    legend->move(880, 680);
    legend->KeepInside();
    EXPECT_TRUE(form.Layout().Plot.contains(QRectF(legend->geometry())));
    form.resize(520, 420);
    QApplication::processEvents();
    const QRectF plot = form.Layout().Plot;
    EXPECT_LT(plot.right(), 520);
    EXPECT_TRUE(plot.contains(QRectF(legend->geometry())))
        << legend->geometry().x() << "," << legend->geometry().y() << " plot right " << plot.right()
        << " bottom " << plot.bottom();
}

// A legend placed at the bottom right of a small window is drawn into a bitmap
// whose fonts are larger in pixels: the whole box stays inside the picture's plot
// area, so nothing of it shows right of or below the plot's frame.
TEST(PlotPainter, SavedLegendStaysInsideThePlotArea) {
    TGraphPlot graph;
    MakeCurves(graph, 6);
    for (int i = 0; i < 6; ++i)
        graph.Lines.Curve(i).Name = QStringLiteral("a long curve name %1").arg(i);
    TPlotView view;
    ASSERT_TRUE(FullPanelRanges(graph.Lines, view.Ranges[0]));
    view.Dx = view.Dy = 150;
    view.DrawLegend = true;
    view.LegendPlace = QPointF(0.9, 0.9);
    QImage image(900, 600, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(150 / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(150 / 0.0254));
    TPlotLayout layout;
    {
        QPainter p(&image);
        layout = PaintGraph(p, graph, QSizeF(900, 600), view);
    }
    // Right of the plot's frame (below the X labels on top, whose last one reaches
    // past the frame) and below it the picture is blank.
    const QRect plot = layout.Plot.toAlignedRect();
    int marks = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool outside = (x > plot.right() + 3 && y > plot.top()) || y > plot.bottom() + 3;
            if (outside && image.pixelColor(x, y) != Qt::white) ++marks;
        }
    }
    EXPECT_EQ(marks, 0);
}

TEST(PlotPainter, CurvesInTheirColoursLayersAndAWhiteSmallWindow) {
    TGraphPlot graph;
    MakeCurves(graph, 3);
    graph.ShowLayers = true;
    graph.LayerLines.SetCurveCount(1);
    graph.LayerLines.SetPointCount(1);
    graph.LayerLines.Point(0, 0) = {3, 20};  // cross hatch down to 20
    graph.LayerLines.Curve(0).Name = "L";
    TPlotView view;
    TPanelRanges ranges;
    ASSERT_TRUE(FullPanelRanges(graph.Lines, ranges));
    view.Ranges[0] = ranges;
    QImage image(800, 600, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    {
        QPainter p(&image);
        PaintGraph(p, graph, image.size(), view);
    }
    EXPECT_GT(CountColour(image, CurveColours[1]), 50);
    EXPECT_GT(CountColour(image, CurveColours[2]), 50);
    // The hatch fills the column: many black pixels right of the plot.
    const TPlotLayout layout =
        ComputePlotLayout({800, 600, 0, 96, 96, true, TTitlePlace::kNone, true, false});
    EXPECT_LT(layout.Plot.right(), 700);
    QImage column = image.copy(QRect(710, 200, 50, 100));
    EXPECT_GT(CountColour(column, Qt::black), 200);

    QImage small(80, 60, QImage::Format_RGB32);
    small.setDotsPerMeterX(3780);
    small.setDotsPerMeterY(3780);
    {
        QPainter p(&small);
        PaintGraph(p, graph, small.size(), view);
    }
    EXPECT_EQ(CountColour(small, Qt::white, 0), 80 * 60);
}

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    // Test discovery runs this without the test's environment: stay headless there too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
