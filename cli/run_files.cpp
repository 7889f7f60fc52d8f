#include "run_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

namespace korvel::runfiles {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTemporaryPrefix = ".korvel-";
constexpr size_t kTemporaryRandom = 6;
// A temporary younger than this may belong to a writer that has made it but
// not yet locked it; older and unlocked, its writer is gone.
constexpr auto kStaleAge = std::chrono::minutes(2);
constexpr size_t kCopyBuffer = 64 * 1024;

[[noreturn]] void Fail(const fs::path& path, int error) {
    throw FileError("cannot write " + path.string() + ": " + std::strerror(error), error);
}

std::string RandomLetters() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string s;
    for (size_t i = 0; i < kTemporaryRandom; ++i) s += kLetters[pick(generator)];
    return s;
}

bool IsTemporaryName(const std::string& name) {
    const std::string prefix = kTemporaryPrefix;
    if (name.size() != prefix.size() + kTemporaryRandom || name.rfind(prefix, 0) != 0) return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (!std::isalnum(c)) return false;
    }
    return true;
}

void WriteAll(int fd, const char* data, size_t size, const fs::path& target) {
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail(target, n < 0 ? errno : EIO);
        written += static_cast<size_t>(n);
    }
}

// Writes through `fill`, then flushes and renames the temporary over target.
template <typename Fill>
void Replace(const fs::path& target, Fill fill) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    // The mode of the file it replaces; a link, or nothing, gives a new file's mode.
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) Fail(target, EISDIR);
    const bool keepMode = exists && S_ISREG(old.st_mode);

    fs::path temp;
    int fd = -1;
    try {
        fd = CreateTemporaryBeside(folder, temp);
    } catch (const FileError& e) {
        Fail(target, e.code() ? e.code() : EIO);  // named as the user knows it
    }
    try {
        if (keepMode && ::fchmod(fd, old.st_mode & 07777) != 0) Fail(target, errno);
        fill(fd);
        if (::fsync(fd) != 0) Fail(target, errno);
        if (::rename(temp.c_str(), target.c_str()) != 0) Fail(target, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        ::close(fd);
        throw;
    }
    // Closing drops the lock; the data are already on disk.
    ::close(fd);
}

}  // namespace

PrivateFolder::PrivateFolder(const fs::path& parent, const std::string& prefix) {
    std::error_code ec;
    if (!fs::is_directory(parent, ec)) {
        fs::create_directories(parent, ec);
        if (ec)
            throw FileError("cannot create the folder " + parent.string() + ": " + ec.message());
        fs::permissions(parent, fs::perms::owner_all, ec);
    }
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        throw FileError("cannot create a working folder in " + parent.string() + ": " +
                        std::strerror(errno));
    }
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

ResultFiles ResultsBeside(const fs::path& dataFile) {
    const auto with = [&dataFile](const char* ext) {
        return fs::path(dataFile).replace_extension(ext);
    };
    return {with(".kv5o"), with(".kv5p"), with(".kv5r")};
}

ResultFiles ResultsIn(const fs::path& folder, const fs::path& dataFile) {
    const ResultFiles beside = ResultsBeside(dataFile);
    return {folder / beside.report.filename(), folder / beside.plot.filename(),
            folder / beside.notes.filename()};
}

std::string RefusedDataPath(const std::string& dataPath) {
    if (dataPath.find_first_of("\r\n") != std::string::npos) {
        return "the path holds a line break, which the control file cannot carry";
    }
    if (!dataPath.empty() && (dataPath.back() == ' ' || dataPath.back() == '\t')) {
        return "the path ends in a blank, which the control file cannot carry";
    }
    const fs::path path(dataPath);
    const ResultFiles results = ResultsBeside(path);
    for (const fs::path& result : {results.report, results.plot, results.notes}) {
        if (result == path) {
            return "its results would be written over it (" + result.extension().string() +
                   " is the extension of a result file)";
        }
    }
    return {};
}

int CreateTemporaryBeside(const fs::path& folder, fs::path& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder / (kTemporaryPrefix + RandomLetters());
        // 0666 and O_EXCL: the system applies the umask, as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            Fail(candidate, errno);
        }
        ::flock(fd, LOCK_EX | LOCK_NB);
        name = candidate;
        return fd;
    }
    Fail(folder / kTemporaryPrefix, EEXIST);
}

void RemoveStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> stale;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsTemporaryName(it->path().filename().string())) continue;
        std::error_code e;
        if (!it->is_regular_file(e) || e) continue;
        const auto written = it->last_write_time(e);
        if (e || now - written < kStaleAge) continue;
        stale.push_back(it->path());
    }
    for (const fs::path& path : stale) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        // A writer still at work holds its lock.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
        ::close(fd);
    }
}

void ReplaceFile(const fs::path& target, const std::string& bytes) {
    Replace(target, [&](int fd) { WriteAll(fd, bytes.data(), bytes.size(), target); });
}

void ReplaceFileFrom(const fs::path& target, const fs::path& source) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        throw FileError("cannot read " + source.string() + ": " + std::strerror(errno));
    }
    try {
        Replace(target, [&](int fd) {
            std::vector<char> buffer(kCopyBuffer);
            for (;;) {
                const ssize_t n = ::read(in, buffer.data(), buffer.size());
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    throw FileError("cannot read " + source.string() + ": " + std::strerror(errno));
                }
                if (n == 0) break;
                WriteAll(fd, buffer.data(), static_cast<size_t>(n), target);
            }
        });
    } catch (...) {
        ::close(in);
        throw;
    }
    ::close(in);
}

bool WriteOutputFile(const fs::path& path, const std::string& bytes, std::string& error) {
    try {
        ReplaceFile(path, bytes);
        return true;
    } catch (const FileError& e) {
        error = e.what();
        return false;
    }
}

void PublishResults(const ResultFiles& from, const ResultFiles& to) {
    const std::array<std::pair<const fs::path*, const fs::path*>, 3> pairs = {
        std::pair{&from.notes, &to.notes}, {&from.plot, &to.plot}, {&from.report, &to.report}};
    for (const auto& [source, target] : pairs) {
        std::error_code ec;
        if (!fs::exists(*source, ec)) continue;
        ReplaceFileFrom(*target, *source);
    }
}

}  // namespace korvel::runfiles
