// The line chart above the grid of a chart table: the table's points in red with
// diamond markers, a green series with square markers for the third column of a
// three-column table, axis titles, and axis labels written by the chart-table
// label patterns at round steps.
#pragma once

#include <QChartView>

namespace korvel {

struct TChartSeriesData;

class TTableChartView : public QChartView {
    Q_OBJECT

  public:
    explicit TTableChartView(QWidget* parent = nullptr);

    // Draws data anew; an inverted axis grows the other way.
    void Draw(const TChartSeriesData& data, bool inverted_x, bool inverted_y);
    // Labels of the last drawing, from the lowest value up (for tests).
    QStringList XLabels() const;
    QStringList YLabels() const;
    double YMinimum() const;
    double YMaximum() const;
};

}  // namespace korvel
