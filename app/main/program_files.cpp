#include "main/program_files.h"

#include <QDir>
#include <QFileInfo>

namespace korvel {

QString EngineLibraryFor(const QString& program_folder) {
    const QDir folder(program_folder);
    const QString beside = folder.filePath(QLatin1String(kEngineLibraryName));
    const QString installed = QDir::cleanPath(
        folder.filePath(QStringLiteral("../lib/korvel/") + QLatin1String(kEngineLibraryName)));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) return installed;
    return beside;
}

QString InstalledIconFor(const QString& program_folder) {
    const QString icon = QDir::cleanPath(
        QDir(program_folder)
            .filePath(QStringLiteral("../share/icons/hicolor/256x256/apps/korvel.png")));
    return QFileInfo::exists(icon) ? icon : QString();
}

}  // namespace korvel
