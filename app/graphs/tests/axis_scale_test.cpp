// Axis ranges, ticks, zoom limits and unit texts of the graphs.
#include "graphs/axis_scale.h"

#include <gtest/gtest.h>

#include "graphs/graph_units.h"
#include "graphs/marker_shape.h"

namespace korvel {
namespace {

struct RangeCase {
    std::vector<double> values;
    double min, max, step;
};

class FullRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(FullRangeTest, RoundsAwayFromZeroToTheStep) {
    const RangeCase& c = GetParam();
    TAxisRange range;
    double step = 0;
    ASSERT_TRUE(FullAxisRange(c.values, range, &step));
    EXPECT_DOUBLE_EQ(range.Min, c.min);
    EXPECT_DOUBLE_EQ(range.Max, c.max);
    EXPECT_DOUBLE_EQ(step, c.step);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullRangeTest,
    ::testing::Values(RangeCase{{0, 0, 0}, -0.01, 0.01, 0.001},  // flat: widened by 0.01
                      RangeCase{{}, -0.01, 0.01, 0.001},         // no points
                      RangeCase{{3, 25}, 0, 25, 1},              // log 1.398: under three steps
                      RangeCase{{0, 45}, 0, 50, 10},             // log 1.653
                      RangeCase{{-3, 0.5}, -3, 1, 1},            // log 0.544
                      RangeCase{{-0.55}, -0.6, 0, 0.1},          // 0 always in range
                      RangeCase{{7.5, 0.3}, 0, 8, 1}, RangeCase{{1234}, 0, 1300, 100}));

TEST(FullRange, RefusesValuesThatGiveNoStep) {
    TAxisRange range;
    EXPECT_FALSE(FullAxisRange({1.0, std::numeric_limits<double>::infinity()}, range));
    EXPECT_FALSE(FullAxisRange({std::numeric_limits<double>::quiet_NaN()}, range));
}

TEST(FullRange, PanelTakesEveryCurveOfTheList) {
    TCurveList lines;
    lines.SetCurveCount(2);
    lines.SetPointCount(2);
    lines.Point(0, 1) = {45, -3};
    lines.Point(1, 0) = {-2, 0.5};
    TPanelRanges r;
    ASSERT_TRUE(FullPanelRanges(lines, r));
    EXPECT_DOUBLE_EQ(r.X.Min, -10);
    EXPECT_DOUBLE_EQ(r.X.Max, 50);
    EXPECT_DOUBLE_EQ(r.Y.Min, -3);
    EXPECT_DOUBLE_EQ(r.Y.Max, 1);
}

struct TickCase {
    double min, max;
    int intervals;
    double first, last, minor;
    std::vector<double> majors;
};

class TickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickTest, MinorFifthsOfTheLeadingDigitStep) {
    const TickCase& c = GetParam();
    const auto ticks = AxisTicks({c.min, c.max}, c.intervals);
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_NEAR(ticks.front().Value, c.first, 1e-12);
    EXPECT_NEAR(ticks.back().Value, c.last, 1e-12);
    EXPECT_NEAR(ticks[1].Value - ticks[0].Value, c.minor, 1e-12);
    std::vector<double> majors;
    for (const TTick& t : ticks) {
        if (t.Major) majors.push_back(t.Value);
    }
    ASSERT_EQ(majors.size(), c.majors.size());
    for (size_t i = 0; i < majors.size(); ++i) EXPECT_NEAR(majors[i], c.majors[i], 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TickTest,
    ::testing::Values(
        // rough 5: major 5, minor 1
        TickCase{0, 25, 5, 0, 25, 1, {0, 5, 10, 15, 20, 25}},
        // rough 8.33: leading digit 8, minor 1.6
        TickCase{0, 50, 6, 0, 49.6, 1.6, {0, 8, 16, 24, 32, 40, 48}},
        // rough 0.4: major 0.4, minor 0.08, from -3 upwards
        TickCase{
            -3, 1, 10, -2.96, 0.96, 0.08, {-2.8, -2.4, -2, -1.6, -1.2, -0.8, -0.4, 0, 0.4, 0.8}},
        // rough 17: leading digit 1 gives the power of ten itself
        TickCase{0,
                 170,
                 10,
                 0,
                 170,
                 2,
                 {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170}}));

TEST(Ticks, NoneForZeroIntervals) {
    EXPECT_TRUE(AxisTicks({0, 25}, 0).empty());
}

TEST(Zoom, NarrowRectangleStopsAtOneTwentieth) {
    const TAxisRange full{0, 100};
    const TAxisRange z = ZoomIn(full, 40, 41);
    EXPECT_DOUBLE_EQ(z.Min, 38);
    EXPECT_DOUBLE_EQ(z.Max, 43);
    // Near an end the widened range is shifted back inside.
    const TAxisRange e = ZoomIn(full, 99.5, 99);
    EXPECT_DOUBLE_EQ(e.Min, 95);
    EXPECT_DOUBLE_EQ(e.Max, 100);
    const TAxisRange w = ZoomIn(full, 70, 20);
    EXPECT_DOUBLE_EQ(w.Min, 20);
    EXPECT_DOUBLE_EQ(w.Max, 70);
}

TEST(Zoom, OutDoublesAroundTheClickAndStaysInside) {
    const TAxisRange full{-10, 10};
    TAxisRange z = ZoomOut(full, {0, 2}, 1);
    EXPECT_DOUBLE_EQ(z.Min, -1);
    EXPECT_DOUBLE_EQ(z.Max, 3);
    z = ZoomOut(full, {6, 10}, 9);
    EXPECT_DOUBLE_EQ(z.Min, 2);
    EXPECT_DOUBLE_EQ(z.Max, 10);
    z = ZoomOut(full, {-8, 4}, 0);
    EXPECT_DOUBLE_EQ(z.Min, -10);
    EXPECT_DOUBLE_EQ(z.Max, 10);
}

struct UnitCase {
    const char* text;
    int units;
    const char* shown;
};

class UnitTextTest : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UnitTextTest, Translates) {
    const UnitCase& c = GetParam();
    EXPECT_EQ(GraphUnitText(QString::fromLatin1(c.text), c.units), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitTextTest,
    ::testing::Values(UnitCase{"F/L", 1, "lbs/in"}, UnitCase{"F/L", 2, "kN/m"},
                      UnitCase{"F/L", 3, "F/L"}, UnitCase{"F2/L2^2", 1, "tons/ft^2"},
                      UnitCase{"F1-L1", 1, "kips-in"}, UnitCase{"F-L", 1, "lbs-in"},
                      UnitCase{"F1-L2", 2, "kN-m"}, UnitCase{"L1", 2, "mm"},
                      UnitCase{"L2", 1, "ft"}, UnitCase{"F/L2^3", 1, "lbs/ft^3"}));

TEST(UnitText, AxisCaption) {
    EXPECT_EQ(GraphAxisCaption("Deflection", "L", 1), "Deflection (in)");
    EXPECT_EQ(GraphAxisCaption("Deflection", "L", 2), "Deflection (m)");
    EXPECT_EQ(GraphAxisCaption("Depth (ft)", "", 2), "Depth (ft)");
}

TEST(Markers, RepeatEveryTenCurves) {
    EXPECT_EQ(MarkerShape(0), 1);
    EXPECT_EQ(MarkerShape(10), MarkerShape(0));  // curve 11 as curve 1
    EXPECT_EQ(MarkerShape(14), MarkerShape(4));  // curve 15 as curve 5
    EXPECT_EQ(MarkerShape(9), 10);
    EXPECT_EQ(MarkerVertices(1).size(), 3u);
    EXPECT_DOUBLE_EQ(MarkerVertices(1)[0].x(), -1.0);  // triangle points left
    EXPECT_EQ(MarkerVertices(2).size(), 4u);
    EXPECT_NEAR(MarkerVertices(2)[0].x(), MarkerVertices(2)[0].y(), 1e-12);  // square at 45 degrees
    for (int s = 3; s <= 10; ++s) {
        const auto v = MarkerVertices(s);
        ASSERT_EQ(v.size(), static_cast<size_t>(s));
        EXPECT_DOUBLE_EQ(v[0].x(), 1.0);
        EXPECT_NEAR(v[0].y(), 0.0, 1e-15);
    }
}

}  // namespace
}  // namespace korvel
