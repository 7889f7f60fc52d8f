// TfrmGraphCaption ("Graph Caption"): the title line of a graph and whether it
// stands at the top or the bottom. However the dialog closes (OK, Escape or the
// close box), its text and place become the graph's.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvel {

class TGraphPlot;

class TfrmGraphCaption : public QDialog {
    Q_OBJECT

  public:
    TfrmGraphCaption(TGraphPlot& graph, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return edit_; }
    QRadioButton* TopButton() const { return top_; }
    QRadioButton* BottomButton() const { return bottom_; }
    QPushButton* OKButton() const { return ok_; }

    void done(int result) override;

  private:
    TGraphPlot& graph_;
    QLineEdit* edit_;
    QRadioButton* top_;
    QRadioButton* bottom_;
    QPushButton* ok_;
};

}  // namespace korvel
