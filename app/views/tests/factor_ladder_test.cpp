#include "views/factor_ladder.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvel {
namespace {

std::vector<double> Walk(double f, bool up, int steps) {
    std::vector<double> out;
    for (int i = 0; i < steps; ++i) out.push_back(f = StepDeformedFactor(f, up));
    return out;
}

void ExpectLadder(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-12 * want[i]) << "step " << i;
}

TEST(FactorLadder, UpFromOne) {
    ExpectLadder(Walk(1, true, 11), {2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30});
}

TEST(FactorLadder, DownFromOne) {
    ExpectLadder(Walk(1, false, 3), {0.9, 0.8, 0.7});
}

TEST(FactorLadder, BetweenTheSteps) {
    EXPECT_NEAR(StepDeformedFactor(0.5, true), 0.6, 1e-15);
    EXPECT_NEAR(StepDeformedFactor(0.5, false), 0.4, 1e-15);
    EXPECT_DOUBLE_EQ(StepDeformedFactor(25, true), 30);
    EXPECT_DOUBLE_EQ(StepDeformedFactor(25, false), 10);
}

TEST(FactorLadder, ZeroOrBelowBecomesOne) {
    EXPECT_EQ(StepDeformedFactor(0, true), 1);
    EXPECT_EQ(StepDeformedFactor(0, false), 1);
    EXPECT_EQ(StepDeformedFactor(-3, true), 1);
}

TEST(FactorLadder, SmallFactorsAndPowersOfTen) {
    EXPECT_NEAR(StepDeformedFactor(0.1, true), 0.2, 1e-15);
    EXPECT_NEAR(StepDeformedFactor(0.1, false), 0.09, 1e-15);
    EXPECT_NEAR(StepDeformedFactor(0.05, true), 0.06, 1e-15);
    EXPECT_NEAR(StepDeformedFactor(0.3, true), 0.4, 1e-15);
    EXPECT_DOUBLE_EQ(StepDeformedFactor(100, false), 90);
    EXPECT_DOUBLE_EQ(StepDeformedFactor(1000, true), 2000);
}

}  // namespace
}  // namespace korvel
