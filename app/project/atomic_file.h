// Replaces a file as a whole: the bytes go to a temporary file in the target's
// folder, which is flushed to disk and then renamed over the target. On any
// failure the target keeps its previous contents and the temporary file is
// removed. (QSaveFile of Qt 6.4 commits a file cut short by a partial write, as
// on a full disk, so it is not used.)
//
// The temporary file is a short hidden name in the target's folder, so that a
// name of up to 255 bytes can be saved; those a killed save left behind are
// removed at the next save in that folder. A new file gets the mode the umask
// leaves; a replaced one keeps its own.
//
// The rename needs only the folder's permission, so the target's own is checked
// first: a file the user may not write (a read-only data file) is refused and
// left as it is. A symbolic link is followed to the file it names, which is
// replaced beside itself; the link stays a link.
#pragma once

#include <QByteArray>
#include <QString>

namespace korvel {

// Throws EInOutError naming the file (as given) and the system's reason.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace korvel
