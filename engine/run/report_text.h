// Small pieces of report layout shared by the section's echoes.
#pragma once

#include <ostream>
#include <string>

namespace korvel::engine {

// The boxed banner: `emptyBefore` empty lines, then three lines of 50
// characters after 6 blanks ("*****", the title line, "*****"), then
// `emptyAfter` empty lines. `titleLine` is the whole 50-character middle line.
void WriteBanner(std::ostream& report, const std::string& titleLine, int emptyBefore = 2,
                 int emptyAfter = 1);

// The line that stands in for an empty table: an empty line and 20 blanks.
void WriteEmptyTable(std::ostream& report);

}  // namespace korvel::engine
