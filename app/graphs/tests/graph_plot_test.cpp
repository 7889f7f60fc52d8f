// Curve lists keep their curves equally long; legend texts and axis captions.
#include "graphs/graph_plot.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(CurveList, AllCurvesShareOnePointCount) {
    TGraphPlot graph;
    TCurveList& lines = graph.Lines;
    EXPECT_EQ(lines.PointCount(), 0);
    lines.SetCurveCount(2);
    lines.SetPointCount(3);
    lines.Point(1, 2) = {5, 6};
    lines.SetCurveCount(4);  // new curves come with the list's points at (0, 0)
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines.Curve(i).PointCount(), 3);
    EXPECT_EQ(lines.Curve(3).Point(2).X, 0.0L);
    EXPECT_EQ(lines.Curve(2).Value, 3.0L);  // numbered by creation
    EXPECT_EQ(lines.Curve(2).Owner, &graph);
    lines.SetPointCount(2);  // surplus dropped from the end
    EXPECT_EQ(lines.Curve(1).PointCount(), 2);
    lines.SetPointCount(-5);
    EXPECT_EQ(lines.PointCount(), 0);
    lines.SetCurveCount(-1);
    EXPECT_EQ(lines.CurveCount(), 0);
    EXPECT_EQ(lines.PointCount(), 0);
}

TEST(CurveList, LengthenNeverShortens) {
    TCurveList lines;
    lines.SetCurveCount(1);
    lines.SetPointCount(5);
    lines.Point(0, 4) = {1, 1};
    lines.Lengthen(3);
    EXPECT_EQ(lines.PointCount(), 5);
    lines.Lengthen(7);
    EXPECT_EQ(lines.PointCount(), 7);
    EXPECT_EQ(lines.Point(0, 4).X, 1.0L);
}

TEST(Line, FillCopiesTheLastReadPointOnwards) {
    TCurveList lines;
    lines.SetCurveCount(1);
    lines.SetPointCount(6);
    lines.Point(0, 0) = {-1, 5};
    lines.Point(0, 1) = {0, 0};  // a real point at the origin stays
    lines.Point(0, 2) = {1, -5};
    lines.Curve(0).FillFrom(3);
    EXPECT_EQ(lines.Point(0, 1).Y, 0.0L);
    for (int j = 3; j < 6; ++j) {
        EXPECT_EQ(lines.Point(0, j).X, 1.0L);
        EXPECT_EQ(lines.Point(0, j).Y, -5.0L);
    }
}

TEST(GraphPlot, LegendTextPrecedence) {
    TGraphPlot graph;
    graph.Lines.SetCurveCount(3);
    graph.Lines.Curve(0).Name = "Stage: 1";
    graph.DefaultLegends = {"first", "second"};
    graph.Lines.Curve(2).Value = 180.1L;
    EXPECT_EQ(graph.LegendText(0), "Stage: 1");
    EXPECT_EQ(graph.LegendText(1), "second");
    EXPECT_EQ(graph.LegendText(2), "Curve #180.1");
    graph.OnGetCaption = [](int i, QString& text) { text += QString::number(i); };
    EXPECT_EQ(graph.LegendText(1), "second1");
}

TEST(GraphPlot, UnitsClampAndTranslateCaptions) {
    TGraphPlot graph;
    graph.XCaption = "Soil Reaction";
    graph.XUnits = "F/L";
    graph.XCaption3 = "Shear (kips)";
    EXPECT_EQ(graph.XAxisCaption(1), "Soil Reaction (lbs/in)");
    graph.SetUnits(7);
    EXPECT_EQ(graph.Units(), 3);
    EXPECT_EQ(graph.XAxisCaption(1), "Soil Reaction (F/L)");
    graph.SetUnits(0);
    EXPECT_EQ(graph.Units(), 1);
    graph.SetUnits(2);
    EXPECT_EQ(graph.XAxisCaption(1), "Soil Reaction (kN/m)");
    EXPECT_EQ(graph.XAxisCaption(3), "Shear (kips)");
}

TEST(GraphPlot, Defaults) {
    TGraphPlot graph;
    EXPECT_EQ(graph.CurveName, "Curve #");
    EXPECT_TRUE(graph.ShowLegend);
    EXPECT_FALSE(graph.ShowLayers);
    EXPECT_TRUE(graph.XOnTop);
    EXPECT_EQ(graph.Markers, 1);
    EXPECT_EQ(graph.SizeFont, 10);
    EXPECT_EQ(graph.LegendFont, 11);
    EXPECT_EQ(graph.Units(), 1);
}

}  // namespace
}  // namespace korvel
