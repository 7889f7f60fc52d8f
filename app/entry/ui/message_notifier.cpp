#include "entry/ui/message_notifier.h"

#include <QApplication>
#include <QMessageBox>

namespace korvel {
namespace {

// UI-thread only, like every widget.
TMessageNotifier* g_notifier = nullptr;

}  // namespace

void TMessageNotifier::Information(QWidget* parent, const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox::information(parent, QApplication::applicationDisplayName(), shown);
}

TMessageNotifier& TMessageNotifier::Current() {
    static TMessageNotifier message_boxes;
    return g_notifier ? *g_notifier : message_boxes;
}

void TMessageNotifier::SetCurrent(TMessageNotifier* notifier) {
    g_notifier = notifier;
}

void ShowInformation(QWidget* parent, const QString& text) {
    TMessageNotifier::Current().Information(parent, text);
}

}  // namespace korvel
