// The control file "names.dat" the engine reads in its working folder: eight
// lines ended by CR LF (version, identification texts and number, then the data
// file and the three result files as full paths).
#pragma once

#include <QByteArray>
#include <QString>

namespace korvel {

inline constexpr const char* kControlFileName = "names.dat";

// Printed by the engine in every report header.
struct TRunIdentification {
    QString Text1;  // at most 32 characters: the program and its version
    QString Text2;  // at most 16 characters: the user
    QString Text3;  // at most 16 characters: the host
    int Number = 0;
};

// Program name and version, the user and the host name; number 0.
TRunIdentification CurrentRunIdentification();

// The file's bytes (UTF-8): line 3 is Text2 and Text3 trimmed, joined by ", ".
// The result files are named beside the data file, or, with result_folder, by
// the same names in that folder.
QByteArray ControlFileText(const TRunIdentification& id, const QString& data_file,
                           const QString& result_folder = QString());

// Writes folder/names.dat, replacing an existing one. Throws EInOutError.
void WriteControlFile(const QString& folder, const TRunIdentification& id, const QString& data_file,
                      const QString& result_folder = QString());

}  // namespace korvel
