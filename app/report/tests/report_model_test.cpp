// The output report read back for the calculation report, and the tieback
// forces, against hand-made reports and hand calculations.
#include <gtest/gtest.h>

#include "report/calc_report.h"
#include "report/report_reader.h"

namespace korvel {
namespace {

// A report of two sections in SI units, laid out as the engine writes it: the
// second section did not close and carries a warning.
const char* const kTwoSections =
    "                          Time and Date of Analysis\n"
    "\n"
    "               Date:  December 10, 2026     Time:  05:09:49\n"
    "\n"
    "      Cut in clay                                       \n"
    "\n"
    "     RESULTS -- ITERATION  4\n"
    "     --------------------\n"
    "\n"
    "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI \n"
    "              M           M                    KN- M         KN          KN        KN- M**2\n"
    "   ------    ----        ----       -----      ------      ------    ---------    ----------\n"
    "     0   0.000E+00   0.104E+00  -0.159E-01   0.000E+00   0.000E+00   0.000E+00   0.225E+05\n"
    "     1   0.250E+00  -0.120E+00  -0.159E-01  -0.141E+03   0.188E+00   0.375E+00   0.450E+05\n"
    "     2   0.500E+00   0.960E-01  -0.159E-01   0.938E-01  -0.558E+02  -0.750E+00   0.450E+05\n"
    "\n"
    "                          Time and Date of Analysis\n"
    "\n"
    "               Date:  December 10, 2026     Time:  05:09:49\n"
    "\n"
    "      Long Term : Cut in clay\n"
    "\n"
    "                             **** WARNING ****\n"
    "     THE VALUE OF X = 0.12E+02 IS BELOW THE LAYER\n"
    "\n"
    "     RESULTS -- ITERATION100\n"
    "     --------------------\n"
    "\n"
    "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  12  *** STATIONS *****\n"
    "\n"
    "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n"
    "\n"
    "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI \n"
    "              M           M                    KN- M         KN          KN        KN- M**2\n"
    "   ------    ----        ----       -----      ------      ------    ---------    ----------\n"
    "     0   0.000E+00   0.500E+00   0.000E+00   0.000E+00   0.000E+00   0.000E+00   0.225E+05\n"
    "\n"
    "\n"
    "\n"
    "     END OF ANALYSIS                             \n";

TEST(ReportReader, SectionsEndingsUnitsAndMaxima) {
    const TReportRun run = ParseReport(QString::fromLatin1(kTwoSections));
    ASSERT_TRUE(run.Complete);
    ASSERT_EQ(run.Sections.size(), 2u);
    const TReportSection& a = run.Sections[0];
    EXPECT_EQ(a.Heading, QStringLiteral("Cut in clay"));
    EXPECT_EQ(a.Iterations, 4);
    EXPECT_TRUE(a.Closed);
    EXPECT_EQ(a.Rows.size(), 3u);
    EXPECT_EQ(a.Units.Length, QStringLiteral("M"));
    EXPECT_EQ(a.Units.Moment, QStringLiteral("KN- M"));
    EXPECT_EQ(a.Units.Shear, QStringLiteral("KN"));
    EXPECT_EQ(a.Units.Stiffness, QStringLiteral("KN- M**2"));
    // Largest in magnitude keeps its sign; the depth is that of its station.
    EXPECT_DOUBLE_EQ(MaxDeflection(a).Value, -0.120);
    EXPECT_DOUBLE_EQ(MaxDeflection(a).Depth, 0.25);
    EXPECT_DOUBLE_EQ(MaxMoment(a).Value, -141.0);
    EXPECT_DOUBLE_EQ(MaxShear(a).Value, -55.8);
    EXPECT_DOUBLE_EQ(MaxShear(a).Depth, 0.5);
    EXPECT_DOUBLE_EQ(MaxReaction(a).Value, -0.75);
    EXPECT_EQ(SolutionEnding(a), QStringLiteral("closed after 4 iterations"));

    const TReportSection& b = run.Sections[1];
    EXPECT_EQ(b.Iterations, 100);
    EXPECT_FALSE(b.Closed);
    EXPECT_EQ(b.ExceededStations, 12);
    ASSERT_EQ(b.Warnings.size(), 1);
    EXPECT_EQ(b.Warnings[0],
              QStringLiteral("**** WARNING **** THE VALUE OF X = 0.12E+02 IS BELOW THE LAYER"));
    EXPECT_EQ(SolutionEnding(b),
              QStringLiteral("not closed within the tolerance after 100 iterations; maximum "
                             "allowable deflection exceeded at 12 stations"));
    EXPECT_TRUE(run.FirstError().isEmpty());
}

TEST(ReportReader, ErrorEndsTheRunWithoutResults) {
    const QString text = QStringLiteral(
        "                          Time and Date of Analysis\n\n"
        "      Wall\n\n"
        "     ERROR STOP -- STATIONS NOT IN ORDER\n\n\n\n"
        "     END OF ANALYSIS                             \n");
    const TReportRun run = ParseReport(text);
    ASSERT_EQ(run.Sections.size(), 1u);
    EXPECT_FALSE(run.Sections[0].HasResults);
    EXPECT_EQ(run.FirstError(), QStringLiteral("ERROR STOP -- STATIONS NOT IN ORDER"));
    const auto sections = SummariseSections(run, {}, false);
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_TRUE(sections[0].Maxima.Empty());
    EXPECT_TRUE(sections[0].Stations.Empty());
}

TEST(ReportReader, MaximaRowsGiveBothExtremesWithTheirDepths) {
    const TReportRun run = ParseReport(QString::fromLatin1(kTwoSections));
    const auto sections = SummariseSections(run, {}, false);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].Heading, QStringLiteral("Short-term analysis"));
    EXPECT_EQ(sections[1].Heading, QStringLiteral("Long-term analysis"));
    const auto& m = sections[0].Maxima.Rows;
    ASSERT_EQ(m.size(), 4u);
    // Quantity, unit, largest positive and its depth, largest negative and its depth.
    EXPECT_EQ(m[0], (QStringList{"Deflection", "m", "0.104", "0", "-0.12", "0.25"}));
    EXPECT_EQ(m[1], (QStringList{"Bending moment", "kN-m", "0.0938", "0.5", "-141", "0.25"}));
    EXPECT_EQ(m[2], (QStringList{"Shear", "kN", "0.188", "0.25", "-55.8", "0.5"}));
    EXPECT_EQ(m[3], (QStringList{"Net reaction per station (NET REACT/STA)", "kN", "0.375", "0.25",
                                 "-0.75", "0.5"}));
    EXPECT_EQ(sections[0].Stations.Rows.size(), 3u);
    EXPECT_TRUE(sections[0].Problems.isEmpty());
    // The long-term section did not close and exceeded the allowed deflection.
    ASSERT_EQ(sections[1].Problems.size(), 2);
    EXPECT_TRUE(sections[1].Problems[0].startsWith("The solution did not close"));
    EXPECT_TRUE(sections[1].Problems[1].startsWith(
        "The maximum allowable deflection was exceeded at 12 stations"));
}

TEST(ReportReader, DateAndTimeOfTheAnalysis) {
    const TReportRun run = ParseReport(QString::fromLatin1(kTwoSections));
    ASSERT_EQ(run.Sections.size(), 2u);
    EXPECT_EQ(run.Sections[0].Analysed, QStringLiteral("December 10, 2026, 05:09:49"));
}

// Below the excavation (free height 0.25 m, h = 0.25 m: stations 2 on) the net
// reaction is the soil's alone; the tieback at station 1 pulls above it.
TEST(ReportReader, SoilReactionBelowTheExcavationLeavesTheAnchorOut) {
    const TReportRun run = ParseReport(QString::fromLatin1(kTwoSections));
    TInputSummary in;
    in.UnitSystem = 2;
    in.IncrementLength = 0.25;
    in.FreeHeight = 0.25;
    in.Wa = 1;
    in.Tiebacks.push_back({0.25, 0.001, 2e8, 10, 0, 2});
    const auto sections = SummariseSections(run, {in}, false);
    const auto& m = sections[0].Maxima.Rows;
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[4], (QStringList{"Soil reaction per station below the excavation", "kN", "–", "–",
                                 "-0.75", "0.5"}));
    // The tieback's force, from the deflection of -0.12 m at its station:
    // 0.001 * 2e8 / ((2 / 1) * 10) = 10000 kN/m.
    ASSERT_EQ(sections[0].TiebackForces.Rows.size(), 1u);
    EXPECT_EQ(sections[0].TiebackForces.Rows[0],
              (QStringList{"1", "1", "0.25", "-0.12", "-1.2E3", "-2.4E3"}));
}

// English reports are shown in ft, in, kip-in and kips, as the graphs are; a
// moment of -6.43E-11 beside 87.9 kip-in is zero at print precision.
TEST(ReportReader, EnglishResultsInFeetInchesKipsAndZeroAtPrintPrecision) {
    const char* const english =
        "                          Time and Date of Analysis\n\n"
        "      Wall\n\n"
        "     RESULTS -- ITERATION  2\n"
        "     --------------------\n\n"
        "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI \n"
        "             IN          IN                   LBS-IN        LBS         LBS       "
        "LBS-IN**2\n"
        "   ------    ----        ----       -----      ------      ------    ---------    "
        "----------\n"
        "     0   0.000E+00   0.186E+01  -0.862E-02  -0.643E-10   0.000E+00   0.000E+00   "
        "0.267E+10\n"
        "     1   0.600E+01   0.180E+01  -0.862E-02   0.879E+05   0.437E+04   0.875E+01   "
        "0.534E+10\n"
        "\n\n\n     END OF ANALYSIS\n";
    const TReportRun run = ParseReport(QString::fromLatin1(english));
    const auto sections = SummariseSections(run, {}, false);
    ASSERT_EQ(sections.size(), 1u);
    const auto& m = sections[0].Maxima.Rows;
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ(m[0], (QStringList{"Deflection", "in", "1.86", "0", "–", "–"}));
    EXPECT_EQ(m[1], (QStringList{"Bending moment", "kip-in", "87.9", "0.5", "–", "–"}));
    const auto& rows = sections[0].Stations.Rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][4], QStringLiteral("0"));
    EXPECT_EQ(rows[1],
              (QStringList{"1", "0.5", "1.8", "-0.00862", "87.9", "4.37", "0.00875", "5.34E6"}));
    EXPECT_EQ(sections[0].Stations.Header[1], (QStringList{"Depth x", "ft"}));
}

// The tied-back example's table: 0 at the top, 35.6 kN/m from 6 m to 10 m, on
// 0.2 m increments. At 2 m: 35.6 * 2 / 6 = 11.867 kN/m, times h: 2.3733 kN; from
// 6 m on 7.12 kN; below the table's last row (station 51) nothing.
TEST(PressureLoads, AsTheEngineAppliesAUserTable) {
    const TPressureRows rows = {{0, 0}, {6, 35.6}, {10, 35.6}};
    EXPECT_DOUBLE_EQ(PressureLoad(rows, 0.2, 0), 0);
    EXPECT_NEAR(PressureLoad(rows, 0.2, 10), 35.6 * 2 / 6 * 0.2, 1e-12);
    EXPECT_NEAR(PressureLoad(rows, 0.2, 30), 7.12, 1e-12);
    EXPECT_NEAR(PressureLoad(rows, 0.2, 45), 7.12, 1e-12);
    EXPECT_NEAR(PressureLoad(rows, 0.2, 50), 7.12, 1e-12);
    EXPECT_DOUBLE_EQ(PressureLoad(rows, 0.2, 51), 0);
    // The plot file's rows are what the report reads.
    const std::vector<TPressureRows> sets = ParsePressureSets(
        " 3\n 0.000E+00 0.000E+00 0.100E-06 0.000E+00\n 0.600E+01 0.356E+02 0.356E+02 0\n"
        " 0.100E+02 0.356E+02 0.356E+02 0\n 2 0\n 1 2 2\n 0 0 0 0 0\n 0.2 0 0 0 0\n");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0], rows);
}

// English units: a tieback 10 ft down on a wall of 6 in increments goes to station
// 20; A = 2 in^2, E = 29e6 psi, unbonded 20 ft, horizontal, at 8 ft on a 12 in
// wide wall. Spring 2 * 29e6 / ((96 / 12) * 240) = 30208.33 lbs/in; at 0.1 in it
// pushes 3020.83 lbs on the wall. One anchor carries the wall's share of 8 ft:
// 3020.83 * 8 = 24166.7 lbs, which is A E y / L = 2 * 29e6 * 0.1 / 240.
TEST(TiebackForces, SpringTimesDeflectionAtItsStation) {
    TInputSummary in;
    in.UnitSystem = 1;
    in.IncrementLength = 6;
    in.Wa = 12;
    const TTiebackInput t{10, 2, 29e6, 20, 0, 8};
    TReportSection s;
    for (int k = 0; k <= 30; ++k)
        s.Rows.push_back({k, 6.0 * k, k == 20 ? 0.1 : 0.5, 0, 0, 0, 0, 0});
    const TTiebackForce f = TiebackForce(t, in, s);
    EXPECT_EQ(f.Station, 20);
    EXPECT_DOUBLE_EQ(f.Deflection, 0.1);
    EXPECT_NEAR(f.Lateral, 3020.8333, 1e-3);
    EXPECT_NEAR(f.AlongRod, 2 * 29e6 * 0.1 / 240, 1e-6);
}

// SI: 3 m down, h = 0.5 m: station 6; at 30 degrees the spring loses cos(30).
TEST(TiebackForces, InclinedInSIUnits) {
    TInputSummary in;
    in.UnitSystem = 2;
    in.IncrementLength = 0.5;
    in.Wa = 1;
    const TTiebackInput t{3, 0.001, 2e8, 10, 30, 2};
    TReportSection s;
    for (int k = 0; k <= 10; ++k) s.Rows.push_back({k, 0.5 * k, k == 6 ? 0.01 : 0, 0, 0, 0, 0, 0});
    const TTiebackForce f = TiebackForce(t, in, s);
    EXPECT_EQ(f.Station, 6);
    // The engine turns degrees into radians with pi taken as 3.1416.
    const double spring = 0.001 * 2e8 * std::cos(30 * 3.1416 / 180) / (2 * 10);
    EXPECT_NEAR(f.Lateral, spring * 0.01, 1e-9);
    EXPECT_NEAR(f.AlongRod, f.Lateral * 2 / std::cos(30 * 3.1416 / 180), 1e-9);
}

}  // namespace
}  // namespace korvel
