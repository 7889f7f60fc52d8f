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

}  // namespace
}  // namespace korvel
