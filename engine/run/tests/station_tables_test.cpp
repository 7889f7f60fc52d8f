#include "run/station_tables.h"

#include <gtest/gtest.h>

#include <sstream>

#include "run/errors.h"

namespace korvel::engine {
namespace {

struct Row {
    int from, to, contd;
    double ei;
};

// Runs STIFFNESS-like rows through one table and returns F by station.
StationArray Stiffness(const std::vector<Row>& rows) {
    Problem p;
    std::ostringstream report;
    StationTable table({true, false, false, false, false, false});
    for (const Row& r : rows) {
        StationRow s;
        s.from = r.from;
        s.to = r.to;
        s.contd = r.contd;
        s.values[kEI] = s.echo[kEI] = r.ei;
        table.Add(s, p, report);
    }
    return p.F;
}

double At(const StationArray& a, int station) {
    return a[StationIndex(station)];
}

TEST(StationTable, SingleRowHalvesBothEndStations) {
    const auto F = Stiffness({{0, 10, 1, 1000.0}});
    EXPECT_DOUBLE_EQ(At(F, 0), 500.0);
    for (int k = 1; k <= 9; ++k) EXPECT_DOUBLE_EQ(At(F, k), 1000.0) << k;
    EXPECT_DOUBLE_EQ(At(F, 10), 500.0);
    EXPECT_DOUBLE_EQ(At(F, 11), 0.0);
}

TEST(StationTable, AdjacentRowsMakeTheSharedStationWhole) {
    const auto F = Stiffness({{0, 10, 1, 1000.0}, {10, 20, 1, 1000.0}});
    EXPECT_DOUBLE_EQ(At(F, 10), 1000.0);
    EXPECT_DOUBLE_EQ(At(F, 20), 500.0);
}

TEST(StationTable, ChainVariesLinearlyBetweenItsRows) {
    const auto F = Stiffness({{0, 0, 2, 100.0}, {10, 10, 1, 200.0}});
    EXPECT_DOUBLE_EQ(At(F, 0), 50.0);
    for (int k = 1; k <= 9; ++k) EXPECT_DOUBLE_EQ(At(F, k), 100.0 + 10.0 * k) << k;
    EXPECT_DOUBLE_EQ(At(F, 10), 100.0);
}

TEST(StationTable, MiddleRowOfAChainStartsTheNextInterval) {
    // 100 at 0 rising to 200 at 10, then falling to 0 at 20.
    const auto F = Stiffness({{0, 0, 2, 100.0}, {10, 10, 2, 200.0}, {20, 20, 1, 0.0}});
    EXPECT_DOUBLE_EQ(At(F, 5), 150.0);
    EXPECT_DOUBLE_EQ(At(F, 10), 200.0);
    EXPECT_DOUBLE_EQ(At(F, 15), 100.0);
    EXPECT_DOUBLE_EQ(At(F, 20), 0.0);
}

TEST(StationTable, RowOnOneStationPutsTheWholeValueThere) {
    const auto F = Stiffness({{7, 7, 1, 300.0}});
    EXPECT_DOUBLE_EQ(At(F, 7), 300.0);
    EXPECT_DOUBLE_EQ(At(F, 6), 0.0);
    EXPECT_DOUBLE_EQ(At(F, 8), 0.0);
}

TEST(StationTable, RefusesBadRows) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"to before from", {{10, 5, 1, 1.0}}, "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"chain end before start",
         {{10, 10, 2, 1.0}, {5, 5, 1, 1.0}},
         "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"continuation code 3",
         {{0, 5, 3, 1.0}},
         "     ERROR STOP -- CONTINUATION CODE OTHER THAN 1 OR 2"},
        {"beyond storage", {{0, 500, 1, 1.0}}, "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"above storage", {{-9, 0, 1, 1.0}}, "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
    };
    for (const Case& c : cases) {
        try {
            Stiffness(c.rows);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const DataError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.name;
        }
    }
}

TEST(StationTable, EchoesStationColumnsByRowCode) {
    Problem p;
    std::ostringstream report;
    StationTable table({true, false, false, false, false, false});
    for (Row r : std::vector<Row>{
             {0, 0, 2, 100.0}, {5, 5, 2, 150.0}, {10, 10, 1, 200.0}, {10, 12, 1, 50.0}}) {
        StationRow s;
        s.from = r.from;
        s.to = r.to;
        s.contd = r.contd;
        s.values[kEI] = s.echo[kEI] = r.ei;
        table.Add(s, p, report);
    }
    const std::string zeros = " 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00";
    EXPECT_EQ(report.str(),
              "        0      1  0.100E+03" + zeros + "\n" +      // first of a chain: FROM only
                  "            5  1  0.150E+03" + zeros + "\n" +  // middle: TO only
                  "           10  0  0.200E+03" + zeros + "\n" +  // last: TO only
                  "       10  12  0  0.500E+02" + zeros + "\n");  // single: both
}

}  // namespace
}  // namespace korvel::engine
