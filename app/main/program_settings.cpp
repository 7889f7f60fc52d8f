#include "main/program_settings.h"

#include <QSettings>

namespace korvel {
namespace {

QString FileKey(int slot) {
    return QStringLiteral("File%1").arg(slot + 1);
}

}  // namespace

QString DefaultTextEditor() {
    const QString visual = qEnvironmentVariable("VISUAL").trimmed();
    return visual.isEmpty() ? QStringLiteral("xdg-open") : visual;
}

QString ReadTextEditorSetting() {
    QSettings settings{QString::fromLatin1(kSettingsOrganization),
                       QString::fromLatin1(kSettingsApplication)};
    settings.beginGroup(QLatin1String(kSettingsGroup));
    return settings.value(QLatin1String(kEditorValue)).toString();
}

bool ReadProgramSettings(QString& editor, TRecentFiles& recent) {
    QSettings settings{QString::fromLatin1(kSettingsOrganization),
                       QString::fromLatin1(kSettingsApplication)};
    if (settings.status() != QSettings::NoError) {
        editor.clear();
        recent.Clear();
        return false;
    }
    settings.beginGroup(QLatin1String(kSettingsGroup));
    const QString stored = settings.value(QLatin1String(kEditorValue)).toString();
    if (!stored.isEmpty()) editor = stored;
    for (int slot = 0; slot < TRecentFiles::kSlots; ++slot) {
        recent.SetSlot(slot, settings.value(FileKey(slot)).toString());
    }
    return true;
}

void WriteProgramSettings(const QString& editor, const TRecentFiles& recent) {
    QSettings settings{QString::fromLatin1(kSettingsOrganization),
                       QString::fromLatin1(kSettingsApplication)};
    settings.beginGroup(QLatin1String(kSettingsGroup));
    settings.setValue(QLatin1String(kEditorValue), editor);
    for (int slot = 0; slot < TRecentFiles::kSlots; ++slot)
        settings.setValue(FileKey(slot), recent.Slot(slot));
    settings.endGroup();
    settings.sync();
}

}  // namespace korvel
