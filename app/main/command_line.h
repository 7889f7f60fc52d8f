// The options Korvel2015 answers before it opens any window, so that they work
// without a display: --help and --version (GNU style, text on standard output,
// exit status 0). Every other argument is left to Qt and the program.
#pragma once

#include <optional>
#include <string>

namespace korvel {

// The text to print when an argument asks for help or the version (the first
// such option counts), else nothing.
std::optional<std::string> InformationRequested(int argc, const char* const* argv);

}  // namespace korvel
