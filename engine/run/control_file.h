// The control file "names.dat": eight lines naming the run's files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace korvel::engine {

struct ControlFile {
    std::string version;           // line 1, blank-padded or cut to 12 characters
    std::string identification1;   // line 2, at most 256 characters
    std::string identification2;   // line 3, at most 256 characters
    int identificationNumber = 0;  // line 4
    std::string dataPath;          // lines 5 to 8, read whole
    std::string reportPath;
    std::string plotPath;
    std::string notesPath;
    bool complete = false;  // false when a line among 5 to 8 was missing
};

// Finds `name` in `folder` regardless of letter case; an exact match wins.
// Returns folder/name when nothing matches, so callers can create the file.
std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder,
                                       const std::string& name);

// Reads the control file. Missing lines 1 to 4 give blank texts and number 0;
// a missing line 5 to 8 (or a missing file) leaves `complete` false.
ControlFile ReadControlFile(const std::filesystem::path& path);

}  // namespace korvel::engine
