// TdlgTitle ("Project Title"): the project title, one line of at most 80
// characters. A line break typed or pasted becomes a blank. The title belongs
// to stage 1: a later stage's file carries " Stage No : " and its number in that
// line, which is how a staged data file is cut into its stages again, so while
// a later stage is current the box is read-only and a note says why.
#pragma once

#include "dialogs/data_dialog.h"

class QLabel;
class QLineEdit;

namespace korvel {

class TdlgTitle : public TDataDialog {
    Q_OBJECT

  public:
    explicit TdlgTitle(TProgramData& project, QWidget* parent = nullptr);
    QLineEdit* TitleEdit() const { return edit_; }
    QLabel* StageNote() const { return stage_note_; }

  protected:
    void LoadValues() override;
    void StoreValues() override;

  private:
    QLineEdit* edit_;
    QLabel* stage_note_;
    QString loaded_;  // what the edit showed on activation
};

}  // namespace korvel
