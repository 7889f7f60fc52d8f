#include "graphs/length_study_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "graphs/graph_plot.h"
#include "graphs/plot_painter.h"

namespace korvel {
namespace {

constexpr double kMargin = 0.05;  // of the data span, around the curves

TAxisRange Padded(double low, double high) {
    if (high <= low) {
        const double d = std::max(std::abs(low) * 0.05, 1e-6);
        return {low - d, high + d};
    }
    const double d = (high - low) * kMargin;
    return {low - d, high + d};
}

// One graph of one quantity: a curve per section through the usable lengths,
// and the critical length as a vertical line over the whole height.
void FillGraph(TGraphPlot& g, TPanelRanges& ranges, const TLengthStudyCurves& c,
               const std::vector<std::vector<double>>& values, const QString& caption,
               const QString& unit) {
    const size_t sections = values.size();
    g.SetUnits(3);  // the unit texts are the report's own
    g.XOnTop = false;
    g.ShowLegend = true;
    g.XCaption = QStringLiteral("Wall length");
    g.XUnits = c.LengthUnit;
    g.YCaption = caption;
    g.YUnits = unit;
    const int curves = static_cast<int>(sections) + (c.Critical ? 1 : 0);
    const int points = std::max<int>(static_cast<int>(c.Lengths.size()), 2);
    g.Lines.SetCurveCount(curves);
    g.Lines.SetPointCount(points);
    double xlow = INFINITY, xhigh = -INFINITY, ylow = INFINITY, yhigh = -INFINITY;
    for (size_t k = 0; k < sections; ++k) {
        TLine& line = g.Lines.Curve(static_cast<int>(k));
        line.Name = sections <= 1               ? caption
                    : k < c.SectionNames.size() ? c.SectionNames[k]
                                                : QStringLiteral("Stage: %1").arg(k + 1);
        for (int j = 0; j < points; ++j) {
            // One length is drawn as a point: both ends of the curve on it.
            const size_t at = std::min<size_t>(static_cast<size_t>(j), c.Lengths.size() - 1);
            const double x = c.Lengths[at];
            const double y = at < values[k].size() ? values[k][at] : 0.0;
            line.Point(j) = {x, y};
            xlow = std::min(xlow, x);
            xhigh = std::max(xhigh, x);
            ylow = std::min(ylow, y);
            yhigh = std::max(yhigh, y);
        }
    }
    if (c.Critical) {
        xlow = std::min(xlow, *c.Critical);
        xhigh = std::max(xhigh, *c.Critical);
    }
    ranges.X = Padded(xlow, xhigh);
    ranges.Y = Padded(ylow, yhigh);
    if (c.Critical) {
        TLine& line = g.Lines.Curve(curves - 1);
        line.Name = QStringLiteral("critical length %1 %2")
                        .arg(QString::number(*c.Critical, 'g', 6), c.LengthUnit);
        line.Point(0) = {*c.Critical, ranges.Y.Min};
        for (int j = 1; j < points; ++j) line.Point(j) = {*c.Critical, ranges.Y.Max};
    }
}

// The legend's place, as a fraction of size: the corner of the plot area whose
// legend box covers the fewest points of the curves, and never the critical
// length's line where a corner keeps clear of it.
QPointF FreeLegendPlace(QPainter& painter, const TGraphPlot& g, const QSizeF& size,
                        const TPlotView& view) {
    const TPlotLayout layout = GraphLayout(g, size, view, painter);
    const QSizeF legend = LegendSize(painter, g, view);
    const QRectF plot = layout.Plot;
    constexpr double kInset = 4;
    const double left = plot.left() + kInset, right = plot.right() - kInset - legend.width();
    const double top = plot.top() + kInset, bottom = plot.bottom() - kInset - legend.height();
    const QPointF corners[] = {{right, top}, {left, top}, {right, bottom}, {left, bottom}};
    const TAxisRange& x = view.Ranges[0].X;
    const TAxisRange& y = view.Ranges[0].Y;
    constexpr int kSamples = 40;  // per segment
    QPointF best = corners[0];
    double best_score = INFINITY;
    for (const QPointF& corner : corners) {
        const QRectF box(corner, legend);
        double score = 0;
        for (int c = 0; c < g.Lines.CurveCount(); ++c) {
            const TLine& line = g.Lines.Curve(c);
            // The critical line (the last curve when there is one) weighs most.
            const bool vertical = line.PointCount() > 1 && line.Point(0).X == line.Point(1).X &&
                                  line.Point(0).Y != line.Point(1).Y;
            for (int j = 0; j + 1 < line.PointCount(); ++j) {
                const QPointF a(DeviceX(plot, x, static_cast<double>(line.Point(j).X)),
                                DeviceY(plot, y, g.XOnTop, static_cast<double>(line.Point(j).Y)));
                const QPointF b(
                    DeviceX(plot, x, static_cast<double>(line.Point(j + 1).X)),
                    DeviceY(plot, y, g.XOnTop, static_cast<double>(line.Point(j + 1).Y)));
                for (int k = 0; k <= kSamples; ++k) {
                    if (box.contains(a + (b - a) * (static_cast<double>(k) / kSamples)))
                        score += vertical ? 1000 : 1;
                }
            }
        }
        if (score < best_score) {
            best_score = score;
            best = corner;
        }
    }
    return {best.x() / size.width(), best.y() / size.height()};
}

}  // namespace

void PaintLengthStudy(QPainter& painter, const TLengthStudyCurves& curves, const QSizeF& size,
                      double dotsPerInch, bool side_by_side) {
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    if (curves.Lengths.empty()) return;
    const QSizeF graphSize = side_by_side ? QSizeF(size.width() / 2.0, size.height())
                                          : QSizeF(size.width(), size.height() / 2.0);
    const struct {
        const std::vector<std::vector<double>>& values;
        QString caption;
        QString unit;
    } graphs[] = {
        {curves.Head, QStringLiteral("Head deflection"),
         curves.DeflectionUnit.isEmpty() ? curves.LengthUnit : curves.DeflectionUnit},
        {curves.Moment, QStringLiteral("Maximum moment"), curves.MomentUnit},
    };
    for (int i = 0; i < 2; ++i) {
        TGraphPlot graph;
        TPlotView view;
        FillGraph(graph, view.Ranges[0], curves, graphs[i].values, graphs[i].caption,
                  graphs[i].unit);
        view.Dx = view.Dy = dotsPerInch;
        view.DrawLegend = true;
        painter.save();
        if (side_by_side) {
            painter.translate(i * graphSize.width(), 0);
        } else {
            painter.translate(0, i * graphSize.height());
        }
        view.LegendPlace = FreeLegendPlace(painter, graph, graphSize, view);
        PaintGraph(painter, graph, graphSize, view);
        painter.restore();
    }
}

}  // namespace korvel
