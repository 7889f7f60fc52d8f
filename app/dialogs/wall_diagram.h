// TWallDiagram: the explanatory drawings of the input dialogs, painted in code
// (a wall with its symbols). Each drawing is made in a 200 x 200 frame that is
// scaled, aspect kept, into the widget.
#pragma once

#include <QWidget>

class QPainter;

namespace korvel {

enum class TDiagramKind {
    kSection,            // elevation: H, backfill slope, uniform load q, water tables DWb and DWe
    kPlan,               // plan of the wall units: spacing Wa and width Wp
    kConcentratedLoads,  // lateral load, moment and axial load on the wall
    kSprings,            // lateral and rotational springs
    kTieback,            // an inclined ground anchor
    kSurcharge,          // point, line and strip loads behind the wall
};

// Paints a diagram into a 200 x 200 frame of the painter's current coordinates.
void PaintDiagram(QPainter& painter, TDiagramKind kind);

class TWallDiagram : public QWidget {
    Q_OBJECT

  public:
    explicit TWallDiagram(TDiagramKind kind, QWidget* parent = nullptr);
    TDiagramKind Kind() const { return kind_; }
    QSize sizeHint() const override { return {220, 220}; }
    QSize minimumSizeHint() const override { return {150, 150}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TDiagramKind kind_;
};

}  // namespace korvel
