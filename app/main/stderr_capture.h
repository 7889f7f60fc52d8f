// Collects what is written to the process's standard error (file descriptor 2)
// between construction and Finish, e.g. by the engine during one call. The
// output goes to an unnamed temporary file, so no size can block the writer.
#pragma once

#include <QString>
#include <cstdio>

namespace korvel {

class TStandardErrorCapture {
  public:
    TStandardErrorCapture();
    ~TStandardErrorCapture();
    TStandardErrorCapture(const TStandardErrorCapture&) = delete;
    TStandardErrorCapture& operator=(const TStandardErrorCapture&) = delete;

    // Restores standard error and returns what was written meanwhile (UTF-8).
    // Also when the capture could not be set up, in which case it is empty.
    QString Finish();

  private:
    std::FILE* file_ = nullptr;
    int saved_fd_ = -1;  // the original descriptor 2 while capturing
};

}  // namespace korvel
