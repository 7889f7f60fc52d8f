#include "main/text_editor.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace korvel {

TEditorCommand TextEditorCommand(const QString& editor, const QString& path) {
    TEditorCommand command;
    const QString setting = editor.trimmed();
    if (setting.isEmpty()) return command;
    const QFileInfo whole(setting);
    if (whole.isFile() && whole.isExecutable()) {
        // "/opt/My Editor/edit": a program whose path holds blanks, unquoted.
        command.Program = setting;
    } else {
        QStringList words = QProcess::splitCommand(setting);
        if (words.isEmpty()) return command;
        command.Program = words.takeFirst();
        command.Arguments = words;
    }
    // A path that begins with "-" would read as an option.
    command.Arguments.append(path.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + path
                                                               : path);
    return command;
}

bool StartTextEditor(const QString& editor, const QString& path) {
    const TEditorCommand command = TextEditorCommand(editor, path);
    if (command.Program.isEmpty()) return false;
    return QProcess::startDetached(command.Program, command.Arguments, QDir::currentPath());
}

}  // namespace korvel
