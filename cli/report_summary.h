// Reads the results blocks back from an output report, for the one-line
// summaries of korvel-run: how each section's iteration ended and where its
// largest deflection, moment and shear lie.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace korvel::cli {

struct Extreme {
    double value = 0.0;  // largest in magnitude, with its sign
    double depth = 0.0;  // below the top of the wall
};

// The algebraic largest and smallest value of a quantity down the wall, each
// with the depth where it first occurs.
struct SignedExtremes {
    Extreme max;
    Extreme min;
};

// A tieback's force as the engine's spring applies it, from the deflection at
// its station (see calc_report.h). Filled by the runner from the project, not
// read from the report.
struct TiebackResult {
    int station = 0;
    double depth = 0.0;           // station times the increment length, report length unit
    double deflection = 0.0;      // at the station
    double forceOnWall = 0.0;     // lateral, for the wall width Wa
    double forcePerAnchor = 0.0;  // along the rod, in one anchor
};

struct SectionSummary {
    int iterations = 0;
    bool closed = true;
    bool offCurves = false;
    int exceededStations = 0;  // stations beyond the maximum allowable deflection
    Extreme deflection, moment, shear;
    SignedExtremes deflectionRange, momentRange, shearRange;
    // The results table's deflections in its order, station 0 (the head) to N
    // (the toe). Read from the report only: workers do not send it.
    std::vector<double> deflections;
    // As the report's units line prints them, without blanks ("KN-M", not "KN- M").
    std::string lengthUnit, forceUnit, momentUnit;
    std::vector<TiebackResult> tiebacks;
};

// Closed, within the maximum allowable deflection and on the p-y curves.
bool ResultsValid(const SectionSummary& s);
// Why not, in words ("not closed, maximum allowable deflection exceeded at 47
// stations, off the p-y curves"); empty for valid results.
std::string ResultProblems(const SectionSummary& s);

// One entry per results block, in report order.
std::vector<SectionSummary> SummariseReport(std::istream& report);

// "2 iterations, closed; max deflection 1.86 IN at 0 IN; ..." for one section.
std::string DescribeSection(const SectionSummary& s);

}  // namespace korvel::cli
