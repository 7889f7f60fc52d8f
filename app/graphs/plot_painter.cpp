#include "graphs/plot_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "entry/number_format.h"
#include "graphs/layer_fills.h"
#include "graphs/marker_shape.h"

namespace korvel {

const std::array<QColor, 17> CurveColours = {
    QColor(QRgb(0x000000)), QColor(QRgb(0x0000FF)), QColor(QRgb(0xFF0000)), QColor(QRgb(0x008000)),
    QColor(QRgb(0x800080)), QColor(QRgb(0x800000)), QColor(QRgb(0x000080)), QColor(QRgb(0xFF00FF)),
    QColor(QRgb(0x808000)), QColor(QRgb(0x008080)), QColor(QRgb(0x808080)), QColor(QRgb(0x00FF00)),
    QColor(QRgb(0x808080)), QColor(QRgb(0xC0C0C0)), QColor(QRgb(0xC0C0C0)), QColor(QRgb(0xFFFF00)),
    QColor(QRgb(0x00FFFF))};

namespace {

constexpr const char* kFontFamily = "Times New Roman";
// Significant digits of tick labels.
constexpr int kLabelDigits = 4;
// Default text size of the soil-layer names, points.
constexpr double kLayerFontPoints = 10;

QFont CaptionFont(const TGraphPlot& graph, const TPlotView& view, bool bold) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(view.FontPoints * graph.SizeFont / 10.0);
    font.setBold(bold);
    return font;
}

TTitlePlace TitlePlace(const TGraphPlot& graph) {
    if (graph.Title.isEmpty()) return TTitlePlace::kNone;
    return graph.TitleOnTop ? TTitlePlace::kTop : TTitlePlace::kBottom;
}

bool HasLayerColumn(const TGraphPlot& graph) {
    return graph.ShowLayers && graph.LayerLines.CurveCount() > 0;
}

// Text turned 90 degrees (reading upwards), centred on c.
void DrawTurnedText(QPainter& p, const QPointF& c, const QString& text) {
    p.save();
    p.translate(c);
    p.rotate(-90);
    const QFontMetricsF fm(p.font(), p.device());
    const double w = fm.horizontalAdvance(text);
    p.drawText(QPointF(-w / 2, fm.ascent() - fm.height() / 2), text);
    p.restore();
}

void DrawCentredText(QPainter& p, const QRectF& box, const QString& text) {
    p.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextDontClip, text);
}

void DrawMarker(QPainter& p, const QPointF& c, int shape, double rx, double ry) {
    QPolygonF polygon;
    // Screen y grows downwards: the shape's upward angles go up.
    for (const QPointF& v : MarkerVertices(shape))
        polygon << QPointF(c.x() + rx * v.x(), c.y() - ry * v.y());
    p.drawPolygon(polygon);
}

struct TPanelContext {
    int Panel;  // 1 to 3
    QRectF Rect;
    const TPanelRanges* Ranges;
};

void DrawAxes(QPainter& p, const TGraphPlot& g, const TPlotView& v, const TPanelContext& c,
              double t, const QSizeF& client, bool three) {
    const QRectF& r = c.Rect;
    const TAxisRange& xr = c.Ranges->X;
    const TAxisRange& yr = c.Ranges->Y;
    const QFont caption_font = CaptionFont(g, v, true);
    const QFont label_font = CaptionFont(g, v, false);
    const double tick = v.Dy / 16;
    const double tick_x = v.Dx / 16;

    // Captions.
    p.setPen(Qt::black);
    p.setFont(caption_font);
    const TTitlePlace title = TitlePlace(g);
    double caption_top = 0;
    if (g.XOnTop) {
        caption_top = (title == TTitlePlace::kTop ? t / 8 + t : 0) + v.Dy / 16;
    } else {
        caption_top = client.height() - t - v.Dy / 16 - (title == TTitlePlace::kBottom ? t : 0);
    }
    DrawCentredText(p, QRectF(r.left(), caption_top, r.width(), t), g.XAxisCaption(c.Panel));
    const double caption_x = r.left() - 2 * t - v.Dx / 8 + t / 2;
    DrawTurnedText(p, QPointF(caption_x, r.center().y()), g.YAxisCaption(c.Panel));

    // Ticks, grid and labels.
    const double spacing = (three ? 4 : 6) * t;
    const int x_intervals = static_cast<int>(r.width() / spacing);
    const int y_intervals = static_cast<int>(r.height() / spacing);
    if (x_intervals == 0 || y_intervals == 0) return;
    p.setFont(label_font);
    const QPen solid(Qt::black, 0);
    QPen dotted(QColor(0x80, 0x80, 0x80), 0, Qt::DotLine);
    for (const TTick& k : AxisTicks(xr, x_intervals)) {
        const double x = DeviceX(r, xr, k.Value);
        p.setPen(solid);
        if (g.XOnTop) {
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.top() + tick));
        } else {
            p.drawLine(QPointF(x, r.bottom()), QPointF(x, r.bottom() - tick));
        }
        if (!k.Major) continue;
        p.setPen(dotted);
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        p.setPen(solid);
        const QString label = FormatGeneral(k.Value, kLabelDigits);
        const double y = g.XOnTop ? r.top() - t - v.Dy / 32 : r.bottom() + v.Dy / 32;
        DrawCentredText(p, QRectF(x - 2 * t, y, 4 * t, t), label);
    }
    for (const TTick& k : AxisTicks(yr, y_intervals)) {
        const double y = DeviceY(r, yr, g.XOnTop, k.Value);
        p.setPen(solid);
        p.drawLine(QPointF(r.left(), y), QPointF(r.left() + tick_x, y));
        if (!k.Major) continue;
        p.setPen(dotted);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.setPen(solid);
        DrawTurnedText(p, QPointF(r.left() - t / 2 - v.Dx / 32, y),
                       FormatGeneral(k.Value, kLabelDigits));
    }
}

void DrawCurves(QPainter& p, const TGraphPlot& g, const TPlotView& v, const TPanelContext& c) {
    const TCurveList& lines = g.PanelLines(c.Panel);
    if (lines.CurveCount() < 1 || lines.PointCount() < 2) return;
    p.save();
    p.setClipRect(c.Rect);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double width = (std::round(v.Dx / 300) + 1) * g.WidthLine;
    int k = 0;  // counts active curves: the colour follows the legend
    for (int i = 0; i < lines.CurveCount(); ++i) {
        const TLine& curve = lines.Curve(i);
        if (!curve.Active) continue;
        const QColor colour = CurveColours[static_cast<size_t>(k++ % 17)];
        if (!curve.Visible) continue;
        QPolygonF polyline;
        for (const TFloatPoint& pt : curve.Points()) {
            polyline << QPointF(DeviceX(c.Rect, c.Ranges->X, static_cast<double>(pt.X)),
                                DeviceY(c.Rect, c.Ranges->Y, g.XOnTop, static_cast<double>(pt.Y)));
        }
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(polyline);
        if (g.Markers <= 0) continue;
        p.setPen(QPen(colour, std::max(1.0, width / 2)));
        for (int j = 0; j < polyline.size(); ++j) {
            if (j % g.Markers == 0)
                DrawMarker(p, polyline[j], MarkerShape(i), v.Dx / 32, v.Dy / 32);
        }
    }
    p.restore();
}

QFont LegendFont(const TGraphPlot& g) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(g.LegendFont);
    return font;
}

void DrawLegend(QPainter& p, const TGraphPlot& g, const TPlotView& v, const QSizeF& client,
                const TPlotLayout& layout) {
    const QSizeF size = LegendSize(p, g, v);
    if (size.isEmpty()) return;
    const QFont font = LegendFont(g);
    p.setFont(font);
    const QFontMetricsF fm(font, p.device());
    const double item = fm.height() * 1.5;
    const double marker_room = v.Dx / 8;
    // The place is the window's; the picture's fonts differ in size, so the box
    // is kept inside the picture's plot area.
    const QRectF asked(
        QPointF(v.LegendPlace.x() * client.width(), v.LegendPlace.y() * client.height()), size);
    const QRectF box =
        LegendInside(asked, LegendArea(layout, asked.center()), QRectF(QPointF(0, 0), client));
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::white);
    p.drawRect(box);
    int row = 0;
    int k = 0;
    for (int i = 0; i < g.Lines.CurveCount(); ++i) {
        const TLine& curve = g.Lines.Curve(i);
        if (!curve.Active) continue;
        const QColor colour = CurveColours[static_cast<size_t>(k++ % 17)];
        if (!curve.Visible) continue;
        const double y = box.top() + v.Dy / 32 + row++ * item;
        p.setPen(QPen(colour, std::max(1.0, v.Dx / 200)));
        p.setBrush(Qt::NoBrush);
        DrawMarker(p, QPointF(box.left() + marker_room / 2 + v.Dx / 32, y + item / 2),
                   MarkerShape(i), v.Dx / 32, v.Dy / 32);
        p.drawText(QRectF(box.left() + marker_room + v.Dx / 16, y, size.width() - v.Dx / 4, item),
                   Qt::AlignVCenter, g.LegendText(i));
    }
}

void DrawLayerColumn(QPainter& p, const TGraphPlot& g, const TPlotView& v, const QRectF& column,
                     const TAxisRange& yr) {
    const TCurveList& marks = g.LayerLines;
    const bool has_wall = g.WallLineCount > 0 && g.WallLineCount + 2 <= marks.CurveCount();
    const int layers = has_wall ? g.WallLineCount : marks.CurveCount();
    const auto depth_at = [&](int i) {
        const double y = DeviceY(column, yr, g.XOnTop, static_cast<double>(marks.Point(i, 0).Y));
        return std::clamp(y, column.top(), column.bottom());
    };
    const bool wall = g.ShowWall && has_wall;
    const double excavation = wall ? depth_at(layers + 1) : column.top();
    const double w = column.width();
    QFont font(QString::fromLatin1(kFontFamily));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(kLayerFontPoints);
    p.setFont(font);
    const QFontMetricsF fm(font, p.device());
    double top = column.top();
    for (int i = 0; i < layers && marks.PointCount() > 0; ++i) {
        const double bottom = depth_at(i);
        if (bottom > top) {
            const QBrush fill =
                LayerBrush(static_cast<int>(std::lround(static_cast<double>(marks.Point(i, 0).X))),
                           v.FinePictures);
            p.setPen(QPen(Qt::black, 0));
            p.setBrush(fill);
            if (!wall) {
                const QRectF box(column.left(), top, w, bottom - top);
                p.drawRect(box);
                const QString text = marks.Curve(i).Name;
                QRectF text_box(0, 0, fm.horizontalAdvance(text) + 4, fm.height() + 4);
                text_box.moveCenter(box.center());
                if (text_box.height() <= box.height()) {
                    p.fillRect(text_box, Qt::white);
                    DrawCentredText(p, text_box, text);
                }
            } else {
                // Retained side always; the excavation side only below the excavation.
                p.drawRect(QRectF(column.left(), top, w * 2 / 5, bottom - top));
                const double right_top = std::max(top, excavation);
                if (bottom > right_top)
                    p.drawRect(QRectF(column.left() + w * 3 / 5, right_top, w * 2 / 5,
                                      bottom - right_top));
            }
        }
        top = std::max(top, bottom);
    }
    if (wall) {
        const double tip = depth_at(layers);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawRect(QRectF(column.left() + w * 2 / 5, column.top(), w / 5, tip - column.top()));
    }
}

}  // namespace

double PanelX(const QRectF& r, const TAxisRange& x, double px) {
    return x.Min + (px - r.left()) / r.width() * x.Width();
}

double PanelY(const QRectF& r, const TAxisRange& y, bool x_on_top, double py) {
    const double f = x_on_top ? (py - r.top()) / r.height() : (r.bottom() - py) / r.height();
    return y.Min + f * y.Width();
}

double DeviceX(const QRectF& r, const TAxisRange& x, double value) {
    return r.left() + (value - x.Min) / x.Width() * r.width();
}

double DeviceY(const QRectF& r, const TAxisRange& y, bool x_on_top, double value) {
    const double f = (value - y.Min) / y.Width() * r.height();
    return x_on_top ? r.top() + f : r.bottom() - f;
}

TPlotLayout GraphLayout(const TGraphPlot& graph, const QSizeF& client, const TPlotView& view,
                        QPainter& painter) {
    const QFontMetricsF fm(CaptionFont(graph, view, true), painter.device());
    TLayoutInput in;
    in.Width = client.width();
    in.Height = client.height();
    in.T = fm.height();
    in.Dx = view.Dx;
    in.Dy = view.Dy;
    in.XOnTop = graph.XOnTop;
    in.Title = TitlePlace(graph);
    in.ShowLayers = HasLayerColumn(graph);
    in.ShowThree = graph.ShowThree;
    return ComputePlotLayout(in);
}

QSizeF LegendSize(QPainter& p, const TGraphPlot& g, const TPlotView& v) {
    const QFontMetricsF fm(LegendFont(g), p.device());
    double width = 0;
    int rows = 0;
    for (int i = 0; i < g.Lines.CurveCount(); ++i) {
        const TLine& curve = g.Lines.Curve(i);
        if (!curve.Active || !curve.Visible) continue;
        width = std::max(width, fm.horizontalAdvance(g.LegendText(i)));
        ++rows;
    }
    if (rows == 0) return {};
    // Marker room of Dx / 8 before the text and Dx / 8 after it.
    return {width + v.Dx / 4, rows * fm.height() * 1.5 + v.Dy / 16};
}

TPlotLayout PaintGraph(QPainter& p, const TGraphPlot& g, const QSizeF& client, const TPlotView& v) {
    p.fillRect(QRectF(QPointF(0, 0), client), Qt::white);
    const TPlotLayout layout = GraphLayout(g, client, v, p);
    if (client.width() < v.Dx || client.height() < v.Dy) return layout;
    const double t = QFontMetricsF(CaptionFont(g, v, true), p.device()).height();

    // Graph title.
    const TTitlePlace title = TitlePlace(g);
    if (title != TTitlePlace::kNone) {
        p.setFont(CaptionFont(g, v, true));
        p.setPen(Qt::black);
        const double y = title == TTitlePlace::kTop ? t / 8 : client.height() - t - t / 8;
        DrawCentredText(p, QRectF(0, y, client.width(), t), g.Title);
    }
    for (size_t i = 0; i < layout.Panels.size(); ++i) {
        const TPanelContext c{static_cast<int>(i) + 1, layout.Panels[i], &v.Ranges[i]};
        DrawAxes(p, g, v, c, t, client, g.ShowThree);
        DrawCurves(p, g, v, c);
    }
    if (v.DrawLegend && g.ShowLegend) DrawLegend(p, g, v, client, layout);
    if (HasLayerColumn(g)) DrawLayerColumn(p, g, v, layout.LayerColumn, v.Ranges[0].Y);
    p.setPen(QPen(Qt::black, std::max(1.0, v.Dx / 96)));
    p.setBrush(Qt::NoBrush);
    for (const QRectF& panel : layout.Panels) p.drawRect(panel);
    return layout;
}

}  // namespace korvel
