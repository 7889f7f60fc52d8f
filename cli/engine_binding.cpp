#include "engine_binding.h"

#include <dlfcn.h>

#include <filesystem>

namespace korvel::cli {

EngineBinding::EngineBinding(const std::string& libraryPath) {
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

std::string DefaultEnginePath() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return FindEngineLibrary(ec ? std::filesystem::current_path() : exe.parent_path());
}

}  // namespace korvel::cli
