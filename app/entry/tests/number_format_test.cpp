#include "entry/number_format.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(NumberFormat, EightDigitFileFormat) {
    const std::pair<long double, const char*> cases[] = {
        {0.00001L, "1E-5"},
        {123456789.0L, "1.2345679E8"},
        {0.5L, "0.5"},
        {100.0L, "100"},
        {12345678.0L, "12345678"},
        {-3.0L, "-3"},
        {0.0001L, "0.0001"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {12.5L, "12.5"},
        {99999999.5L, "1E8"},
        {-0.000012345678912L, "-1.2345679E-5"},
        {115.2L / 1728, "0.066666667"},
        {1e100L, "1E100"},
        {29000000.0L, "29000000"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatGeneralStd(value, 8), text) << text;
}

TEST(NumberFormat, EighteenDigitEntryFormat) {
    EXPECT_EQ(FormatGeneralStd(1.0L / 3.0L, 18), "0.333333333333333333");
    EXPECT_EQ(FormatGeneralStd(123456789012345678.0L, 18), "123456789012345678");
    EXPECT_EQ(FormatGeneralStd(1e18L, 18), "1E18");
    EXPECT_EQ(FormatGeneralStd(2.5L, 18), "2.5");
}

TEST(NumberFormat, ParseDecimalAcceptsNumbersOnly) {
    const std::pair<const char*, long double> good[] = {{"1.5", 1.5L},   {"-2", -2}, {"+3", 3},
                                                        {".5", 0.5L},    {"5.", 5},  {"1e5", 1e5L},
                                                        {"1E-5", 1e-5L}, {"0.0", 0}};
    for (const auto& [text, expected] : good) {
        long double value = -99;
        EXPECT_TRUE(ParseDecimal(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text :
         {"", "-", ".", "e5", "1e", "1.2.3", "inf", "nan", "1,5", " 1", "1 ", "0x10", "1e99999"}) {
        long double value = 0;
        EXPECT_FALSE(ParseDecimal(text, value)) << text;
    }
}

}  // namespace
}  // namespace korvel
