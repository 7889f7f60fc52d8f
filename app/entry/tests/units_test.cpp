#include "entry/units.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace korvel {
namespace {

struct ConversionCase {
    int from;
    int to;
    const char* label;
    long double value;
    long double expected;  // hand value
    long double tolerance;
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
    *out << c.value << " [" << c.label << "] " << c.from << "->" << c.to;
}

std::string CaseName(const ::testing::TestParamInfo<ConversionCase>& info) {
    std::string name = std::to_string(info.index) + "_" + std::to_string(info.param.from) + "to" +
                       std::to_string(info.param.to) + "_";
    for (const char* c = info.param.label; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, ConvertsLikeTheHandValue) {
    const ConversionCase& c = GetParam();
    EXPECT_NEAR(static_cast<double>(c.value * ConversionFactor(c.from, c.to, c.label)),
                static_cast<double>(c.expected), static_cast<double>(c.tolerance))
        << c.label << " " << c.from << "->" << c.to;
}

INSTANTIATE_TEST_SUITE_P(
    HandValues, ConversionTest,
    ::testing::Values(
        // 10 ft = 3.048 m exactly, and back.
        ConversionCase{1, 2, "L2", 10, 3.048L, 1e-9L},
        ConversionCase{2, 1, "L2", 3.048L, 10, 1e-9L},
        // 120 pcf = 120 * 0.45359237 * 9.80665e-3 kN / 0.3048^3 m^3 = 18.8504 kN/m^3.
        ConversionCase{1, 2, "F/L2^3", 120, 18.8504L, 1e-3L},
        // 12 in = 304.8 mm (the L1 factor is given to 10 digits).
        ConversionCase{1, 2, "L1", 12, 304.8L, 1e-6L},
        // 1 in^2 = 0.00064516 m^2.
        ConversionCase{1, 2, "L^2", 1, 0.00064516L, 1e-12L},
        // 1 lbs = 0.0044482216 kN.
        ConversionCase{1, 2, "F", 1, 0.0044482216L, 1e-9L},
        // 1000 lbs-in = 0.11298483 kN-m.
        ConversionCase{1, 2, "F-L", 1000, 0.11298483L, 1e-7L},
        // 1e9 lbs-in^2 = 2869.8 kN-m^2.
        ConversionCase{1, 2, "F-L^2", 1e9L, 2869.8L, 0.1L},
        // 1 lbs/in^3 = 271.447 kN/m^3 (k of p-y curves).
        ConversionCase{1, 2, "F/L^3", 1, 271.447L, 1e-3L},
        // 1000 psf = 47.88 kPa.
        ConversionCase{1, 2, "F/L2^2", 1000, 47.880L, 1e-3L},
        // 100 lbs/ft = 1.4594 kN/m.
        ConversionCase{1, 2, "F/L2", 100, 1.4594L, 1e-4L},
        // Rotational springs: the RAD. denominator converts nothing.
        ConversionCase{1, 2, "F-L/RAD.", 1000, 0.11298483L, 1e-7L},
        // Labels without tokens keep their value in every switch.
        ConversionCase{1, 2, "DEG.", 30, 30, 0}, ConversionCase{2, 1, "DEG.", 30, 30, 0},
        ConversionCase{1, 2, "SEE NOTES", 5, 5, 0}, ConversionCase{1, 2, "", 0.7L, 0.7L, 0},
        // Nothing converts to, from or within a system other than English <-> SI.
        ConversionCase{1, 3, "L2", 10, 10, 0}, ConversionCase{3, 2, "L2", 10, 10, 0},
        ConversionCase{2, 2, "F/L2^3", 18, 18, 0}, ConversionCase{1, 1, "L", 7, 7, 0}),
    CaseName);

TEST(Units, EnglishToOtherToSIChangesNothing) {
    for (const char* label : {"L", "L1", "L2", "F/L2^3", "F-L^2", "F/L^3"}) {
        EXPECT_EQ(ConversionFactor(1, 3, label) * ConversionFactor(3, 2, label), 1.0L) << label;
    }
}

TEST(Units, RoundTripEnglishSIEnglishIsIdentity) {
    for (const char* label : {"L", "L1", "L2", "L^2", "F", "F-L", "F-L^2", "F/L", "F/L2", "F/L^2",
                              "F/L2^2", "F/L2^3", "F/L^3", "F-L/RAD."}) {
        EXPECT_NEAR(
            static_cast<double>(ConversionFactor(1, 2, label) * ConversionFactor(2, 1, label)), 1.0,
            1e-15)
            << label;
    }
}

struct UnitTextCase {
    const char* label;
    const char* english;
    const char* si;
    const char* other_column;
};

TEST(Units, ColumnTextsOfTheLabelsInUse) {
    const UnitTextCase cases[] = {
        {"L", "in", "m", "L"},
        {"L1", "in", "mm", "L"},
        {"L2", "ft", "m", "L"},
        {"L^2", "in^2", "m^2", "L^2"},
        {"F", "lbs", "kN", "F"},
        {"F-L", "lbs-in", "kN-m", "F-L"},
        {"F-L^2", "lbs-in^2", "kN-m^2", "F-L^2"},
        {"F/L", "lbs/in", "kN/m", "F/L"},
        {"F/L2", "lbs/ft", "kN/m", "F/L"},
        {"F/L^2", "lbs/in^2", "kN/m^2", "F/L^2"},
        {"F/L2^2", "lbs/ft^2", "kN/m^2", "F/L^2"},
        {"F/L2^3", "lbs/ft^3", "kN/m^3", "F/L^3"},
        {"F/L^3", "lbs/in^3", "kN/m^3", "F/L^3"},
        {"F-L/RAD.", "lbs-in/RAD.", "kN-m/RAD.", "F-L/RAD."},
        {"DEG.", "DEG.", "DEG.", "DEG."},
        {"SEE NOTES", "SEE NOTES", "SEE NOTES", "SEE NOTES"},
        {"F4/L3", "lb-sec2/in/rad", "Mg/rad", "M/L"},
        {"F6", "slug", "Mg", "F"},
    };
    for (const UnitTextCase& c : cases) {
        EXPECT_EQ(UnitText(c.label, 1, TUnitTextRule::kColumn), c.english) << c.label;
        EXPECT_EQ(UnitText(c.label, 2, TUnitTextRule::kColumn), c.si) << c.label;
        EXPECT_EQ(UnitText(c.label, 3, TUnitTextRule::kColumn), c.other_column) << c.label;
    }
}

TEST(Units, EditBoxRuleReplacesOnlyTheFirstForceAndLengthToken) {
    EXPECT_EQ(UnitText("F/L2^3", 1, TUnitTextRule::kEditBox), "lbs/ft^3");
    EXPECT_EQ(UnitText("F-L^2", 2, TUnitTextRule::kEditBox), "kN-m^2");
    // Two force tokens: the column rule names both, the edit box only the first found.
    EXPECT_EQ(UnitText("F1/F", 1, TUnitTextRule::kColumn), "kips/lbs");
    EXPECT_EQ(UnitText("F1/F", 1, TUnitTextRule::kEditBox), "kips/F");
    // In the Other system an edit box shows the label itself.
    EXPECT_EQ(UnitText("F/L2^3", 3, TUnitTextRule::kEditBox), "F/L2^3");
}

TEST(Units, SystemNumbersAreClamped) {
    EXPECT_EQ(ClampUnitSystem(-5), 1);
    EXPECT_EQ(ClampUnitSystem(0), 1);
    EXPECT_EQ(ClampUnitSystem(2), 2);
    EXPECT_EQ(ClampUnitSystem(4), 3);
    EXPECT_EQ(UnitText("L2", 7, TUnitTextRule::kColumn), "L");
}

}  // namespace
}  // namespace korvel
