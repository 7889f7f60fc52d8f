#include "graphs/layer_fills.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace korvel {
namespace {

// Tile size of the screen pictures in pixels. The printing ones have three times
// the pixels with finer lines; on a printer's many dots per inch they come out
// smaller and sharper than the screen's.
constexpr int kTile = 16;
constexpr int kFineScale = 3;

// Pictures A to G: clay, then sand, silt, strong rock, weak rock and two spare ones.
QPixmap Picture(int index, bool fine) {
    const int scale = fine ? kFineScale : 1;
    QPixmap pixmap(kTile * scale, kTile * scale);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(0x40, 0x40, 0x40);
    p.setPen(QPen(ink, 1.0 / scale));
    switch (index) {
        case 0:  // A, clay: short horizontal dashes, staggered
            p.drawLine(QPointF(1, 4), QPointF(7, 4));
            p.drawLine(QPointF(9, 12), QPointF(15, 12));
            break;
        case 1:  // B, sand: scattered dots
            p.setBrush(ink);
            for (const QPointF& d :
                 {QPointF(3, 3), QPointF(11, 5), QPointF(6, 10), QPointF(13, 13), QPointF(1, 12)}) {
                p.drawEllipse(d, 0.8, 0.8);
            }
            break;
        case 2:  // C, silt: dots and a dash
            p.setBrush(ink);
            p.drawEllipse(QPointF(4, 4), 0.7, 0.7);
            p.drawEllipse(QPointF(12, 12), 0.7, 0.7);
            p.drawLine(QPointF(9, 5), QPointF(14, 5));
            p.drawLine(QPointF(1, 11), QPointF(6, 11));
            break;
        case 3:  // D, strong rock: brick courses
            p.drawLine(QPointF(0, 0), QPointF(16, 0));
            p.drawLine(QPointF(0, 8), QPointF(16, 8));
            p.drawLine(QPointF(4, 0), QPointF(4, 8));
            p.drawLine(QPointF(12, 8), QPointF(12, 16));
            break;
        case 4:  // E, weak rock: broken bricks
            p.drawLine(QPointF(0, 0), QPointF(6, 0));
            p.drawLine(QPointF(9, 8), QPointF(16, 8));
            p.drawLine(QPointF(4, 0), QPointF(4, 5));
            p.drawLine(QPointF(12, 8), QPointF(12, 13));
            break;
        case 5:  // F: small circles
            p.drawEllipse(QPointF(8, 8), 3, 3);
            break;
        default:  // G: chevrons
            p.drawLine(QPointF(0, 10), QPointF(8, 4));
            p.drawLine(QPointF(8, 4), QPointF(16, 10));
            break;
    }
    return pixmap;
}

}  // namespace

QBrush LayerBrush(int code, bool fine) {
    switch (code) {
        case 1:
            return QBrush(Picture(0, fine));
        case 2:
            return QBrush(Qt::black, Qt::FDiagPattern);
        case 3:
            return QBrush(Qt::black, Qt::CrossPattern);
        case 4:
            return QBrush(Qt::black, Qt::DiagCrossPattern);
        case 5:
            return QBrush(Qt::black, Qt::HorPattern);
        case 6:
            return QBrush(Qt::black, Qt::VerPattern);
        default:
            if (code >= 7 && code <= 12) {
                return QBrush(Picture(code - 6, fine));
            }
            return QBrush(Qt::NoBrush);
    }
}

}  // namespace korvel
