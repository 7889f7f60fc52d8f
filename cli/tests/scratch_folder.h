// Test helpers of korvel-run's tests: a private folder made with mkdtemp and
// removed with everything in it (its permissions given back first, for tests
// that take them away), and whole-file reading and writing.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace korvel::test_files {

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

#ifdef KORVEL_EXAMPLES_DIR
    // A bundled example copied into the folder, under its own name or `as`.
    std::filesystem::path Example(const std::string& name, std::string as = {}) const {
        if (as.empty()) as = name;
        std::filesystem::copy_file(std::filesystem::path(KORVEL_EXAMPLES_DIR) / name, path_ / as);
        return path_ / as;
    }
#endif

  private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteAll(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

}  // namespace korvel::test_files
