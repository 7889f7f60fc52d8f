// Soft clay p-y curves against worked values and the static soft-clay law.
#include "soil/soft_clay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel::soil {
namespace {

// Ultimate resistance of the textbook static soft-clay criterion.
double TextbookPu(double c, double gamma, double b, double x) {
    const double Np = std::min(9.0, 3.0 + gamma * x / c + 0.5 * x / b);
    return Np * c * b;
}

TEST(SoftClay, WorkedUltimateResistance) {
    // c = 20, b = 24, gamma = 0.03: Np = 4.072 at 48, 9.7 -> 9 at 300.
    EXPECT_NEAR(SoftClayUltimateResistance(20.0, 0.03, 24.0, 48.0), 1954.56, 1e-9);
    EXPECT_NEAR(SoftClayUltimateResistance(20.0, 0.03, 24.0, 300.0), 4320.0, 1e-9);
}

TEST(SoftClay, ContinuousWall) {
    EXPECT_DOUBLE_EQ(SoftClayContinuousWall(20.0, 0.03, 24.0, 100.0), (0.03 * 100.0 + 40.0) * 24.0);
}

TEST(SoftClay, SeventeenDeflections) {
    const double y50 = 2.5 * 0.01 * 24.0;  // E50 0.01, b 24
    ASSERT_DOUBLE_EQ(y50, 0.6);
    const std::array<double, 17> expected = {0,    0.0048, 0.15, 0.30, 0.45, 0.60, 0.75, 0.90, 1.05,
                                             1.20, 1.35,   1.50, 1.65, 1.80, 4.8,  9.0,  12.0};
    const std::array<double, 17> y = SoftClayDeflections(y50);
    for (int k = 0; k < 17; ++k) EXPECT_NEAR(y[k], expected[k], 1e-12) << k;
}

TEST(SoftClay, CurveFollowsTheCubicRootLaw) {
    const double pu = 1954.56;
    const double y50 = 0.6;
    const std::array<double, 17> y = SoftClayDeflections(y50);
    EXPECT_EQ(SoftClayResistance(0.0, pu, y50), 0.0);
    for (int k = 1; k < 17; ++k) {
        const double textbook = y[k] <= 8.0 * y50 ? 0.5 * pu * std::pow(y[k] / y50, 1.0 / 3.0) : pu;
        EXPECT_NEAR(SoftClayResistance(y[k], pu, y50), textbook, 1e-9 * pu) << k;
    }
    // pu is reached exactly at 8 y50 and held beyond.
    EXPECT_DOUBLE_EQ(SoftClayResistance(8.0 * y50, pu, y50), pu);
    EXPECT_DOUBLE_EQ(SoftClayResistance(100.0 * y50, pu, y50), pu);
}

TEST(SoftClay, TinyDeflectionsUseTheSecantAtYTiny) {
    EXPECT_EQ(kSoftClayYTiny, static_cast<double>(1.0e-14f));
    EXPECT_NE(kSoftClayYTiny, 1.0e-14);
    const double pu = 1000.0, y50 = 0.5;
    const double Ki = SoftClayInitialModulus(pu, y50);
    EXPECT_NEAR(Ki * kSoftClayYTiny, 0.5 * pu * std::cbrt(kSoftClayYTiny / y50), 1e-14);
    EXPECT_DOUBLE_EQ(SoftClayResistance(0.5 * kSoftClayYTiny, pu, y50), Ki * 0.5 * kSoftClayYTiny);
}

TEST(SoftClay, ActiveShift) {
    // b sigma'v - 2cb = 24 * 50 - 960.
    EXPECT_DOUBLE_EQ(SoftClayActiveShift(24, 20, 50, 0, 2), 240.0);
    EXPECT_DOUBLE_EQ(SoftClayActiveShift(24, 20, 30, 0, 2), 0.0);
    // The base pressure over r when larger.
    EXPECT_DOUBLE_EQ(SoftClayActiveShift(24, 20, 50, 2400, 2), 240.0);
    EXPECT_DOUBLE_EQ(SoftClayActiveShift(24, 20, 50, 3000, 2), 540.0);
    EXPECT_DOUBLE_EQ(SoftClayActiveShift(24, 20, 0, 0.00005, 1), 0.0);
}

// The equivalent depth returns the depth down to which this clay's own pu,
// integrated from its surface, sums to F.
class SoftClayEquivalent : public ::testing::TestWithParam<double> {};

TEST_P(SoftClayEquivalent, IntegralOfPuMatchesF) {
    const double c = 20.0, b = 24.0, gamma = 0.03;
    const double F = GetParam();
    const double xeq = SoftClayEquivalentDepth(F, c, b, gamma);
    const int steps = 200000;
    double integral = 0.0;
    for (int i = 0; i < steps; ++i) {
        const double x0 = xeq * i / steps, x1 = xeq * (i + 1) / steps;
        integral += 0.5 * (TextbookPu(c, gamma, b, x0) + TextbookPu(c, gamma, b, x1)) * (x1 - x0);
    }
    EXPECT_NEAR(integral, F, 1e-6 * F);
}

// Below the flow depth (xr = 6cb/(0.5c + gamma b) = 268.7, F(xr) = 7.7e5) and beyond it.
INSTANTIATE_TEST_SUITE_P(Resistances, SoftClayEquivalent,
                         ::testing::Values(1.0e4, 2.0e5, 6.0e5, 3.0e6));

TEST(SoftClay, EquivalentDepthOfNothingIsZero) {
    EXPECT_DOUBLE_EQ(SoftClayEquivalentDepth(0.0, 20.0, 24.0, 0.03), 0.0);
}

}  // namespace
}  // namespace korvel::soil
