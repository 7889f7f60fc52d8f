#include "main/stderr_capture.h"

#include <unistd.h>

#include <QByteArray>
#include <iostream>

namespace korvel {

TStandardErrorCapture::TStandardErrorCapture() {
    std::cerr.flush();
    std::fflush(stderr);
    file_ = std::tmpfile();
    if (!file_) return;
    saved_fd_ = dup(STDERR_FILENO);
    if (saved_fd_ < 0 || dup2(fileno(file_), STDERR_FILENO) < 0) {
        if (saved_fd_ >= 0) close(saved_fd_);
        saved_fd_ = -1;
        std::fclose(file_);
        file_ = nullptr;
    }
}

TStandardErrorCapture::~TStandardErrorCapture() {
    Finish();
}

QString TStandardErrorCapture::Finish() {
    if (!file_) return {};
    std::cerr.flush();
    std::fflush(stderr);
    dup2(saved_fd_, STDERR_FILENO);
    close(saved_fd_);
    saved_fd_ = -1;
    QByteArray text;
    std::rewind(file_);
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file_)) > 0)
        text.append(buffer, static_cast<qsizetype>(read));
    std::fclose(file_);
    file_ = nullptr;
    return QString::fromUtf8(text);
}

}  // namespace korvel
