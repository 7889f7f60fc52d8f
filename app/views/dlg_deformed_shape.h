// TDlgDeformedShape ("Deformed Shape"): switches the deformed wall and the
// undeformed outline of the 3D view on and off and sets the exaggeration
// factor, by typing or with the up-down ladder 1, 2, ..., 9, 10, 20, ... Every
// change calls the view's RedrawComplete. The settings live in the 3D view; the
// dialog keeps a working copy of the factor.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace korvel {

struct TDeformedSettings;

class TDlgDeformedShape : public QDialog {
    Q_OBJECT

  public:
    TDlgDeformedShape(TDeformedSettings& settings, std::function<void()> redraw_complete,
                      QWidget* parent = nullptr);

    // Shows a factor text that is not a number; a message box unless replaced.
    std::function<void(const QString&)> OnEntryError;

    QCheckBox* CheckBoxDeformedShape = nullptr;    // "Show Deformed Shape"
    QCheckBox* CheckBoxUndeformedModel = nullptr;  // "Show Undeformed Model"
    QLabel* Label1 = nullptr;                      // "Deformed Shape Factor"
    QLineEdit* EditDefFactor = nullptr;
    QToolButton* UpDownDefFactorUp = nullptr;    // upper button of UpDownDefFactor
    QToolButton* UpDownDefFactorDown = nullptr;  // lower button
    QPushButton* Button1 = nullptr;              // "Close"

    // Position of the up-down buttons (-100..100): +1 after the upper button,
    // -1 after the lower one, back to 0 once the step is taken.
    int UpDownPosition() const { return updown_position_; }
    double WorkingFactor() const { return factor_; }

    void FormActivate();
    void UpDownDefFactorClick(bool up);

  protected:
    bool event(QEvent* event) override;

  private:
    void EnablingRule();
    void EditDefFactorChange(const QString& text);

    TDeformedSettings& settings_;
    std::function<void()> redraw_complete_;
    double factor_ = 1.0;
    int updown_position_ = 0;
};

}  // namespace korvel
