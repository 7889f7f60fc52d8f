// Every run ends quickly and in bounded memory, whatever the numbers of the
// data file: a layer depth typed with digits too many is refused by name, and
// every numeric field of a few bundled examples, set in turn to an extreme
// value, gives results or a data error, never an allocation failure.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <new>
#include <regex>
#include <stdexcept>
#include <vector>

#include "run/stop_message.h"
#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::ScratchRun;

std::string ReadExample(const std::string& name) {
    std::ifstream in(std::filesystem::path(KORVEL_EXAMPLES_DIR) / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("no '" + from + "' in the example");
    return text.replace(at, from.size(), to);
}

bool EndsTheAnalysis(const std::string& report) {
    return report.find("\n     END OF ANALYSIS") != std::string::npos;
}

// --- The stop line of the entry point ---------------------------------------

TEST(StopMessage, SaysInWordsWhyTheRunStopped) {
    const std::string memory = " ANALYSIS STOPPED: THE ANALYSIS RAN OUT OF MEMORY";
    const std::string internal = " ANALYSIS STOPPED: AN INTERNAL ERROR OF THE ENGINE";
    std::vector<double> v;
    const struct {
        std::exception_ptr stop;
        std::string expected;
    } cases[] = {
        {std::make_exception_ptr(std::bad_alloc()), memory},
        {std::make_exception_ptr(std::bad_array_new_length()), memory},
        {[&v] {
             try {
                 v.reserve(v.max_size() + 1);  // "vector::reserve" from the library
             } catch (...) {
                 return std::current_exception();
             }
             return std::exception_ptr();
         }(),
         memory},
        {std::make_exception_ptr(std::logic_error("station codes refer to more specified values")),
         internal},
        {std::make_exception_ptr(42), internal},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.stop);
        EXPECT_EQ(StopMessage(c.stop), c.expected);
    }
}

// --- Runs in child processes --------------------------------------------------

// How a run in a child process ended.
enum ChildEnd : int {
    kEnded = 0,       // the report ends with END OF ANALYSIS (results or a data error)
    kStopped = 1,     // an engine stop of a soil model, told in words
    kNoMemory = 2,    // the engine ran out of memory
    kInternal = 3,    // any other exception reached the entry point
    kIncomplete = 4,  // the call returned 0 but the report does not end properly
    kMismatch = 5,    // the entry point refused the argument
};

constexpr rlim_t kMemoryBudget = 64u << 20;  // memory a run may add, bytes
constexpr size_t kChildrenAtOnce = 4;        // hides the wait for the scheduler on a busy machine
#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer holds freed memory in quarantine and runs many times
// slower: only the way each run ends is checked, on the first example.
constexpr bool kMeasured = false;
constexpr size_t kExamples = 1;
#else
constexpr bool kMeasured = true;
constexpr size_t kExamples = 3;
#endif
constexpr double kCpuSecondsPerRun = 1.0;

// Address space of this process, bytes.
rlim_t CurrentAddressSpace() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// A line of /proc/self/status such as "VmHWM:", in KiB.
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    }
    return 0;
}

struct ChildRun {
    int status = -1;
    double cpuSeconds = 0.0;
    long addedKiB = 0;      // peak resident memory above what the child started with
    std::string errorLine;  // the report's first line with "ERROR", if any
};

std::string Describe(const ChildRun& r) {
    if (r.status == -1) return "could not be started";
    if (WIFSIGNALED(r.status)) return std::string("killed by ") + strsignal(WTERMSIG(r.status));
    switch (WEXITSTATUS(r.status)) {
        case kEnded:
            return "ended";
        case kStopped:
            return "stopped by a soil model";
        case kNoMemory:
            return "ran out of memory";
        case kInternal:
            return "stopped on an internal error";
        case kIncomplete:
            return "left the report incomplete";
        default:
            return "refused the entry argument";
    }
}

// Runs the engine library on data files, each in a child process of its own
// whose address space may grow by the memory budget only, with a CPU-time
// limit; a few children at a time, each in its own scratch folder.
class ChildRunner {
  public:
    ChildRunner() {
        handle_ = dlopen(KORVEL_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle_) throw std::runtime_error(dlerror());
        entry_ = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle_, "_IKORVEL"));
        if (!entry_) throw std::runtime_error("no _IKORVEL");
        for (Slot& slot : slots_) slot.run.WriteControlFile();
    }
    ~ChildRunner() { dlclose(handle_); }

    std::vector<ChildRun> RunAll(const std::vector<std::string>& dataFiles) {
        std::vector<ChildRun> results(dataFiles.size());
        size_t next = 0;
        size_t running = 0;
        while (next < dataFiles.size() || running > 0) {
            for (Slot& slot : slots_) {
                if (slot.pid != 0 || next == dataFiles.size()) continue;
                slot.run.WriteFile("wall.kv5d", dataFiles[next]);
                const rlim_t addressSpace = CurrentAddressSpace() + kMemoryBudget;
                const pid_t pid = fork();
                if (pid == 0) _exit(ChildMain(slot.run, addressSpace));
                if (pid < 0) {
                    ++next;  // stays "could not be started"
                    continue;
                }
                slot.pid = pid;
                slot.index = next++;
                ++running;
            }
            if (running == 0) continue;
            int status = 0;
            rusage usage{};
            const pid_t pid = wait4(-1, &status, 0, &usage);
            if (pid <= 0) break;
            for (Slot& slot : slots_) {
                if (slot.pid != pid) continue;
                ChildRun& r = results[slot.index];
                r.status = status;
                r.cpuSeconds =
                    static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
                std::ifstream(slot.run.Path("added.txt")) >> r.addedKiB;
                std::ifstream report(slot.run.Path("wall.kv5o"));
                for (std::string line; r.errorLine.empty() && std::getline(report, line);) {
                    if (line.find("ERROR") != std::string::npos) r.errorLine = line;
                }
                slot.pid = 0;
                --running;
            }
        }
        return results;
    }

  private:
    struct Slot {
        ScratchRun run;
        pid_t pid = 0;
        size_t index = 0;
    };

    int ChildMain(const ScratchRun& run, rlim_t addressSpace) {
        if (chdir(run.folder().c_str()) != 0) return kInternal;
        const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err < 0 || dup2(err, 2) < 0) return kInternal;
        const rlimit memory{addressSpace, addressSpace};
        const rlimit cpu{kMeasured ? 2u : 20u, kMeasured ? 3u : 21u};  // s: SIGXCPU, then SIGKILL
        if (kMeasured) setrlimit(RLIMIT_AS, &memory);
        setrlimit(RLIMIT_CPU, &cpu);
        alarm(20);  // a run blocked on something other than the CPU
        // The peak resident memory starts again from what is resident now.
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = StatusKiB("VmRSS:");
        const int32_t result = entry_(1);
        std::ofstream(run.Path("added.txt")) << StatusKiB("VmHWM:") - before;
        std::fflush(stderr);
        const std::string messages = run.Read("stderr.txt");
        if (result == 1) return kMismatch;
        if (result == 2) {
            if (messages.find("OUT OF MEMORY") != std::string::npos) return kNoMemory;
            if (messages.find("ANALYSIS STOPPED (STOP CODE") != std::string::npos) return kStopped;
            return kInternal;
        }
        return EndsTheAnalysis(run.Read("wall.kv5o")) ? kEnded : kIncomplete;
    }

    void* handle_ = nullptr;
    int32_t (*entry_)(int32_t) = nullptr;
    std::array<Slot, kChildrenAtOnce> slots_;
};

// Results, a data error or an engine stop told in words; within a CPU second
// and the memory budget.
void ExpectBounded(const ChildRun& r, const std::string& where) {
    const bool exited = r.status != -1 && WIFEXITED(r.status);
    EXPECT_TRUE(exited && (WEXITSTATUS(r.status) == kEnded || WEXITSTATUS(r.status) == kStopped))
        << where << Describe(r);
    if (kMeasured) {
        EXPECT_LT(r.cpuSeconds, kCpuSecondsPerRun) << where << "CPU seconds";
        EXPECT_LT(r.addedKiB, static_cast<long>(kMemoryBudget >> 10)) << where << "KiB";
    }
}

// --- The depth limit of the soil layers ---------------------------------------

// The rock example's wall: 50 increments of 6 in, 300 in; its rock layer
// ends at 480 in, and 100 wall lengths are 30000 in. Each run has a child
// process of its own, so a regression cannot take the test's memory.
TEST(LayerDepthLimit, AMistypedLayerBottomIsRefusedByNameAtOnce) {
    const std::string example = ReadExample("strong_rock_english.kv5d");
    const std::vector<std::string> bottoms = {"2147483647", "1e9", "30000.01", "1e30"};
    std::vector<std::string> dataFiles;
    for (const std::string& bottom : bottoms) {
        dataFiles.push_back(Replace(example, "6 480", "6 " + bottom));
    }
    ChildRunner runner;
    const std::vector<ChildRun> results = runner.RunAll(dataFiles);
    for (size_t i = 0; i < bottoms.size(); ++i) {
        const ChildRun& r = results[i];
        EXPECT_EQ(Describe(r), "ended") << bottoms[i];
        EXPECT_EQ(r.errorLine,
                  "     ERROR STOP -- SOIL LAYER 2 GOES DEEPER THAN 100 TIMES THE WALL LENGTH")
            << bottoms[i];
        EXPECT_LT(r.cpuSeconds, 0.1) << bottoms[i];
    }
}

// At the limit the layer is taken, and what lies below the tip plus two
// increments changes nothing: the rock is uniform, so the results (plot data
// file) are those of the example itself.
TEST(LayerDepthLimit, ALayerEndingAtTheLimitGivesTheExamplesResults) {
    const std::string example = ReadExample("strong_rock_english.kv5d");
    ScratchRun sensible;
    sensible.Run(example);
    ScratchRun deep;
    const std::string report = deep.Run(Replace(example, "6 480", "6 30000"));
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
    ASSERT_TRUE(EndsTheAnalysis(report));
    EXPECT_EQ(deep.Read("wall.kv5p"), sensible.Read("wall.kv5p"));
}

// --- Extreme values in every numeric field -------------------------------------

// The examples cover generated triangular pressure with rock p-y curves
// (English), a user pressure table with generated clay and sand curves and a
// profile reaching below the tip (English), and the trapezoidal pressure with
// a tieback and user p-y curves (SI). Every number after the title is set to
// each extreme value in turn: 254 fields, 1016 runs. A run ends with results
// or a data error (or an engine stop of a soil model, told in words) within a
// CPU second, adding less than 64 MiB (in fact a few MiB; the largest seen
// are recorded as test properties).
TEST(ExtremeValues, EveryNumericFieldEndsInBoundedTimeAndMemory) {
    const char* const examples[] = {"strong_rock_english.kv5d", "clay_over_sand_py_english.kv5d",
                                    "anchored_trapezoidal_si.kv5d"};
    const char* const values[] = {"2147483647", "1e30", "-1e9", "0"};
    const std::regex number(R"([^\s,]+)");
    std::vector<std::string> dataFiles;
    std::vector<std::string> where;
    for (size_t e = 0; e < kExamples; ++e) {
        const char* example = examples[e];
        const std::string text = ReadExample(example);
        const auto body = text.begin() + static_cast<long>(text.find('\n') + 1);  // after the title
        for (auto it = std::sregex_iterator(body, text.end(), number); it != std::sregex_iterator();
             ++it) {
            const auto at = body + it->position();
            const long line = 1 + std::count(text.begin(), at, '\n');
            for (const char* value : values) {
                std::string data = text;
                data.replace(static_cast<size_t>(at - text.begin()),
                             static_cast<size_t>(it->length()), value);
                dataFiles.push_back(data);
                where.push_back(std::string(example) + " line " + std::to_string(line) + " '" +
                                it->str() + "' -> " + value + ": ");
            }
        }
    }
    ASSERT_EQ(dataFiles.size(), kExamples == 3 ? 1016u : 268u);

    ChildRunner runner;
    const std::vector<ChildRun> results = runner.RunAll(dataFiles);
    double mostCpu = 0.0;
    long mostAddedKiB = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        ExpectBounded(results[i], where[i]);
        mostCpu = std::max(mostCpu, results[i].cpuSeconds);
        mostAddedKiB = std::max(mostAddedKiB, results[i].addedKiB);
    }
    RecordProperty("most_cpu_ms", static_cast<int>(1000.0 * mostCpu));
    RecordProperty("most_added_kib", static_cast<int>(mostAddedKiB));
}

// The engine fuzzer's own seeds (mistyped data files) and the inputs it
// found too slow or too greedy, kept as they were found: every one ends like
// the extreme values above.
TEST(EngineFuzzCorpus, EverySeedEndsInBoundedTimeAndMemory) {
    std::vector<std::string> names;
    std::vector<std::string> dataFiles;
    for (const auto& entry : std::filesystem::directory_iterator(KORVEL_ENGINE_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        names.push_back(entry.path().filename().string() + ": ");
        dataFiles.push_back(s.str());
    }
    ASSERT_FALSE(dataFiles.empty());
    ChildRunner runner;
    const std::vector<ChildRun> results = runner.RunAll(dataFiles);
    for (size_t i = 0; i < results.size(); ++i) ExpectBounded(results[i], names[i]);
}

}  // namespace
}  // namespace korvel::engine
