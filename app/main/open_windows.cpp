#include "main/open_windows.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "dialogs/data_dialog.h"
#include "entry/ui/table_form.h"

namespace korvel {

bool TakePendingEdits(QMdiArea& area) {
    QList<QMdiSubWindow*> windows = area.subWindowList();
    QMdiSubWindow* active = area.activeSubWindow();
    if (active && windows.removeOne(active)) windows.prepend(active);
    for (QMdiSubWindow* window : windows) {
        QWidget* child = window->widget();
        if (auto* dialog = qobject_cast<TDataDialog*>(child)) {
            if (!dialog->TakeEdits()) return false;
        } else if (auto* form = qobject_cast<TTableForm*>(child)) {
            if (!form->TakeEdits()) return false;
        } else if (child && window == active) {
            // Other children (the text-editor option) take their entry when deactivated.
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(child, &deactivate);
        }
    }
    return true;
}

void RefreshOpenWindows(QMdiArea& area) {
    for (QMdiSubWindow* window : area.subWindowList()) {
        QWidget* child = window->widget();
        if (auto* dialog = qobject_cast<TDataDialog*>(child)) {
            dialog->Reload();
        } else if (auto* form = qobject_cast<TTableForm*>(child)) {
            form->Reload();
        }
    }
}

}  // namespace korvel
