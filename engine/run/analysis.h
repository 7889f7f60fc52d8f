// One whole run of the engine: the control file in `workFolder`, the data
// file it names, every section of it, and the three result files.
#pragma once

#include <filesystem>
#include <ostream>

namespace korvel::engine {

// Returns 0 when the run went through (data errors included: the report says
// what was wrong), 2 when it had to stop without finishing its files.
int RunAnalysis(const std::filesystem::path& workFolder, std::ostream& err);

}  // namespace korvel::engine
