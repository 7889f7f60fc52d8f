// The program's settings: the text editor and the recent files, kept per user in
// QSettings("Tavlor", "KORVEL"), group "2015.5.1", values "Word Processor" and
// "File1" to "File10" (empty strings for empty slots). Failures are silent.
#pragma once

#include <QString>

#include "main/recent_files.h"

namespace korvel {

inline constexpr const char* kSettingsOrganization = "Tavlor";
inline constexpr const char* kSettingsApplication = "KORVEL";
inline constexpr const char* kSettingsGroup = "2015.5.1";
inline constexpr const char* kEditorValue = "Word Processor";

// $VISUAL when set, else "xdg-open" (the desktop's application for the file).
QString DefaultTextEditor();

// "Word Processor" as stored; empty when absent.
QString ReadTextEditorSetting();
// Reads the editor (kept when the stored one is empty) and the ten slots. Returns
// false, with the editor and the slots cleared, when the settings cannot be read.
bool ReadProgramSettings(QString& editor, TRecentFiles& recent);
void WriteProgramSettings(const QString& editor, const TRecentFiles& recent);

}  // namespace korvel
