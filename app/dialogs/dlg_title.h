// TdlgTitle ("Project Title"): the project title, one line of at most 80
// characters. A line break typed or pasted becomes a blank.
#pragma once

#include "dialogs/data_dialog.h"

class QLineEdit;

namespace korvel {

class TdlgTitle : public TDataDialog {
    Q_OBJECT

  public:
    explicit TdlgTitle(TProgramData& project, QWidget* parent = nullptr);
    QLineEdit* TitleEdit() const { return edit_; }

  protected:
    void LoadValues() override;
    void StoreValues() override;

  private:
    QLineEdit* edit_;
    QString loaded_;  // what the edit showed on activation
};

}  // namespace korvel
