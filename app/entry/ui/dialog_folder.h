// The folder the file dialogs of the result windows (bitmap, workbook) start in.
// The main window keeps the current folder on the open data file's folder (a run
// works elsewhere and comes back), so a dialog starts there; once the user has
// chosen another folder in one of these dialogs, they start in that one until
// the current folder changes (another project).
#pragma once

#include <QString>

namespace korvel {

QString DialogStartFolder();
// Remembers the folder of a path the user chose in a file dialog.
void RememberDialogFolder(const QString& chosen_path);

}  // namespace korvel
