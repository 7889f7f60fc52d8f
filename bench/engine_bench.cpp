// korvel-bench: medians of repeated whole engine calls (control file to
// closed files) and of their parts, and the peak memory of korvel-run
// analysing each case.
//   korvel-bench [--quick] [--repeat N] [FILE.kv5d...]
//   korvel-bench --write-largest FILE.kv5d
// Without files: every example plus the generated largest case.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "largest_case.h"
#include "run/analysis.h"

namespace fs = std::filesystem;

namespace {

struct Case {
    std::string name;
    std::string data;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

void WriteControlFile(const fs::path& folder) {
    WriteFile(folder / "names.dat",
              "2015.5.1\r\nbench\r\nbench\r\n0\r\n" + (folder / "wall.kv5d").string() + "\r\n" +
                  (folder / "wall.kv5o").string() + "\r\n" + (folder / "wall.kv5p").string() +
                  "\r\n" + (folder / "wall.kv5r").string() + "\r\n");
}

// Peak resident memory (KiB) of a child process running `argv`.
long PeakKiB(const std::vector<std::string>& argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) return -1;
    return usage.ru_maxrss;
}

fs::path SelfFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 21;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            repeat = 3;
        } else if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--write-largest" && i + 1 < argc) {
            // For profiling and for looking at the case itself.
            WriteFile(argv[++i], korvel::bench::LargestCaseDataFile());
            return 0;
        } else if (arg == "-h" || arg == "--help") {
            std::cout << "Usage: korvel-bench [--quick] [--repeat N] [FILE.kv5d...]\n"
                         "       korvel-bench --write-largest FILE.kv5d\n";
            return 0;
        } else {
            files.push_back(arg);
        }
    }

    std::vector<Case> cases;
    if (files.empty()) {
        std::vector<fs::path> examples;
        for (const auto& e : fs::directory_iterator(KORVEL_EXAMPLES_DIR)) {
            if (e.path().extension() == ".kv5d") examples.push_back(e.path());
        }
        std::sort(examples.begin(), examples.end());
        for (const auto& p : examples) cases.push_back({p.filename().string(), ReadFile(p)});
        cases.push_back({"largest case (300 increments, 10 layers, 5 stages)",
                         korvel::bench::LargestCaseDataFile()});
    } else {
        for (const auto& f : files) cases.push_back({fs::path(f).filename().string(), ReadFile(f)});
    }

    std::string pattern = (fs::temp_directory_path() / "korvel-bench-XXXXXX").string();
    const fs::path folder = mkdtemp(pattern.data());
    WriteControlFile(folder);
    const fs::path runner = SelfFolder() / "korvel-run";
    const long baseline = PeakKiB({runner.string(), "--help"});

    std::printf("%-52s %8s %9s %9s %9s %9s %8s %9s\n", "case (medians of repeated calls)",
                "sections", "call ms", "press ms", "curves ms", "iter ms", "iter %", "peak KiB");
    int failures = 0;
    for (const Case& c : cases) {
        WriteFile(folder / "wall.kv5d", c.data);
        std::vector<double> total, pressure, curves, iteration;
        size_t sections = 0;
        bool ok = true;
        for (int r = 0; r < repeat; ++r) {
            korvel::engine::RunStats stats;
            std::ostringstream err;
            const auto start = std::chrono::steady_clock::now();
            const int code = korvel::engine::RunAnalysis(folder, err, &stats);
            total.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            double p = 0, cv = 0, it = 0;
            for (const auto& s : stats.sections) {
                p += s.earthPressure;
                cv += s.curves;
                it += s.iteration;
            }
            pressure.push_back(p);
            curves.push_back(cv);
            iteration.push_back(it);
            sections = stats.sections.size();
            const std::string report = ReadFile(folder / "wall.kv5o");
            if (code != 0 || report.find("ERROR") != std::string::npos) ok = false;
        }
        const long peak = PeakKiB({runner.string(), (folder / "wall.kv5d").string()});
        const double t = Median(total) * 1e3;
        const double it = Median(iteration) * 1e3;
        std::printf("%-52s %8zu %9.3f %9.3f %9.3f %9.3f %7.1f%% %9ld%s\n", c.name.c_str(), sections,
                    t, Median(pressure) * 1e3, Median(curves) * 1e3, it, t > 0 ? 100 * it / t : 0.0,
                    peak, ok ? "" : "  (ended on an error: see its report)");
        if (!ok) ++failures;
    }
    std::printf(
        "peak KiB is korvel-run's maximum resident set analysing the case; korvel-run "
        "alone (--help) takes %ld KiB\n",
        baseline);
    fs::remove_all(folder);
    return 0;
}
