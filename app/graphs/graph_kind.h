// The result graphs of the main window, in the order of the plot reader's table.
#pragma once

#include <array>

namespace korvel {

enum class TGraphKind { kLD, kCombine, kPY, kDef, kMom, kShear, kSoil, kDMS };
inline constexpr int kGraphCount = 8;

inline constexpr std::array<const char*, kGraphCount> kGraphCaptions = {
    "Earth Pressure Distribution",
    "Earth Pressure Combined",
    "p-y Curves",
    "Deflection vs Depth",
    "Moment vs Depth",
    "Shear vs Depth",
    "Soil Reaction vs Depth",
    "Deflection, Moment, Shear vs Depth"};

inline constexpr int GraphIndex(TGraphKind kind) {
    return static_cast<int>(kind);
}
inline const char* GraphCaption(TGraphKind kind) {
    return kGraphCaptions[GraphIndex(kind)];
}

}  // namespace korvel
