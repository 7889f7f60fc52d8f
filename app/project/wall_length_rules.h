// How the tables of a problem follow a change of the wall's length, in stations
// (a wall of N increments has stations 0 at the head to N at the toe) and in
// depths below the top of the wall. Plain data, no files: wall_length.h
// applies these rules to the project model's tables, for the length study of
// korvel-run and for the program's Wall Length Study window alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel {

// A row of a station table (stiffness, concentrated loads, springs, moment-EI
// ranges). A continued row starts or carries on a chain that interpolates
// linearly to the TO station of the next row; the engine then uses the first
// row's FROM and every later row's TO as the chain's points.
struct StationRow {
    int from = 0;
    int to = 0;
    bool continued = false;
    std::vector<double> values;
    int source = -1;  // index of the row it came from; -1 for a row added here
};

// The rows for a wall of newN increments instead of oldN:
// - a row or chain wholly below the new toe goes;
// - a row reaching below it ends at the new toe, a chain ends in a point
//   interpolated at the new toe (a chain left with one point at the toe goes:
//   it gave that station half a value, as any toe station gets from the row
//   that ends there);
// - a row ending at the old toe keeps ending at the toe: a single-station row
//   at the toe moves to the new toe, a longer row is stretched to it, and a
//   chain is continued to it with its last value (a constant row).
std::vector<StationRow> ResizeStationRows(const std::vector<StationRow>& rows, int oldN, int newN);

// A row at one station (restraints, p-y curve sets): which source row it is
// and at which station it now lies.
struct StationPoint {
    int source = 0;
    int station = 0;
};

// Restraints: a row at the old toe moves to the new toe, rows below the new toe go.
std::vector<StationPoint> ResizeRestraints(const std::vector<int>& stations, int oldN, int newN);

// p-y curve sets, which describe the soil down the wall (the engine gives soil
// springs only between curves). When the sets reach the old toe they keep
// reaching the toe: a longer wall gets a copy of the deepest set at the new toe,
// a shorter one the first set below the new toe moved up to it (unless a set
// lies at the new toe already). Sets below the new toe go.
std::vector<StationPoint> ResizeCurveSets(const std::vector<int>& stations, int oldN, int newN);

// A depth profile (a user pressure table: depth below the top, pressure).
struct DepthRow {
    double depth = 0.0;
    double value = 0.0;
};

// Rows below the new length go, with a row interpolated at the new length when
// the profile ran past it; a profile that reached the old length is continued
// to the new one with its last value.
std::vector<DepthRow> ResizeDepthProfile(const std::vector<DepthRow>& rows, double oldLength,
                                         double newLength);

// The whole number of increments of length h nearest to length (halves up).
int IncrementsFor(double length, double h);

// The lengths FROM, FROM + STEP, ... up to TO (TO included when a step lands on
// it within rounding); an error text when FROM >= TO, STEP <= 0 or there are
// more than maxCount.
inline constexpr size_t kMaxStudyLengths = 500;
inline constexpr int kMaxStudyIncrements = 300;  // what the program's wall dialog accepts

struct LengthRange {
    std::vector<double> lengths;
    std::string error;  // empty when the range is usable
};
LengthRange MakeLengthRange(double from, double to, double step, size_t maxCount);
// The same from korvel-run's "FROM:TO:STEP" (errors start with "--lengths").
LengthRange ParseLengthRange(const std::string& text, size_t maxCount);

}  // namespace korvel
