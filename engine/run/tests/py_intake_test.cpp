// Whole runs with generated p-y curves: the curve file read back, plot-file
// part B, the curves' shape, user curves ahead of the generated ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

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

// SandWall with its one layer replaced: soil type, top and bottom property
// lines, and the widths Wa and Wp of GEOMETRY.
std::vector<std::string> OneLayerWall(const std::string& type, const std::string& top,
                                      const std::string& bottom, const std::string& widths) {
    std::vector<std::string> data = SandWall(0);
    for (std::string& line : data) {
        if (line == "90\t48\t12\t600\t600\t1\t1\t0") line = "90\t" + widths + "\t600\t600\t1\t1\t0";
    }
    const auto layer = std::find(data.begin(), data.end(), "4 400 ");
    *layer = type + " 400 ";
    *(layer + 1) = top;
    *(layer + 2) = bottom;
    return data;
}

// Clays are generated wherever their formulas are defined at the curve
// depths; a refusal names the layer and the depth of the curve. The input
// layer runs from H = 90 in to 400 in (x = 0 to 310), cut at x = 102; the
// curves lie at x = 0.1, 25.5, 51, 76.5 and 101.9 (depths 90.10 to 191.90).
struct ClayCase {
    const char* name;
    const char* type;
    const char* top;
    const char* bottom;
    const char* widths;    // Wa, Wp
    const char* expected;  // a report line, or "" for a run without error
};

class ClayStrength : public ::testing::TestWithParam<ClayCase> {};

TEST_P(ClayStrength, RunsWhereTheFormulasAreDefined) {
    const ClayCase& c = GetParam();
    ScratchRun run;
    const std::string report = run.Run(DataFile(OneLayerWall(c.type, c.top, c.bottom, c.widths)));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(report.find("     END OF ANALYSIS"), std::string::npos);
    if (*c.expected == '\0') {
        EXPECT_EQ(report.find("ERROR"), std::string::npos) << report.substr(report.rfind("ERROR"));
        EXPECT_NE(report.find("P-Y CURVES DATA"), std::string::npos);
    } else {
        EXPECT_NE(report.find(std::string("\n\n") + c.expected + "\n"), std::string::npos)
            << c.expected;
    }
}

INSTANTIATE_TEST_SUITE_P(
    GeneratedCurves, ClayStrength,
    ::testing::Values(
        ClayCase{"SoftClayRisingFromZero", "1", "0.066 0 0.0  0.01 90 0.0  ",
                 "0.066 10 0.0  0.01 90 0.0  ", "48\t12", ""},
        ClayCase{"StiffClayBelowWaterRisingFromZero", "2", "0.066 0 0.0  0.005 90 0.0  ",
                 "0.066 10 0.0  0.005 90 0.0  ", "48\t12", ""},
        ClayCase{"StiffClayAboveWaterRisingFromZero", "3", "0.066 0 0.0  0.005 90 0.0  ",
                 "0.066 10 0.0  0.005 90 0.0  ", "48\t12", ""},
        ClayCase{"SoftClayWithoutCohesionAsAContinuousWall", "1", "0.066 0 0.0  0.01 90 0.0  ",
                 "0.066 0 0.0  0.01 90 0.0  ", "12\t12", ""},
        ClayCase{"SoftClayWithoutCohesionWhereTheWedgeDividesByIt", "1",
                 "0.066 0 0.0  0.01 90 0.0  ", "0.066 0 0.0  0.01 90 0.0  ", "48\t12",
                 "     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS A COHESION ABOVE ZERO AT DEPTH 90.10 "
                 "IN"},
        // 10 psi at the top, -40 at x = 310: zero at x = 62, so the fourth curve
        // (x = 76.5, c = -2.34) is the first without cohesion.
        ClayCase{"SoftClayFallingBelowZero", "1", "0.066 10 0.0  0.01 90 0.0  ",
                 "0.066 -40 0.0  0.01 90 0.0  ", "48\t12",
                 "     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS A COHESION ABOVE ZERO AT DEPTH 166.50 "
                 "IN"},
        ClayCase{"StiffClayWithANegativeCohesion", "3", "0.066 -1 0.0  0.005 90 0.0  ",
                 "0.066 -1 0.0  0.005 90 0.0  ", "48\t12",
                 "     ERROR STOP -- STIFF CLAY LAYER 1 NEEDS A COHESION NOT BELOW ZERO AT DEPTH "
                 "90.10 IN"},
        ClayCase{"SoftClayWithoutE50", "1", "0.066 10 0.0  0 90 0.0  ", "0.066 10 0.0  0 90 0.0  ",
                 "48\t12", "     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS AN E50 ABOVE ZERO"}),
    [](const ::testing::TestParamInfo<ClayCase>& i) { return std::string(i.param.name); });

TEST(GeneratedCurves, ClayRisingFromZeroPrintsTheCohesionAtTheCurve) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(
        OneLayerWall("1", "0.066 0 0.0  0.01 90 0.0  ", "0.066 10 0.0  0.01 90 0.0  ", "48\t12")));
    // Depth used, width, and c = 10 * 0.1/310 at the first curve, as
    // (8X, F10.2, 6X, F10.3, 1X, D10.4, ...).
    EXPECT_NE(report.find("\n              0.10          12.000 0.3226D-02 "), std::string::npos);
}

// A sand without friction, entered as 0 degrees: every point lies on the
// initial line p = k x y, with k = 90 lbs/in^3 and x the depth used (x below
// the excavation on that side, 90 + x on the backfill side). No active shift:
// a user pressure table leaves no overburden and no base pressure.
TEST(GeneratedCurves, SandWithoutFrictionFollowsTheInitialLine) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(
        OneLayerWall("4", "0.066 0.0  0 0.0  90 0.0  ", "0.066 0.0  0 0.0  90 0.0  ", "48\t12")));
    ASSERT_EQ(report.find("ERROR"), std::string::npos);
    std::ifstream in(run.Path("soildata"));
    ASSERT_TRUE(in);
    int count = 0;
    in >> count;
    ASSERT_EQ(count, 5);
    const double depths[] = {0.1, 25.5, 51.0, 76.5, 101.9};
    for (double x : depths) {
        double z = 0;
        int points = 0;
        in >> z >> points;
        EXPECT_NEAR(z, 90.0 + x, 1e-9);
        ASSERT_EQ(points, 34);
        for (int side = 0; side < 2; ++side) {
            const double kx = 90.0 * (side == 0 ? x : 90.0 + x);
            for (int k = 1; k <= 17; ++k) {
                int number = 0;
                double p = 0, y = 0;
                in >> number >> p >> y;
                ASSERT_EQ(number, k);
                // Both values come back through E10.3: half a unit in their last digits.
                auto half = [](double v) {
                    return v == 0.0 ? 1e-300
                                    : 0.5 * std::pow(10.0, std::floor(std::log10(std::abs(v))) - 2);
                };
                EXPECT_NEAR(p, kx * y, (half(p) + kx * half(y)) * (1 + 1e-9))
                    << "x " << x << " side " << side << " point " << k;
            }
        }
    }
}

// A layer must reach below the one above it. A bottom equal to the one above
// (no thickness) or above it (going back up) is a data error naming the
// layer, with the triangular pressure generated (which would otherwise stop
// on a profile cut short) and with a user pressure table (which would
// otherwise generate curves going back up).
struct LayerCase {
    const char* name;
    int earthPressureOption;
    std::vector<std::string> layers;  // SOILS count, then LAYER and LAYERPROPS lines
    const char* error;
};

class LayerDepths : public ::testing::TestWithParam<LayerCase> {};

TEST_P(LayerDepths, AreRefusedNamingTheLayer) {
    const LayerCase& c = GetParam();
    std::vector<std::string> data = SandWall(0, c.earthPressureOption);
    const auto soils = std::find(data.begin(), data.end(), "1");
    ASSERT_NE(soils, data.end());
    const auto afterLayer = data.erase(soils, soils + 4);
    data.insert(afterLayer, c.layers.begin(), c.layers.end());
    ScratchRun run;
    const std::string report = run.Run(DataFile(data));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(report.find(std::string("\n\n") + c.error + "\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("EXCAVATION LEVEL"), std::string::npos);
    EXPECT_EQ(report.find("P-Y CURVES DATA"), std::string::npos);
    const std::vector<std::string> lines = Lines(report);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("     END OF ANALYSIS", 0), 0u) << lines.back();
}

const std::string kSand = "0.066 0.0  32 0.0  90 0.0  ";

INSTANTIATE_TEST_SUITE_P(
    GeneratedCurves, LayerDepths,
    ::testing::Values(
        LayerCase{"NoThicknessWithGeneratedPressure",
                  2,
                  {"3", "4 60 ", kSand, kSand, "4 60 ", kSand, kSand, "4 400 ", kSand, kSand},
                  "     ERROR STOP -- SOIL LAYER 2 HAS NO THICKNESS: ITS BOTTOM IS AT THE BOTTOM "
                  "OF THE LAYER ABOVE"},
        LayerCase{"GoingBackUpWithUserPressure",
                  1,
                  {"3", "4 200 ", kSand, kSand, "4 150 ", kSand, kSand, "4 400 ", kSand, kSand},
                  "     ERROR STOP -- SOIL LAYER 2 GOES BACK UP: ITS BOTTOM IS ABOVE THE BOTTOM OF "
                  "THE LAYER ABOVE"},
        LayerCase{"FirstLayerAtTheSurface",
                  2,
                  {"2", "4 0 ", kSand, kSand, "4 400 ", kSand, kSand},
                  "     ERROR STOP -- SOIL LAYER 1 HAS NO THICKNESS: ITS BOTTOM IS AT THE TOP OF "
                  "THE BACKFILL"}),
    [](const ::testing::TestParamInfo<LayerCase>& i) { return std::string(i.param.name); });

// Other units take the unit labels as they were last chosen: the curve
// generator of the first section chose English labels (it gives +1 for any
// unit system but SI), so the second section, also in other units, carries on
// with them; the first section's echo, before the generator ran, has the
// generic labels.
TEST(GeneratedCurves, OtherUnitsCarryOnWithTheGeneratorsLabels) {
    std::vector<std::string> data = SandWall(0);
    data[1] = "3 0\t1\t0\t1\t2 0 1 0 0";
    data.back() = "9";
    data.insert(data.end(), {"Second", "3 0\t1\t0\t0\t0 0 1 0 0", "30 6\t10\t1E-5\t90\t12",
                             "0\t30\t1\t5.336E9", "0", "0", "0"});
    ScratchRun run;
    const std::string report = run.Run(DataFile(data));
    ASSERT_EQ(report.find("ERROR"), std::string::npos);
    const std::string line = "      INCREMENT LENGTH                                   =   6.000";
    const size_t first = report.find(line);
    ASSERT_NE(first, std::string::npos);
    const size_t second = report.find(line, first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(report.substr(first + line.size(), 4), "  L\n");
    EXPECT_EQ(report.substr(second + line.size(), 4), " IN\n");
}

// The trapezoidal envelope over the supports the data file gives: SPRINGS
// rows and tiebacks as one list, counted and located alike. H = 90 in.
// A spring at station 5 (30 in) alone: h1 = 20, level to hl = 30 + 20 = 50,
// falling over h3 = 40. The same spring above a tieback at 6 ft (station 12,
// 72 in): h1 = 20, h3 = 2 (90 - 72)/3 = 12, level from 20 to hl = 78.
// Ratios of the totals in the pressure file to the level part (PAPP).
struct EnvelopeCase {
    const char* name;
    int tiebacks;
    std::vector<std::pair<double, double>> shares;  // depth, share of PAPP
};

class TrapezoidFromTheDataFile : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(TrapezoidFromTheDataFile, CoversSpringsAndTiebacksAlike) {
    const EnvelopeCase& c = GetParam();
    std::vector<std::string> data = SandWall(0, 3);
    data[1] = "1 0\t1\t0\t3\t2 0 1 0 " + std::to_string(c.tiebacks);
    data[5] = "1";
    std::vector<std::string> rows = {"5\t5\t1\t1000\t0"};
    if (c.tiebacks == 1) rows.push_back("6\t0.5\t29000000\t20\t15\t8");
    data.insert(data.begin() + 6, rows.begin(), rows.end());
    ScratchRun run;
    const std::string report = run.Run(DataFile(data));
    ASSERT_EQ(report.find("ERROR"), std::string::npos);
    EXPECT_EQ(report.find("WARNING -- TRAPEZOIDAL"), std::string::npos);

    std::ifstream in(run.Path("bmwall.001"));
    ASSERT_TRUE(in);
    int n = 0;
    in >> n;
    std::map<long, double> total;  // by whole inch
    for (double z, t, soils, surcharges; in >> z >> t >> soils >> surcharges;) {
        total.emplace(std::lround(z), t);
    }
    const double papp = total.at(std::lround(c.shares.front().first));
    for (const auto& [z, share] : c.shares) {
        EXPECT_NEAR(total.at(std::lround(z)) / papp, share, 0.01) << z;
    }
}

INSTANTIATE_TEST_SUITE_P(
    GeneratedPressure, TrapezoidFromTheDataFile,
    ::testing::Values(
        EnvelopeCase{"ASpringInPlaceOfATieback",
                     0,
                     {{30.0, 1.0}, {10.0, 0.5}, {20.0, 1.0}, {50.0, 1.0}, {70.0, 0.5}}},
        EnvelopeCase{"ASpringAboveATieback",
                     1,
                     {{40.0, 1.0}, {10.0, 0.5}, {20.0, 1.0}, {78.0, 1.0}, {84.0, 0.5}}}),
    [](const ::testing::TestParamInfo<EnvelopeCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace korvel::engine
