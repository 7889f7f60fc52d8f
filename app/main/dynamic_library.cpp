#include "main/dynamic_library.h"

#include <dlfcn.h>

#include <QFileInfo>

namespace korvel {

TDynamicLibrary::~TDynamicLibrary() {
    Close();
}

void TDynamicLibrary::SetLibraryName(const QString& path) {
    Close();
    library_name_ = path;
}

void TDynamicLibrary::Open() {
    if (IsOpen()) return;
    dlerror();
    // RTLD_LOCAL: the engine's symbols stay out of the program's namespace, so
    // dlclose can unload it and the next run starts from freshly zeroed data.
    handle_ = dlopen(QFile::encodeName(library_name_).constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle_) return;
    const char* error = dlerror();
    last_error_ = QString::fromLocal8Bit(error ? error : "");
    // A missing file and a missing dependency both read "cannot open shared
    // object file"; everything else means the file is there but unusable.
    if (!QFileInfo::exists(library_name_) ||
        last_error_.contains(QLatin1String("cannot open shared object file"))) {
        throw EFileNotFoundError();
    }
    throw EInitError();
}

void* TDynamicLibrary::GetProc(const char* name) const {
    if (!IsOpen()) throw EDLLNotOpenError();
    return dlsym(handle_, name);
}

void TDynamicLibrary::Close() {
    if (!handle_) return;
    dlclose(handle_);
    handle_ = nullptr;
}

}  // namespace korvel
