// Names the main window derives from the data file path: the window title, the
// result files beside the data file, the format number of a file to open, and
// the path given on the command line.
#pragma once

#include <QString>

namespace korvel {

inline constexpr const char* kProgramVersion = "2015.5.1";
// Name of a project that was never saved (no folder: compared exactly).
inline constexpr const char* kNewProjectName = "NewWall.kv5d";
// Extension the title drops, as the open and save dialogs have always used it.
inline constexpr const char* kTitleDroppedExtension = "kvd";

// Replaces the text after the last "." of the file-name part (the "." included)
// by extension (".kv5o"); a name without one gets it appended.
QString ChangeFileExt(const QString& path, const QString& extension);
// Extension with its ".", lower case ("" when the name has none).
QString LowerExtension(const QString& path);

// Name without folder, spelt as on disk (names differ by case here); the
// extension dropped when it equals "kvd" (any case).
QString TitleForm(const QString& file_name);
// "KORVEL 2015.5.1 - " and the title form.
QString MainWindowTitle(const QString& file_name);

// Format number by extension: ".kvd" 3, ".kv4d" 2, anything else 1.
int FormatFromExtension(const QString& path);
// Format number of the open dialog's filter (1-based); "All Files" (5) and
// anything unknown go by the extension, so a current file is never read as an
// older format.
int FormatFromFilter(int filter_index, const QString& path);

// The command-line argument as a data file path: ".kv4d" appended when the file
// name holds no "." (the folders may: hidden folders are common here).
QString StartupDataPath(const QString& argument);

// The save dialog's answer with ".kv5d" added when the name has no extension.
QString WithDataExtension(const QString& path);

// Result files beside a data file.
inline QString OutputReportPath(const QString& data) {
    return ChangeFileExt(data, QStringLiteral(".kv5o"));
}
inline QString PlotDataPath(const QString& data) {
    return ChangeFileExt(data, QStringLiteral(".kv5p"));
}
inline QString RunNotesPath(const QString& data) {
    return ChangeFileExt(data, QStringLiteral(".kv5r"));
}

}  // namespace korvel
