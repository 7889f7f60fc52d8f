#include "report_summary.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvel::cli {
namespace {

// Two results blocks as the engine writes them: English units closed in 2
// iterations, SI units stopped by an exceeded deflection while off the curves.
const char* kReport =
    "      Wall\n"
    "\n\n     RESULTS -- ITERATION  2\n"
    "     --------------------\n"
    "\n   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI \n"
    "             IN          IN                   LBS-IN        LBS         LBS       LBS-IN**2\n"
    "   ------    ----        ----       -----      ------      ------    ---------    ----------\n"
    "     0   0.000E+00   0.186E+01  -0.862E-02   0.000E+00   0.000E+00   0.000E+00   0.267E+10\n"
    "     1   0.600E+01   0.180E+01  -0.862E-02  -0.364E+06   0.437E+01   0.875E+01   0.534E+10\n"
    "     2   0.120E+02   0.175E+01  -0.862E-02   0.525E+02  -0.500E+04   0.175E+02   0.534E+10\n"
    "\n\n     RESULTS -- ITERATION  1\n"
    "     --------------------\n"
    "\n     ***** DEFLECTION OFF Q - W CURVES *****\n"
    "\n     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  12  *** STATIONS *****\n"
    "\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n"
    "\n   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI \n"
    "              M           M                    KN- M         KN          KN        KN- M**2\n"
    "   ------    ----        ----       -----      ------      ------    ---------    ----------\n"
    "     0   0.000E+00  -0.500E+00   0.000E+00   0.000E+00   0.000E+00   0.000E+00   0.100E+06\n"
    "\n\n\n     END OF ANALYSIS\n";

TEST(ReportSummary, ReadsEveryResultsBlock) {
    std::istringstream in(kReport);
    const auto sections = SummariseReport(in);
    ASSERT_EQ(sections.size(), 2u);

    const SectionSummary& a = sections[0];
    EXPECT_EQ(a.iterations, 2);
    EXPECT_TRUE(a.closed);
    EXPECT_FALSE(a.offCurves);
    EXPECT_DOUBLE_EQ(a.deflection.value, 1.86);
    EXPECT_DOUBLE_EQ(a.deflection.depth, 0.0);
    EXPECT_DOUBLE_EQ(a.moment.value, -364000.0);
    EXPECT_DOUBLE_EQ(a.moment.depth, 6.0);
    EXPECT_DOUBLE_EQ(a.shear.value, -5000.0);
    EXPECT_EQ(a.lengthUnit, "IN");
    EXPECT_EQ(a.momentUnit, "LBS-IN");
    EXPECT_EQ(a.forceUnit, "LBS");

    const SectionSummary& b = sections[1];
    EXPECT_EQ(b.iterations, 1);
    EXPECT_FALSE(b.closed);
    EXPECT_TRUE(b.offCurves);
    EXPECT_EQ(b.exceededStations, 12);
    EXPECT_EQ(b.lengthUnit, "M");
    EXPECT_EQ(b.momentUnit, "KN-M");  // without the label's own blank
    EXPECT_EQ(DescribeSection(b).substr(0, 75),
              "1 iteration, maximum allowable deflection exceeded at 12 stations, off the ");
}

TEST(ReportSummary, DescribesAClosedSection) {
    std::istringstream in(kReport);
    EXPECT_EQ(DescribeSection(SummariseReport(in).front()),
              "2 iterations, closed; max deflection 1.86 IN at 0 IN; max moment -3.64e+05 LBS-IN "
              "at 6 IN; max shear -5000 LBS at 12 IN");
}

}  // namespace
}  // namespace korvel::cli
