#include "run/stop_message.h"

#include <new>
#include <stdexcept>

namespace korvel::engine {

const char* StopMessage(std::exception_ptr stop) {
    try {
        std::rethrow_exception(stop);
    } catch (const std::bad_alloc&) {
        return " ANALYSIS STOPPED: THE ANALYSIS RAN OUT OF MEMORY";
    } catch (const std::length_error&) {
        // A container asked to grow beyond what the machine can address.
        return " ANALYSIS STOPPED: THE ANALYSIS RAN OUT OF MEMORY";
    } catch (...) {
        // A broken rule inside the engine; its own text would only name code.
        return " ANALYSIS STOPPED: AN INTERNAL ERROR OF THE ENGINE";
    }
}

}  // namespace korvel::engine
