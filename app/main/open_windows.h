// The two ways the main window keeps its child windows and the project in step.
// Before any action that reads, saves, replaces or reshapes the project (run,
// save, new, open, a dropped file, a stage or unit switch, an option toggle,
// closing the program) every entry typed into an open dialog or grid goes to the
// project; an entry that cannot be taken stops the action. After the project
// changed under the windows (stage switch, new, open, unit switch, option toggle)
// every open dialog and table shows its values anew.
#pragma once

class QMdiArea;

namespace korvel {

// Hands the entries of every child window of area to the project, the active
// window first. False when one was refused: its message has been shown and its
// window brought forward, and nothing after it was taken.
bool TakePendingEdits(QMdiArea& area);

// Every open input dialog and table window of area shows the project's values again.
void RefreshOpenWindows(QMdiArea& area);

}  // namespace korvel
