// What the chart of a chart table draws, worked out from the table alone: the
// points of its series, the axis titles, the legend and the vertical axis fixed
// for a constant curve; and the number patterns of the axis labels. The chart
// widget only draws this.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace korvel {

class TGridTableChart;

struct TChartSeriesData {
    std::vector<QPointF> Main;    // the y column against the x column, one point a row
    std::vector<QPointF> Second;  // third column against the first (three-column tables)
    bool HasSecond = false;
    QString XTitle;  // first caption lines of the x and y columns
    QString YTitle;
    QStringList LegendNames;  // names of the two series when there is a second one
    // Vertical axis range when every y value is equal (0.9 and 1.1 times the value);
    // empty when both axes scale automatically.
    std::optional<std::pair<double, double>> FixedY;
};

// Columns outside the table give no points. A constant curve of more than one
// row draws its second point 0.1 % higher; a constant curve at zero is given the
// range -1 to 1, as 0.9 and 1.1 times zero is no range.
TChartSeriesData ChartSeriesOf(const TGridTableChart& table);

// Label patterns of the chart axes.
inline constexpr const char* kPlainAxisPattern = "#,##0.###";
inline constexpr const char* kExponentAxisPattern = "#.0##E-0";
// The exponent pattern when either end exceeds 100000 in magnitude or both are
// below 0.001 in magnitude, except when both ends are zero.
QString AxisLabelPattern(double minimum, double maximum);
// value written by one of the two patterns: "#,##0.###" groups thousands with a
// comma and keeps up to three decimals ("12,345.679", "0.5", "-3"); "#.0##E-0"
// keeps one digit before the point and one to three after it, the exponent with a
// minus sign only when negative ("1.5E5", "2.0E-4").
QString FormatAxisLabel(const QString& pattern, double value);

// Round axis ends and step covering minimum to maximum with about five steps.
struct TAxisTicks {
    double Minimum = 0;
    double Maximum = 1;
    double Step = 0.2;
};
TAxisTicks NiceAxisTicks(double minimum, double maximum);

}  // namespace korvel
