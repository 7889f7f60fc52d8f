// The main window's Edit menu: Undo and Redo of the project's history
// (project_history.h). Every other action of the main window ends with a
// checkpoint named after it ("Undo SI Units (kN, m)"), a window change is a
// checkpoint, and a wall set to a studied length is a step too. Undo and Redo
// show what they will undo; their shortcuts work whether or not the menu has
// been opened (the history learns of entries only when they are taken, so the
// items are greyed only while the menu shows).
#pragma once

#include <QString>
#include <map>

class QAction;

namespace korvel {

class TMainForm;
class TProjectHistory;

// The step name of a menu action: its text without accelerator marks and dots.
QString StepName(const QAction& action);

// Links the history to the main window: stage and unit switches for steps of
// another stage or unit system, a checkpoint after each of actions (the Edit
// items excepted), the Edit items' texts following the history.
void ConnectProjectHistory(TMainForm& form, TProjectHistory& history,
                           const std::map<QString, QAction*>& actions);

// The Edit menu opens: its items enabled as there is something to undo or redo.
void EditMenuAboutToShow(TMainForm& form, TProjectHistory& history);
// The Edit menu closed: the items take their shortcuts again.
void EditMenuAboutToHide(TMainForm& form);

}  // namespace korvel
