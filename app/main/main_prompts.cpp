#include "main/main_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "entry/ui/message_notifier.h"

namespace korvel {
namespace {

TMainPrompts* g_current = nullptr;

QString BoxText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

void TMainPrompts::Information(QWidget* parent, const QString& text) {
    ShowInformation(parent, text);
}

TMainPrompts::TAnswer TMainPrompts::Confirm(QWidget* parent, const QString& text,
                                            bool with_cancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (with_cancel) buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(parent, QStringLiteral("Confirm"), BoxText(text), buttons)) {
        case QMessageBox::Yes:
            return TAnswer::kYes;
        case QMessageBox::No:
            return TAnswer::kNo;
        default:
            return with_cancel ? TAnswer::kCancel : TAnswer::kNo;
    }
}

QString TMainPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                   int* filter_index) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (filter_index)
        *filter_index =
            static_cast<int>(
                filter.split(QStringLiteral(";;")).indexOf(dialog.selectedNameFilter())) +
            1;
    return dialog.selectedFiles().front();
}

QString TMainPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                   const QString& filter) {
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("kv5d"));
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

TMainPrompts& TMainPrompts::Current() {
    static TMainPrompts dialogs;
    return g_current ? *g_current : dialogs;
}

void TMainPrompts::SetCurrent(TMainPrompts* prompts) {
    g_current = prompts;
}

}  // namespace korvel
