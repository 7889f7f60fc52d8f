// The lock on a project's stage-file set while a window has the project open:
// a small file beside the data file (wall.kv5d -> wall.stlock, so that a backup
// wall.bak, whose stages are the same wall.st1 ... wall.st5, takes the same
// lock) naming the process, host and user that hold it and the data file they
// opened. A second window that finds it held is told by whom and may open the
// project read-only or not at all; a lock whose process has ended on this host
// is stale and taken over.
//
// Model code: nothing is shown here. A lock that cannot be written (a folder
// the user may not write, read-only media) is not held and does not stop an
// opening: nothing can be saved there either.
#pragma once

#include <QString>

namespace korvel {

struct TLockHolder {
    qint64 Pid = 0;
    QString Host;
    QString User;
    QString DataFile;  // the file the holder opened (may be another name of the set)
};

class TProjectLock {
  public:
    enum class TResult { kTaken, kHeldElsewhere, kNotPossible };

    TProjectLock() = default;
    ~TProjectLock() { Release(); }
    TProjectLock(TProjectLock&& other) noexcept;
    TProjectLock& operator=(TProjectLock&& other) noexcept;
    TProjectLock(const TProjectLock&) = delete;
    TProjectLock& operator=(const TProjectLock&) = delete;

    // The lock file of data_file's stage-file set.
    static QString LockFileName(const QString& data_file);

    // Takes the lock of data_file's set for this process; kTaken also when this
    // object or this process holds it already, or the holder's process has
    // ended. On kHeldElsewhere, holder says who has it and nothing changes.
    // A lock this object held before is released once the new one is taken.
    TResult Take(const QString& data_file, TLockHolder* holder = nullptr);
    // Removes the lock file when it is still this process's.
    void Release();
    bool Holds(const QString& data_file) const;
    const QString& File() const { return lock_file_; }

  private:
    QString lock_file_;  // empty when no lock is held
};

// The question asked of a second opener: who has the project, and whether to
// open it read-only.
QString LockedProjectQuestion(const QString& data_file, const TLockHolder& holder);
// Why an action that would write the project or its stage files is refused in
// a window that opened it read-only.
QString ReadOnlyProjectMessage(const QString& data_file);
// Why Save As onto target is refused: another window has that project open.
QString LockedTargetMessage(const QString& target, const TLockHolder& holder);

}  // namespace korvel
