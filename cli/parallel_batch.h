// Analysing many data files in parallel worker processes. Each worker is a
// forked child that analyses one file in its own working folder (the engine
// changes the current folder, which is per process) and sends its result back
// through a pipe.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch_run.h"
#include "json_writer.h"

namespace korvel::cli {

// Called in the parent as each file finishes, in the order they finish.
using ProgressCallback = std::function<void(const RunResult&, size_t done, size_t total)>;

// Results in the order of `files`. With jobs <= 1 the files are analysed one
// after the other in this process.
std::vector<RunResult> AnalyseFiles(const std::vector<std::string>& files,
                                    const std::string& enginePath, int jobs,
                                    const ProgressCallback& progress);

// The version of the document ResultsJson writes; raised whenever a member
// changes its meaning or goes (new members keep it).
constexpr int kResultsSchemaVersion = 1;

// Adds members of its own to a section's object of ResultsJson, after the
// standard ones (the writer stands inside the section's object).
using SectionJsonHook =
    std::function<void(JsonWriter& json, const RunResult& file, size_t section)>;

// The results as a JSON document: per file its status and message, per
// section its iterations, ending, validity, both extremes of deflection,
// moment and shear, and the tieback forces (README: "JSON output").
std::string ResultsJson(const std::vector<RunResult>& results, double wallSeconds,
                        const SectionJsonHook& sectionHook = {});

// "analysed", "data error" or "failed".
const char* StatusName(RunStatus s);

// One section as ResultsJson writes it, as a JSON object without its closing
// brace (on one line), so that callers can add fields of their own.
std::string SectionJsonFields(const SectionSummary& s);

// Round trip of a result through the text a worker sends to the parent.
std::string SerialiseResult(const RunResult& r);
RunResult DeserialiseResult(const std::string& text);

}  // namespace korvel::cli
