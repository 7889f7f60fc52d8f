// The engine's one exported entry point. The caller passes 1; anything else
// means the program and the library do not belong together, and the call
// returns 1 without touching a file.
#include <cstdint>
#include <filesystem>
#include <iostream>

#include "run/analysis.h"
#include "run/stop_message.h"

namespace {

constexpr int32_t kCheckValue = 1;
constexpr int32_t kStopped = 2;

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t IKORVEL(int32_t argument) {
    if (argument != kCheckValue) return 1;
    try {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::current_path(ec);
        if (ec) {
            std::cerr << " CANNOT DETERMINE THE CURRENT FOLDER: " << ec.message() << '\n';
            return kStopped;
        }
        return korvel::engine::RunAnalysis(folder, std::cerr);
    } catch (...) {
        std::cerr << korvel::engine::StopMessage(std::current_exception()) << '\n';
        return kStopped;
    }
}

// The name the interactive program binds: the same code under a second name.
extern "C" __attribute__((visibility("default"), alias("IKORVEL"))) int32_t _IKORVEL(int32_t);
