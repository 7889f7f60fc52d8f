#include "entry/ui/help_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "entry/table_definitions.h"

namespace korvel {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 200;

void Arrow(QPainter& painter, QPointF from, QPointF to) {
    painter.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
    const QPointF n(-d.y(), d.x());
    painter.drawPolygon(QPolygonF({to, to - 7 * d + 3.5 * n, to - 7 * d - 3.5 * n}));
}

// Wall with backfill to the left and the user's pressure diagram against it:
// depths are measured from the top of the wall, loads per unit length of wall.
QPixmap EarthPressureDiagram() {
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double wall_x = 200, top = 25, excavation = 120, tip = 185;
    p.fillRect(QRectF(wall_x + 2, excavation, 150, tip - excavation + 10), QColor(222, 200, 160));
    p.fillRect(QRectF(20, top, wall_x - 20, tip - top + 10), QColor(235, 220, 185));
    p.setPen(QPen(Qt::black, 5));
    p.drawLine(QPointF(wall_x, top), QPointF(wall_x, tip));
    p.setPen(QPen(Qt::darkRed, 1.5));
    p.setBrush(QColor(230, 120, 110, 120));
    const QPolygonF diagram(
        {{wall_x - 2, top}, {wall_x - 2, excavation}, {wall_x - 90, excavation}});
    p.drawPolygon(diagram);
    p.setBrush(Qt::darkRed);
    for (double y = top + 20; y < excavation; y += 22) {
        const double length = 88 * (y - top) / (excavation - top);
        Arrow(p, QPointF(wall_x - 2 - length, y), QPointF(wall_x - 4, y));
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    Arrow(p, QPointF(wall_x + 20, top), QPointF(wall_x + 20, excavation - 30));
    p.drawText(QPointF(wall_x + 26, top + 40), QStringLiteral("Depth from top of wall"));
    p.drawText(QPointF(28, excavation + 18), QStringLiteral("Distributed load"));
    p.drawText(QPointF(28, excavation + 34), QStringLiteral("(force per unit length)"));
    p.drawText(QPointF(wall_x + 10, excavation - 6), QStringLiteral("Excavation"));
    return pixmap;
}

// Wall held by a tieback: depth of the anchor, its angle from horizontal, the
// unbonded length and the bonded zone in the backfill.
QPixmap TiebackDiagram() {
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double wall_x = 250, top = 20, tip = 185, anchor_y = 60;
    p.fillRect(QRectF(10, top, wall_x - 10, tip - top + 10), QColor(235, 220, 185));
    p.setPen(QPen(Qt::black, 5));
    p.drawLine(QPointF(wall_x, top), QPointF(wall_x, tip));
    const QPointF head(wall_x - 3, anchor_y);
    const QPointF bond_start(120, anchor_y + 55);
    const QPointF bond_end(40, anchor_y + 89);
    p.setPen(QPen(Qt::darkBlue, 2));
    p.drawLine(head, bond_start);
    p.setPen(QPen(Qt::darkBlue, 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(bond_start, bond_end);
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawLine(head, QPointF(wall_x - 100, anchor_y));
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    Arrow(p, QPointF(wall_x + 25, top), QPointF(wall_x + 25, anchor_y));
    p.drawText(QPointF(wall_x + 30, anchor_y - 10), QStringLiteral("Depth"));
    p.drawText(QPointF(wall_x - 95, anchor_y - 6), QStringLiteral("Angle from horizontal"));
    p.drawText(QPointF(150, anchor_y + 70), QStringLiteral("Unbonded length"));
    p.drawText(QPointF(20, anchor_y + 118), QStringLiteral("Bonded zone"));
    p.drawText(QPointF(wall_x + 12, tip - 10), QStringLiteral("Wall"));
    return pixmap;
}

}  // namespace

QPixmap HelpPicturePixmap(const QString& name) {
    if (name == QLatin1String(kEarthPressurePicture)) return EarthPressureDiagram();
    if (name == QLatin1String(kTiebackPicture)) return TiebackDiagram();
    return {};
}

}  // namespace korvel
