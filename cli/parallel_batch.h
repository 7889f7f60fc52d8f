// Analysing many data files in parallel worker processes. Each worker is a
// forked child that analyses one file in its own working folder (the engine
// changes the current folder, which is per process) and sends its result back
// through a pipe.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch_run.h"

namespace korvel::cli {

// Called in the parent as each file finishes, in the order they finish.
using ProgressCallback = std::function<void(const RunResult&, size_t done, size_t total)>;

// Results in the order of `files`. With jobs <= 1 the files are analysed one
// after the other in this process.
std::vector<RunResult> AnalyseFiles(const std::vector<std::string>& files,
                                    const std::string& enginePath, int jobs,
                                    const ProgressCallback& progress);

// Fields a caller adds to each section object of the JSON summary (the design
// checks): empty, or text that starts with ", ".
using SectionExtras = std::function<std::string(const RunResult&, size_t section)>;

// The results as a JSON document: per file its status and message, per
// section its iterations, ending and maxima.
std::string ResultsJson(const std::vector<RunResult>& results, double wallSeconds,
                        const SectionExtras& extras = {});

// One section of ResultsJson as a JSON object without its closing brace, so
// that callers can add fields of their own.
std::string SectionJsonFields(const SectionSummary& s);
// A text as a JSON string, quotes included.
std::string JsonString(const std::string& s);
std::string JsonNumber(double v);

// Round trip of a result through the text a worker sends to the parent.
std::string SerialiseResult(const RunResult& r);
RunResult DeserialiseResult(const std::string& text);

}  // namespace korvel::cli
