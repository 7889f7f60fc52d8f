#include "main/window_applies.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "dialogs/table_dialog.h"
#include "entry/ui/table_form.h"
#include "main/menu_rules.h"

namespace korvel {
namespace {

// The Wall Configuration dialog's object name; it applies as its menu item does.
constexpr const char* kWallConfigurationDialog = "dlgCSD";

bool WindowApplies(QWidget* child, const TProgramData& project) {
    if (auto* form = qobject_cast<TTableForm*>(child)) {
        return !form->Table() || TableApplies(project, *form->Table());
    }
    if (auto* dialog = qobject_cast<TTableDialog*>(child)) {
        // Its check box says whether the option is on; without one, the table decides.
        return dialog->ApplyBox() || TableApplies(project, dialog->Table());
    }
    if (child && child->objectName() == QLatin1String(kWallConfigurationDialog))
        return DataMenuRules(project).WallConfiguration;
    return true;
}

}  // namespace

void CloseWindowsThatDoNotApply(QMdiArea& area, const TProgramData& project) {
    QList<QPointer<QMdiSubWindow>> closing;
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (!WindowApplies(window->widget(), project)) closing.append(window);
    }
    // Sub-tables first: a parameter window closes before the layer table that holds it.
    for (auto it = closing.rbegin(); it != closing.rend(); ++it) {
        if (*it) (*it)->close();
    }
}

}  // namespace korvel
