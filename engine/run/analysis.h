// One whole run of the engine: the control file in `workFolder`, the data
// file it names, every section of it, and the three result files.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

namespace korvel::engine {

// Where the time of a run went, for the benchmark. Seconds of wall time.
struct SectionTiming {
    double earthPressure = 0.0;  // intake, including the earth-pressure module
    double curves = 0.0;         // intake, including curve generation
    double iteration = 0.0;      // iterations and derived results
};
struct RunStats {
    std::vector<SectionTiming> sections;
};

// Returns 0 when the run went through (data errors included: the report says
// what was wrong), 2 when it had to stop without finishing its files.
int RunAnalysis(const std::filesystem::path& workFolder, std::ostream& err,
                RunStats* stats = nullptr);

}  // namespace korvel::engine
