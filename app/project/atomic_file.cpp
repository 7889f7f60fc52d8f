#include "project/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "entry/entry_errors.h"

namespace korvel {
namespace {

[[noreturn]] void Fail(const QString& path, int error) {
    throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2")
                          .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

}  // namespace

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) Fail(path, errno);

    int error = 0;
    // A new file gets the usual mode; a replaced one keeps its own.
    struct stat old_file {};
    const mode_t mode =
        ::stat(target.constData(), &old_file) == 0 ? (old_file.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) error = errno;
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
