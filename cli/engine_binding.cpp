#include "engine_binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace korvel::cli {

EngineBinding::EngineBinding(const std::string& libraryPath) {
    // dlopen("") would give the program itself, a bare name the system's search.
    if (libraryPath.empty()) {
        throw EngineLoadError(
            "the engine library was not found: the program's own folder is unknown (give the "
            "library with --engine)");
    }
    handle_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) throw EngineLoadError(dlerror());
    entry_ = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle_, "_IKORVEL"));
    if (!entry_) {
        std::string message = dlerror();
        dlclose(handle_);
        throw EngineLoadError(message);
    }
}

EngineBinding::~EngineBinding() {
    if (handle_) dlclose(handle_);
}

std::string FindEngineLibrary(const std::filesystem::path& programFolder) {
    constexpr const char* kLibraryName = "libKorvel2015_DLL.so";
    const auto beside = programFolder / kLibraryName;
    const auto installed =
        (programFolder / ".." / "lib" / "korvel" / kLibraryName).lexically_normal();
    std::error_code ec;
    if (!std::filesystem::exists(beside, ec) && std::filesystem::exists(installed, ec)) {
        return installed.string();
    }
    return beside.string();
}

std::filesystem::path ProgramFolder(const std::filesystem::path& procExe, const std::string& argv0,
                                    const std::string& searchPath) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink(procExe, ec);
    if (!ec && exe.is_absolute()) return exe.parent_path();
    if (argv0.find('/') != std::string::npos) {
        // Started by a path: relative ones are from the folder it was started in.
        const auto started = std::filesystem::absolute(argv0, ec);
        return ec ? std::filesystem::path() : started.parent_path();
    }
    if (argv0.empty()) return {};
    size_t start = 0;
    while (start <= searchPath.size()) {
        const size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string folder = searchPath.substr(start, end - start);
        // An empty entry would mean the current folder: skipped.
        if (!folder.empty() && folder.front() == '/') {
            const auto candidate = std::filesystem::path(folder) / argv0;
            if (::access(candidate.c_str(), X_OK) == 0) return folder;
        }
        start = end + 1;
    }
    return {};
}

std::string DefaultEnginePath(const std::string& argv0) {
    const char* path = std::getenv("PATH");
    const auto folder = ProgramFolder("/proc/self/exe", argv0, path ? path : "");
    return folder.empty() ? std::string() : FindEngineLibrary(folder);
}

}  // namespace korvel::cli
