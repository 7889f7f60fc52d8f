// Starts the text editor on a file without waiting for it: the command is the
// editor, a blank and the path in double quotes, split like a shell would.
#pragma once

#include <QString>

namespace korvel {

// The command line that starts editor on path.
QString TextEditorCommand(const QString& editor, const QString& path);
// Starts it detached in the current folder; false when it cannot be started.
bool StartTextEditor(const QString& editor, const QString& path);

}  // namespace korvel
