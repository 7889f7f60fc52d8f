// TDlgStaged: the "Staged Construction Options" dialog. It shows the stage count
// of the project and lets the user switch staged construction on or off and
// choose 2 to 5 stages; the caller applies the count on OK (ChangeStageCount of
// the project model), so the dialog itself changes nothing.
#pragma once

#include <QDialog>
#include <QSpinBox>

class QCheckBox;
class QPushButton;

namespace korvel {

// The numeric box: integers 1 to 5 may be typed; the arrows step between 2 and 5.
class TStageCountBox : public QSpinBox {
    Q_OBJECT

  public:
    explicit TStageCountBox(QWidget* parent = nullptr);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;
};

class TDlgStaged : public QDialog {
    Q_OBJECT

  public:
    // stage_count: the project's StageCount (1 when not staged).
    explicit TDlgStaged(int stage_count, QWidget* parent = nullptr);

    // The count that OK gives: the box's value.
    int StageCount() const;
    QCheckBox* StagedBox() const { return staged_; }
    TStageCountBox* CountBox() const { return count_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    void StagedToggled(bool on);

    QCheckBox* staged_;
    TStageCountBox* count_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace korvel
