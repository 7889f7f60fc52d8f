// Where the program finds the engine library: beside the executable (the build
// folder, or an install that keeps everything in one folder), else in
// ../lib/korvel/ (the installed layout, where bin/ holds only programs); and
// its icon in the installed layout.
#pragma once

#include <QString>

namespace korvel {

inline constexpr const char* kEngineLibraryName = "libKorvel2015_DLL.so";

// The library for a program in program_folder; when it is in neither place,
// the path beside the program, so the failure concerns the usual place.
QString EngineLibraryFor(const QString& program_folder);

// The program's icon as installed (share/icons/hicolor/256x256/apps/korvel.png
// beside bin/), for when no icon theme knows "korvel"; "" when it is not there.
QString InstalledIconFor(const QString& program_folder);

}  // namespace korvel
