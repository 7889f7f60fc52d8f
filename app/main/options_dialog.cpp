#include "main/options_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvel {

TDlgOptions::TDlgOptions(std::function<QString()> get_editor,
                         std::function<void(const QString&)> set_editor, QWidget* parent)
    : QWidget(parent), get_editor_(std::move(get_editor)), set_editor_(std::move(set_editor)) {
    setWindowTitle(QStringLiteral("Control Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QGridLayout(this);
    edit_ = new QLineEdit(this);
    auto* label = new QLabel(QStringLiteral("&Text Editor:"), this);
    label->setBuddy(edit_);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &TDlgOptions::BrowseClick);
    connect(edit_, &QLineEdit::editingFinished, this, &TDlgOptions::StoreEditor);
    layout->addWidget(label, 0, 0);
    layout->addWidget(edit_, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->setRowStretch(2, 1);
    resize(460, 110);
    ShowEditor();
}

void TDlgOptions::ShowEditor() {
    edit_->setText(get_editor_());
}

void TDlgOptions::StoreEditor() {
    set_editor_(edit_->text());
}

bool TDlgOptions::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) ShowEditor();
    if (event->type() == QEvent::WindowDeactivate) StoreEditor();
    return QWidget::event(event);
}

void TDlgOptions::closeEvent(QCloseEvent* event) {
    StoreEditor();
    event->accept();
}

void TDlgOptions::BrowseClick() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Text Editor"), edit_->text(),
                                     QStringLiteral("Programs (*);;All Files (*)"));
    if (!path.isEmpty()) edit_->setText(path);
}

}  // namespace korvel
