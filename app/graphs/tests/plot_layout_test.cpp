// Layout formulas of a graph window in pixels.
#include "graphs/plot_layout.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

// A 96 dpi window of 800 x 600 with 16-pixel text.
TLayoutInput Window() {
    TLayoutInput in;
    in.Width = 800;
    in.Height = 600;
    in.T = 16;
    in.Dx = 96;
    in.Dy = 96;
    return in;
}

TEST(PlotLayout, DepthGraphHasItsXLabelsOnTop) {
    const TPlotLayout l = ComputePlotLayout(Window());
    EXPECT_DOUBLE_EQ(l.Plot.left(), 2 * 16 + 12 + 2);  // 2T + Dx/8 + T/8
    EXPECT_DOUBLE_EQ(l.Plot.right(), 800 - 24 - 8);    // W - Dx/4 - T/2
    EXPECT_DOUBLE_EQ(l.Plot.top(), 2 * 16 + 12 + 2);   // 2T + Dy/8 + T/8
    EXPECT_DOUBLE_EQ(l.Plot.bottom(), 600 - 24 - 8);   // H - Dy/4 - T/2
    ASSERT_EQ(l.Panels.size(), 1u);
    EXPECT_TRUE(l.LayerColumn.isEmpty());
}

TEST(PlotLayout, XLabelsBelowAndTitles) {
    TLayoutInput in = Window();
    in.XOnTop = false;
    TPlotLayout l = ComputePlotLayout(in);
    EXPECT_DOUBLE_EQ(l.Plot.top(), 8 + 24);                // T/2 + Dy/4
    EXPECT_DOUBLE_EQ(l.Plot.bottom(), 600 - 32 - 12 - 2);  // H - 2T - Dy/8 - T/8
    in.Title = TTitlePlace::kTop;
    EXPECT_DOUBLE_EQ(ComputePlotLayout(in).Plot.top(), 32 + 2 + 16);
    in.Title = TTitlePlace::kBottom;
    EXPECT_DOUBLE_EQ(ComputePlotLayout(in).Plot.bottom(), 600 - 46 - 16);
}

TEST(PlotLayout, LayerColumnTakesAnInchAtTheRight) {
    TLayoutInput in = Window();
    in.ShowLayers = true;
    const TPlotLayout l = ComputePlotLayout(in);
    EXPECT_DOUBLE_EQ(l.Plot.right(), 768 - 96);
    EXPECT_DOUBLE_EQ(l.LayerColumn.left(), 768 - 96 + 96.0 / 5);
    EXPECT_DOUBLE_EQ(l.LayerColumn.right(), 768);
    EXPECT_DOUBLE_EQ(l.LayerColumn.top(), l.Plot.top());
    EXPECT_DOUBLE_EQ(l.LayerColumn.bottom(), l.Plot.bottom());
}

TEST(PlotLayout, ThreePanelsOfEqualWidthFillThePlot) {
    TLayoutInput in = Window();
    in.ShowThree = true;
    const TPlotLayout l = ComputePlotLayout(in);
    ASSERT_EQ(l.Panels.size(), 3u);
    const double width = (l.Plot.width() - 4 * 16 - 48) / 3;
    const double gap = 2 * 16 + 24;
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(l.Panels[i].width(), width);
        EXPECT_DOUBLE_EQ(l.Panels[i].left(), l.Plot.left() + i * (width + gap));
    }
    EXPECT_DOUBLE_EQ(l.Panels[2].right(), l.Plot.right());
}

// The legend keeps to the plot area (100..500 x 50..350) of a 600 x 400 picture.
TEST(LegendInside, MovesTheLeastThatKeepsTheBoxInThePlotArea) {
    const QRectF plot(QPointF(100, 50), QPointF(500, 350));
    const QRectF picture(0, 0, 600, 400);
    struct TCase {
        QRectF Box;
        QPointF Expected;
    };
    const TCase cases[] = {
        {{200, 100, 80, 40}, {200, 100}},  // inside: stays
        {{560, 380, 80, 40}, {420, 310}},  // beyond the bottom right: to the plot's corner
        {{10, 10, 80, 40}, {100, 50}},     // over the axis labels: into the plot
        {{450, 60, 80, 40}, {420, 60}},    // only x too far
        // Wider than the plot: from its left edge, then back inside the picture.
        {{300, 100, 450, 40}, {100, 100}},
        {{300, 100, 550, 40}, {50, 100}},
    };
    for (const TCase& c : cases) {
        const QRectF r = LegendInside(c.Box, plot, picture);
        EXPECT_EQ(r.topLeft(), c.Expected) << c.Box.x() << "," << c.Box.y() << " " << c.Box.width();
        EXPECT_EQ(r.size(), c.Box.size());
    }
}

TEST(LegendArea, ThePlotOrTheNearestOfThreePanels) {
    TPlotLayout one;
    one.Plot = QRectF(50, 40, 600, 500);
    one.Panels = {one.Plot};
    EXPECT_EQ(LegendArea(one, QPointF(700, 10)), one.Plot);
    TPlotLayout three;
    three.Plot = QRectF(50, 40, 700, 500);
    three.Panels = {QRectF(50, 40, 200, 500), QRectF(300, 40, 200, 500), QRectF(550, 40, 200, 500)};
    EXPECT_EQ(LegendArea(three, QPointF(120, 300)), three.Panels[0]);
    EXPECT_EQ(LegendArea(three, QPointF(290, 300)), three.Panels[1]);  // in the labels' gap
    EXPECT_EQ(LegendArea(three, QPointF(900, 600)), three.Panels[2]);
}

}  // namespace
}  // namespace korvel
