#include "main/file_names.h"

namespace korvel {
namespace {

// Index of the first character of the file-name part.
qsizetype NameStart(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return slash + 1;
}

// Index of the extension's "." within path, or -1.
qsizetype ExtensionDot(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= NameStart(path) ? dot : -1;
}

}  // namespace

QString ChangeFileExt(const QString& path, const QString& extension) {
    const qsizetype dot = ExtensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
}

QString LowerExtension(const QString& path) {
    const qsizetype dot = ExtensionDot(path);
    return dot < 0 ? QString() : path.mid(dot).toLower();
}

QString TitleForm(const QString& file_name) {
    QString name = file_name.mid(NameStart(file_name));
    const qsizetype dot = ExtensionDot(name);
    if (dot >= 0 && name.mid(dot + 1).compare(QLatin1String(kTitleDroppedExtension),
                                              Qt::CaseInsensitive) == 0) {
        name.truncate(dot);
    }
    return name;
}

QString MainWindowTitle(const QString& file_name) {
    return QStringLiteral("KORVEL %1 - ").arg(QLatin1String(kProgramVersion)) +
           TitleForm(file_name);
}

int FormatFromExtension(const QString& path) {
    const QString extension = LowerExtension(path);
    if (extension == QLatin1String(".kvd")) return 3;
    if (extension == QLatin1String(".kv4d")) return 2;
    return 1;
}

int FormatFromFilter(int filter_index, const QString& path) {
    return filter_index >= 1 && filter_index <= 4 ? filter_index : FormatFromExtension(path);
}

QString StartupDataPath(const QString& argument) {
    if (argument.mid(NameStart(argument)).contains(QLatin1Char('.'))) return argument;
    return argument + QStringLiteral(".kv4d");
}

QString WithDataExtension(const QString& path) {
    if (path.isEmpty() || ExtensionDot(path) >= 0) return path;
    return path + QStringLiteral(".kv5d");
}

}  // namespace korvel
