#include "main/command_line.h"

#include <string_view>

#include "main/file_names.h"

namespace korvel {

namespace {

constexpr const char* kHelp =
    "Usage: Korvel2015 [OPTION]... [FILE]\n"
    "\n"
    "The interactive program of KORVEL: analysis of flexible retaining walls\n"
    "(sheet-pile and soldier-pile walls, cantilevered or tied back) by the p-y\n"
    "method. Opens FILE, a KORVEL data file (.kv5d, or an older .kv4d or .kvd),\n"
    "when it is given; a name without a \".\" gets \".kv4d\" appended. Without FILE,\n"
    "or when FILE does not exist, the program starts with a new project.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this text and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are accepted.\n"
    "Analyses from the command line and in batches: korvel-run --help.\n";

}  // namespace

std::optional<std::string> InformationRequested(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") return std::string(kHelp);
        if (arg == "--version") {
            return std::string("Korvel2015 (KORVEL) ") + kProgramVersion +
                   "\nLicensed to the registered user of Tavlor software.\n";
        }
    }
    return std::nullopt;
}

}  // namespace korvel
