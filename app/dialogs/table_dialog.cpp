#include "dialogs/table_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "entry/grid_table.h"
#include "entry/ui/table_form.h"

namespace korvel {

void CloseTableWindow(TGridTable& table) {
    if (auto* open = qobject_cast<TTableForm*>(table.Editor())) open->Container()->close();
}

TTableDialog::TTableDialog(TProgramData& project, TGridTable& table, QMdiArea* area,
                           const TTableDialogLayout& layout, QWidget* parent)
    : TDataDialog(project, QString::fromLatin1(layout.Caption), parent),
      table_(table),
      area_(area),
      flag_(layout.CheckCaption ? layout.Flag : nullptr) {
    setObjectName(QLatin1String(layout.ObjectName));
    auto* column = new QVBoxLayout;
    if (flag_) {
        apply_box_ = new QCheckBox(QLatin1String(layout.CheckCaption), this);
        apply_box_->setObjectName(QStringLiteral("ApplyBox"));
        connect(apply_box_, &QCheckBox::clicked, this, &TTableDialog::ApplyClicked);
        column->addWidget(apply_box_);
    }
    edit_button_ = new QPushButton(QLatin1String(layout.ButtonCaption), this);
    edit_button_->setObjectName(QStringLiteral("EditButton"));
    connect(edit_button_, &QPushButton::clicked, this, &TTableDialog::EditClick);
    column->addWidget(edit_button_);
    column->addStretch(1);

    auto* row = new QHBoxLayout(this);
    row->addLayout(column);
    row->addWidget(new TWallDiagram(layout.Diagram, this), 1);
    resize(470, 260);
    Activate();
}

void TTableDialog::LoadValues() {
    if (!flag_) return;
    const bool on = Project().*flag_;
    apply_box_->setChecked(on);
    edit_button_->setEnabled(on);
}

void TTableDialog::StoreValues() {
    if (flag_) Project().*flag_ = apply_box_->isChecked();
}

void TTableDialog::ApplyClicked(bool on) {
    edit_button_->setEnabled(on);
    // Taken at once as well, so that a save from the table's own window, which
    // never deactivates this dialog, sees the option as shown.
    Project().*flag_ = on;
    if (on) {
        // A table emptied by an earlier save with the option off gets its
        // default rows back, so the option is not saved as off for want of rows.
        if (table_.RowCount() < table_.MinRows()) table_.SetRowCount(table_.MinRows());
    } else {
        CloseTableWindow(table_);
    }
    Project().SetModified(true);
}

void TTableDialog::EditClick() {
    TTableForm::ShowTable(table_, area_);
}

}  // namespace korvel
