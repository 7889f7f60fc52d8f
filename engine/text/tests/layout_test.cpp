#include "text/layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvel::text {
namespace {

struct LayoutCase {
    const char* layout;
    std::vector<Value> values;
    std::string expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.layout;
}

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, WritesExactText) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(FormatLayout(c.layout, c.values), c.expected);
}

// Whole layouts: literals, repeat counts, groups, line ends and reversion.
INSTANTIATE_TEST_SUITE_P(
    Layouts, LayoutTest,
    ::testing::Values(LayoutCase{"(10X, I3, 7X, I2, 3X, 2(5X, E10.3))",
                                 {5, 3, 0.001, -0.02},
                                 "          "
                                 "  5"
                                 "       "
                                 " 3"
                                 "   "
                                 "     "
                                 " 0.100E-02"
                                 "     "
                                 "-0.200E-01"
                                 "\n"},
                      LayoutCase{"(D12.4)", {120.0}, "  0.1200D+03\n"},
                      LayoutCase{"(I3)", {12345}, "***\n"}, LayoutCase{"(I4.2)", {5}, "  05\n"},
                      LayoutCase{"(/, 5X, I4)", {7}, "\n        7\n"},
                      // Without outer parentheses and without blanks between items.
                      LayoutCase{"I2,1X,I2", {1, 2}, " 1  2\n"},
                      LayoutCase{"(I2,1X,I2)", {1, 2}, " 1  2\n"},
                      LayoutCase{"i2 , f5.1", {1, 2.25}, " 1  2.3\n"},
                      // Commas may be left out.
                      LayoutCase{"(I2 'x' I2)", {1, 2}, " 1x 2\n"},
                      LayoutCase{"(3X, I4, 7X, \"YES\", 6X, I4, 2X, 5E10.3)",
                                 {12, 345, 1.0, -2.0, 0.5, 1e-10, 6.02e23},
                                 "     12       YES       345  "
                                 " 0.100E+01-0.200E+01 0.500E+00 0.100E-09 0.602E+24\n"},
                      LayoutCase{"('it''s', 1X, \"say \"\"hi\"\"\")", {}, "it's say \"hi\"\n"},
                      LayoutCase{"(5X, 'END')", {}, "     END\n"},
                      // No values: literals up to the first value item.
                      LayoutCase{"('A=', I3, ' B=', I3)", {}, "A=\n"},
                      // Values used up: literals before the next value item are still written.
                      LayoutCase{"('A=', I3, ' B=', I3)", {1}, "A=  1 B=\n"},
                      // A slash right before the end of the list still counts.
                      LayoutCase{"(I2, /)", {1}, " 1\n\n"},
                      // Two slashes in a row leave an empty line.
                      LayoutCase{"(I1, //, I1)", {1, 2}, "1\n\n2\n"},
                      LayoutCase{"(I1, 2/, I1)", {1, 2}, "1\n\n2\n"},
                      // Repeated items and nested groups.
                      LayoutCase{"(3I2)", {1, 2, 3}, " 1 2 3\n"},
                      LayoutCase{"(2(I1, 2('-')), 'e')", {1, 2}, "1--2--e\n"},
                      // Reversion: the list starts over from its last top-level group. Blanks
                      // before the value item where output stops are still written.
                      LayoutCase{"(4(2X, E10.3))",
                                 {1.0, 2.0, 3.0, 4.0, 5.0},
                                 "   0.100E+01   0.200E+01   0.300E+01   0.400E+01\n"
                                 "   0.500E+01  \n"},
                      LayoutCase{"('H', I2, 2(1X, I1), ';')",
                                 {10, 1, 2, 3, 4, 5},
                                 "H10 1 2;\n"
                                 " 3 4;\n"
                                 " 5 \n"},
                      LayoutCase{"('H', I2, 2(1X, 2(I1)), ';', (1X, I1))",
                                 {10, 1, 2, 3, 4, 5, 6, 7},
                                 "H10 12 34; 5\n"
                                 " 6\n"
                                 " 7\n"},
                      // ...or from its beginning when it has no inner group.
                      LayoutCase{"('>', I2)", {1, 2, 3}, "> 1\n> 2\n> 3\n"},
                      // Kinds mixed in one layout.
                      LayoutCase{"(A, 1X, A3, 1X, L1, L3, F6.2)",
                                 {"PILE", "AB", true, false, -1.005},
                                 "PILE  AB T  F -1.00\n"}));

struct FieldCase {
    const char* layout;
    Value value;
    std::string expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.layout;
}

class FieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldTest, WritesExactField) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(FormatLayout(c.layout, {c.value}), c.expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Integers, FieldTest,
    ::testing::Values(FieldCase{"I4", 42, "  42"}, FieldCase{"I4", -42, " -42"},
                      FieldCase{"I4", 0, "   0"}, FieldCase{"I4", -999, "-999"},
                      FieldCase{"I4", -1000, "****"}, FieldCase{"I4", 10000, "****"},
                      FieldCase{"I6.4", -12, " -0012"}, FieldCase{"I3.3", 1000, "***"},
                      FieldCase{"I3.0", 0, "   "}, FieldCase{"I1", 7u, "7"},
                      FieldCase{"I20", std::numeric_limits<long long>::min(),
                                "-9223372036854775808"}));

INSTANTIATE_TEST_SUITE_P(
    Fixed, FieldTest,
    ::testing::Values(FieldCase{"F7.3", 0.5, "  0.500"}, FieldCase{"F7.3", -0.5, " -0.500"},
                      FieldCase{"F7.3", 123.4567, "123.457"}, FieldCase{"F7.3", 1234.5, "*******"},
                      FieldCase{"F7.2", -1234.5, "*******"}, FieldCase{"F8.2", -1234.5, "-1234.50"},
                      // Leading zero dropped only when the field is too narrow for it.
                      FieldCase{"F4.3", 0.5, ".500"}, FieldCase{"F5.3", -0.5, "-.500"},
                      FieldCase{"F4.3", -0.5, "****"},
                      // A negative value rounding to zero keeps its sign, as gfortran does.
                      FieldCase{"F7.3", -0.0001, " -0.000"}, FieldCase{"F7.3", 0.0001, "  0.000"},
                      FieldCase{"F7.3", 0.0, "  0.000"}, FieldCase{"F4.0", 0.4, "  0."},
                      FieldCase{"F4.0", 2.5, "  3."}, FieldCase{"F4.0", -2.5, " -3."},
                      // Exact ties round away from zero; binary values just below do not.
                      FieldCase{"F5.2", 0.125, " 0.13"}, FieldCase{"F5.2", 2.675, " 2.67"},
                      FieldCase{"F6.2", 99.996, "100.00"}, FieldCase{"F5.1", 9.96, " 10.0"},
                      FieldCase{"F5.1", 3, "  3.0"}, FieldCase{"F10.3", 1e300, "**********"},
                      FieldCase{"F10.3", 1e-300, "     0.000"},
                      FieldCase{"F8.3", std::numeric_limits<double>::infinity(), "Infinity"},
                      FieldCase{"F5.3", -std::numeric_limits<double>::infinity(), " -Inf"},
                      FieldCase{"F5.3", std::nan(""), "  NaN"}));

INSTANTIATE_TEST_SUITE_P(
    Exponent, FieldTest,
    ::testing::Values(
        FieldCase{"E10.3", -0.0001234, "-0.123E-03"}, FieldCase{"E10.3", 0.0, " 0.000E+00"},
        FieldCase{"E10.3", 1234.5, " 0.123E+04"}, FieldCase{"E10.3", 0.9996, " 0.100E+01"},
        FieldCase{"E10.3", 0.9994, " 0.999E+00"},
        FieldCase{"E10.3", 0.1235, " 0.123E+00"},  // binary 0.12349999...
        FieldCase{"E10.2", 0.125, "  0.13E+00"}, FieldCase{"E10.3", 7, " 0.700E+01"},
        FieldCase{"E12.5", 6.02214076e23, " 0.60221E+24"},
        // Three-digit exponents drop the letter.
        FieldCase{"E10.3", 1e99, " 0.100+100"}, FieldCase{"E10.3", -1.5e-200, "-0.150-199"},
        FieldCase{"E10.3", 1e-99, " 0.100E-98"},
        // Leading zero dropped when the field is one short.
        FieldCase{"E9.3", -0.5, "-.500E+00"}, FieldCase{"E8.3", -0.5, "********"},
        FieldCase{"D12.4", 120.0, "  0.1200D+03"}, FieldCase{"D10.3", -2e-5, "-0.200D-04"}));

INSTANTIATE_TEST_SUITE_P(
    TextAndLogical, FieldTest,
    ::testing::Values(FieldCase{"A", "WALL", "WALL"}, FieldCase{"A", "", ""},
                      // Aw pads short text on the left and keeps the left part of long text.
                      FieldCase{"A6", "WALL", "  WALL"}, FieldCase{"A3", "WALL", "WAL"},
                      FieldCase{"A4", "WALL", "WALL"}, FieldCase{"L1", true, "T"},
                      FieldCase{"L1", false, "F"}, FieldCase{"L3", true, "  T"}));

TEST(FormatLayoutTest, TakesSpanOfValues) {
    const std::vector<Value> values{1, 2.5, "X"};
    EXPECT_EQ(FormatLayout("(I2, F5.1, A2)", std::span<const Value>(values)), " 1  2.5 X\n");
}

TEST(FormatLayoutTest, RejectsValueOfWrongKind) {
    EXPECT_THROW(FormatLayout("(I3)", {1.0}), std::invalid_argument);
    EXPECT_THROW(FormatLayout("(I3)", {"1"}), std::invalid_argument);
    EXPECT_THROW(FormatLayout("(F5.1)", {"1"}), std::invalid_argument);
    EXPECT_THROW(FormatLayout("(A)", {1}), std::invalid_argument);
    EXPECT_THROW(FormatLayout("(L1)", {1}), std::invalid_argument);
}

TEST(FormatLayoutTest, RejectsMalformedLayout) {
    for (const char* layout :
         {"(I3", "I3)", "(Q3)", "(I)", "(F5)", "(E10)", "(E10.0)", "(A5.2)", "(L)", "(I2.3)",
          "('abc)", "(0(I2))", "(3'x')", "(I2,,I2)", "(,I2)", "(I2,)", "(2(I2)"}) {
        EXPECT_THROW(FormatLayout(layout, {1}), std::invalid_argument) << layout;
    }
}

TEST(FormatLayoutTest, RejectsValuesWithoutAnyItemToTakeThem) {
    EXPECT_THROW(FormatLayout("('x')", {1}), std::invalid_argument);
    EXPECT_THROW(FormatLayout("(I2, (1X))", {1, 2}), std::invalid_argument);
}

TEST(SingleItemTest, MatchesLayoutItems) {
    EXPECT_EQ(FormatE(-0.0001234, 10, 3), "-0.123E-03");
    EXPECT_EQ(FormatE(1.0, 4, 3), "****");
    EXPECT_EQ(FormatF(0.5, 7, 3), "  0.500");
    EXPECT_EQ(FormatF(-12.345, 6, 1), " -12.3");
    EXPECT_EQ(FormatI(-7, 3), " -7");
    EXPECT_EQ(FormatI(1234, 3), "***");
}

TEST(FreeFormatLineTest, WritesShortestRoundTrip) {
    EXPECT_EQ(FreeFormatLine({82, 0.5, 1e-7, 120.0, -3}), " 82 0.5 1e-07 120 -3\n");
    EXPECT_EQ(FreeFormatLine({}), "\n");
    const double third = 1.0 / 3.0;
    const std::string line = FreeFormatLine({third});
    EXPECT_EQ(std::stod(line), third);
}

}  // namespace
}  // namespace korvel::text
