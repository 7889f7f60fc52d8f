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

TEST(ReportReader, MaximaRowsPrintTheReportsFigures) {
    const TReportRun run = ParseReport(QString::fromLatin1(kTwoSections));
    const auto sections = SummariseSections(run, {}, false);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].Heading, QStringLiteral("Short-term analysis"));
    EXPECT_EQ(sections[1].Heading, QStringLiteral("Long-term analysis"));
    const auto& m = sections[0].Maxima.Rows;
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0], (QStringList{"Deflection", "-0.12", "M", "0.25", "M"}));
    EXPECT_EQ(m[1], (QStringList{"Bending moment", "-141", "KN- M", "0.25", "M"}));
    EXPECT_EQ(sections[0].Stations.Rows.size(), 3u);
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
    const double spring = 0.001 * 2e8 * std::cos(30 * 3.14159265358979 / 180) / (2 * 10);
    EXPECT_NEAR(f.Lateral, spring * 0.01, 1e-9);
    EXPECT_NEAR(f.AlongRod, f.Lateral * 2 / std::cos(30 * 3.14159265358979 / 180), 1e-9);
}

}  // namespace
}  // namespace korvel
