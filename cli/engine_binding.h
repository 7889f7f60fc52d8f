// Loads the engine library by path, finds its entry point and unloads it
// again, so every analysis starts the engine from nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace korvel::cli {

class EngineLoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class EngineBinding {
  public:
    // Throws EngineLoadError with dlerror's text when the library or its
    // entry point "_IKORVEL" cannot be found, or when no path is given.
    explicit EngineBinding(const std::string& libraryPath);
    ~EngineBinding();
    EngineBinding(const EngineBinding&) = delete;
    EngineBinding& operator=(const EngineBinding&) = delete;

    int32_t Call(int32_t argument) const { return entry_(argument); }

  private:
    void* handle_ = nullptr;
    int32_t (*entry_)(int32_t) = nullptr;
};

// The engine library for a program in programFolder: beside it (the build
// folder, or an install that keeps everything in one folder), else in
// ../lib/korvel/ (the installed layout, where bin/ holds only programs). When
// neither exists, the place beside it, so the failure names where it was sought.
std::string FindEngineLibrary(const std::filesystem::path& programFolder);

// The folder of the running program: from the link /proc/self/exe (procExe),
// else, where /proc is not mounted, from argv0 as the program was started (a
// path with a "/", or the first folder of searchPath that holds it). Empty
// when none tells: the current folder is never assumed.
std::filesystem::path ProgramFolder(const std::filesystem::path& procExe, const std::string& argv0,
                                    const std::string& searchPath);

// FindEngineLibrary for the folder of the running executable; "" when that
// folder is unknown (EngineBinding then says so).
std::string DefaultEnginePath(const std::string& argv0 = {});

}  // namespace korvel::cli
