// TDlgProp ("Wall Properties"): increments, increment length, free height,
// maximum allowable deflection and closure tolerance, and the button that opens
// the wall stiffness table (PileSect).
#pragma once

#include "dialogs/data_dialog.h"

class QPushButton;

namespace korvel {

class TDlgProp : public TDataDialog {
    Q_OBJECT

  public:
    static constexpr int kMinIncrements = 1;
    static constexpr int kMaxIncrements = 300;

    // open_section_table opens the wall stiffness table's window.
    TDlgProp(TProgramData& project, std::function<void()> open_section_table,
             QWidget* parent = nullptr);

    TDataEdit* IncrementsBox() const { return increments_; }
    TDataEdit* IncrementLengthBox() const { return increment_length_; }
    TDataEdit* FreeHeightBox() const { return free_height_; }
    TDataEdit* MaxDeflectionBox() const { return max_deflection_; }
    TDataEdit* ClosureToleranceBox() const { return closure_tolerance_; }
    QPushButton* SectionButton() const { return section_button_; }

  private:
    TDataEdit* increments_;
    TDataEdit* increment_length_;
    TDataEdit* free_height_;
    TDataEdit* max_deflection_;
    TDataEdit* closure_tolerance_;
    QPushButton* section_button_;
};

}  // namespace korvel
