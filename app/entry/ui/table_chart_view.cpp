#include "entry/ui/table_chart_view.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <algorithm>
#include <cmath>

#include "entry/chart_series.h"

namespace korvel {
namespace {

constexpr double kMarkerSize = 9.0;  // pixels across

struct TRange {
    double Minimum;
    double Maximum;
};

TRange DataRange(const std::vector<QPointF>& a, const std::vector<QPointF>& b, bool x) {
    bool any = false;
    TRange r{0, 0};
    for (const auto* points : {&a, &b}) {
        for (const QPointF& p : *points) {
            const double v = x ? p.x() : p.y();
            r.Minimum = any ? std::min(r.Minimum, v) : v;
            r.Maximum = any ? std::max(r.Maximum, v) : v;
            any = true;
        }
    }
    return r;
}

// An axis with a label at every step, written by the label pattern of its ends.
QCategoryAxis* MakeAxis(const QString& title, TRange range, bool fixed, bool inverted) {
    TAxisTicks ticks = NiceAxisTicks(range.Minimum, range.Maximum);
    if (fixed) {
        ticks.Minimum = range.Minimum;
        ticks.Maximum = range.Maximum;
    }
    auto* axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(ticks.Minimum, ticks.Maximum);
    axis->setReverse(inverted);
    const QString pattern = AxisLabelPattern(ticks.Minimum, ticks.Maximum);
    const double tolerance = ticks.Step * 1e-6;
    axis->setStartValue(ticks.Minimum - tolerance);
    const double first = std::ceil(ticks.Minimum / ticks.Step - 1e-9) * ticks.Step;
    for (double v = first; v <= ticks.Maximum + tolerance; v += ticks.Step) {
        const double value = std::fabs(v) < tolerance ? 0.0 : v;
        QString label = FormatAxisLabel(pattern, value);
        // Category labels are keys: two equal labels would merge.
        while (axis->categoriesLabels().contains(label)) label += QChar(0x200B);
        axis->append(label, value);
    }
    return axis;
}

void AddSeries(QChart& chart, const std::vector<QPointF>& points, const QColor& colour,
               QScatterSeries::MarkerShape shape, const QString& name) {
    auto* line = new QLineSeries;
    auto* markers = new QScatterSeries;
    line->setName(name);
    line->setColor(colour);
    markers->setColor(colour);
    markers->setBorderColor(colour);
    markers->setMarkerShape(shape);
    markers->setMarkerSize(kMarkerSize);
    for (const QPointF& p : points) {
        line->append(p);
        markers->append(p);
    }
    chart.addSeries(line);
    chart.addSeries(markers);
}

QStringList AxisLabels(const QChart* chart, Qt::Orientation orientation) {
    const auto axes = chart->axes(orientation);
    if (axes.isEmpty()) return {};
    auto* axis = qobject_cast<QCategoryAxis*>(axes.first());
    QStringList labels;
    if (!axis) return labels;
    for (QString label : axis->categoriesLabels()) labels.append(label.remove(QChar(0x200B)));
    return labels;
}

}  // namespace

TTableChartView::TTableChartView(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->hide();
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void TTableChartView::Draw(const TChartSeriesData& data, bool inverted_x, bool inverted_y) {
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    AddSeries(*c, data.Main, Qt::red, QScatterSeries::MarkerShapeRotatedRectangle,
              data.LegendNames.value(0));
    if (data.HasSecond) {
        AddSeries(*c, data.Second, QColor(0x00, 0x80, 0x00), QScatterSeries::MarkerShapeRectangle,
                  data.LegendNames.value(1));
    }
    TRange y = DataRange(data.Main, data.Second, false);
    if (data.FixedY) y = {data.FixedY->first, data.FixedY->second};
    QCategoryAxis* x_axis =
        MakeAxis(data.XTitle, DataRange(data.Main, data.Second, true), false, inverted_x);
    QCategoryAxis* y_axis = MakeAxis(data.YTitle, y, data.FixedY.has_value(), inverted_y);
    c->addAxis(x_axis, Qt::AlignBottom);
    c->addAxis(y_axis, Qt::AlignLeft);
    for (QAbstractSeries* series : c->series()) {
        series->attachAxis(x_axis);
        series->attachAxis(y_axis);
        // The legend names the lines; the marker series stay out of it.
        if (qobject_cast<QScatterSeries*>(series)) {
            for (QLegendMarker* marker : c->legend()->markers(series)) marker->setVisible(false);
        }
    }
    c->legend()->setVisible(data.HasSecond);
}

QStringList TTableChartView::XLabels() const {
    return AxisLabels(chart(), Qt::Horizontal);
}

QStringList TTableChartView::YLabels() const {
    return AxisLabels(chart(), Qt::Vertical);
}

double TTableChartView::YMinimum() const {
    const auto axes = chart()->axes(Qt::Vertical);
    return axes.isEmpty() ? 0 : qobject_cast<QCategoryAxis*>(axes.first())->min();
}

double TTableChartView::YMaximum() const {
    const auto axes = chart()->axes(Qt::Vertical);
    return axes.isEmpty() ? 0 : qobject_cast<QCategoryAxis*>(axes.first())->max();
}

}  // namespace korvel
