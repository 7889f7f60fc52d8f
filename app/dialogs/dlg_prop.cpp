#include "dialogs/dlg_prop.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "entry/ui/data_edit.h"

namespace korvel {

TDlgProp::TDlgProp(TProgramData& project, std::function<void()> open_section_table, QWidget* parent)
    : TDataDialog(project, QStringLiteral("Wall Properties"), parent) {
    setObjectName(QStringLiteral("DlgProp"));
    increments_ = NewBox(QStringLiteral("&Increments (nodes)"), QString(), kMinIncrements,
                         kMaxIncrements, true);
    section_button_ = new QPushButton(QStringLiteral("Enter Section Data"), this);
    auto* stiffness_label = new QLabel(QStringLiteral("Wall Stiffness (EI)"), this);
    increment_length_ = NewBox(QStringLiteral("Increment Length"), QStringLiteral("L"));
    free_height_ = NewBox(QStringLiteral("Free Height of Wall"), QStringLiteral("L2"));
    max_deflection_ =
        NewBox(QStringLiteral("Maximum Allowable Deflection for computation iteration"),
               QStringLiteral("L"));
    auto* hint = new QLabel(QStringLiteral("(Approx.10% of the wall height)  "), this);
    closure_tolerance_ =
        NewBox(QStringLiteral("Deflection Closure Tolerance"), QStringLiteral("L"));

    increments_->setObjectName(QStringLiteral("Increments"));
    increment_length_->setObjectName(QStringLiteral("IncrementLength"));
    free_height_->setObjectName(QStringLiteral("FreeHeight"));
    max_deflection_->setObjectName(QStringLiteral("MaxDeflection"));
    closure_tolerance_->setObjectName(QStringLiteral("ClosureTolerance"));
    section_button_->setObjectName(QStringLiteral("SectionButton"));

    auto* layout = new QGridLayout(this);
    int row = 0;
    auto add = [&](TDataEdit* box) {
        layout->addWidget(box->EditLabel(), row, 0);
        layout->addWidget(box, row, 1);
        ++row;
    };
    add(increments_);
    layout->addWidget(stiffness_label, row, 0);
    layout->addWidget(section_button_, row, 1);
    ++row;
    add(increment_length_);
    add(free_height_);
    add(max_deflection_);
    hint->setIndent(12);
    layout->addWidget(hint, row++, 0);
    add(closure_tolerance_);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnMinimumWidth(1, 140);

    connect(section_button_, &QPushButton::clicked, this, [open = std::move(open_section_table)] {
        if (open) open();
    });

    Bind(increments_, &TProjectFields::Increments);
    Bind(increment_length_, &TProjectFields::IncrementLength);
    Bind(free_height_, &TProjectFields::FreeHeight);
    Bind(max_deflection_, &TProjectFields::MaxDeflection);
    Bind(closure_tolerance_, &TProjectFields::ClosureTolerance);
    FollowUnitSwitch();
    resize(520, 250);
    Activate();
}

}  // namespace korvel
