// Starts the text editor on a file without waiting for it. The file's path is
// always one argument of its own, whatever characters it holds; only the
// editor setting is split into the program and its options, like a shell
// would, unless the whole setting names a program (a path with blanks).
#pragma once

#include <QString>
#include <QStringList>

namespace korvel {

struct TEditorCommand {
    QString Program;        // empty when the setting names nothing to start
    QStringList Arguments;  // the setting's options, then the path
};

// The program and arguments that start editor on path.
TEditorCommand TextEditorCommand(const QString& editor, const QString& path);
// Starts it detached in the current folder; false when it cannot be started.
bool StartTextEditor(const QString& editor, const QString& path);

}  // namespace korvel
