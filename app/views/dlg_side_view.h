// TDlgSideView ("Side View"): the wall and the soil profile in elevation,
// rebuilt from the project on each activation, with the depth under the mouse
// in the caption and a "Print" button that prints the picture on a landscape page.
#pragma once

#include <QWidget>

#include "views/side_view_picture.h"

class QPainter;
class QPrinter;
class QPushButton;

namespace korvel {

class TProgramData;

class TDlgSideView : public QWidget {
    Q_OBJECT

  public:
    explicit TDlgSideView(TProgramData& project, QWidget* parent = nullptr);

    static constexpr const char* kCaption = "Side View";

    const TWorldBox& WorldBox() const { return world_; }
    const TWorldBox& ViewBox() const { return view_; }
    const TSideViewData& Data() const { return data_; }
    QPushButton* PrintButton() const { return print_button_; }

    // Re-reads the project and fits the box (activation).
    void FormActivate();
    // Draws the picture on printer's page, set to landscape, as "Soil-Pile Profile".
    void PrintTo(QPrinter& printer);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void PrintClick();
    void Draw(QPainter& painter, const TSideMapping& map, double text_height);

    TProgramData& project_;
    TSideViewData data_;
    TWorldBox world_;  // initially -10..10 by 0..10
    TWorldBox view_;
    QPushButton* print_button_;
};

}  // namespace korvel
