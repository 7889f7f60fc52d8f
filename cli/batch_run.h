// Analysing one data file through the engine library, the way the
// interactive program does it: a private working folder as the current
// folder, the control file "names.dat" there, the entry point called with 1,
// the engine's report, plot data file and run notes written in that folder and
// then moved whole beside the data file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "report_summary.h"
#include "run_files.h"

namespace korvel::cli {

enum class RunStatus {
    Analysed,   // the engine finished and the report names no error
    DataError,  // the engine finished, but the report ends on an error in the data
    Failed,     // the file could not be analysed at all
};

struct RunResult {
    std::filesystem::path dataFile;
    RunStatus status = RunStatus::Failed;
    std::string message;                  // why it failed, or the first error line of the report
    int sections = 0;                     // sections the report has a header for
    std::vector<SectionSummary> results;  // one per results block
    std::filesystem::path reportFile;
};

// The data file's path with its extension replaced (".kv5o", ".kv5p", ".kv5r"):
// the text after the last "." of the file name goes; a name without one gets it appended.
std::filesystem::path WithExtension(const std::filesystem::path& path, const std::string& ext);

// The eight lines of "names.dat" for `dataFile` (an absolute path), CR LF ended.
std::string ControlFileText(const std::filesystem::path& dataFile);
// The same with the engine writing the three results to `results`.
std::string ControlFileText(const std::filesystem::path& dataFile,
                            const runfiles::ResultFiles& results);

// A data file the control file cannot name exactly, or whose results would be
// written over it, is refused ("refused: " and why) without running anything.
RunResult AnalyseFile(const std::filesystem::path& dataFile, const std::string& enginePath);

// Why the engine stopped before finishing its files, in words, from what it
// wrote to the standard error stream (progress lines, then its stop line):
// "the analysis ran out of memory", "the analysis stopped (stop code 1): ...".
// Never the name of a C++ exception, whichever engine library wrote it.
std::string DescribeEngineStop(const std::string& engineMessages);

}  // namespace korvel::cli
