// korvel-run: analyses data files through the engine library, for batch work
// and automation; with -j in parallel worker processes.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "batch_run.h"
#include "design_json.h"
#include "engine_binding.h"
#include "length_study.h"
#include "parallel_batch.h"
#include "run_files.h"
#include "tieback_results.h"
#ifdef KORVEL_PDF_REPORT
#include "report/pdf_batch.h"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: korvel-run [-j N] [--json FILE] [--pdf [--paper a4|letter]] [--engine LIBRARY] "
    "FILE.kv5d...\n"
    "       korvel-run --lengths FROM:TO:STEP [--tolerance PCT] [--json FILE]\n"
    "                  [--plot FILE.png|FILE.svg] [-j N] FILE.kv5d\n"
    "\n"
    "Analyses each data file with the KORVEL engine and writes the output report\n"
    "(.kv5o), the plot data file (.kv5p) and the run notes (.kv5r) beside it.\n"
    "Prints a line per file with a line per section (iterations, how the solution\n"
    "ended, largest deflection, moment and shear with their depths), then a summary.\n"
    "Files that could not be analysed or ended on an error in the data are told on\n"
    "standard error. Exits with 0 when every file was analysed and every solution\n"
    "is valid, with 1 when a file is missing, could not be analysed or its report\n"
    "ends on an error in the data, with 2 on wrong usage, and with 3 when every\n"
    "file was analysed but a solution did not close within the tolerance,\n"
    "exceeded the maximum allowable deflection or ran off the p-y curves.\n"
    "\n"
    "Options:\n"
    "  -j N              analyse N files at a time in worker processes (default 1)\n"
    "  --json FILE       also write a machine-readable summary; with \"-\" it goes\n"
    "                    to standard output alone and the summary lines to\n"
    "                    standard error\n"
    "  --engine LIBRARY  the engine library to use (default: libKorvel2015_DLL.so\n"
    "                    next to korvel-run, else in ../lib/korvel/ from its folder)\n"
    "  --pdf             also write a calculation report FILE.pdf beside each file\n"
    "  --paper a4|letter paper of the PDF (default: letter for English units, else a4)\n"
    "  --lengths FROM:TO:STEP\n"
    "                    wall length study: analyse the file's wall at these total\n"
    "                    lengths (inches in English units, metres in SI), print a\n"
    "                    row per length and section and the critical length\n"
    "  --tolerance PCT   change in head deflection and maximum moment from one\n"
    "                    length to the next below which the wall counts as long\n"
    "                    enough (default 1)\n"
    "  --plot FILE       with --lengths: head deflection and maximum moment against\n"
    "                    length, the critical length marked, as PNG or SVG\n"
    "  --                the arguments after it are data files\n"
    "  --list-sections   print the sheet-pile section catalogue and the steel grades\n"
    "  --section NAME, --grade NAME, --code EN1993-5|ASD|LRFD\n"
    "                    design checks of every section against the catalogue section\n"
    "                    (over the choices of a design file FILE.kv5g beside the data file)\n"
    "  -h, --help        show this text and exit\n"
    "      --version     show the version and exit\n";

constexpr const char* kVersion = "korvel-run (KORVEL) " KORVEL_VERSION
                                 "\n"
                                 "Licensed to the registered user of Tavlor software.\n";

// Exit code when every file was analysed but a solution is not valid.
constexpr int kInvalidResults = 3;

int Usage(const std::string& problem) {
    std::cerr << "korvel-run: " << problem << " (korvel-run --help tells the usage)\n";
    return 2;
}

// Analysed files go to `out`, the others to `err`.
void PrintResult(std::ostream& ok, std::ostream& err, const korvel::cli::RunResult& r, size_t done,
                 size_t total) {
    using korvel::cli::RunStatus;
    std::ostream& out = r.status == RunStatus::Analysed ? ok : err;
    if (total > 1) out << '[' << done << '/' << total << "] ";
    out << r.dataFile.string() << ": ";
    switch (r.status) {
        case RunStatus::Analysed:
            out << "analysed, " << r.sections << " section(s); report " << r.reportFile.string();
            break;
        case RunStatus::DataError:
            out << "ended on an error in the data: " << r.message << "; report "
                << r.reportFile.string();
            break;
        case RunStatus::Failed:
            out << "not analysed: " << r.message;
            break;
    }
    out << '\n';
    for (size_t i = 0; i < r.results.size(); ++i) {
        out << "  section " << i + 1 << ": " << korvel::cli::DescribeSection(r.results[i]) << '\n';
    }
    out.flush();
    for (size_t i = 0; i < r.results.size(); ++i) {
        if (korvel::cli::ResultsValid(r.results[i])) continue;
        err << "korvel-run: " << r.dataFile.string() << ": the results of section " << i + 1
            << " are not valid: " << korvel::cli::ResultProblems(r.results[i]) << '\n';
    }
    err.flush();
}

#ifdef KORVEL_PDF_REPORT
// After every analysis (the workers are done): a report for every file the
// engine analysed, also one that ended on an error in the data.
bool WriteReports(const std::vector<korvel::cli::RunResult>& results, const std::string& paper,
                  std::ostream& out, std::optional<korvel::cli::DesignRuns>& design) {
    korvel::TPdfSession session;
    bool all = true;
    for (const auto& r : results) {
        if (r.status == korvel::cli::RunStatus::Failed) continue;
        std::string path, message;
        if (session.Write(r.dataFile.string(), paper, path, message,
                          design ? design->Choices(r) : nullptr)) {
            out << r.dataFile.string() << ": calculation report " << path << '\n';
        } else {
            std::cerr << "korvel-run: " << message << '\n';
            all = false;
        }
    }
    return all;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    std::string engine = korvel::cli::DefaultEnginePath(argc > 0 ? argv[0] : "");
    std::string jsonPath;
    korvel::cli::LengthStudyOptions study;
    bool studyOnly = false;  // --tolerance or --plot given
    int jobs = 1;
    [[maybe_unused]] bool pdf = false;
    std::string paper;  // empty: by the unit system
    bool paperGiven = false;
    std::vector<std::string> files;
    bool optionsEnded = false;  // after "--"
    korvel::cli::DesignOverrides design;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded) {
            if (arg == "-") return Usage("a data file cannot be read from standard input (\"-\")");
            files.push_back(arg);
            continue;
        }
        const auto value = [&]() -> const char* { return ++i < argc ? argv[i] : nullptr; };
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--version") {
            std::cout << kVersion;
            return 0;
        } else if (arg == "--engine") {
            const char* v = value();
            if (!v) return Usage("--engine needs a library path");
            engine = v;
        } else if (arg == "--json") {
            const char* v = value();
            if (!v) return Usage("--json needs a file name");
            jsonPath = v;
        } else if (arg == "--pdf") {
#ifndef KORVEL_PDF_REPORT
            return Usage(
                "--pdf needs the program's libraries: build with KORVEL_BUILD_APP and "
                "KORVEL_APP_WIDGETS on");
#endif
            pdf = true;
        } else if (arg == "--paper") {
            const char* v = value();
            if (!v || (std::string(v) != "a4" && std::string(v) != "letter"))
                return Usage("--paper needs a4 or letter");
            paper = v;
            paperGiven = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-") {
            return Usage("a data file cannot be read from standard input (\"-\")");
        } else if (arg == "--list-sections") {
            return korvel::cli::ListSections(std::cout, std::cerr);
        } else if (arg == "--section" || arg == "--grade" || arg == "--code") {
            const char* v = value();
            if (!v) return Usage(arg + " needs a value");
            (arg == "--section" ? design.section
             : arg == "--grade" ? design.grade
                                : design.code) = v;
        } else if (arg == "--lengths" || arg == "--tolerance" || arg == "--plot") {
            const char* v = value();
            if (!v) return Usage(arg + " needs a value");
            (arg == "--lengths" ? study.range
             : arg == "--plot"  ? study.plotPath
                                : study.tolerance) = v;
            studyOnly = studyOnly || arg != "--lengths";
        } else if (arg == "-j" || (arg.rfind("-j", 0) == 0 && arg.size() > 2)) {
            const char* v = arg.size() > 2 ? arg.c_str() + 2 : value();
            char* end = nullptr;
            const long n = v ? std::strtol(v, &end, 10) : 0;
            if (!v || *end != '\0' || n < 1 || n > 256)
                return Usage("-j needs a number from 1 to 256");
            jobs = static_cast<int>(n);
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) return Usage("no data file given");
    if (studyOnly && study.range.empty()) return Usage("--tolerance and --plot go with --lengths");
    if (pdf && !study.range.empty()) return Usage("--pdf does not go with --lengths");
    if (paperGiven && !pdf) return Usage("--paper goes with --pdf");
    std::string designProblem;
    auto designRuns = korvel::cli::MakeDesignRuns(design, files, designProblem);
    if (!designProblem.empty()) return Usage(designProblem);
    if (!study.range.empty()) {
        study.jsonPath = jsonPath;
        study.jobs = jobs;
        study.enginePath = engine;
        study.files = files;
        return korvel::cli::RunLengthStudy(study, std::cout, std::cerr);
    }

    // With the JSON on standard output, the lines for people go to standard error.
    std::ostream& human = jsonPath == "-" ? std::cerr : std::cout;
    const auto start = std::chrono::steady_clock::now();
    auto results = korvel::cli::AnalyseFiles(
        files, engine, jobs, [&](const korvel::cli::RunResult& r, size_t done, size_t total) {
            PrintResult(human, std::cerr, r, done, total);
        });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    size_t sections = 0, failures = 0, invalid = 0;
    for (const auto& r : results) {
        sections += r.results.size();
        if (r.status != korvel::cli::RunStatus::Analysed) ++failures;
        for (const auto& s : r.results) {
            if (!korvel::cli::ResultsValid(s)) ++invalid;
        }
    }
#ifdef KORVEL_PDF_REPORT
    if (pdf && !WriteReports(results, paper, human, designRuns)) ++failures;
#endif
    if (files.size() > 1) {
        human << "files: " << files.size() << ", sections: " << sections
              << ", failures: " << failures << ", wall time: " << seconds << " s\n";
    }
    if (designRuns) designRuns->Print(results, human, std::cerr);
    if (!jsonPath.empty()) {
        korvel::cli::AddTiebackForces(results);
        const std::string json = korvel::cli::ResultsJson(
            results, seconds,
            [&](korvel::cli::JsonWriter& out, const korvel::cli::RunResult& r, size_t k) {
                if (designRuns) designRuns->AddSectionJson(out, r, k);
            });
        if (jsonPath == "-") {
            std::cout << json;
        } else {
            std::string error;
            if (!korvel::runfiles::WriteOutputFile(jsonPath, json, error)) {
                std::cerr << "korvel-run: " << error << '\n';
                return 1;
            }
        }
    }
    if (failures > 0) return 1;
    return invalid > 0 ? kInvalidResults : 0;
}
