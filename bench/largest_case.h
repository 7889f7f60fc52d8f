// The largest problem the program lets an engineer build: 300 increments, ten
// soil layers, generated earth pressure and p-y curves, five construction
// stages, written as one staged data file.
#pragma once

#include <string>

namespace korvel::bench {

std::string LargestCaseDataFile();

}  // namespace korvel::bench
