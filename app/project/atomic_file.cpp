#include "project/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "entry/entry_errors.h"
#include "run_files.h"

namespace korvel {
namespace {

// Links followed before a chain counts as a loop (the kernel's own limit).
constexpr int kMaxLinkDepth = 40;

[[noreturn]] void Fail(const QString& path, int error) {
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2")
                          .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

// The file a path finally names, following symbolic links (a relative link from
// the folder it lies in). A link whose file does not exist yet names that file.
QByteArray FollowLinks(const QString& path, QByteArray name) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(name.constData(), target.data(), target.size());
        if (length < 0) Fail(path, errno);
        if (length >= target.size()) Fail(path, ENAMETOOLONG);
        target.truncate(length);
        if (target.startsWith('/')) {
            name = target;
        } else {
            const qsizetype slash = name.lastIndexOf('/');
            name = (slash < 0 ? QByteArray() : name.left(slash + 1)) + target;
        }
    }
    Fail(path, ELOOP);
}

}  // namespace

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QByteArray target = FollowLinks(path, QFile::encodeName(path));

    // A replaced file keeps its mode and, where the system lets us, its owner; a new
    // file gets the usual mode.
    struct stat old_file {};
    const bool replacing = ::stat(target.constData(), &old_file) == 0;
    if (replacing) {
        if (S_ISDIR(old_file.st_mode)) Fail(path, EISDIR);
        if (!S_ISREG(old_file.st_mode)) {
            throw EInOutError(
                QStringLiteral("Cannot write file \"%1\". It is not a regular file.").arg(path));
        }
        // The rename below would need only the folder's permission: the file's
        // own decides, as for writing it in place. Opening changes nothing.
        const int probe = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0) Fail(path, errno);
        ::close(probe);
    }

    // A short hidden name beside the target: a name near the system's limit of
    // 255 bytes still has room, and the temporaries of a save that was killed
    // part way are known by their name and removed now.
    const QByteArray folder =
        target.contains('/') ? target.left(target.lastIndexOf('/') + 1) : QByteArray("./");
    runfiles::RemoveStaleTemporaries(std::filesystem::path(folder.toStdString()));
    std::filesystem::path temp_path;
    int fd = -1;
    try {
        fd =
            runfiles::CreateTemporaryBeside(std::filesystem::path(folder.toStdString()), temp_path);
    } catch (const runfiles::FileError& failure) {
        Fail(path, failure.code() ? failure.code() : EIO);
    }
    const QByteArray temp = QByteArray::fromStdString(temp_path.string());

    int error = 0;
    if (replacing && ::fchown(fd, old_file.st_uid, old_file.st_gid) != 0) {
        // Only root may give a file away; the user's own file stays the user's anyway.
    }
    // A new file has the mode the umask leaves (it was made so); a replaced one keeps its own.
    if (replacing && ::fchmod(fd, old_file.st_mode & 07777) != 0) error = errno;
    qsizetype written = 0;
    while (error == 0 && written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        written += n;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.constData(), target.constData()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        Fail(path, error);
    }
}

}  // namespace korvel
