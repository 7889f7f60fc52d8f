#include "graphs/legend_box.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "graphs/graph_plot.h"
#include "graphs/plot_layout.h"
#include "graphs/plot_painter.h"

namespace korvel {

TLegendBox::TLegendBox(TGraphPlot& graph, QWidget* parent) : QWidget(parent), graph_(graph) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::SizeAllCursor);
    font_points_ = graph.LegendFont;
    QFont f = font();
    f.setPointSizeF(font_points_);
    setFont(f);
}

void TLegendBox::SetFontPoints(double points) {
    font_points_ = points;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
    Rebuild();
}

double TLegendBox::ItemHeight() const {
    // 3/2 of the font size, in pixels of this screen.
    return std::ceil(font_points_ * 1.5 * logicalDpiY() / 72.0);
}

QString TLegendBox::ItemText(int row) const {
    const int curve = CurveOfItem(row);
    QString text = graph_.LegendText(curve);
    if (graph_.Lines.Curve(curve).Visible) text += QStringLiteral(" *");
    return text;
}

void TLegendBox::Rebuild() {
    curves_.clear();
    for (int i = 0; i < graph_.Lines.CurveCount(); ++i) {
        if (graph_.Lines.Curve(i).Active) curves_.push_back(i);
    }
    const QFontMetricsF fm(font(), this);
    double widest = 0;
    for (int i = 0; i < graph_.Lines.CurveCount(); ++i) {
        if (graph_.Lines.Curve(i).Active)
            widest = std::max(widest, fm.horizontalAdvance(graph_.LegendText(i) + " *"));
    }
    resize(static_cast<int>(std::ceil(widest + logicalDpiX() / 4.0)),
           static_cast<int>(ItemCount() * ItemHeight() + 3));
    update();
}

void TLegendBox::KeepInside() {
    if (!parentWidget()) return;
    const QRectF picture(QPointF(0, 0), QSizeF(parentWidget()->size()));
    const QRect bounds = bounds_ ? bounds_(geometry()) : QRect();
    const QRectF plot = bounds.isEmpty() ? picture : QRectF(bounds);
    move(LegendInside(QRectF(geometry()), plot, picture).topLeft().toPoint());
}

void TLegendBox::SetBounds(std::function<QRect(const QRect& box)> bounds) {
    bounds_ = std::move(bounds);
    KeepInside();
}

void TLegendBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const double h = ItemHeight();
    for (int row = 0; row < ItemCount(); ++row) {
        p.setPen(CurveColours[static_cast<size_t>(row % 17)]);
        p.drawText(QRectF(4, 1 + row * h, width() - 4, h), Qt::AlignVCenter, ItemText(row));
    }
}

void TLegendBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    drag_offset_ = event->position().toPoint();
}

void TLegendBox::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    move(mapToParent(event->position().toPoint()) - drag_offset_);
    KeepInside();
}

void TLegendBox::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void TLegendBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = static_cast<int>((event->position().y() - 1) / ItemHeight());
    if (row < 0 || row >= ItemCount()) return;
    TLine& curve = graph_.Lines.Curve(CurveOfItem(row));
    curve.Visible = !curve.Visible;
    update();
    Q_EMIT visibilityToggled(CurveOfItem(row));
}

}  // namespace korvel
