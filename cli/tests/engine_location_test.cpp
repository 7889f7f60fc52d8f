#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "engine_binding.h"

namespace korvel::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLibrary = "libKorvel2015_DLL.so";

// A prefix with bin/ and, where asked, the library beside the programs and in
// lib/korvel/.
class Prefix {
  public:
    Prefix(bool beside, bool installed) {
        std::string pattern = (fs::temp_directory_path() / "korvel-prefix-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "lib" / "korvel");
        if (beside) std::ofstream(root_ / "bin" / kLibrary) << "x";
        if (installed) std::ofstream(root_ / "lib" / "korvel" / kLibrary) << "x";
    }
    ~Prefix() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const fs::path& root() const { return root_; }

  private:
    fs::path root_;
};

struct Layout {
    bool beside;
    bool installed;
    const char* expected;  // relative to the prefix
};

class EngineLocation : public ::testing::TestWithParam<Layout> {};

TEST_P(EngineLocation, BesideTheProgramFirstThenLibKorvel) {
    const Layout& layout = GetParam();
    const Prefix prefix(layout.beside, layout.installed);
    EXPECT_EQ(FindEngineLibrary(prefix.root() / "bin"), (prefix.root() / layout.expected).string());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EngineLocation,
    ::testing::Values(Layout{true, false, "bin/libKorvel2015_DLL.so"},
                      Layout{false, true, "lib/korvel/libKorvel2015_DLL.so"},
                      Layout{true, true, "bin/libKorvel2015_DLL.so"},
                      // Nowhere: the message then names the place beside the program.
                      Layout{false, false, "bin/libKorvel2015_DLL.so"}));

}  // namespace
}  // namespace korvel::cli
