// The header the report gets at the top of every section: title block,
// identification, file names and the date and time of the analysis.
#pragma once

#include <ctime>
#include <ostream>
#include <string>

#include "run/control_file.h"

namespace korvel::engine {

// A path split the way the file block prints it. The drive is "C:" in a path
// written on Windows and empty on Linux; the directory runs up to and
// including the last "/" or "\"; the extension is the "." and at most four
// more characters.
struct PathParts {
    std::string drive;
    std::string directory;
    std::string name;
    std::string extension;
};
PathParts SplitPath(const std::string& path);

// How the section is named in the header and above the results.
struct SectionTitle {
    enum class Kind { Own, Stage, LongTerm } kind = Kind::Own;
    std::string title;       // this section's title
    std::string firstTitle;  // the first section's title
    int sectionNumber = 1;
};
void WriteSectionTitleLine(std::ostream& report, const SectionTitle& title);

void WriteDateTimeBanner(std::ostream& report, const std::tm& now);

// Writes the whole header; `sectionNumber` > 1 adds the two leading empty lines.
void WriteReportHeader(std::ostream& report, const ControlFile& control, const SectionTitle& title,
                       const std::tm& now);

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 sequence.
std::string CutUtf8(const std::string& text, size_t bytes);

}  // namespace korvel::engine
