// What the chart of a chart table draws, and its axis label patterns.
#include "entry/chart_series.h"

#include <gtest/gtest.h>

#include "entry/table_definitions.h"

namespace korvel {
namespace {

TEST(ChartSeries, PlotsTheYColumnAgainstTheXColumnWithFirstCaptionLines) {
    TProgramTables tables;
    TGridTableChart& curve = *tables.PYCurve2;
    curve.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        curve.Cell(0, row).SetAsFloat(row - 1);
        curve.Cell(1, row).SetAsFloat(-100.0L * (row - 1));
    }
    const TChartSeriesData data = ChartSeriesOf(curve);
    ASSERT_EQ(data.Main.size(), 3u);
    EXPECT_EQ(data.Main[2], QPointF(1, -100));
    EXPECT_EQ(data.XTitle, "Lateral Deflection, y (*)");
    EXPECT_EQ(data.YTitle, "Soil Resistance, p");
    EXPECT_FALSE(data.HasSecond);
    EXPECT_FALSE(data.FixedY.has_value());
}

TEST(ChartSeries, AConstantCurveOfTenDrawsFromNineToEleven) {
    TProgramTables tables;
    TGridTableChart& curve = *tables.PYCurve2;
    curve.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        curve.Cell(0, row).SetAsFloat(row);
        curve.Cell(1, row).SetAsFloat(10);
    }
    const TChartSeriesData data = ChartSeriesOf(curve);
    ASSERT_TRUE(data.FixedY.has_value());
    EXPECT_DOUBLE_EQ(data.FixedY->first, 9.0);
    EXPECT_DOUBLE_EQ(data.FixedY->second, 11.0);
    EXPECT_DOUBLE_EQ(data.Main[1].y(), 10.01);  // 0.1 % higher
    EXPECT_DOUBLE_EQ(data.Main[2].y(), 10.0);
}

TEST(ChartSeries, AConstantCurveAtZeroStillHasARange) {
    TProgramTables tables;
    TGridTableChart& curve = *tables.PYCurve2;  // two rows of zeros
    const TChartSeriesData data = ChartSeriesOf(curve);
    ASSERT_TRUE(data.FixedY.has_value());
    EXPECT_LT(data.FixedY->first, data.FixedY->second);
}

TEST(ChartSeries, ThreeColumnTablesDrawASecondSeriesWithALegend) {
    TTableRegistry registry;
    TGridTableChart table(registry);
    table.AddFloatColumn({"Depth", "ft"});
    table.AddFloatColumn({"p-Multiplier"});
    table.AddFloatColumn({"y-Multiplier"});
    table.Chart.ShowChart = true;
    table.SetRowCount(2);
    table.Cell(2, 1).SetAsFloat(4);
    const TChartSeriesData data = ChartSeriesOf(table);
    ASSERT_TRUE(data.HasSecond);
    EXPECT_EQ(data.Second[1], QPointF(0, 4));
    EXPECT_EQ(data.LegendNames, (QStringList{"p-Multiplier", "y-Multiplier"}));
    EXPECT_EQ(data.XTitle, "Depth");
}

TEST(AxisLabelPattern, SwitchesToExponentsForLargeAndTinyEnds) {
    EXPECT_EQ(AxisLabelPattern(-100, 100), "#,##0.###");
    EXPECT_EQ(AxisLabelPattern(0, 100001), "#.0##E-0");
    EXPECT_EQ(AxisLabelPattern(-200000, 0), "#.0##E-0");
    EXPECT_EQ(AxisLabelPattern(0.0001, 0.0009), "#.0##E-0");
    EXPECT_EQ(AxisLabelPattern(0, 0.0005), "#.0##E-0");
    EXPECT_EQ(AxisLabelPattern(0, 0), "#,##0.###");
    EXPECT_EQ(AxisLabelPattern(0, 0.002), "#,##0.###");
}

TEST(FormatAxisLabel, WritesBothPatterns) {
    const QString plain = kPlainAxisPattern;
    const QString exponent = kExponentAxisPattern;
    EXPECT_EQ(FormatAxisLabel(plain, 12345.6789), "12,345.679");
    EXPECT_EQ(FormatAxisLabel(plain, -1234567), "-1,234,567");
    EXPECT_EQ(FormatAxisLabel(plain, 0.5), "0.5");
    EXPECT_EQ(FormatAxisLabel(plain, 0), "0");
    EXPECT_EQ(FormatAxisLabel(plain, -0.0001), "0");
    EXPECT_EQ(FormatAxisLabel(exponent, 150000), "1.5E5");
    EXPECT_EQ(FormatAxisLabel(exponent, 123456), "1.235E5");
    EXPECT_EQ(FormatAxisLabel(exponent, 0.0002), "2.0E-4");
    EXPECT_EQ(FormatAxisLabel(exponent, -2.5e7), "-2.5E7");
}

TEST(NiceAxisTicks, CoversTheDataWithRoundSteps) {
    const TAxisTicks t = NiceAxisTicks(-1, 1);
    EXPECT_DOUBLE_EQ(t.Minimum, -1);
    EXPECT_DOUBLE_EQ(t.Maximum, 1);
    EXPECT_DOUBLE_EQ(t.Step, 0.5);
    const TAxisTicks u = NiceAxisTicks(3, 97);
    EXPECT_DOUBLE_EQ(u.Step, 20);
    EXPECT_DOUBLE_EQ(u.Minimum, 0);
    EXPECT_DOUBLE_EQ(u.Maximum, 100);
    const TAxisTicks flat = NiceAxisTicks(5, 5);
    EXPECT_LT(flat.Minimum, 5);
    EXPECT_GT(flat.Maximum, 5);
}

}  // namespace
}  // namespace korvel
