#include "batch_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "scratch_folder.h"

namespace korvel::cli {
namespace {

namespace fs = std::filesystem;

using test_files::ReadAll;
using test_files::ScratchFolder;

int RunCommand(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BatchRun, ReplacesTheExtension) {
    EXPECT_EQ(WithExtension("/a/b/Wall1.kv5d", ".kv5o"), fs::path("/a/b/Wall1.kv5o"));
    EXPECT_EQ(WithExtension("/a/b.c/Wall", ".kv5p"), fs::path("/a/b.c/Wall.kv5p"));
    EXPECT_EQ(WithExtension("/a/Wall.v2.kv5d", ".kv5r"), fs::path("/a/Wall.v2.kv5r"));
}

TEST(BatchRun, ControlFileHasEightCrLfLines) {
    const std::string text = ControlFileText("/w/Wall1.kv5d");
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "2015.5.1");
    EXPECT_NE(lines[2].find(", "), std::string::npos);
    EXPECT_EQ(lines[3], "0");
    EXPECT_EQ(lines[4], "/w/Wall1.kv5d");
    EXPECT_EQ(lines[5], "/w/Wall1.kv5o");
    EXPECT_EQ(lines[6], "/w/Wall1.kv5p");
    EXPECT_EQ(lines[7], "/w/Wall1.kv5r");
}

TEST(BatchRun, MissingDataFileFails) {
    const RunResult r = AnalyseFile("/nonexistent/wall.kv5d", KORVEL_ENGINE_LIBRARY);
    EXPECT_EQ(r.status, RunStatus::Failed);
    EXPECT_EQ(r.message, "no such data file");
}

TEST(BatchRun, MissingEngineFails) {
    ScratchFolder scratch;
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d", scratch.path() / "w.kv5d");
    const RunResult r = AnalyseFile(scratch.path() / "w.kv5d", "/nonexistent/libengine.so");
    EXPECT_EQ(r.status, RunStatus::Failed);
    EXPECT_FALSE(fs::exists(scratch.path() / "w.kv5o"));
}

TEST(BatchRun, AnalysesAnExampleAndLeavesTheResultsBesideIt) {
    ScratchFolder scratch;
    const fs::path data = scratch.path() / "Wall One.kv5d";
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d", data);
    const fs::path before = fs::current_path();
    const RunResult r = AnalyseFile(data, KORVEL_ENGINE_LIBRARY);
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(r.status, RunStatus::Analysed) << r.message;
    EXPECT_EQ(r.sections, 1);
    for (const char* ext : {".kv5o", ".kv5p", ".kv5r"}) {
        EXPECT_TRUE(fs::exists(scratch.path() / (std::string("Wall One") + ext))) << ext;
    }
    EXPECT_NE(ReadAll(r.reportFile).find("Name of input data file     : Wall One.kv5d"),
              std::string::npos);
}

TEST(BatchRun, ReportsAnErrorInTheData) {
    ScratchFolder scratch;
    const fs::path data = scratch.path() / "bad.kv5d";
    std::ofstream(data) << "t\r\n1 21\t1\t0\t0\t0 0 1 0 0\r\n10 12\t10\t1E-5\t60\t12\r\n";
    const RunResult r = AnalyseFile(data, KORVEL_ENGINE_LIBRARY);
    EXPECT_EQ(r.status, RunStatus::DataError);
    EXPECT_EQ(r.message, "TOO MUCH DATA FOR AVAILABLE STORAGE");
}

TEST(BatchRun, TellsInWordsWhyTheEngineStopped) {
    const struct {
        const char* messages;
        const char* expected;
    } cases[] = {
        {" READ SOIL DATA....\n ANALYSIS STOPPED: THE ANALYSIS RAN OUT OF MEMORY\n",
         "the analysis ran out of memory"},
        // What an older engine library wrote.
        {" READ SOIL DATA....\r\n ANALYSIS STOPPED: std::bad_alloc\r\n",
         "the analysis ran out of memory"},
        {" ANALYSIS STOPPED: vector::_M_range_check: __n (which is 5) >= this->size()\n",
         "the analysis stopped on an internal error of the engine"},
        {" ANALYSIS STOPPED: AN INTERNAL ERROR OF THE ENGINE\n",
         "the analysis stopped on an internal error of the engine"},
        {"\n\n     Net active pressure is negative.\n\n ANALYSIS STOPPED (STOP CODE 1): THE "
         "EXCAVATION LEVEL IS NOT WITHIN THE SOIL PROFILE\n",
         "the analysis stopped (stop code 1): THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL PROFILE"},
        {" CANNOT CREATE THE RESULT FILES BESIDE /w/a.kv5d\n",
         "the analysis stopped: CANNOT CREATE THE RESULT FILES BESIDE /w/a.kv5d"},
        {" ANALYSIS STOPPED\n", "the analysis stopped before it was completed"},
        {"", "the analysis stopped before it was completed"},
    };
    for (const auto& c : cases) EXPECT_EQ(DescribeEngineStop(c.messages), c.expected) << c.messages;
}

// An engine stop of the earth-pressure module (the excavation level below
// the soil profile) told without the engine's progress lines.
TEST(BatchRun, ReportsAnEngineStopInWords) {
    ScratchFolder scratch;
    const fs::path data = scratch.path() / "stop.kv5d";
    std::string text = ReadAll(fs::path(KORVEL_EXAMPLES_DIR) / "strong_rock_english.kv5d");
    text.replace(text.find("4 168"), 5, "4 100");
    text.replace(text.find("6 480"), 5, "6 140");  // the profile ends above H = 144 in
    std::ofstream(data, std::ios::binary) << text;
    const RunResult r = AnalyseFile(data, KORVEL_ENGINE_LIBRARY);
    EXPECT_EQ(r.status, RunStatus::Failed);
    EXPECT_EQ(r.message,
              "the analysis stopped (stop code 1): THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL "
              "PROFILE (FREE HEIGHT AT OR BELOW THE BOTTOM OF THE LAST LAYER)");
}

TEST(KorvelRun, ExitCodes) {
    const std::string exe = KORVEL_RUN_EXE;
    EXPECT_EQ(RunCommand(exe + " --help"), 0);
    EXPECT_EQ(RunCommand(exe), 2);
    EXPECT_EQ(RunCommand(exe + " --bogus x.kv5d"), 2);
    EXPECT_EQ(RunCommand(exe + " /nonexistent/wall.kv5d"), 1);

    ScratchFolder scratch;
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d", scratch.path() / "a.kv5d");
    EXPECT_EQ(RunCommand(exe + " " + (scratch.path() / "a.kv5d").string()), 0);
    EXPECT_EQ(RunCommand(exe + " " + (scratch.path() / "a.kv5d").string() + " /nonexistent/b.kv5d"),
              1);
}

}  // namespace
}  // namespace korvel::cli
