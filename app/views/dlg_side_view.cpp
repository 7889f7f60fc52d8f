#include "views/dlg_side_view.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>

#include "entry/number_format.h"
#include "project/program_data.h"

namespace korvel {

namespace {
// Printed pens: printer pixels per screen pixel of pen width, at least this.
constexpr double kMinPrintPen = 6.0;
constexpr double kMaxPrintPen = 15.0;
constexpr int kPrintFontPoints = 10;
// Significant digits of the depth under the mouse, as the graphs show coordinates.
constexpr int kDepthDigits = 5;
// Smallest window (pixels) in which the wall, the layers and their texts still read.
constexpr int kMinWidth = 360;
constexpr int kMinHeight = 300;

QColor Colour(TSideInk ink, const QColor& text) {
    switch (ink) {
        case TSideInk::kWater:
            return {0, 0, 200};
        case TSideInk::kTieback:
            return {160, 80, 0};
        case TSideInk::kText:
            break;
    }
    return text;
}
}  // namespace

TDlgSideView::TDlgSideView(TProgramData& project, QWidget* parent)
    : QWidget(parent), project_(project) {
    setObjectName(QStringLiteral("DlgSideView"));
    setWindowTitle(QLatin1String(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setAutoFillBackground(false);
    print_button_ = new QPushButton(QStringLiteral("Print"), this);
    print_button_->setObjectName(QStringLiteral("Print"));
    print_button_->move(4, 4);
    connect(print_button_, &QPushButton::clicked, this, &TDlgSideView::PrintClick);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(600, 450);
    view_ = world_;
}

bool TDlgSideView::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) FormActivate();
    return QWidget::event(e);
}

void TDlgSideView::FormActivate() {
    data_ = SideViewData(project_);
    if (data_.HasStiffness) world_ = SideWorldBox(data_);
    view_ = FitViewBox(world_, width(), height());
    update();
}

void TDlgSideView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    view_ = FitViewBox(world_, width(), height());
}

void TDlgSideView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    Draw(painter, WindowMapping(view_, width(), height()), fontMetrics().height());
}

void TDlgSideView::Draw(QPainter& painter, const TSideMapping& map, double text_height) {
    const QColor ink = palette().color(QPalette::WindowText);
    for (const TSideItem& item : SideViewPicture(data_, map, text_height)) {
        if (const auto* l = std::get_if<TSideLine>(&item)) {
            painter.setPen(QPen(Colour(l->Ink, ink), l->Pen));
            painter.drawLine(l->From, l->To);
        } else if (const auto* p = std::get_if<TSidePolygon>(&item)) {
            painter.setPen(QPen(ink, map.PenScale));
            painter.setBrush(ink);
            painter.drawPolygon(p->Points.data(), static_cast<int>(p->Points.size()));
            painter.setBrush(Qt::NoBrush);
        } else if (const auto* c = std::get_if<TSideEllipse>(&item)) {
            painter.setPen(QPen(ink, c->Pen));
            painter.setBrush(Qt::white);
            painter.drawEllipse(c->Centre, c->RadiusX, c->RadiusY);
            painter.setBrush(Qt::NoBrush);
        } else if (const auto* t = std::get_if<TSideText>(&item)) {
            painter.setPen(Colour(t->Ink, ink));
            if (t->AlignRight) {
                painter.drawText(QRectF(t->At - QPointF(map.W, 0), QSizeF(map.W, text_height)),
                                 Qt::AlignRight | Qt::AlignTop, t->Text);
            } else {
                painter.drawText(QRectF(t->At, QSizeF(map.W, text_height)),
                                 Qt::AlignLeft | Qt::AlignTop, t->Text);
            }
        }
    }
    painter.setPen(QPen(ink, 1));
}

void TDlgSideView::mouseMoveEvent(QMouseEvent* e) {
    if (!view_.Valid() || height() <= 0) return;
    const TSideMapping map = WindowMapping(view_, width(), height());
    const double depth = map.WorldY(e->position().y()) - data_.Margin;
    setWindowTitle(QLatin1String(kCaption) + QStringLiteral("  Depth: ") +
                   FormatGeneral(depth, kDepthDigits));
}

void TDlgSideView::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void TDlgSideView::PrintTo(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Soil-Pile Profile"));
    QPainter painter(&printer);
    if (!painter.isActive()) return;
    const QRect page = painter.viewport();
    // Pens grow with the printer's resolution, within 6 to 15 printer pixels.
    const double pen =
        std::clamp(printer.resolution() / 96.0 * 2.0, kMinPrintPen, kMaxPrintPen) / 2.0;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(kPrintFontPoints);
    painter.setFont(QFont(font, &printer));
    // Fitted to the printed band, so that the page shows the picture undistorted.
    const TWorldBox box = FitViewBox(world_, page.width(), static_cast<int>(page.height() * 0.8));
    Draw(painter, PageMapping(box, page.width(), page.height(), pen),
         painter.fontMetrics().height());
    painter.end();
}

}  // namespace korvel
