// The files of a run: paths the control file cannot carry, results replaced
// whole and never through a planted link, runs of the same file at the same
// time, and outputs on a full disk.
#include "run_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "batch_run.h"
#include "engine_binding.h"
#include "scratch_folder.h"

namespace korvel::runfiles {
namespace {

namespace fs = std::filesystem;
using test_files::ReadAll;
using test_files::WriteAll;
using Scratch = test_files::ScratchFolder;

// Runs a shell command and gives its standard output; status gets the exit code.
std::string Capture(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

std::string Quoted(const fs::path& p) {
    std::string q = "'";
    for (char c : p.string()) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

TEST(RunFiles, RefusesWhatTheControlFileCannotCarry) {
    const struct {
        const char* path;
        bool refused;
    } cases[] = {
        {"/w/wall.kv5d", false},
        {"/w/ leading blank.kv5d", false},
        {"/w/with blank/wall.kv5d", false},
        {"/w/line\nbreak/wall.kv5d", true},
        {"/w/wall\r.kv5d", true},
        {"/w/trail.kv5d ", true},
        {"/w/trail.kv5d\t", true},
        {"/w/data.kv5o", true},
        {"/w/data.kv5p", true},
        {"/w/data.kv5r", true},
        {"/w/data.kv5r.kv5d", false},
        {"/w/data", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!RefusedDataPath(c.path).empty(), c.refused) << c.path;
    }
    EXPECT_EQ(RefusedDataPath("/w/trail.kv5d "),
              "the path ends in a blank, which the control file cannot carry");
}

TEST(RunFiles, ResultsInAFolderKeepTheirNames) {
    const ResultFiles in = ResultsIn("/run/x", "/w/Wall.v2.kv5d");
    EXPECT_EQ(in.report, fs::path("/run/x/Wall.v2.kv5o"));
    EXPECT_EQ(in.plot, fs::path("/run/x/Wall.v2.kv5p"));
    EXPECT_EQ(in.notes, fs::path("/run/x/Wall.v2.kv5r"));
}

TEST(RunFiles, PrivateFoldersAreFreshAndGoAway) {
    Scratch scratch;
    fs::path first, second;
    {
        PrivateFolder a(scratch.path() / "run"), b(scratch.path() / "run");
        first = a.path();
        second = b.path();
        EXPECT_NE(first, second);
        WriteAll(first / "names.dat", "x");
        EXPECT_EQ(fs::status(first).permissions() & fs::perms::all, fs::perms::owner_all);
    }
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(second));
    EXPECT_TRUE(fs::is_empty(scratch.path() / "run"));
}

TEST(RunFiles, AReplacedLinkIsNotFollowed) {
    Scratch scratch;
    const fs::path victim = scratch.path() / "other.txt";
    WriteAll(victim, "not yours");
    fs::create_symlink(victim, scratch.path() / "wall.kv5r");
    ReplaceFile(scratch.path() / "wall.kv5r", "notes");
    EXPECT_EQ(ReadAll(victim), "not yours");
    EXPECT_FALSE(fs::is_symlink(scratch.path() / "wall.kv5r"));
    EXPECT_EQ(ReadAll(scratch.path() / "wall.kv5r"), "notes");
}

TEST(RunFiles, ModesFollowTheOldFileOrTheUmask) {
    Scratch scratch;
    const fs::path kept = scratch.path() / "kept.kv5o";
    WriteAll(kept, "old");
    ::chmod(kept.c_str(), 0640);
    ReplaceFile(kept, "new");
    struct stat info {};
    ASSERT_EQ(::stat(kept.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const mode_t previous = ::umask(077);
    ReplaceFile(scratch.path() / "new.kv5o", "new");
    ::umask(previous);
    ASSERT_EQ(::stat((scratch.path() / "new.kv5o").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// A disk that fills up while the file is written (a file size limit gives the
// same short write): the old file stays as it was, no temporary is left, and
// the failure is reported.
TEST(RunFiles, AFullDiskLeavesTheOldFile) {
    Scratch scratch;
    const fs::path target = scratch.path() / "out.json";
    WriteAll(target, "old contents");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            ReplaceFile(target, std::string(10000, 'x'));
        } catch (const FileError& e) {
            _exit(std::string(e.what()).find("cannot write " + target.string()) == 0 ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(ReadAll(target), "old contents");
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(scratch.path())) ++files;
    EXPECT_EQ(files, 1u);
}

TEST(RunFiles, StaleTemporariesAreRemovedLiveOnesKept) {
    Scratch scratch;
    fs::path live;
    const int fd = CreateTemporaryBeside(scratch.path(), live);
    ASSERT_GE(fd, 0);
    fs::path dead;
    ::close(CreateTemporaryBeside(scratch.path(), dead));
    WriteAll(scratch.path() / ".korvel-notmine", "user");
    WriteAll(scratch.path() / "wall.kv5d.abcdef", "user");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const fs::path& p : {live, dead, scratch.path() / ".korvel-notmine"}) {
        fs::last_write_time(p, old);
    }
    RemoveStaleTemporaries(scratch.path());
    EXPECT_TRUE(fs::exists(live));
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(scratch.path() / ".korvel-notmine"));
    EXPECT_TRUE(fs::exists(scratch.path() / "wall.kv5d.abcdef"));
    ::close(fd);
}

// korvel-run on names it must refuse: nothing is run, nothing truncated.
TEST(KorvelRunFiles, RefusesADataFileItsResultsWouldReplace) {
    Scratch scratch;
    const std::string example = ReadAll(fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d");
    for (const char* name : {"data.kv5o", "data.kv5p", "data.kv5r", "trail.kv5d "}) {
        const fs::path data = scratch.path() / name;
        WriteAll(data, example);
        if (std::string(name) == "trail.kv5d ") WriteAll(scratch.path() / "trail.kv5d", "other");
        int status = 0;
        const std::string out = Capture(std::string(KORVEL_RUN_EXE) + " " + Quoted(data), status);
        EXPECT_EQ(status, 1) << name;
        EXPECT_NE(out.find("not analysed: refused: "), std::string::npos) << out;
        EXPECT_EQ(ReadAll(data), example) << name;
    }
    EXPECT_EQ(ReadAll(scratch.path() / "trail.kv5d"), "other");
    EXPECT_FALSE(fs::exists(scratch.path() / "trail.kv5o"));
}

TEST(KorvelRunFiles, ALineBreakInTheFolderIsRefused) {
    Scratch scratch;
    const fs::path folder = scratch.path() / "two\nlines";
    fs::create_directory(folder);
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d", folder / "w.kv5d");
    const cli::RunResult r = cli::AnalyseFile(folder / "w.kv5d", KORVEL_ENGINE_LIBRARY);
    EXPECT_EQ(r.status, cli::RunStatus::Failed);
    EXPECT_EQ(r.message,
              "refused: the path holds a line break, which the control file cannot carry");
    EXPECT_FALSE(fs::exists(folder / "w.kv5o"));
}

TEST(KorvelRunFiles, APlantedLinkAtAResultIsReplacedNotFollowed) {
    Scratch scratch;
    const fs::path data = scratch.path() / "wall.kv5d";
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "tiedback_si.kv5d", data);
    const fs::path victim = scratch.path() / "precious.txt";
    WriteAll(victim, "precious");
    fs::create_symlink(victim, scratch.path() / "wall.kv5r");
    fs::create_symlink(victim, scratch.path() / "wall.kv5o");
    const cli::RunResult r = cli::AnalyseFile(data, KORVEL_ENGINE_LIBRARY);
    EXPECT_EQ(r.status, cli::RunStatus::Analysed) << r.message;
    EXPECT_EQ(ReadAll(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(scratch.path() / "wall.kv5r"));
    EXPECT_NE(ReadAll(scratch.path() / "wall.kv5o").find("END OF ANALYSIS"), std::string::npos);
}

// Two korvel-run processes analysing the same staged file over and over:
// every run reads back a whole report of its own.
TEST(KorvelRunFiles, ConcurrentRunsOfOneFileEachReadAWholeReport) {
    Scratch scratch;
    const fs::path data = scratch.path() / "staged.kv5d";
    fs::copy_file(fs::path(KORVEL_EXAMPLES_DIR) / "three_stages_english.kv5d", data);
    constexpr int kRounds = 6;
    const std::string loop = "for i in $(seq " + std::to_string(kRounds) + "); do " +
                             KORVEL_RUN_EXE + " " + Quoted(data) + " | head -n 1; done";
    std::string outputs[2];
    int statuses[2] = {};
    std::thread other([&] { outputs[1] = Capture(loop, statuses[1]); });
    outputs[0] = Capture(loop, statuses[0]);
    other.join();
    for (const std::string& out : outputs) {
        std::istringstream lines(out);
        int runs = 0;
        for (std::string line; std::getline(lines, line); ++runs) {
            EXPECT_NE(line.find(": analysed, 3 section(s); report "), std::string::npos) << line;
        }
        EXPECT_EQ(runs, kRounds);
    }
    EXPECT_NE(ReadAll(scratch.path() / "staged.kv5o").find("END OF ANALYSIS"), std::string::npos);
}

// A disk that fills while the study's SVG is written (a file size limit of
// 32 KB: the reports fit, the drawing does not): korvel-run fails with a
// message and the old drawing stays.
TEST(KorvelRunFiles, AFullDiskKeepsTheOldPlotAndFails) {
    Scratch scratch;
    const fs::path svg = scratch.path() / "study.svg";
    WriteAll(svg, "old drawing");
    const fs::path data = fs::path(KORVEL_EXAMPLES_DIR) / "cantilever_english.kv5d";
    const std::string command = "bash -c \"trap '' XFSZ; ulimit -f 32; exec " +
                                std::string(KORVEL_RUN_EXE) + " --lengths 240:480:24 --plot " +
                                Quoted(svg) + " " + Quoted(data) + "\"";
    int status = 0;
    const std::string out = Capture(command, status);
    if (out.find("was built without") != std::string::npos)
        GTEST_SKIP() << "korvel-run built without the study plot";
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find("korvel-run: cannot write " + svg.string()), std::string::npos) << out;
    EXPECT_EQ(ReadAll(svg), "old drawing");
}

// Without /proc the program's folder comes from how it was started, never from
// the current folder (where anyone may have put a library of that name).
TEST(KorvelRunFiles, WithoutProcTheEngineIsNotLookedForInTheCurrentFolder) {
    Scratch scratch;
    fs::create_directories(scratch.path() / "bin");
    const fs::path program = scratch.path() / "bin" / "korvel-run";
    WriteAll(program, "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);
    const fs::path noProc = scratch.path() / "proc-not-mounted";
    EXPECT_EQ(cli::ProgramFolder(noProc, program.string(), ""), scratch.path() / "bin");
    EXPECT_EQ(cli::ProgramFolder(noProc, "korvel-run",
                                 "/nonexistent:" + (scratch.path() / "bin").string()),
              scratch.path() / "bin");

    const fs::path before = fs::current_path();
    fs::current_path(scratch.path() / "bin");
    // An empty PATH entry stands for the current folder: not taken.
    EXPECT_EQ(cli::ProgramFolder(noProc, "korvel-run", "::"), fs::path());
    EXPECT_EQ(cli::ProgramFolder(noProc, "", ""), fs::path());
    fs::current_path(before);
    EXPECT_THROW(cli::EngineBinding(""), cli::EngineLoadError);
    // With /proc, the link wins.
    EXPECT_EQ(cli::ProgramFolder("/proc/self/exe", "korvel-run", ""),
              fs::read_symlink("/proc/self/exe").parent_path());
}

}  // namespace
}  // namespace korvel::runfiles
