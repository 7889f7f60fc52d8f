#include "main/text_editor.h"

#include <QDir>
#include <QProcess>

namespace korvel {

QString TextEditorCommand(const QString& editor, const QString& path) {
    return editor + QStringLiteral(" \"") + path + QLatin1Char('"');
}

bool StartTextEditor(const QString& editor, const QString& path) {
    QStringList words = QProcess::splitCommand(TextEditorCommand(editor, path));
    if (words.isEmpty() || editor.trimmed().isEmpty()) return false;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words, QDir::currentPath());
}

}  // namespace korvel
