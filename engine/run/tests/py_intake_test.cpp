// Whole runs with generated p-y curves: the curve file read back, plot-file
// part B, the curves' shape, user curves ahead of the generated ones.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::Lines;
using testing::ScratchRun;

// English cantilever, 30 increments of 6 in, H = 90 in, a user pressure
// table, sand below; `pySets` user curves and a p-y option of 2.
std::vector<std::string> SandWall(int pySets, int earthPressureOption = 1) {
    std::vector<std::string> l = {
        "Sand wall",
        "1 0\t1\t0\t" + std::to_string(earthPressureOption) + "\t2 " + std::to_string(pySets) +
            " 1 0 0",
        "30 6\t10\t1E-5\t90\t12",
        "0\t30\t1\t5.336E9",
        "0",
        "0",
    };
    if (earthPressureOption == 1) {
        l.insert(l.end(), {"2", "0\t0", "90\t20"});
    }
    l.insert(l.end(), {"90\t48\t12\t600\t600\t1\t1\t0", "0\t0\t0\t0\t0\t0", "0", "1", "4 400 ",
                       "0.066 0.0  32 0.0  90 0.0  ", "0.066 0.0  32 0.0  90 0.0  "});
    for (int s = 0; s < pySets; ++s) {
        l.insert(l.end(), {"10\t3\t2\t1", "-1\t10", "0\t0", "1\t-10"});
    }
    l.push_back("0");
    return l;
}

// Plot-file part B: the lines after part A (the pressure rows).
std::vector<std::string> PartB(const std::string& plot, int pressureRows) {
    std::vector<std::string> lines = Lines(plot);
    return {lines.begin() + 1 + pressureRows, lines.end()};
}

TEST(GeneratedCurves, PlotPartBHoldsFiveThirtyThreePointCurves) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(SandWall(0)));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find(" READ SOIL DATA....\n 5\n"), std::string::npos) << run.errors;
    EXPECT_NE(report.find("      *        SOIL LAYERS AND STRENGTH DATA           *"),
              std::string::npos);
    EXPECT_EQ(report.find("ERROR"), std::string::npos);

    const std::vector<std::string> b = PartB(run.Read("wall.kv5p"), 2);
    ASSERT_GE(b.size(), 1u + 5u * 34u);
    EXPECT_EQ(b[0], " 1 5");
    // Cut at 180 + 12 - 90 = 102 below H: curves at 0.1, 25.5, 51, 76.5, 101.9.
    EXPECT_EQ(b[1], "      90.10    33");
    EXPECT_EQ(b[1 + 34 * 4], "     191.90    33");
    for (int curve = 0; curve < 5; ++curve) {
        int zeros = 0;
        double previousY = -1e300;
        for (int m = 0; m < 33; ++m) {
            std::istringstream in(b[2 + 34 * curve + m]);
            double y = 0, p = 0;
            in >> y >> p;
            ASSERT_FALSE(in.fail()) << b[2 + 34 * curve + m];
            if (y == 0.0) ++zeros;
            EXPECT_GT(y, previousY);  // deflections ascend
            previousY = y;
            if (y != 0.0) {
                EXPECT_LT(y * p, 0.0) << curve << " " << m;  // resistance opposes y
            }
        }
        EXPECT_EQ(zeros, 1);
    }
}

TEST(GeneratedCurves, UserCurvesComeFirstWithStationHeads) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(SandWall(1)));
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
    EXPECT_NE(report.find("      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *"),
              std::string::npos);
    // The user curve's echo: side flag 0, multiplied points.
    const std::string echo = "\n" + std::string(11, ' ') + "10  0" + std::string(10, ' ') +
                             "0.200E+01     0.100E+01" + std::string(12, ' ') + "3\n";
    EXPECT_NE(report.find(echo), std::string::npos);
    const std::vector<std::string> b = PartB(run.Read("wall.kv5p"), 2);
    EXPECT_EQ(b[0], " 1 6");
    EXPECT_EQ(b[1], " 10 3");
    EXPECT_EQ(b[2], " -1 20");
    EXPECT_EQ(b[4], " 1 -20");
    EXPECT_EQ(b[5], " 15 33");  // generated: station of z = 90.1, free format
}

TEST(GeneratedCurves, WithoutEarthPressureTheSoilRecordsStillFeedTheGenerator) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(SandWall(0, 0)));
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
    const std::vector<std::string> lines = Lines(run.Read("wall.kv5p"));
    EXPECT_EQ(lines[0], " 0");  // part A
    EXPECT_EQ(lines[1], " 1 5");
}

TEST(GeneratedCurves, StiffClayWithoutCohesionEndsTheRun) {
    std::vector<std::string> data = SandWall(0);
    for (std::string& line : data) {
        if (line == "4 400 ") line = "2 400 ";
    }
    ScratchRun run;
    const std::string report = run.Run(DataFile(data));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(
        report.find("\n\n     ERROR STOP -- STIFF CLAY LAYER 1 NEEDS A COHESION ABOVE ZERO\n"),
        std::string::npos);
    EXPECT_NE(report.find("     END OF ANALYSIS"), std::string::npos);
}

// The bundled examples of the stiff clays, silt and rock: each runs to the
// end, its soil types echoed, its curves taken in, the iteration closed.
struct ExampleCase {
    const char* file;
    std::vector<const char*> soilLines;
    const char* curveHeading;
};

class SoilTypeExample : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(SoilTypeExample, RunsAndCloses) {
    const ExampleCase c = GetParam();
    std::ifstream in(std::string(KORVEL_EXAMPLES_DIR) + "/" + c.file, std::ios::binary);
    ASSERT_TRUE(in) << c.file;
    std::ostringstream data;
    data << in.rdbuf();
    ScratchRun run;
    const std::string report = run.Run(data.str());
    EXPECT_EQ(run.status, 0) << run.errors;
    for (const char* line : c.soilLines) {
        EXPECT_NE(report.find(std::string("\n         ") + line + "\n"), std::string::npos) << line;
    }
    EXPECT_NE(report.find(c.curveHeading), std::string::npos);
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
    EXPECT_EQ(report.find("NOT CLOSED"), std::string::npos);
    EXPECT_EQ(report.find("OFF Q - W CURVES"), std::string::npos);
    EXPECT_EQ(report.find("MAX ALLOWABLE DEFLECTION EXCEEDED"), std::string::npos);
    EXPECT_NE(report.find("     END OF ANALYSIS"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SoilTypeExample,
    ::testing::Values(
        ExampleCase{"stiff_clay_water_english.kv5d",
                    {"THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE",
                     "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE"},
                    "CAVG    GAMMA AVG      E50"},
        ExampleCase{"silt_soldier_piles_si.kv5d", {"THE SOIL IS A SILT"}, "Puc       Pu\xED"},
        ExampleCase{"weak_rock_socket_english.kv5d", {"THE LAYER IS WEAK ROCK"}, " Eu "},
        ExampleCase{"strong_rock_english.kv5d", {"THE LAYER IS ROCK"}, "DEPTH-BACKFILL SIDE  "}));

TEST(GeneratedCurves, SoftClayWithoutCohesionIsRefused) {
    // Cohesion 0 at the top of the clay and 10 at its bottom.
    std::vector<std::string> data = SandWall(0);
    for (std::string& line : data) {
        if (line == "4 400 ") line = "1 400 ";
        if (line == "0.066 0.0  32 0.0  90 0.0  ") line = "0.066 0 0.0  0.01 0 0.0  ";
    }
    data[data.size() - 2] = "0.066 10 0.0  0.01 0 0.0  ";
    ScratchRun run;
    const std::string report = run.Run(DataFile(data));
    EXPECT_NE(report.find("     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS A COHESION ABOVE ZERO"),
              std::string::npos);
}

}  // namespace
}  // namespace korvel::engine
