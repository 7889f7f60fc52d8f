#include "batch_run.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

#include "engine_binding.h"
#include "run_files.h"

namespace korvel::cli {
namespace {

constexpr const char* kProgramVersion = "2015.5.1";
constexpr int32_t kMismatch = 1;

std::string UserName() {
    const char* user = std::getenv("USER");
    if (!user || !*user) {
        const passwd* entry = getpwuid(getuid());
        user = entry ? entry->pw_name : "";
    }
    return std::string(user).substr(0, 16);
}

std::string HostName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return {};
    return std::string(buffer).substr(0, 16);
}

// Keeps the current folder for the duration of a call.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }

  private:
    std::filesystem::path previous_;
};

// Sends the process's standard error into a file for the duration of a call:
// the engine writes progress there, and its stop messages, which the user
// sees only when the analysis stopped.
class StderrCapture {
  public:
    explicit StderrCapture(const std::filesystem::path& file) {
        std::fflush(stderr);
        std::cerr.flush();
        saved_ = dup(2);
        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (saved_ >= 0 && fd >= 0) dup2(fd, 2);
        if (fd >= 0) close(fd);
    }
    ~StderrCapture() {
        std::fflush(stderr);
        std::cerr.flush();
        if (saved_ >= 0) {
            dup2(saved_, 2);
            close(saved_);
        }
    }

  private:
    int saved_ = -1;
};

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool IsErrorLine(const std::string& line) {
    return line.find("ERROR STOP --") != std::string::npos ||
           line.find("ERROR --") != std::string::npos ||
           line.find("TOO MUCH DATA FOR AVAILABLE STORAGE") != std::string::npos;
}

void ReadReport(RunResult& result, const std::filesystem::path& reportFile) {
    std::ifstream report(reportFile);
    if (!report) {
        result.status = RunStatus::Failed;
        result.message = "the engine wrote no report";
        return;
    }
    bool ended = false;
    std::string line;
    while (std::getline(report, line)) {
        if (line.find("Time and Date of Analysis") != std::string::npos) ++result.sections;
        if (line.rfind("     END OF ANALYSIS", 0) == 0) ended = true;
        if (IsErrorLine(line) && result.message.empty()) {
            result.message = line.substr(line.find_first_not_of(' '));
        }
    }
    report.clear();
    report.seekg(0);
    result.results = SummariseReport(report);
    if (!ended) {
        result.status = RunStatus::Failed;
        result.message = "the report is incomplete";
    } else {
        result.status = result.message.empty() ? RunStatus::Analysed : RunStatus::DataError;
    }
}

}  // namespace

std::string DescribeEngineStop(const std::string& engineMessages) {
    // The last line says why; the lines before it are the engine's progress.
    std::string last;
    std::istringstream in(engineMessages);
    for (std::string line; std::getline(in, line);) {
        const size_t a = line.find_first_not_of(" \t\r");
        if (a != std::string::npos) last = line.substr(a, line.find_last_not_of(" \t\r") - a + 1);
    }
    const auto has = [&last](const char* text) { return last.find(text) != std::string::npos; };
    // An older engine library names the C++ exception itself.
    if (has("OUT OF MEMORY") || has("bad_alloc") || has("length_error")) {
        return "the analysis ran out of memory";
    }
    if (has("INTERNAL ERROR") || has("std::") || has("::_M_")) {
        return "the analysis stopped on an internal error of the engine";
    }
    if (last.empty() || last == "ANALYSIS STOPPED") {
        return "the analysis stopped before it was completed";
    }
    static const std::regex stopCode(R"(ANALYSIS STOPPED \(STOP CODE (-?[0-9]+)\): (.*))");
    std::smatch m;
    if (std::regex_match(last, m, stopCode)) {
        return "the analysis stopped (stop code " + m[1].str() + "): " + m[2].str();
    }
    const std::string stopped = "ANALYSIS STOPPED: ";
    if (last.rfind(stopped, 0) == 0) last.erase(0, stopped.size());
    return "the analysis stopped: " + last;
}

std::filesystem::path WithExtension(const std::filesystem::path& path, const std::string& ext) {
    std::filesystem::path out = path;
    out.replace_extension(ext);
    return out;
}

std::string ControlFileText(const std::filesystem::path& dataFile) {
    return ControlFileText(dataFile, runfiles::ResultsBeside(dataFile));
}

std::string ControlFileText(const std::filesystem::path& dataFile,
                            const runfiles::ResultFiles& results) {
    std::ostringstream out;
    const std::string host = HostName();
    out << kProgramVersion << "\r\n"
        << std::string("korvel-run ") + kProgramVersion << "\r\n"
        << UserName() << ", " << host << "\r\n"
        << 0 << "\r\n"
        << dataFile.string() << "\r\n"
        << results.report.string() << "\r\n"
        << results.plot.string() << "\r\n"
        << results.notes.string() << "\r\n";
    return out.str();
}

RunResult AnalyseFile(const std::filesystem::path& dataFile, const std::string& enginePath) {
    RunResult result;
    std::error_code ec;
    result.dataFile = std::filesystem::absolute(dataFile, ec);
    if (const std::string refused = runfiles::RefusedDataPath(result.dataFile.string());
        !refused.empty()) {
        result.message = "refused: " + refused;
        return result;
    }
    if (!std::filesystem::is_regular_file(result.dataFile, ec)) {
        result.message = "no such data file";
        return result;
    }
    result.reportFile = WithExtension(result.dataFile, ".kv5o");

    try {
        // The engine writes its results in the run's own folder; they reach the
        // data file's folder whole when it has finished, and the report read
        // back is this run's, whatever another run does beside it meanwhile.
        runfiles::PrivateFolder folder(std::filesystem::temp_directory_path(), "korvel-run-");
        const runfiles::ResultFiles written = runfiles::ResultsIn(folder.path(), result.dataFile);
        {
            std::ofstream control(folder.path() / "names.dat", std::ios::binary);
            control << ControlFileText(result.dataFile, written);
            if (!control.flush()) throw std::runtime_error("cannot write the control file");
        }
        EngineBinding engine(enginePath);
        int32_t code;
        const std::filesystem::path messages = folder.path() / "engine-messages.txt";
        {
            CurrentFolder inFolder(folder.path());
            StderrCapture capture(messages);
            code = engine.Call(1);
        }
        if (code == kMismatch) {
            result.message = "the engine library does not belong to this program";
            return result;
        }
        runfiles::PublishResults(written, runfiles::ResultsBeside(result.dataFile));
        if (code != 0) {
            result.message = DescribeEngineStop(ReadText(messages));
            return result;
        }
        ReadReport(result, written.report);
    } catch (const std::exception& e) {
        result.status = RunStatus::Failed;
        result.message = e.what();
        return result;
    }
    return result;
}

}  // namespace korvel::cli
