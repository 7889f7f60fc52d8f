#include "main/stage_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace korvel {
namespace {

constexpr int kMinStages = 2;  // the arrows' lower end: fewer is not staged
constexpr int kMaxStages = 5;

constexpr const char* kExplanation =
    "In a staged-construction analysis every stage is analysed as a problem of its own: its "
    "earth pressure, its restrained boundary conditions and its p-y curves form the initial "
    "condition of that stage. The p-y curves are generated anew for the stage's excavation "
    "depth, wall height and water table.\n\n"
    "The stress history of the soil and of the structure is not traced from one stage to the "
    "next.";

}  // namespace

TStageCountBox::TStageCountBox(QWidget* parent) : QSpinBox(parent) {
    setRange(1, kMaxStages);
}

void TStageCountBox::stepBy(int steps) {
    int value = this->value() + steps;
    if (steps > 0) value = std::min(value, kMaxStages);
    if (steps < 0) value = std::max(value, kMinStages);
    setValue(value);
}

QAbstractSpinBox::StepEnabled TStageCountBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < kMaxStages) enabled |= StepUpEnabled;
    if (value() > kMinStages) enabled |= StepDownEnabled;
    return enabled;
}

TDlgStaged::TDlgStaged(int stage_count, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgStaged"));
    setWindowTitle(QStringLiteral("Staged Construction Options"));

    auto* text = new QPlainTextEdit(QLatin1String(kExplanation), this);
    text->setReadOnly(true);
    staged_ = new QCheckBox(QStringLiteral("Conduct &Staged-Construction Analysis"), this);
    auto* label =
        new QLabel(QStringLiteral("Enter the total number of stages (Max. = 5, Min =2)"), this);
    count_ = new TStageCountBox(this);
    label->setBuddy(count_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* count_row = new QHBoxLayout;
    count_row->addWidget(label);
    count_row->addWidget(count_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(staged_);
    layout->addLayout(count_row);
    layout->addWidget(buttons);

    const bool staged = stage_count > 1;
    count_->setValue(std::clamp(stage_count, 1, kMaxStages));
    staged_->setChecked(staged);
    count_->setEnabled(staged);
    connect(staged_, &QCheckBox::toggled, this, &TDlgStaged::StagedToggled);
}

int TDlgStaged::StageCount() const {
    return count_->value();
}

void TDlgStaged::StagedToggled(bool on) {
    if (on && count_->value() == 1) count_->setValue(kMinStages);
    if (!on) count_->setValue(1);
    count_->setEnabled(on);
}

}  // namespace korvel
