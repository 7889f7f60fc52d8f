// The exported entry point, through the shared library as callers see it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::ScratchRun;

class EngineLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        handle_ = dlopen(KORVEL_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        entry_ = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle_, "_IKORVEL"));
        ASSERT_NE(entry_, nullptr);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(run_.folder());
        run_.WriteFile("wall.kv5d",
                       DataFile({"Wall", "1 0\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12",
                                 "0\t10\t1\t1000", "0", "0", "0"}));
        run_.WriteControlFile();
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        if (handle_) dlclose(handle_);
    }

    ScratchRun run_;
    void* handle_ = nullptr;
    int32_t (*entry_)(int32_t) = nullptr;
    std::filesystem::path previous_;
};

TEST_F(EngineLibrary, ExportsBothNamesForTheSameCode) {
    EXPECT_EQ(dlsym(handle_, "IKORVEL"), reinterpret_cast<void*>(entry_));
}

TEST_F(EngineLibrary, HidesEverythingElse) {
    EXPECT_EQ(dlsym(handle_, "_ZN6korvel6engine11RunAnalysisERKNSt10filesystem7__cxx114pathERSo"),
              nullptr);
}

TEST_F(EngineLibrary, WrongArgumentReturnsOneAndTouchesNoFile) {
    for (int32_t argument : {0, 2, -1}) {
        EXPECT_EQ(entry_(argument), 1) << argument;
        EXPECT_FALSE(std::filesystem::exists(run_.Path("wall.kv5o"))) << argument;
        EXPECT_FALSE(std::filesystem::exists(run_.Path("wall.kv5p"))) << argument;
        EXPECT_FALSE(std::filesystem::exists(run_.Path("wall.kv5r"))) << argument;
    }
}

TEST_F(EngineLibrary, SecondCallStartsFromZero) {
    ASSERT_EQ(entry_(1), 0);
    const std::string first = run_.Read("wall.kv5p");
    ASSERT_EQ(entry_(1), 0);
    EXPECT_EQ(run_.Read("wall.kv5p"), first);
    EXPECT_NE(run_.Read("wall.kv5o").find("END OF ANALYSIS"), std::string::npos);
}

}  // namespace
}  // namespace korvel::engine
