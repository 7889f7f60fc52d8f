#include "graphs/active_lines_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {
namespace {

constexpr QSize kLeastClientSize(190, 234);

}  // namespace

TfrmActiveLines::TfrmActiveLines(const TGraphPlot& graph, QWidget* parent)
    : QDialog(parent), states_(graph) {
    setObjectName(QStringLiteral("frmActiveLines"));
    setWindowTitle(QStringLiteral("Active Curves"));
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->addItems(states_.ItemTexts());
    toggle_ = new QPushButton(QStringLiteral("Activate/Deactivate Selected"), this);
    all_ = new QPushButton(QStringLiteral("Activate All"), this);
    none_ = new QPushButton(QStringLiteral("Deactivate All"), this);
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select Curve to Active/Desactive"), this));
    layout->addWidget(list_, 1);
    layout->addWidget(toggle_);
    auto* all_none = new QHBoxLayout;
    all_none->addWidget(all_);
    all_none->addWidget(none_);
    layout->addLayout(all_none);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    setMinimumSize(kLeastClientSize);

    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        states_.Toggle(list_->row(item));
        Refresh();
    });
    connect(toggle_, &QPushButton::clicked, this, &TfrmActiveLines::ToggleSelected);
    connect(all_, &QPushButton::clicked, this, [this] {
        states_.SetAll(true);
        Refresh();
    });
    connect(none_, &QPushButton::clicked, this, [this] {
        states_.SetAll(false);
        Refresh();
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmActiveLines::ToggleSelected() {
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) states_.Toggle(row);
    }
    Refresh();
}

void TfrmActiveLines::Refresh() {
    for (int row = 0; row < list_->count(); ++row) list_->item(row)->setText(states_.ItemText(row));
}

}  // namespace korvel
