#include "run/report_text.h"

namespace korvel::engine {

void WriteBanner(std::ostream& report, const std::string& titleLine, int emptyBefore,
                 int emptyAfter) {
    const std::string stars = "      " + std::string(50, '*') + "\n";
    report << std::string(emptyBefore, '\n') << stars << "      " << titleLine << '\n'
           << stars << std::string(emptyAfter, '\n');
}

void WriteEmptyTable(std::ostream& report) {
    report << '\n' << std::string(20, ' ') << '\n';
}

}  // namespace korvel::engine
