// The files of one analysis run, as the program and korvel-run both handle
// them: a private working folder of the run's own for the control file, the
// engine's scratch files and its results; the data file paths the control file
// can carry; and files replaced whole, by rename, so that no reader ever sees a
// half-written result and no link planted at a result's name is followed.
// Plain C++ and POSIX, so the program (Qt) and korvel-run share it.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace korvel::runfiles {

// A file operation that failed; what() names the file and the system's reason.
class FileError : public std::runtime_error {
  public:
    explicit FileError(const std::string& what, int code = 0)
        : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }  // the system's error number, 0 when none

  private:
    int code_;
};

// A fresh folder made with mkdtemp under `parent` (created, mode 0700, when
// missing), removed with everything in it when the object goes. Throws
// FileError when it cannot be made.
class PrivateFolder {
  public:
    explicit PrivateFolder(const std::filesystem::path& parent, const std::string& prefix = "run-");
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The report, plot data file and run notes of a data file.
struct ResultFiles {
    std::filesystem::path report;  // ".kv5o"
    std::filesystem::path plot;    // ".kv5p"
    std::filesystem::path notes;   // ".kv5r"
};

// Beside the data file: its path with the extension replaced (the text after
// the last "." of the name; a name without one gets the new one appended).
ResultFiles ResultsBeside(const std::filesystem::path& dataFile);
// The same names in `folder`: the engine writes there, and the report's file
// block still names the files as they will be found beside the data file.
ResultFiles ResultsIn(const std::filesystem::path& folder, const std::filesystem::path& dataFile);

// Why the data file cannot be analysed under this name ("" when it can): the
// control file carries each path as one line, read back without its trailing
// blanks, so a path with a line break or ending in a blank or tab would name
// other files; and a data file whose name ends in ".kv5o", ".kv5p" or ".kv5r"
// would be overwritten by its own results.
std::string RefusedDataPath(const std::string& dataPath);

// Replaces `target` as a whole with `bytes`: a temporary file beside it is
// written, flushed and renamed over it. A symbolic link at `target` is
// replaced by the file, never followed; an existing file keeps its mode, a new
// one gets the mode the umask leaves of 0666. On any failure the target is as
// it was and FileError says why.
void ReplaceFile(const std::filesystem::path& target, const std::string& bytes);
// The same with the bytes of the file `source`.
void ReplaceFileFrom(const std::filesystem::path& target, const std::filesystem::path& source);

// korvel-run's outputs (--json, --plot, --pdf) go through this one function:
// ReplaceFile, false with "cannot write PATH: reason" in `error`.
bool WriteOutputFile(const std::filesystem::path& path, const std::string& bytes,
                     std::string& error);

// Moves each result the engine wrote into `from` to its place in `to`, whole,
// by ReplaceFileFrom; a result the engine did not write is left alone there.
// Throws FileError at the first that cannot be written.
void PublishResults(const ResultFiles& from, const ResultFiles& to);

// A temporary file of this process in `folder`, named ".korvel-" and six
// characters, open for writing and locked while the descriptor is open, so that
// RemoveStaleTemporaries knows it is in use. Returns the descriptor and sets
// `name`; throws FileError. The mode follows the umask (0666 less it).
int CreateTemporaryBeside(const std::filesystem::path& folder, std::filesystem::path& name);
// Removes the temporary files of CreateTemporaryBeside in `folder` that no
// process holds any more (left by a program that was killed while it wrote).
void RemoveStaleTemporaries(const std::filesystem::path& folder);

}  // namespace korvel::runfiles
