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

std::string DefaultEnginePath() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto folder = ec ? std::filesystem::current_path() : exe.parent_path();
    return (folder / "libKorvel2015_DLL.so").string();
}

}  // namespace korvel::cli
