// The text of Help › About: the program's name and version, what it does, and the
// libraries it is built with together with their licences. Plain text, one item
// a line, for a message box.
#pragma once

#include <QString>

namespace korvel {

// qt_version: the Qt library the program runs with (qVersion()), which may be
// newer than the one it was built with.
QString AboutText(const QString& qt_version);

}  // namespace korvel
