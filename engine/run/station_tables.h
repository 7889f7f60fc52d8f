// Station data tables (STIFFNESS, CONCLOADS, SPRINGS with TIEBACK): each row
// covers stations FROM to TO and is either single (CONTD 1) or continued
// linearly to the next row (CONTD 2). Values are spread over an interval with
// half values at both end stations, so adjacent intervals add up.
#pragma once

#include <array>
#include <ostream>

#include "run/problem.h"

namespace korvel::engine {

// The six quantities of a row, in the order the report prints them.
enum Quantity { kEI, kQ, kS, kT, kR, kP, kQuantityCount };
using StationValues = std::array<double, kQuantityCount>;

struct StationRow {
    int from = 0;
    int to = 0;
    int contd = 1;           // ContinuationCode: 1 single row, 2 continued to the next
    StationValues values{};  // values distributed into the station arrays
    StationValues echo{};    // values printed in the report's row
};

// One table's reading state: whether the previous row continues, and the
// start of the current chain.
class StationTable {
  public:
    explicit StationTable(std::array<bool, kQuantityCount> quantities) : quantities_(quantities) {}

    // Echoes the row to the report and adds it to the problem's arrays.
    // Throws DataError for a CONTD other than 1 or 2, stations out of order or
    // stations outside the arrays.
    void Add(const StationRow& row, Problem& problem, std::ostream& report);

  private:
    void Distribute(int start, int end, const StationValues& startValues,
                    const StationValues& endValues, Problem& problem) const;

    std::array<bool, kQuantityCount> quantities_;
    int previousContinued_ = 0;  // CONTD - 1 of the previous row
    int chainStart_ = 0;
    StationValues chainValues_{};
};

StationArray& ArrayOf(Problem& problem, Quantity q);

}  // namespace korvel::engine
