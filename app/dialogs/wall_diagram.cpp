#include "dialogs/wall_diagram.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>

namespace korvel {
namespace {

constexpr double kFrame = 200.0;  // side of the drawing frame
const QColor kSoil(0xD2, 0xB4, 0x8C);
const QColor kSoilEdge(0x8B, 0x6B, 0x3D);
const QColor kWall(0x50, 0x50, 0x60);
const QColor kWater(0x1E, 0x64, 0xD2);
const QColor kLoad(0xC0, 0x20, 0x20);
const QColor kDimension(0x20, 0x20, 0x20);

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double head = 5.0) {
    p.setPen(QPen(color, 1.6));
    p.setBrush(color);
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF a = to - QPointF(head * std::cos(angle - 0.4), head * std::sin(angle - 0.4));
    const QPointF b = to - QPointF(head * std::cos(angle + 0.4), head * std::sin(angle + 0.4));
    p.drawPolygon(QPolygonF({to, a, b}));
}

// A dimension line with arrows at both ends and its text beside the middle.
void Dimension(QPainter& p, QPointF a, QPointF b, const QString& text, QPointF text_offset) {
    Arrow(p, (a + b) / 2, a, kDimension, 4.0);
    Arrow(p, (a + b) / 2, b, kDimension, 4.0);
    p.setPen(kDimension);
    p.drawText((a + b) / 2 + text_offset, text);
}

// The water-table symbol: a line and a small inverted triangle above it.
void WaterTable(QPainter& p, double x0, double x1, double y, const QString& text) {
    p.setPen(QPen(kWater, 1.4, Qt::DashLine));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    const double xm = (x0 + x1) / 2;
    p.setPen(QPen(kWater, 1.0));
    p.setBrush(kWater);
    p.drawPolygon(QPolygonF({QPointF(xm - 4, y - 7), QPointF(xm + 4, y - 7), QPointF(xm, y - 1)}));
    p.drawText(QPointF(xm + 6, y - 2), text);
}

void Soil(QPainter& p, const QPolygonF& outline) {
    p.setPen(QPen(kSoilEdge, 1.2));
    p.setBrush(QBrush(kSoil));
    p.drawPolygon(outline);
}

void Wall(QPainter& p, double x, double top, double tip) {
    p.setPen(Qt::NoPen);
    p.setBrush(kWall);
    p.drawRect(QRectF(x - 3, top, 6, tip - top));
}

void PaintSection(QPainter& p) {
    const double wall = 100, top = 40, excavation = 110, tip = 185;
    // Backfill rising away from the wall at the slope Beta, excavation side lower.
    Soil(p, QPolygonF(
                {QPointF(wall, top), QPointF(10, top - 15), QPointF(10, 195), QPointF(wall, 195)}));
    Soil(p, QPolygonF({QPointF(wall, excavation), QPointF(190, excavation), QPointF(190, 195),
                       QPointF(wall, 195)}));
    Wall(p, wall, top, tip);
    // Uniform load q on the backfill.
    for (double x = 18; x < wall - 4; x += 14) {
        const double ground = top - 15 * (wall - x) / (wall - 10);
        Arrow(p, QPointF(x, ground - 16), QPointF(x, ground - 1), kLoad, 4.0);
    }
    p.setPen(kLoad);
    p.drawText(QPointF(wall - 2, top - 22), QStringLiteral("q"));
    // Slope angle at the top of the wall.
    p.setPen(QPen(kDimension, 0.8, Qt::DotLine));
    p.drawLine(QPointF(wall, top), QPointF(40, top));
    p.setPen(kDimension);
    p.drawText(QPointF(62, top - 3), QStringLiteral("\u03B2"));
    // Water tables measured from the top of the wall.
    WaterTable(p, 20, wall - 6, 80, QStringLiteral("DWb"));
    WaterTable(p, wall + 8, 186, 140, QStringLiteral("DWe"));
    // Free height H from the top of the wall to the excavation level.
    Dimension(p, QPointF(170, top), QPointF(170, excavation), QStringLiteral("H"), QPointF(4, 4));
    p.setPen(QPen(kDimension, 0.6, Qt::DotLine));
    p.drawLine(QPointF(wall + 4, top), QPointF(176, top));
    p.setPen(kDimension);
    p.drawText(QPointF(14, 190), QStringLiteral("Backfill"));
    p.drawText(QPointF(118, 190), QStringLiteral("Excavation"));
}

void PaintPlan(QPainter& p) {
    // Backfill above, excavation below, a row of wall units along the wall line.
    Soil(p, QPolygonF({QPointF(5, 30), QPointF(195, 30), QPointF(195, 100), QPointF(5, 100)}));
    p.setPen(kDimension);
    p.drawText(QPointF(70, 24), QStringLiteral("Backfill"));
    p.drawText(QPointF(62, 170), QStringLiteral("Excavation"));
    const double y = 100, radius = 12, spacing = 60;
    for (int i = 0; i < 3; ++i) {
        const double x = 40 + i * spacing;
        p.setPen(QPen(kWall, 1.2));
        p.setBrush(QColor(0x90, 0x90, 0xA0));
        p.drawEllipse(QPointF(x, y), radius, radius);
        p.setPen(QPen(kDimension, 0.6, Qt::DotLine));
        p.drawLine(QPointF(x, y), QPointF(x, 140));
    }
    Dimension(p, QPointF(40, 136), QPointF(100, 136), QStringLiteral("Wa"), QPointF(-8, 14));
    Dimension(p, QPointF(160 - radius, 122), QPointF(160 + radius, 122), QStringLiteral("Wp"),
              QPointF(-8, 16));
}

void PaintConcentratedLoads(QPainter& p) {
    const double wall = 100;
    Soil(p,
         QPolygonF({QPointF(wall, 110), QPointF(190, 110), QPointF(190, 195), QPointF(wall, 195)}));
    Soil(p, QPolygonF({QPointF(10, 40), QPointF(wall, 40), QPointF(wall, 195), QPointF(10, 195)}));
    Wall(p, wall, 20, 185);
    // Axial load at the top, lateral load and moment at a node.
    Arrow(p, QPointF(wall, 0), QPointF(wall, 18), kLoad);
    Arrow(p, QPointF(wall + 60, 70), QPointF(wall + 5, 70), kLoad);
    p.setPen(QPen(kLoad, 1.6));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(wall - 22, 48, 44, 44);
    p.drawArc(arc, 30 * 16, 120 * 16);
    Arrow(p, QPointF(wall - 18, 57), QPointF(wall - 21, 62), kLoad);
    p.setPen(kLoad);
    p.drawText(QPointF(wall + 6, 10), QStringLiteral("Axial Load"));
    p.drawText(QPointF(wall + 20, 64), QStringLiteral("Lateral Load"));
    p.drawText(QPointF(wall - 62, 50), QStringLiteral("Moment"));
    p.setPen(QPen(kDimension, 0.6));
    p.setBrush(kDimension);
    for (double y = 30; y <= 180; y += 15) p.drawEllipse(QPointF(wall, y), 1.6, 1.6);
    p.drawText(QPointF(wall + 8, 150), QStringLiteral("nodes"));
}

void Zigzag(QPainter& p, QPointF a, QPointF b, int teeth) {
    QPainterPath path(a);
    const QPointF d = (b - a) / (2 * teeth + 2);
    const QPointF n(-d.y() * 2.5, d.x() * 2.5);
    path.lineTo(a + d);
    for (int i = 0; i < 2 * teeth; ++i) path.lineTo(a + d * (i + 1.5) + (i % 2 ? -n : n));
    path.lineTo(b - d);
    path.lineTo(b);
    p.drawPath(path);
}

void PaintSprings(QPainter& p) {
    const double wall = 70;
    Soil(p,
         QPolygonF({QPointF(wall, 130), QPointF(195, 130), QPointF(195, 195), QPointF(wall, 195)}));
    Soil(p, QPolygonF({QPointF(5, 60), QPointF(wall, 60), QPointF(wall, 195), QPointF(5, 195)}));
    Wall(p, wall, 30, 185);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLoad, 1.6));
    // Lateral spring between the wall and a fixed support.
    Zigzag(p, QPointF(wall + 3, 60), QPointF(160, 60), 5);
    p.setPen(QPen(kDimension, 1.6));
    p.drawLine(QPointF(160, 45), QPointF(160, 75));
    for (double y = 45; y < 75; y += 6) p.drawLine(QPointF(160, y), QPointF(166, y + 5));
    // Rotational spring: a coil about a node.
    p.setPen(QPen(kLoad, 1.6));
    QPainterPath coil;
    const QPointF c(wall, 100);
    for (int i = 0; i <= 60; ++i) {
        const double t = i / 60.0 * 2.5 * M_PI;
        const double r = 4 + 2.6 * t;
        const QPointF q = c + QPointF(r * std::cos(t), r * std::sin(t));
        if (i == 0)
            coil.moveTo(q);
        else
            coil.lineTo(q);
    }
    p.drawPath(coil);
    p.setPen(kLoad);
    p.drawText(QPointF(wall + 20, 50), QStringLiteral("Lateral Spring"));
    p.drawText(QPointF(wall + 26, 112), QStringLiteral("Rotational Spring"));
}

void PaintTieback(QPainter& p) {
    const double wall = 150;
    Soil(p, QPolygonF({QPointF(5, 20), QPointF(wall, 20), QPointF(wall, 195), QPointF(5, 195)}));
    Soil(p,
         QPolygonF({QPointF(wall, 120), QPointF(195, 120), QPointF(195, 195), QPointF(wall, 195)}));
    Wall(p, wall, 15, 185);
    // Anchor inclined downward into the backfill: free length then bonded zone.
    const QPointF head(wall - 3, 55);
    const double angle = qDegreesToRadians(20.0);
    const QPointF dir(-std::cos(angle), std::sin(angle));
    const QPointF bond_start = head + dir * 60;
    const QPointF end = head + dir * 125;
    p.setPen(QPen(kDimension, 1.6));
    p.drawLine(head, bond_start);
    p.setPen(QPen(kWall, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(bond_start, end);
    p.setPen(Qt::NoPen);
    p.setBrush(kLoad);
    p.drawRect(QRectF(wall + 3, 49, 8, 12));
    p.setPen(kDimension);
    p.drawText(QPointF(40, 135), QStringLiteral("Anchor bond"));
    p.drawText(QPointF(wall - 60, 48), QStringLiteral("Tieback"));
    Dimension(p, QPointF(wall + 22, 20), QPointF(wall + 22, 55), QStringLiteral("Depth"),
              QPointF(-52, 4));
    p.setPen(QPen(kDimension, 0.8, Qt::DotLine));
    p.drawLine(head, head + QPointF(-40, 0));
    p.setPen(kDimension);
    p.drawText(head + QPointF(-34, 12), QStringLiteral("\u03B1"));
}

void PaintSurcharge(QPainter& p) {
    const double wall = 160, ground = 80;
    Soil(p, QPolygonF(
                {QPointF(5, ground), QPointF(wall, ground), QPointF(wall, 195), QPointF(5, 195)}));
    Soil(p,
         QPolygonF({QPointF(wall, 150), QPointF(195, 150), QPointF(195, 195), QPointF(wall, 195)}));
    Wall(p, wall, ground - 5, 190);
    // Point load, line load and strip load at their distances from the wall.
    Arrow(p, QPointF(130, ground - 40), QPointF(130, ground - 1), kLoad);
    p.setPen(kLoad);
    p.drawText(QPointF(112, ground - 44), QStringLiteral("Point"));
    p.setPen(QPen(kLoad, 1.6));
    p.drawLine(QPointF(84, ground - 24), QPointF(100, ground - 34));
    Arrow(p, QPointF(92, ground - 29), QPointF(92, ground - 1), kLoad);
    p.setPen(kLoad);
    p.drawText(QPointF(78, ground - 40), QStringLiteral("Line"));
    for (double x = 18; x <= 58; x += 10)
        Arrow(p, QPointF(x, ground - 22), QPointF(x, ground - 1), kLoad, 4);
    p.setPen(QPen(kLoad, 1.2));
    p.drawLine(QPointF(18, ground - 22), QPointF(58, ground - 22));
    p.setPen(kLoad);
    p.drawText(QPointF(22, ground - 28), QStringLiteral("Strip"));
    Dimension(p, QPointF(58, ground + 18), QPointF(wall - 3, ground + 18),
              QStringLiteral("Distance"), QPointF(-24, 14));
    Dimension(p, QPointF(18, ground + 52), QPointF(58, ground + 52), QStringLiteral("Width"),
              QPointF(-16, 14));
}

}  // namespace

void PaintDiagram(QPainter& painter, TDiagramKind kind) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QPen(kDimension, 0.8));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(0, 0, kFrame, kFrame));
    switch (kind) {
        case TDiagramKind::kSection:
            PaintSection(painter);
            break;
        case TDiagramKind::kPlan:
            PaintPlan(painter);
            break;
        case TDiagramKind::kConcentratedLoads:
            PaintConcentratedLoads(painter);
            break;
        case TDiagramKind::kSprings:
            PaintSprings(painter);
            break;
        case TDiagramKind::kTieback:
            PaintTieback(painter);
            break;
        case TDiagramKind::kSurcharge:
            PaintSurcharge(painter);
            break;
    }
    painter.restore();
}

TWallDiagram::TWallDiagram(TDiagramKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TWallDiagram::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double side = std::max(1, std::min(width(), height()) - 2);
    painter.translate((width() - side) / 2.0, (height() - side) / 2.0);
    painter.scale(side / kFrame, side / kFrame);
    PaintDiagram(painter, kind_);
}

}  // namespace korvel
