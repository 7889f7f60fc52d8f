// Whole runs on small data files: the report's echo of the input, the
// station data it builds, and the errors that end a run.
#include "run/input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::Lines;
using testing::ScratchRun;

// English units: two restraints, two stiffness rows, a load, a spring and a tieback.
const std::vector<std::string> kEnglishWall = {
    "Test wall",
    "1 2\t2\t0\t0\t0 0 1 0 1",
    "10 12\t10\t1E-5\t60\t12",
    "3\t0\t0\t0",
    "1\t10\t0.5\t0",
    "0\t5\t1\t1000",
    "5\t10\t1\t2000",
    "1",
    "1\t3\t3\t100\t0\t50",
    "1",
    "10\t10\t1\t500\t0",
    "10\t0.5\t29000000\t20\t15\t8",
    "0",
};

// Lines of `report` starting at the first line equal to `from`.
std::vector<std::string> LinesFrom(const std::string& report, const std::string& from,
                                   size_t count) {
    const auto lines = Lines(report);
    auto it = std::find(lines.begin(), lines.end(), from);
    if (it == lines.end()) return {};
    const size_t start = it - lines.begin();
    return {lines.begin() + start, lines.begin() + std::min(lines.size(), start + count)};
}

TEST(ProblemInput, EchoesControlWallAndRestraints) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(kEnglishWall));
    const std::string stars = "      " + std::string(50, '*');
    const std::vector<std::string> expected = {
        stars,
        "      *        PROGRAM CONTROL PARAMETERS              *",
        stars,
        "",
        "      NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  2",
        "      NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      =  2",
        "      GENERATE EARTH PRESSURE INTERNALLY                 =  0",
        "      GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  0",
        "      NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  0",
        "      NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  0",
        "      NUMBER OF INCREMENTS                               =  10",
        "      INCREMENT LENGTH                                   =  12.000 IN",
        "      FREE HEIGHT OF WALL                                =  60.000 IN",
        "      MAXIMUM ALLOWABLE DEFLECTION                       =  10.000 IN",
        "      DEFLECTION CLOSURE TOLERANCE                       = 0.00001 IN",
        "",
        "",
        stars,
        "      *        SPECIFIED DEFLECTIONS AND SLOPES        *",
        stars,
        "",
        "          STA      CASE       DEFLECTION        SLOPE",
        "",
        "            0        3         0.000E+00      0.000E+00",
        "           10        1         0.500E+00         NONE",
    };
    EXPECT_EQ(LinesFrom(report, stars, expected.size()), expected);
    EXPECT_EQ(run.status, 0);
}

TEST(ProblemInput, EchoesStationDataWithUnitsAndHeldStiffness) {
    ScratchRun run;
    const std::string report = run.Run(DataFile(kEnglishWall));
    const std::string z = " 0.000E+00";
    const std::vector<std::string> expected = {
        "      *        STIFFNESS AND LOAD DATA                 *",
        "      " + std::string(50, '*'),
        "      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,",
        "      S - STIFFNESS OF TRANSVERSE RESISTANCE,",
        "      T - TORQUE,              P - AXIAL LOAD,",
        "      R - STIFFNESS OF TORSIONAL RESISTANCE.",
        "",
        "     FROM TO CONTD     EI         Q        S'        T         R         P",
        "",
        "                   LBS-IN**2     LBS     LBS/IN    IN-LBS   IN-LBS     LBS",
        "        0   5  0  0.100E+04" + z + z + z + z + z,
        "        5  10  0  0.200E+04" + z + z + z + z + z,
        // the load row prints the stiffness held at its station, and P as read
        "        3   3  0  0.100E+04 0.100E+03" + z + z + z + " 0.500E+02",
        "       10  10  0  0.100E+04" + z + " 0.500E+03" + z + z + z,
        // tieback at 10 ft with h = 12 in: station 10
        "       10  10  0  0.100E+04" + z + " 0.729E+04" + z + z + z,
    };
    EXPECT_EQ(LinesFrom(report, expected.front(), expected.size()), expected);
}

TEST(ProblemInput, ReportEndsWithEndOfAnalysis) {
    ScratchRun run;
    const auto lines = Lines(run.Run(DataFile(kEnglishWall)));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.back(), "     END OF ANALYSIS" + std::string(29, ' '));
}

TEST(ProblemInput, TiebackStation) {
    struct Case {
        int unitSystem;
        double depth, h;
        int station;
    };
    for (const Case& c : {Case{1, 10.0, 12.0, 10}, Case{2, 3.0, 0.5, 6}, Case{2, 0.75, 0.5, 2},
                          Case{3, 5.0, 2.0, 3}}) {
        Problem p;
        p.unitSystem = c.unitSystem;
        p.h = c.h;
        p.Wa = 1.0;
        Tieback t{c.depth, 1.0, 1.0, 1.0, 0.0, 1.0};
        EXPECT_EQ(TiebackToSpring(t, p).station, c.station)
            << "units " << c.unitSystem << " depth " << c.depth;
    }
}

TEST(ProblemInput, TiebackStiffness) {
    // A E cos(a) / ((s / Wa) L); English lengths and spacing in feet.
    Problem p;
    p.unitSystem = 2;
    p.h = 0.5;
    p.Wa = 1.0;
    Tieback t{3.0, 0.001, 2.0e8, 5.0, 0.0, 2.0};
    EXPECT_DOUBLE_EQ(TiebackToSpring(t, p).stiffness, 0.001 * 2.0e8 / (2.0 * 5.0));
    p.unitSystem = 1;
    p.h = 12.0;
    p.Wa = 12.0;
    t = {10.0, 0.5, 29.0e6, 20.0, 60.0, 8.0};
    const double cosine = std::cos(60.0 * 3.1416 / 180.0);
    EXPECT_NEAR(TiebackToSpring(t, p).stiffness,
                0.5 * 29.0e6 * cosine / ((12.0 * 8.0 / 12.0) * (12.0 * 20.0)), 1e-9);
}

// Each case ends the run with its message and then "END OF ANALYSIS".
TEST(ProblemInput, ErrorsEndTheRun) {
    struct Case {
        const char* name;
        std::vector<std::string> data;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"restraint stations decreasing",
         {"t", "1 2\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "1\t5\t0\t0", "1\t4\t0\t0",
          "0\t10\t1\t1000", "0", "0", "0"},
         "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"restraint below station -1",
         {"t", "1 1\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "1\t-2\t0\t0",
          "0\t10\t1\t1000", "0", "0", "0"},
         "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"21 restraints",
         {"t", "1 21\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12"},
         "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"data beyond the end",
         {"t", "1 0\t2\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "0\t10\t1\t1000",
          "11\t11\t1\t5", "0", "0", "0"},
         "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
        {"stiffness row to before from",
         {"t", "1 0\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "10\t0\t1\t1000", "0", "0",
          "0"},
         "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"letters in a number",
         {"t", "1 0\t1\t0\t0\t0 0 1 0 0", "10 twelve\t10\t1E-5\t60\t12"},
         "     ERROR STOP -- INVALID NUMBER 'twelve' IN RECORD WALL"},
        {"file cut short",
         {"t", "1 0\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "0\t10\t1"},
         "     ERROR STOP -- END OF FILE IN RECORD STIFFNESS"},
        {"no increments",
         {"t", "1 0\t1\t0\t0\t0 0 1 0 0", "0 0\t10\t1E-5\t60\t12"},
         "     ERROR STOP -- INCREMENTS AND INCREMENT LENGTH MUST BE POSITIVE"},
        {"too many increments",
         {"t", "1 0\t1\t0\t0\t0 0 1 0 0", "408 1\t10\t1E-5\t60\t12"},
         "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"moment-EI curve of one point",
         {"t", "1 0\t1\t0\t0\t0 0 1 1 0", "10 12\t10\t1E-5\t60\t12", "0\t10\t1\t1000", "0", "0",
          "0\t10\t1", "1\t1000", "0"},
         "     ERROR STOP -- MOMENT-EI CURVE WITH FEWER THAN TWO POINTS"},
        {"announced section missing",
         {"t", "1 0\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "0\t10\t1\t1000", "0", "0",
          "9"},
         "     ERROR STOP -- END OF FILE IN RECORD TITLE"},
    };
    for (const Case& c : cases) {
        ScratchRun run;
        const auto lines = Lines(run.Run(DataFile(c.data)));
        EXPECT_EQ(run.status, 0) << c.name;
        auto it = std::find(lines.begin(), lines.end(), c.message);
        ASSERT_NE(it, lines.end()) << c.name;
        // Nothing but empty lines between the message and the end.
        EXPECT_TRUE(std::all_of(it + 1, lines.end() - 1, [](const std::string& l) {
            return l.empty();
        })) << c.name;
        EXPECT_EQ(lines.back().substr(0, 20), "     END OF ANALYSIS") << c.name;
    }
}

TEST(ProblemInput, MissingDataFileIsReportedNotCrashed) {
    ScratchRun run;
    run.WriteControlFile();
    std::ostringstream err;
    EXPECT_EQ(RunAnalysis(run.folder(), err), 0);
    EXPECT_NE(err.str().find("CANNOT OPEN THE INPUT DATA FILE"), std::string::npos);
    EXPECT_NE(run.Read("wall.kv5o").find("END OF ANALYSIS"), std::string::npos);
}

TEST(ProblemInput, ShortControlFileWritesTheMessageAndNoFile) {
    ScratchRun run;
    run.WriteFile("NAMES.DAT",
                  "2015.5.1\r\nA\r\nB\r\n0\r\n" + run.Path("wall.kv5d").string() + "\r\n");
    std::ostringstream err;
    EXPECT_EQ(RunAnalysis(run.folder(), err), 0);
    EXPECT_EQ(err.str(),
              " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n"
              " BEFORE COMPUTATION.  TRY IT AGAIN!\n");
    EXPECT_FALSE(std::filesystem::exists(run.Path("wall.kv5o")));
}

}  // namespace
}  // namespace korvel::engine
