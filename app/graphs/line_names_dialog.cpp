#include "graphs/line_names_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "entry/ui/message_notifier.h"
#include "graphs/plot_painter.h"

namespace korvel {
namespace {

constexpr QSize kLeastClientSize(195, 167);

}  // namespace

TfrmLineNames::TfrmLineNames(const TGraphPlot& graph, QWidget* parent)
    : QDialog(parent), names_(graph) {
    setObjectName(QStringLiteral("frmLineNames"));
    setWindowTitle(QStringLiteral("Legend"));
    list_ = new QListWidget(this);
    list_->addItems(names_.Names());
    edit_ = new QLineEdit(this);
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select line to modify:"), this));
    layout->addWidget(list_, 1);
    layout->addWidget(new QLabel(QStringLiteral("Type new legend below:"), this));
    layout->addWidget(edit_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    setMinimumSize(kLeastClientSize);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowSelected(); });
    connect(list_, &QListWidget::itemClicked, this, [this] { ShowSelected(); });
    connect(edit_, &QLineEdit::returnPressed, this, &TfrmLineNames::CommitEdit);
    connect(edit_, &QLineEdit::editingFinished, this, [this] {
        if (!edit_->hasFocus()) CommitEdit();  // left the edit
    });
    connect(ok_, &QPushButton::clicked, this, [this] {
        CommitEdit();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    if (list_->count() > 0) list_->setCurrentRow(0);
    ShowSelected();
}

void TfrmLineNames::ShowSelected() {
    const int row = list_->currentRow();
    if (row < 0) {
        edit_->clear();
        return;
    }
    edit_->setText(names_.Names().value(row));
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Text, CurveColours[static_cast<size_t>(row % 17)]);
    edit_->setPalette(palette);
}

void TfrmLineNames::CommitEdit() {
    const int row = list_->currentRow();
    if (row < 0) return;
    if (edit_->text() == names_.Names().value(row)) return;
    if (!names_.Rename(row, edit_->text())) {
        ShowInformation(this, QString::fromLatin1(kLineNeedsName));
        edit_->setText(names_.Names().value(row));
        return;
    }
    list_->item(row)->setText(edit_->text());
}

}  // namespace korvel
