// The design checks in korvel-run: the design choices of each data file (its
// design file FILE.kv5g, with --section, --grade and --code on top), the
// checks of every analysed section, their "design" object in the JSON
// summary and their lines on standard output.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "design/design_checks.h"
#include "json_writer.h"

namespace korvel::cli {

struct DesignOverrides {
    std::string section, grade, code;  // empty: as the design file says
    bool Any() const { return !section.empty() || !grade.empty() || !code.empty(); }
};

class DesignRuns {
  public:
    DesignRuns(design::TSectionCatalogue catalogue, DesignOverrides overrides)
        : catalogue_(std::move(catalogue)), overrides_(std::move(overrides)) {}

    // The checks of one analysed file, made once and kept; nullptr when the
    // file has no design choices (no design file and no --section).
    const design::TDesignRun* For(const RunResult& r);

    // The "design" member of section `index` of `r` in the JSON summary;
    // nothing without design choices.
    void AddSectionJson(JsonWriter& json, const RunResult& r, size_t index);

    // The design choices used for `r`, or nullptr when it has none.
    const design::TDesignChoices* Choices(const RunResult& r);

    // A line per checked section, and the problems, after the analysis lines.
    void Print(const std::vector<RunResult>& results, std::ostream& out, std::ostream& err);

  private:
    design::TSectionCatalogue catalogue_;
    DesignOverrides overrides_;
    std::map<std::filesystem::path, std::optional<design::TDesignRun>> runs_;
    std::map<std::filesystem::path, design::TDesignChoices> choices_;  // of the files checked
};

// The catalogue in share/korvel beside korvel-run (or KORVEL_SECTIONS);
// throws design::ECatalogueError.
design::TSectionCatalogue LoadCatalogue();

// --list-sections: one catalogue row a line, then the grades; the exit code.
int ListSections(std::ostream& out, std::ostream& err);

// The design runs for this invocation: with overrides, or when any data file
// has a design file beside it; nullopt otherwise. A catalogue that cannot be
// read, an unknown --section, --grade or --code go to `problem`.
std::optional<DesignRuns> MakeDesignRuns(const DesignOverrides& overrides,
                                         const std::vector<std::string>& files,
                                         std::string& problem);

// The "design" object of one section check.
std::string DesignJson(const design::TSectionCheck& c);

}  // namespace korvel::cli
