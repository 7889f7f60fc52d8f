// What the entry point tells its caller on the standard error stream when a
// run ends on an exception that nothing inside the run handles: words an
// engineer understands, never the name of a C++ exception.
#pragma once

#include <exception>

namespace korvel::engine {

// The line for `stop` (without its line end), e.g.
// " ANALYSIS STOPPED: THE ANALYSIS RAN OUT OF MEMORY". A fixed text: after
// an allocation failure there may be no memory left to build one.
const char* StopMessage(std::exception_ptr stop);

}  // namespace korvel::engine
