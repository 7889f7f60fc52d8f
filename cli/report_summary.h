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

struct SectionSummary {
    int iterations = 0;
    bool closed = true;
    bool offCurves = false;
    int exceededStations = 0;  // stations beyond the maximum allowable deflection
    Extreme deflection, moment, shear;
    // The results table's deflections in its order, station 0 (the head) to N
    // (the toe). Read from the report only: workers do not send it.
    std::vector<double> deflections;
    std::string lengthUnit, forceUnit, momentUnit;  // as the report's units line prints them
};

// One entry per results block, in report order.
std::vector<SectionSummary> SummariseReport(std::istream& report);

// "2 iterations, closed; max deflection 1.86 IN at 0 IN; ..." for one section.
std::string DescribeSection(const SectionSummary& s);

}  // namespace korvel::cli
