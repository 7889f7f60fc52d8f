// The legend of a plot window: a borderless list of the active curves, each in
// its curve colour with " *" after the text of a visible curve. It can be dragged
// within its parent; a double click toggles the clicked curve's visibility.
#pragma once

#include <QWidget>
#include <functional>

namespace korvel {

class TGraphPlot;

class TLegendBox : public QWidget {
    Q_OBJECT

  public:
    TLegendBox(TGraphPlot& graph, QWidget* parent);

    // Rebuilds the items from the active curves and sizes the box: items x item
    // height + 3 pixels high, the widest "text *" plus a quarter inch wide.
    void Rebuild();
    // Font size in points; the item height is 3/2 of it.
    void SetFontPoints(double points);
    double FontPoints() const { return font_points_; }
    int ItemCount() const { return static_cast<int>(curves_.size()); }
    // Curve index (in Lines) of item row.
    int CurveOfItem(int row) const { return curves_.at(static_cast<size_t>(row)); }
    QString ItemText(int row) const;
    double ItemHeight() const;
    // Keeps the box inside the rectangle bounds gives for where the box is (the
    // plot area, in the parent's pixels; the parent's rectangle while none is
    // set), moving it the least.
    void KeepInside();
    void SetBounds(std::function<QRect(const QRect& box)> bounds);

  Q_SIGNALS:
    // A curve's Visible was toggled by a double click.
    void visibilityToggled(int curve);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    TGraphPlot& graph_;
    std::vector<int> curves_;  // curve index of each item
    double font_points_ = 11;
    std::function<QRect(const QRect&)> bounds_;
    QPoint drag_offset_;
    bool dragging_ = false;
};

}  // namespace korvel
