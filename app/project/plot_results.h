// Results of the last analysis run, copied from the engine's plot data file by
// the plot reader and read by the views. Not part of the data file. Values are
// in the units of the plot file (English: inches, pounds, pound-inches).
#pragma once

#include <array>
#include <vector>

namespace korvel {

// Result sets of one run: up to 5 stages or a short- and long-term pair; the
// arrays keep room for 11 as the plot reader has always offered.
constexpr int kMaxResultSets = 11;
// Result rows of a set: stations 0 to N+1 of a wall of at most 300 increments.
constexpr int kMaxResultRows = 302;
// Earth-pressure rows of a set: the engine's storage for a pressure distribution.
constexpr int kMaxPressureRows = 1200;

struct TResultSet {
    std::array<long double, kMaxPressureRows> EarthPressure{};  // total, per unit length of wall
    std::array<long double, kMaxPressureRows> EarthPressureDepth{};  // as in the plot file
    std::array<long double, kMaxResultRows> NodeDepth{};
    std::array<long double, kMaxResultRows> Deflection{};
    std::array<long double, kMaxResultRows> Moment{};
    std::array<long double, kMaxResultRows> Shear{};
    std::array<long double, kMaxResultRows> SoilReaction{};
};

struct TPlotResults {
    TPlotResults() : Sets(kMaxResultSets) {}

    // Always kMaxResultSets entries (on the heap: about 0.5 MB in all).
    std::vector<TResultSet> Sets;
    // Largest earth-pressure row count of all sets of the last reading.
    int EarthPressureRowCount = 0;

    void Clear() {
        for (TResultSet& set : Sets) set = TResultSet{};
        EarthPressureRowCount = 0;
    }
};

}  // namespace korvel
