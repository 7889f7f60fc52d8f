#include "run/station_tables.h"

#include "run/errors.h"
#include "text/layout.h"

namespace korvel::engine {
namespace {

// Row codes from the previous and this row's continuation.
constexpr int kSingle = 1;
constexpr int kChainFirst = 2;
constexpr int kChainLast = 3;
constexpr int kChainMiddle = 4;

void CheckStation(int station) {
    const int position = StationIndex(station);
    if (position < 1 || position > kStationPositions) throw TooMuchData();
}

}  // namespace

StationArray& ArrayOf(Problem& problem, Quantity q) {
    switch (q) {
        case kEI:
            return problem.F;
        case kQ:
            return problem.Q;
        case kS:
            return problem.S;
        case kT:
            return problem.T;
        case kR:
            return problem.R;
        case kP:
            break;
        case kQuantityCount:
            break;
    }
    return problem.P;
}

void StationTable::Add(const StationRow& row, Problem& problem, std::ostream& report) {
    if (row.contd != 1 && row.contd != 2) {
        throw DataError("     ERROR STOP -- CONTINUATION CODE OTHER THAN 1 OR 2");
    }
    const int continued = row.contd - 1;
    const int code = 2 * previousContinued_ + continued + 1;
    previousContinued_ = continued;

    const auto& e = row.echo;
    if (code == kChainFirst) {
        report << text::FormatLayout("(5X, I4, 4X, I3, 1X, 6E10.3)",
                                     {row.from, continued, e[0], e[1], e[2], e[3], e[4], e[5]});
    } else if (code == kChainLast || code == kChainMiddle) {
        report << text::FormatLayout("(9X, I4, I3, 1X, 6E10.3)",
                                     {row.to, continued, e[0], e[1], e[2], e[3], e[4], e[5]});
    } else {
        report << text::FormatLayout(
            "(5X, 2I4, I3, 1X, 6E10.3)",
            {row.from, row.to, continued, e[0], e[1], e[2], e[3], e[4], e[5]});
    }

    if (code == kChainFirst) {
        CheckStation(row.from);
        chainStart_ = row.from;
        chainValues_ = row.values;
        return;
    }
    const bool single = code == kSingle;
    const int start = single ? row.from : chainStart_;
    const StationValues& startValues = single ? row.values : chainValues_;
    if (row.to < start) throw StationsNotInOrder();
    CheckStation(start);
    CheckStation(row.to);
    Distribute(start, row.to, startValues, row.values, problem);

    if (code == kChainMiddle) {
        chainStart_ = row.to;
        chainValues_ = row.values;
    }
}

void StationTable::Distribute(int start, int end, const StationValues& startValues,
                              const StationValues& endValues, Problem& problem) const {
    for (int q = 0; q < kQuantityCount; ++q) {
        if (!quantities_[q]) continue;
        StationArray& target = ArrayOf(problem, static_cast<Quantity>(q));
        const double vs = startValues[q];
        const double vr = endValues[q];
        for (int k = start; k <= end; ++k) {
            const double fraction = end > start ? double(k - start) / double(end - start) : 0.0;
            target[StationIndex(k)] += vs + (vr - vs) * fraction;
        }
        if (end > start) {
            target[StationIndex(start)] -= 0.5 * vs;
            target[StationIndex(end)] -= 0.5 * vr;
        }
    }
}

}  // namespace korvel::engine
