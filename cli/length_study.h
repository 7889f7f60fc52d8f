// The wall length study of korvel-run (--lengths FROM:TO:STEP): the problem of
// one data file analysed at a range of total wall lengths, each an ordinary
// engine run of a modified copy (length_variant.h) in a private folder, then a
// table of how the wall behaves at each length and the critical length, from
// which on its behaviour stops changing.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "batch_run.h"

namespace korvel::cli {

struct LengthStudyOptions {
    std::string range;            // "FROM:TO:STEP" in the data file's length unit
    std::string tolerance = "1";  // percent
    std::string jsonPath;         // "" none, "-" standard output
    std::string plotPath;         // "" none; a .png or .svg picture
    int jobs = 1;
    std::string enginePath;
    std::vector<std::string> files;  // exactly one data file
};

// One section at one length.
struct StudySection {
    SectionSummary summary;
    double embedment = 0.0;             // wall length below the excavation level
    double headDeflection = 0.0;        // station 0
    double toeDeflection = 0.0;         // station N
    std::vector<double> tiebackForces;  // spring force of each tieback: stiffness x deflection
};

struct StudyRow {
    double requestedLength = 0.0;
    double length = 0.0;  // analysed: whole increments (of the first section)
    RunStatus runStatus = RunStatus::Failed;
    std::string message;
    std::vector<StudySection> sections;
    // Every section closed within the allowed deflection and on its curves.
    bool usable = false;
    std::string status;  // "closed", or what went wrong
};

// The first index i such that for every pair of neighbouring rows from i on
// both rows are usable, have the same sections, and each section's head
// deflection and maximum moment change by less than tolerance (a fraction) of
// the shorter length's value. None when no such pair run reaches the last row.
std::optional<size_t> CriticalLengthIndex(const std::vector<StudyRow>& rows, double tolerance);

// The table and the critical length as korvel-run prints them.
std::string StudyTable(const std::string& dataFile, const std::vector<StudyRow>& rows,
                       const std::vector<std::string>& notes, std::optional<size_t> critical,
                       double tolerancePercent);

// {"rows": [{"length", "requested_length", "status", "sections": [...]}], "notes": [...],
//  "critical_length", ...}
std::string StudyJson(const std::vector<StudyRow>& rows, const std::vector<std::string>& notes,
                      std::optional<size_t> critical, double tolerancePercent);

// Runs the study; prints to out, messages to err. Exit code: 0 every length
// analysed, 1 a length could not be analysed or the file cannot be read, 2 wrong usage.
int RunLengthStudy(const LengthStudyOptions& options, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
