#include "project/project_lock.h"

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <cstring>

#include "run_files.h"

namespace korvel {
namespace {

constexpr const char* kLockHeader = "KORVEL project lock";
constexpr const char* kLockExtension = ".stlock";
constexpr qsizetype kMaxNameBytes = 255;  // of one file name, as the system allows

QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty()) {
        if (const passwd* entry = ::getpwuid(::getuid()))
            user = QString::fromLocal8Bit(entry->pw_name);
    }
    return user;
}

QByteArray LockText(const QString& data_file) {
    return QByteArray(kLockHeader) + "\npid=" + QByteArray::number(qint64(::getpid())) +
           "\nhost=" + QSysInfo::machineHostName().toUtf8() + "\nuser=" + UserName().toUtf8() +
           "\nfile=" + QFile::encodeName(data_file) + "\n";
}

// False when the file is not a lock of ours to read (missing, or another format).
bool ReadHolder(const QString& lock_file, TLockHolder& holder) {
    QFile file(lock_file);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
    if (lines.isEmpty() || lines.front() != kLockHeader) return false;
    for (const QByteArray& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        if (key == "pid") holder.Pid = value.toLongLong();
        if (key == "host") holder.Host = QString::fromUtf8(value);
        if (key == "user") holder.User = QString::fromUtf8(value);
        if (key == "file") holder.DataFile = QFile::decodeName(value);
    }
    return holder.Pid > 0;
}

bool IsThisProcess(const TLockHolder& holder) {
    return holder.Pid == qint64(::getpid()) && holder.Host == QSysInfo::machineHostName();
}

// A holder on this host whose process no longer exists. One on another host
// cannot be checked from here and counts as alive.
bool IsStale(const TLockHolder& holder) {
    if (holder.Host != QSysInfo::machineHostName()) return false;
    return ::kill(static_cast<pid_t>(holder.Pid), 0) != 0 && errno == ESRCH;
}

// Writes the whole lock text under a temporary name and links it to the lock
// name, which fails when the name exists: a reader never sees half a lock.
enum class TCreate { kCreated, kExists, kFailed };
TCreate CreateLock(const QString& lock_file, const QString& data_file) {
    const std::filesystem::path lock(QFile::encodeName(lock_file).toStdString());
    std::filesystem::path temp;
    int fd = -1;
    try {
        fd = runfiles::CreateTemporaryBeside(lock.parent_path(), temp);
    } catch (const runfiles::FileError&) {
        return TCreate::kFailed;
    }
    const QByteArray text = LockText(data_file);
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    TCreate result = TCreate::kFailed;
    if (written) {
        if (::link(temp.c_str(), lock.c_str()) == 0) {
            result = TCreate::kCreated;
        } else if (errno == EEXIST) {
            result = TCreate::kExists;
        }
    }
    ::unlink(temp.c_str());
    return result;
}

}  // namespace

TProjectLock::TProjectLock(TProjectLock&& other) noexcept : lock_file_(other.lock_file_) {
    other.lock_file_.clear();
}

TProjectLock& TProjectLock::operator=(TProjectLock&& other) noexcept {
    if (this != &other) {
        if (lock_file_ != other.lock_file_) Release();
        lock_file_ = other.lock_file_;
        other.lock_file_.clear();
    }
    return *this;
}

QString TProjectLock::LockFileName(const QString& data_file) {
    const QFileInfo info(data_file);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString base = dot < 0 ? name : name.left(dot);
    // A name near the system's limit of 255 bytes has no room for the
    // extension: its start and a digest of the whole stand for it.
    if (QFile::encodeName(base).size() + qsizetype(std::strlen(kLockExtension)) > kMaxNameBytes) {
        const QByteArray digest =
            QCryptographicHash::hash(QFile::encodeName(base), QCryptographicHash::Sha1)
                .toHex()
                .left(16);
        while (QFile::encodeName(base).size() > kMaxNameBytes - 64) base.chop(1);
        base += QLatin1Char('-') + QString::fromLatin1(digest);
    }
    return info.absoluteDir().filePath(base + QLatin1String(kLockExtension));
}

bool TProjectLock::Holds(const QString& data_file) const {
    return !lock_file_.isEmpty() && lock_file_ == LockFileName(data_file);
}

TProjectLock::TResult TProjectLock::Take(const QString& data_file, TLockHolder* holder) {
    const QString lock_file = LockFileName(data_file);
    if (lock_file == lock_file_) return TResult::kTaken;
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (CreateLock(lock_file, data_file)) {
            case TCreate::kCreated:
                Release();
                lock_file_ = lock_file;
                return TResult::kTaken;
            case TCreate::kFailed:
                return TResult::kNotPossible;
            case TCreate::kExists:
                break;
        }
        TLockHolder found;
        if (!ReadHolder(lock_file, found)) {
            // Not a lock this program wrote, or one being replaced: leave it be.
            if (holder) *holder = found;
            return TResult::kHeldElsewhere;
        }
        if (IsThisProcess(found)) {
            // Another window of this process: the same owner of the stage files.
            Release();
            lock_file_ = lock_file;
            return TResult::kTaken;
        }
        if (!IsStale(found)) {
            if (holder) *holder = found;
            return TResult::kHeldElsewhere;
        }
        // Its process has ended: the lock is taken over.
        QFile::remove(lock_file);
    }
    return TResult::kNotPossible;
}

void TProjectLock::Release() {
    if (lock_file_.isEmpty()) return;
    TLockHolder found;
    if (ReadHolder(lock_file_, found) && IsThisProcess(found)) QFile::remove(lock_file_);
    lock_file_.clear();
}

QString LockedProjectQuestion(const QString& data_file, const TLockHolder& holder) {
    QString by =
        holder.Pid > 0
            ? QStringLiteral("process %1 on %2").arg(holder.Pid).arg(holder.Host)
            : QStringLiteral("lock file \"%1\"").arg(TProjectLock::LockFileName(data_file));
    if (!holder.User.isEmpty()) by += QStringLiteral(", user ") + holder.User;
    if (!holder.DataFile.isEmpty() && holder.DataFile != data_file)
        by += QStringLiteral(", as \"%1\"").arg(holder.DataFile);
    return QStringLiteral(
               "The project \"%1\" is open in another window (%2), which keeps its "
               "stage files.\rDo you want to open it read-only? It can then be saved "
               "only under another name.")
        .arg(data_file, by);
}

QString ReadOnlyProjectMessage(const QString& data_file) {
    return QStringLiteral(
               "The project \"%1\" was opened read-only: another window has it open "
               "and keeps its stage files. Save it under another name with Save As; "
               "a staged project can only be saved in the window that has it open.")
        .arg(data_file);
}

QString LockedTargetMessage(const QString& target, const TLockHolder& holder) {
    return QStringLiteral(
               "The file \"%1\" is open in another window (process %2 on %3); it is "
               "not replaced.")
        .arg(target)
        .arg(holder.Pid)
        .arg(holder.Host);
}

}  // namespace korvel
