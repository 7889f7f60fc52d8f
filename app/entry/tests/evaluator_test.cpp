#include "entry/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "entry/entry_errors.h"

namespace korvel {
namespace {

struct ValueCase {
    const char* entry;
    long double value;
};

TEST(EvaluateEntry, ValuesOfTheExamples) {
    const ValueCase cases[] = {
        {"2*3+4", 10},
        {"-2^2", 4},  // the sign belongs to the number
        {"10%3", 1},
        {"7%-2", 1},
        {"-7%2", -1},   // modulo takes the left sign
        {"2^3^2", 64},  // left to right
        {"2--3", 5},
        {"--3", 3},
        {"1e-5", 0.00001L},
        {"(1+2)*3", 9},
        {"sqrt(16)+1", 5},
        {"$FF", 255},
        {"$ff", 255},
        {"3!", 6},
        {"0!", 1},
        {"-3!", -6},
        {"10!", 3628800},
        {" 1 +\t2 ", 3},
        {"2*3+4*5", 26},
        {"7-2-1", 4},
        {"8/2/2", 2},
        {"12.5%5", 2},  // operands of % are truncated first
        {"1+2=3", 1},
        {"2=3", 0},
        {"2&0", 0},
        {"2&3", 1},
        {"0|3", 1},
        {"0|0", 0},
        {"1|0&0", 1},  // & binds tighter than |
        {"round2.5", 2},
        {"round3.5", 4},
        {"int-2.7", -2},
        {"frac2.75", 0.75L},
        {"ceil1.2", 2},
        {"floor-1.2", -2},
        {"abs-3", 3},
        {"log1000", 3},
        {"cosh0", 1},
        {"tanh0", 0},
        {"arcsin1*2", std::numbers::pi_v<long double>},
        {"(1+1)*(2+2)", 8},
        {"((2))", 2},
        {"2^(0-1)", 0.5L},
        {"PI", std::numbers::pi_v<long double>},
        {"-pi", -std::numbers::pi_v<long double>},
        {"e", std::numbers::e_v<long double>},
        {"2*sin(-1)", -2 * std::sin(1.0L)},  // sign after a function name inside an expression
        {"1E3+1", 1001},
        {"(0.00001)*2", 0.00002L},  // a result in exponent form stays readable
    };
    for (const ValueCase& c : cases) {
        long double value = 0;
        ASSERT_NO_THROW(value = EvaluateEntry(c.entry)) << c.entry;
        EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value),
                    1e-15 * (1 + std::fabs(double(c.value))))
            << c.entry;
    }
}

TEST(EvaluateEntry, CosecantOfHalfPiIsOne) {
    EXPECT_NEAR(static_cast<double>(EvaluateEntry("cosec1.5707963")), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(EvaluateEntry("csc1.5707963")), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(EvaluateEntry("sec0")), 1.0, 1e-18);
    EXPECT_NEAR(static_cast<double>(EvaluateEntry("cotan(pi/4)")), 1.0, 1e-15);
}

TEST(EvaluateEntry, IntermediateResultsKeepEighteenDigits) {
    // 1/3 becomes 0.333333333333333333 before it is multiplied.
    EXPECT_EQ(FormatEntryValue(EvaluateEntry("1/3*3")), "0.999999999999999999");
    EXPECT_EQ(FormatEntryValue(EvaluateEntry("0.1+0.2")), "0.3");
}

struct MessageCase {
    const char* entry;
    const char* message;
};

TEST(EvaluateEntry, MessagesOfUnreadableEntries) {
    const MessageCase cases[] = {
        {"", "Entry could not be evaluated:\rentry cannot be blank"},
        {"  \t", "Entry could not be evaluated:\rentry cannot be blank"},
        {"1+2)", "Entry could not be evaluated:\r() (parentheses) do not match"},
        {")(", "Entry could not be evaluated:\r() (parentheses) do not match"},
        {"(1+2", "Entry could not be evaluated:\rinvalid character(s) in expression"},
        {"e-1", "Entry could not be evaluated:\rinvalid character(s) in expression"},
        {"-sin0.5", "Entry could not be evaluated:\rinvalid character(s) in expression"},
        {"abc", "Entry could not be evaluated:\rinvalid character(s) in expression"},
        {"1,5", "Entry could not be evaluated:\rinvalid character(s) in expression"},
        {"2**3", "Entry could not be evaluated:\rinvalid expression"},
        {"5-", "Entry could not be evaluated:\rinvalid expression"},
        {"*5", "Entry could not be evaluated:\rinvalid expression"},
        {"()", "Entry could not be evaluated:\rinvalid expression"},
        {"$", "Entry could not be evaluated:\rinvalid use of $ (hex function)"},
        {"$G1", "Entry could not be evaluated:\rinvalid use of $ (hex function)"},
        {"$-1", "Entry could not be evaluated:\rinvalid use of $ (hex function)"},
        {"2.5!", "Entry could not be evaluated:\r! (factoral) applicable to integers only"},
    };
    for (const MessageCase& c : cases) {
        try {
            EvaluateEntry(c.entry);
            ADD_FAILURE() << c.entry << " was accepted";
        } catch (const EAssignError& error) {
            EXPECT_EQ(error.Message(), c.message) << c.entry;
        }
    }
}

TEST(EvaluateEntry, ArithmeticFaultsAreNotEntryErrors) {
    for (const char* entry :
         {"1/0", "0/0", "sqrt(0-1)", "ln0", "5%0", "10^5000", "2000!", "arccosh0.5"}) {
        EXPECT_THROW(EvaluateEntry(entry), EMathError) << entry;
    }
}

TEST(EvaluateEntry, ShownValues) {
    EXPECT_EQ(FormatEntryValue(2.5L), "2.5");
    EXPECT_EQ(FormatEntryValue(1e-5L), "1E-5");
    EXPECT_EQ(FormatHexValue(255), "$00FF");
    EXPECT_EQ(FormatHexValue(65535.6L), "$10000");
    EXPECT_EQ(FormatHexValue(-1), "$FFFFFFFFFFFFFFFF");
    // A negative hex value reads back as itself.
    EXPECT_EQ(EvaluateEntry(FormatHexValue(-2)), -2);
}

}  // namespace
}  // namespace korvel
