// Replaces a file as a whole: the bytes go to a temporary file in the target's
// folder, which is flushed to disk and then renamed over the target. On any
// failure the target keeps its previous contents and the temporary file is
// removed. (QSaveFile of Qt 6.4 commits a file cut short by a partial write, as
// on a full disk, so it is not used.)
#pragma once

#include <QByteArray>
#include <QString>

namespace korvel {

// Throws EInOutError naming the file and the system's reason.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace korvel
