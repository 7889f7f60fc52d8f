// The engine's intake of earth pressure: the generated distribution read back
// from the pressure file, its echo step, plot-file part A, the width
// multiplier, the user table with surcharges, and the loads on the stations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/errors.h"
#include "run/intake.h"
#include "run/tests/run_fixture.h"
#include "text/layout.h"
#include "text/record_reader.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::Lines;
using testing::ScratchRun;

// A wall of N increments of h with a fixed tip, generated triangular
// pressure from one sand layer (30 degrees, 120 pcf) down to `bottom`.
std::string GeneratedWall(int unitSystem, int N, const std::string& h, const std::string& H,
                          const std::string& bottom, const std::string& gamma) {
    return DataFile({"Generated pressure", std::to_string(unitSystem) + " 1\t1\t0\t2\t0 0 1 0 0",
                     std::to_string(N) + " " + h + "\t10\t1E-5\t" + H + "\t12",
                     "3\t" + std::to_string(N) + "\t0\t0", "0\t" + std::to_string(N) + "\t1\t1E9",
                     "0", "0", H + "\t12\t24\t10000\t10000\t1\t1\t0", "0\t0\t0\t0\t0\t0", "0", "1",
                     "4 " + bottom + " ", gamma + " 0.0  30 0.0  90 0 ",
                     gamma + " 0.0  30 0.0  90 0 ", "0"});
}

// The depths of the rows echoed under the pressure header.
std::vector<std::string> EchoedDepths(const std::string& report) {
    std::vector<std::string> depths;
    bool inTable = false;
    for (const std::string& line : Lines(report)) {
        if (line == "        --------       ------------------------") {
            inTable = true;
        } else if (inTable) {
            if (line.empty()) break;
            depths.push_back(line.substr(6, 10));
        }
    }
    return depths;
}

std::vector<std::string> Depths(std::vector<double> values) {
    std::vector<std::string> out;
    for (double v : values) out.push_back(text::FormatE(v, 10, 3));
    return out;
}

TEST(GeneratedPressure, FiftyOneEnglishRowsEchoEverySixthAndTheLast) {
    ScratchRun run;
    const std::string report = run.Run(GeneratedWall(1, 10, "5", "30", "600", "0.069444444"));
    EXPECT_EQ(EchoedDepths(report), Depths({0, 6, 12, 18, 24, 30, 36, 42, 48, 50}));
    EXPECT_NE(report.find("        "
                          " DEPTH         ACTIVE EARTH PRESSURE\n"
                          "          IN                  LBS/IN\n"),
              std::string::npos);
    // The module's sections come before the table.
    EXPECT_LT(report.find("ACTIVE EARTH PRESSURE OF EACH LAYER"),
              report.find(" DEPTH         ACTIVE EARTH PRESSURE"));

    // Plot-file part A: the printed rows. Ka gamma z in the file (3 digits)
    // times Wa = 12 down to H = 30, times Wp = 24 below it.
    const std::vector<std::string> plot = Lines(run.Read("wall.kv5p"));
    ASSERT_GE(plot.size(), 11u);
    EXPECT_EQ(plot[0], " 10");
    EXPECT_EQ(plot[1], "   0.000E+00   0.000E+00   0.100E-06   0.000E+00");
    EXPECT_EQ(plot[6], "   0.300E+02   0.833E+01   0.833E+01   0.000E+00");  // 0.694 * 12
    EXPECT_EQ(plot[9], "   0.480E+02   0.167E+02   0.167E+02   0.000E+00");  // 0.694 * 24
    EXPECT_TRUE(run.Read("debug.dat").empty());
    EXPECT_NE(run.Read("bmwall.001").find(" 51\n"), std::string::npos);
}

TEST(GeneratedPressure, HundredTwentyEnglishRowsEchoTwentyOne) {
    ScratchRun run;
    const std::string report = run.Run(GeneratedWall(1, 7, "17", "34", "600", "0.069444444"));
    std::vector<double> expected;
    for (int i = 0; i <= 114; i += 6) expected.push_back(i);
    expected.push_back(119);
    EXPECT_EQ(EchoedDepths(report), Depths(expected));
}

TEST(GeneratedPressure, HundredTwentySIRowsEchoEveryFourth) {
    ScratchRun run;
    const std::string report = run.Run(GeneratedWall(2, 7, "0.85", "2", "10", "18"));
    std::vector<double> expected;
    for (int i = 0; i <= 116; i += 4) expected.push_back(i * 0.05);
    expected.push_back(5.95);
    EXPECT_EQ(EchoedDepths(report), Depths(expected));
}

TEST(GeneratedPressure, ExcavationBelowTheProfileIsAnEngineStop) {
    ScratchRun run;
    const std::string report = run.Run(GeneratedWall(1, 10, "5", "30", "20", "0.069444444"));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("STOP CODE 1"), std::string::npos);
    EXPECT_NE(run.errors.find("EXCAVATION LEVEL"), std::string::npos);
    EXPECT_NE(report.find("SOIL INFORMATION"), std::string::npos);
    EXPECT_EQ(report.find("END OF ANALYSIS"), std::string::npos);
}

TEST(UserPressure, SurchargesFillTheSurchargeColumn) {
    // EPUSER (0, 0), (60, 30), (120, 60) on a wall of 120 in; a point load at
    // the wall, H = 60, Wa = 12. The surcharge at depth z is taken at the
    // slice above it: 119.4 and 59.4 (slices of 0.6).
    ScratchRun run;
    run.Run(DataFile({"User pressure with a surcharge", "1 0\t1\t0\t1\t2 0 1 0 0",
                      "10 12\t10\t1E-5\t60\t12", "0\t10\t1\t1E9", "0", "0", "3", "0\t0", "60\t30",
                      "120\t60", "60\t12\t12\t10000\t10000\t1\t1\t0", "0\t0\t0\t0\t0\t0", "1",
                      "1\t1000\t0\t0", "1", "4 240 ", "0.069444444 0.0  30 0.0  90 0 ",
                      "0.069444444 0.0  30 0.0  90 0 ", "0"}));
    const std::vector<std::string> plot = Lines(run.Read("wall.kv5p"));
    ASSERT_GE(plot.size(), 4u);
    EXPECT_EQ(plot[0], " 3");
    EXPECT_EQ(plot[1], "   0.000E+00   0.000E+00   0.100E-06   0.000E+00");
    // 12 * 0.28*1000*n^2/(3600 (0.16+n^2)^3), n = 59.4/60: 0.617275
    EXPECT_EQ(plot[2], "   0.600E+02   0.306E+02   0.300E+02   0.617E+00");
    // n = 119.4/60: 12 * 0.0044039 = 0.0528469
    EXPECT_EQ(plot[3], "   0.120E+03   0.601E+02   0.600E+02   0.528E-01");
}

TEST(PressureLoads, UserRowsAreInterpolatedToTheStations) {
    Problem p;
    p.N = 10;
    p.h = 12.0;
    p.pressure = {{0.0, 0.0, 0.0, 0.0}, {120.0, 60.0 * 12.0, 60.0, 0.0}};
    ApplyPressureLoads(p, 120.0);
    EXPECT_EQ(p.Q[StationIndex(0)], 0.0);
    for (int k = 1; k <= 10; ++k) EXPECT_DOUBLE_EQ(p.Q[StationIndex(k)], 6.0 * k * 12.0) << k;
    EXPECT_EQ(p.Q[StationIndex(11)], 0.0);
}

TEST(PressureLoads, GeneratedLoadsStopAtTheFreeHeight) {
    Problem p;
    p.N = 10;
    p.h = 12.0;
    p.pressure = {{0.0, 0.0, 0.0, 0.0}, {120.0, 1200.0, 0.0, 0.0}};
    ApplyPressureLoads(p, 50.0);  // nearest station to 50/12 is 4
    EXPECT_DOUBLE_EQ(p.Q[StationIndex(4)], 480.0);
    EXPECT_EQ(p.Q[StationIndex(5)], 0.0);
}

TEST(PressureFile, MissingShortOrOversizedFilesEndTheRunWithAReportLine) {
    ScratchRun run;
    try {
        ReadPressureFile(run.Path("bmwall.001"));
        FAIL();
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "     ERROR STOP -- CANNOT OPEN THE PRESSURE FILE BMWALL.001");
    }
    run.WriteFile("bmwall.001", " 3\n 0 1 1 0\n 1 2 2 0\n");
    EXPECT_THROW(ReadPressureFile(run.Path("bmwall.001")), text::ReadError);
    run.WriteFile("bmwall.001", " 1201\n");
    try {
        ReadPressureFile(run.Path("bmwall.001"));
        FAIL();
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "     TOO MUCH DATA FOR AVAILABLE STORAGE");
    }
    run.WriteFile("bmwall.001",
                  " 2\n      0.000E+00     0.100E+01     0.200E+01     0.300E+01\n"
                  "      0.100E+02     0.400E+01     0.500E+01     0.600E+01\n");
    const std::vector<PressureRow> rows = ReadPressureFile(run.Path("bmwall.001"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].depth, 10.0);
    EXPECT_EQ(rows[1].total, 4.0);
    EXPECT_EQ(rows[1].soils, 5.0);
    EXPECT_EQ(rows[1].surcharges, 6.0);
}

}  // namespace
}  // namespace korvel::engine
