#include "entry/ui/dialog_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace korvel {
namespace {

// Kept on the application object: the current folder when the choice was made,
// then the folder chosen.
constexpr const char* kChosenFolder = "korvelChosenDialogFolder";

}  // namespace

QString DialogStartFolder() {
    const QString current = QDir::currentPath();
    if (QCoreApplication* app = QCoreApplication::instance()) {
        const QStringList chosen = app->property(kChosenFolder).toStringList();
        if (chosen.size() == 2 && chosen[0] == current && QFileInfo(chosen[1]).isDir())
            return chosen[1];
    }
    return current;
}

void RememberDialogFolder(const QString& chosen_path) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || chosen_path.isEmpty()) return;
    app->setProperty(kChosenFolder,
                     QStringList{QDir::currentPath(), QFileInfo(chosen_path).absolutePath()});
}

}  // namespace korvel
