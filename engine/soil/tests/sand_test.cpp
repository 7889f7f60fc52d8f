// Sand p-y curves: coefficients, resistances worked by hand, curve shape.
#include "soil/sand.h"

#include <gtest/gtest.h>

#include <cmath>

#include "py_test_support.h"

namespace korvel::soil {
namespace {

constexpr double kPi = 3.14159;  // the models' pi
const double kPhi30 = 30.0 * 3.1416 / 180.0;

TEST(Sand, CoefficientsForThirtyDegrees) {
    const SandCoefficients k = SandCoefficientsFor(kPhi30, kPi);
    EXPECT_NEAR(k.Ka, 1.0 / 3.0, 1e-4);
    EXPECT_NEAR(k.Kp, 3.0, 1e-4);
    EXPECT_NEAR(k.alpha * 180.0 / kPi, 15.0, 1e-4);
    EXPECT_NEAR(k.beta * 180.0 / kPi, 60.0, 1e-4);
}

// b = 24, gamma = 0.04, phi = 30: by hand with tan 60 = 1.7320508, tan 15 = 0.2679492,
// sin 60 = 0.8660254, cos 15 = 0.9659258, tan 30 = 0.5773503.
// x = 12: t1 = 4.30356, t2 = 3 (24 + 5.56922) = 88.70766, t3 = 1.92923,
//   pct = (t1 + t2 + t3 - 8) 0.04 * 12 = 41.7314; pcd = 11.52 * 80 / 3 + 4.608 tan30 * 9 = 331.144.
// x = 600: pct = 29064.5, pcd = 16557.2 (flow around governs).
TEST(Sand, WedgeAndFlowResistanceByHand) {
    const SandCoefficients k = SandCoefficientsFor(kPhi30, kPi);
    EXPECT_NEAR(SandWedgeResistance(k, 0.04, 24.0, 12.0), 41.7314, 41.7314 * 1e-4);
    EXPECT_NEAR(SandFlowResistance(k, 0.04, 24.0, 12.0), 331.144, 331.144 * 1e-4);
    const double pct = SandWedgeResistance(k, 0.04, 24.0, 600.0);
    const double pcd = SandFlowResistance(k, 0.04, 24.0, 600.0);
    EXPECT_NEAR(pct, 29064.5, 29064.5 * 1e-4);
    EXPECT_NEAR(pcd, 16557.2, 16557.2 * 1e-4);
    EXPECT_LT(pcd, pct);
}

TEST(Sand, CoulombPassiveWithWallFrictionHalfPhi) {
    // Coulomb, vertical wall, level ground, delta = 15 deg: Kp = 4.977.
    const double phi = 30.0 * M_PI / 180.0, delta = phi / 2;
    const double textbook =
        std::pow(std::cos(phi), 2) /
        (std::cos(delta) *
         std::pow(1.0 - std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta)), 2));
    EXPECT_NEAR(textbook, 4.977, 1e-3);
    EXPECT_NEAR(SandCoulombPassive(phi), textbook, 1e-12);
}

TEST(Sand, FactorTables) {
    struct Case {
        double xb, A, B;
    };
    for (const Case c : {Case{0.0, 2.83, 2.14}, Case{0.75, 2.295, 1.685}, Case{3.5, 0.98, 0.62},
                         Case{6.0, 0.88, 0.5}, Case{40.0, 0.88, 0.5}}) {
        EXPECT_NEAR(SandFactorA(c.xb), c.A, 1e-12) << c.xb;
        EXPECT_NEAR(SandFactorB(c.xb), c.B, 1e-12) << c.xb;
    }
}

TEST(Sand, CurveIsContinuousAtYmAndYu) {
    const double b = 24.0, ps = 331.0;
    const SandCurve s = SandCurveFor(ps, 2.5, 1.8, b, 60.0, 600.0);
    EXPECT_DOUBLE_EQ(s.yu, 3.0 * b / 80.0);
    EXPECT_DOUBLE_EQ(s.ym, b / 60.0);
    ASSERT_LT(s.yk, s.ym);
    const double eps = 1e-9;
    EXPECT_NEAR(SandResistance(s.ym * (1 - eps), s), s.pm, 1e-5 * s.pm);
    EXPECT_NEAR(SandResistance(s.ym * (1 + eps), s), s.pm, 1e-5 * s.pm);
    EXPECT_NEAR(SandResistance(s.yu * (1 - eps), s), s.pu, 1e-5 * s.pu);
    EXPECT_NEAR(SandResistance(s.yu * (1 + eps), s), s.pu, 1e-5 * s.pu);
    // The parabola meets the initial line at yk.
    EXPECT_NEAR(s.C * std::pow(s.yk, 1.0 / s.n), s.kx * s.yk, 1e-9 * s.kx * s.yk);
    // Never above the initial line.
    for (double y : SandDeflections(s, b)) EXPECT_LE(SandResistance(y, s), s.kx * y + 1e-12);
}

TEST(Sand, Deflections) {
    const double b = 24.0;
    const SandCurve s = SandCurveFor(331.0, 2.5, 1.8, b, 60.0, 12.0);
    const std::array<double, 17> y = SandDeflections(s, b);
    EXPECT_EQ(y[0], 0.0);
    EXPECT_NEAR(y[1], 0.4 / 12.0, 1e-15);
    EXPECT_NEAR(y[12], 0.4, 1e-15);
    EXPECT_DOUBLE_EQ(y[13], 0.9);
    EXPECT_DOUBLE_EQ(y[16], 0.9 + 72.0);
}

TEST(Sand, YkIsTwoWidthsWithoutFormulaDepth) {
    EXPECT_DOUBLE_EQ(SandCurveFor(331.0, 2.5, 1.8, 24.0, 60.0, 0.0).yk, 48.0);
    EXPECT_DOUBLE_EQ(SandCurveFor(331.0, 2.5, 1.8, 24.0, 60.0, -3.0).yk, 48.0);
}

TEST(Sand, ActiveShift) {
    EXPECT_DOUBLE_EQ(SandActiveShift(3.0, 1.0 / 3.0, 24.0, 0.0, 2.0), 24.0);
    EXPECT_DOUBLE_EQ(SandActiveShift(3.0, 1.0 / 3.0, 24.0, 100.0, 2.0), 50.0);
    EXPECT_DOUBLE_EQ(SandActiveShift(0.0, 1.0 / 3.0, 24.0, 0.00009, 1.0), 0.0);
}

TEST(Sand, EquivalentDepthGrowsWithTheResistanceAbove) {
    const double b = 24.0, gamma = 0.04;
    double previous = 0.0;
    for (double F : {1e2, 1e3, 1e4, 1e5, 1e6, 1e7}) {
        const double x = SandEquivalentDepth(F, kPhi30, gamma, b, 100.0, kPi);
        EXPECT_GT(x, previous) << F;
        previous = x;
    }
    // Without friction there is nothing to match: no equivalent depth, no NaN.
    EXPECT_EQ(SandEquivalentDepth(1e4, 0.0, gamma, b, 100.0, kPi), 0.0);
}

// The 100-step integral of gamma b^2 A(x/b) ((x/b)^2 c2 + (x/b) c1), against
// the same rule worked with the hand coefficients and table; beyond the
// limit depth the rate 0.88 gamma b^2 c3 x0/b. The module converts 30 degrees
// with 3.1416/180 and uses pi = 3.14159, a few parts in a million apart.
TEST(Sand, EquivalentDepthAgainstTheIntegralByHand) {
    const testing::HandIntegral hand;
    struct Case {
        double gamma, b, x0, F;
    };
    for (const Case c : {Case{0.04, 24.0, 80.1, 50.0}, Case{0.04, 24.0, 80.1, 2.0e4},
                         Case{0.04, 24.0, 80.1, 4.0e5}, Case{0.066, 12.0, 30.0, 3.0e5},
                         Case{0.04, 24.0, 80.1, 5.0e6}}) {
        const double xl = hand.Xl(c.b);
        auto rate = [&](double x) {
            const double xb = x / c.b;
            return c.gamma * c.b * c.b * testing::HandTableA(xb) *
                   (xb * xb * hand.c2 + xb * hand.c1);
        };
        const double deep = 0.88 * c.gamma * c.b * c.b * hand.c3 * c.x0 / c.b;
        const double expected = testing::SteppedEquivalentDepth(c.F, 100, xl, deep, rate);
        EXPECT_NEAR(SandEquivalentDepth(c.F, kPhi30, c.gamma, c.b, c.x0, kPi), expected,
                    1e-4 * expected)
            << "F " << c.F << " b " << c.b << " (xl " << xl << ")";
    }
}

}  // namespace
}  // namespace korvel::soil
