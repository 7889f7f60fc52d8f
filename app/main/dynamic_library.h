// TDynamicLibrary: one binding of a shared library, opened by path with dlopen
// and closed with dlclose (also on destruction). Failures to open throw:
// EFileNotFoundError when the file or a library it needs is missing, EInitError
// when it is there but cannot be loaded (bad file, unresolved symbol, failing
// initialiser). The dlerror text is kept for diagnostics; users never see it.
#pragma once

#include <QString>
#include <stdexcept>

namespace korvel {

class EDLLError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
class EInitError : public EDLLError {
  public:
    EInitError() : EDLLError("Library failed to properly initialize") {}
};
class EFileNotFoundError : public EDLLError {
  public:
    EFileNotFoundError() : EDLLError("Library could not be located") {}
};
class EDLLNotOpenError : public EDLLError {
  public:
    EDLLNotOpenError() : EDLLError("Library is not open") {}
};

class TDynamicLibrary {
  public:
    TDynamicLibrary() = default;
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    const QString& LibraryName() const { return library_name_; }
    // Closes an open library first.
    void SetLibraryName(const QString& path);

    // Nothing when open already.
    void Open();
    bool IsOpen() const { return handle_ != nullptr; }
    // The symbol's address or nullptr. Throws EDLLNotOpenError when closed.
    void* GetProc(const char* name) const;
    void Close();

    // dlerror's text of the last failed Open.
    const QString& LastError() const { return last_error_; }

  private:
    QString library_name_;
    void* handle_ = nullptr;
    QString last_error_;
};

}  // namespace korvel
