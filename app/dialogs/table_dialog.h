// TTableDialog: a small input dialog that leads to one grid table, optionally
// with the check box of the option that decides whether the table is applied.
// With a check box: on activation it shows the project flag and the button is
// enabled exactly when it is ticked; clearing it closes the table's window (the
// rows stay); deactivation and closing copy it into the flag. Without one, the
// option is switched in the options menu and the button always opens the table.
#pragma once

#include "dialogs/data_dialog.h"
#include "dialogs/wall_diagram.h"

class QCheckBox;
class QMdiArea;
class QPushButton;

namespace korvel {

class TGridTable;

struct TTableDialogLayout {
    const char* Caption;
    const char* ObjectName;
    const char* CheckCaption;    // nullptr: no check box
    bool TProjectFields::*Flag;  // the check box's flag, nullptr without one
    const char* ButtonCaption;
    TDiagramKind Diagram;
};

class TTableDialog : public TDataDialog {
    Q_OBJECT

  public:
    // area: where the table's window opens (nullptr: a window of its own).
    TTableDialog(TProgramData& project, TGridTable& table, QMdiArea* area,
                 const TTableDialogLayout& layout, QWidget* parent = nullptr);

    TGridTable& Table() const { return table_; }
    QCheckBox* ApplyBox() const { return apply_box_; }
    QPushButton* EditButton() const { return edit_button_; }

  protected:
    void LoadValues() override;
    void StoreValues() override;

  private:
    void ApplyClicked(bool on);
    void EditClick();

    TGridTable& table_;
    QMdiArea* area_;
    bool TProjectFields::*flag_;
    QCheckBox* apply_box_ = nullptr;
    QPushButton* edit_button_;
};

// Closes the table's open window, if any (its rows stay).
void CloseTableWindow(TGridTable& table);

}  // namespace korvel
