// Stiff clay p-y curves, with and without free water: the As table and the
// residual factor, the curves against the static stiff-clay criteria, the
// equivalent depths, and one generated curve recomputed from the formulas.
#include "soil/stiff_clay.h"

#include <gtest/gtest.h>

#include <cmath>

#include "py_test_support.h"
#include "soil/soft_clay.h"

namespace korvel::soil {
namespace {

using testing::E103Tolerance;
using testing::FilePoint;
using testing::Generation;
using testing::Layer;
using testing::ParsePoint;
using testing::Soldier;

TEST(StiffClayWet, AsTable) {
    struct Case {
        double xb, As;
    };
    for (const Case c : {Case{0.0, 0.0}, Case{0.5, 0.1115}, Case{1.0, 0.223}, Case{2.5, 0.505},
                         Case{4.5, 0.595}, Case{5.0, 0.6}, Case{12.0, 0.6}}) {
        EXPECT_NEAR(StiffClayAs(c.xb), c.As, 1e-12) << c.xb;
    }
}

TEST(StiffClayWet, ResidualFactorAtTwoAndAHalfWidths) {
    // As = 0.505: Fr = 1.225 sqrt(0.505) - 0.75 * 0.505 - 0.411 = 0.0808.
    EXPECT_NEAR(StiffClayResidualFactor(StiffClayAs(2.5)), 0.0808, 5e-5);
    // The residual is Fr pc: the curve beyond 18 As y50.
    const double pc = 1000.0, As = 0.505, y50 = 0.1;
    // 1.225 is 0.5 sqrt(6) to four digits.
    EXPECT_NEAR(StiffClayWetResistance(30.0 * As * y50, pc, As, y50, 1e12),
                StiffClayResidualFactor(As) * pc, 3e-4 * pc);
}

TEST(StiffClayWet, UltimateResistanceIsTheSmallerOfWedgeAndFlow) {
    // c = ca = 10, gamma = 0.04, b = 24. x = 12: 480 + 11.52 + 339.6; x = 300: 11 c b.
    EXPECT_NEAR(StiffClayWetUltimate(10, 10, 0.04, 24, 12), 831.12, 1e-9);
    EXPECT_NEAR(StiffClayWetUltimate(10, 10, 0.04, 24, 300), 2640.0, 1e-9);
    // The wedge takes the mean cohesion above, the flow the cohesion itself.
    EXPECT_NEAR(StiffClayWetUltimate(10, 6, 0.04, 24, 12), 288 + 11.52 + 2.83 * 6 * 12, 1e-9);
}

TEST(StiffClayWet, Deflections) {
    const double As = 0.5, y50 = 0.12;  // As y50 = 0.06
    const std::array<double, 17> y = StiffClayWetDeflections(As, y50);
    EXPECT_EQ(y[0], 0.0);
    for (int k = 1; k <= 12; ++k) EXPECT_NEAR(y[k], 0.03 * k, 1e-15) << k;
    EXPECT_NEAR(y[12], 6.0 * As * y50, 1e-15);  // the 13th point
    EXPECT_NEAR(y[13], 0.6, 1e-15);
    EXPECT_NEAR(y[14], 0.84, 1e-15);
    EXPECT_NEAR(y[15], 1.08, 1e-15);
    EXPECT_NEAR(y[16], 12.0, 1e-14);
}

// The static criterion for stiff clay below water, as published.
double TextbookWet(double y, double pc, double As, double y50) {
    const double ya = As * y50;
    if (y <= ya) return 0.5 * pc * std::sqrt(y / y50);
    if (y <= 6 * ya) return 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow(y / ya - 1, 1.25);
    if (y <= 18 * ya) {
        return 0.5 * pc * std::sqrt(6 * As) - 0.411 * pc - 0.0625 * pc / y50 * (y - 6 * ya);
    }
    return 0.5 * pc * std::sqrt(6 * As) - 0.411 * pc - 0.75 * pc * As;
}

TEST(StiffClayWet, CurveFollowsTheCriterionAndIsContinuous) {
    const double pc = 2000.0, As = 0.505, y50 = 0.12;
    for (double y : StiffClayWetDeflections(As, y50)) {
        EXPECT_NEAR(StiffClayWetResistance(y, pc, As, y50, 1e12), TextbookWet(y, pc, As, y50),
                    1e-9 * pc)
            << y;
    }
    const double eps = 1e-9;
    auto p = [&](double y) { return StiffClayWetResistance(y, pc, As, y50, 1e12); };
    const double ya = As * y50;
    EXPECT_NEAR(p(ya * (1 - eps)), p(ya * (1 + eps)), 1e-5 * pc);
    // At 6 As y50 the softening branch ends at 0.5 pc sqrt(6 As) - 0.055 * 5^1.25 pc, the
    // drop starts at ... - 0.411 pc: continuous to the published constants' rounding.
    EXPECT_NEAR(p(6 * ya * (1 - eps)), p(6 * ya * (1 + eps)), 3e-4 * pc);
    EXPECT_NEAR(p(18 * ya * (1 - eps)), p(18 * ya * (1 + eps)), 1e-5 * pc);
    // Constant beyond 18 As y50.
    EXPECT_EQ(p(19 * ya), p(200 * ya));
}

TEST(StiffClayWet, NeverAboveTheInitialLine) {
    const double pc = 2000.0, As = 0.505, y50 = 0.12, kx = 5000.0;
    for (double y : StiffClayWetDeflections(As, y50)) {
        EXPECT_LE(StiffClayWetResistance(y, pc, As, y50, kx), kx * y + 1e-12) << y;
    }
    EXPECT_DOUBLE_EQ(StiffClayWetResistance(0.01, pc, As, y50, kx), 50.0);
}

// pct Fr(As(x/b)) integrated finely, pcd Fr at the limit below it.
double FineWetIntegral(double depth, double c, double b, double gamma) {
    const double xr = 9 * c * b / (2.83 * c + gamma * b);
    auto rate = [&](double x) {
        if (x > xr) return 11 * c * b * StiffClayResidualFactor(StiffClayAs(xr / b));
        return (2 * c * b + gamma * b * x + 2.83 * c * x) *
               StiffClayResidualFactor(StiffClayAs(x / b));
    };
    const int steps = 100000;
    double total = 0;
    for (int i = 0; i < steps; ++i) {
        const double x0 = depth * i / steps, x1 = depth * (i + 1) / steps;
        total += 0.5 * (rate(x0) + rate(x1)) * (x1 - x0);
    }
    return total;
}

TEST(StiffClayWet, EquivalentDepthMatchesTheIntegralOfTheResidual) {
    const double c = 15.0, b = 24.0, gamma = 0.04;
    const double xr = 9 * c * b / (2.83 * c + gamma * b);  // 75.3, x/b = 3.1
    const double Fxr = FineWetIntegral(xr, c, b, gamma);
    ASSERT_GT(Fxr, 0.0);
    // Within the 40 steps: the integrand grows with depth, so the right-endpoint
    // steps bracket the depth between I(x) <= F and I(x + 2 dx) - I(dx) >= F.
    const double dx = xr / 40;
    for (double share : {0.3, 0.7}) {
        const double F = share * Fxr;
        const double xeq = StiffClayWetEquivalentDepth(F, c, b, gamma);
        EXPECT_LE(FineWetIntegral(xeq, c, b, gamma), F + 1e-6 * Fxr) << share;
        EXPECT_GE(FineWetIntegral(xeq + 2 * dx, c, b, gamma) - FineWetIntegral(dx, c, b, gamma),
                  F - 1e-6 * Fxr)
            << share;
    }
    // Beyond the limit: exactly the rate 11 c b Fr(xr).
    const double rate = 11 * c * b * StiffClayResidualFactor(StiffClayAs(xr / b));
    const double x1 = StiffClayWetEquivalentDepth(2 * Fxr, c, b, gamma);
    const double x2 = StiffClayWetEquivalentDepth(2 * Fxr + 1000 * rate, c, b, gamma);
    EXPECT_GT(x1, xr);
    EXPECT_NEAR(x2 - x1, 1000.0, 1e-6);
}

TEST(StiffClayWet, EquivalentDepthStaysFiniteWhenTheResidualNeverGrows) {
    // c = 0.1, b = 24, gamma = 0.04: xr = 17.4 (x/b = 0.72), Fr < 0 all the way.
    const double c = 0.1, b = 24.0, gamma = 0.04;
    const double xr = 9 * c * b / (2.83 * c + gamma * b);
    ASSERT_LT(StiffClayResidualFactor(StiffClayAs(xr / b)), 0.0);
    EXPECT_DOUBLE_EQ(StiffClayWetEquivalentDepth(500.0, c, b, gamma), xr);
}

TEST(StiffClayDry, UltimateResistance) {
    // c = ca = 10, gamma = 0.04, b = 24. x = 12: 720 + 11.52 + 60; x = 600: 9 c b.
    EXPECT_NEAR(StiffClayDryUltimate(10, 10, 0.04, 24, 12), 791.52, 1e-9);
    EXPECT_NEAR(StiffClayDryUltimate(10, 10, 0.04, 24, 600), 2160.0, 1e-9);
}

TEST(StiffClayDry, DeflectionsAndQuarterPowerLaw) {
    const double y50 = 2.5 * 0.005 * 24;  // 0.3
    const std::array<double, 17> y = StiffClayDryDeflections(y50);
    EXPECT_EQ(y[0], 0.0);
    EXPECT_NEAR(y[1], 0.00016 * y50, 1e-15);  // the second point
    EXPECT_NEAR(y[13], 8.0 * y50, 1e-14);
    EXPECT_NEAR(y[14], 16.0 * y50, 1e-14);
    EXPECT_NEAR(y[16], 20.0 * y50, 1e-14);
    const double pu = 1500.0;
    for (double yk : y) {
        const double textbook = yk <= 16 * y50 ? 0.5 * pu * std::pow(yk / y50, 0.25) : pu;
        EXPECT_NEAR(StiffClayDryResistance(yk, pu, y50), textbook, 1e-9 * pu) << yk;
    }
    // pu reached at 16 y50: 0.5 * 16^0.25 = 1.
    EXPECT_DOUBLE_EQ(StiffClayDryResistance(16.0 * y50, pu, y50), pu);
}

// One layer of stiff clay from the excavation level, c = 10, E50 = 0.005,
// k = 400; sigma'v = 30 makes PACT = 24 * 30 - 2 * 10 * 24 = 240.
SoilProblem StiffClay(int type) {
    SoilProblem p = Soldier();
    p.layers = {Layer(type, 600, 0, {0.04, 10, 0, 0.005, 400, 0})};
    p.effectiveOverburden = 30.0;
    return p;
}

TEST(StiffClayWet, GeneratedCurveRecomputed) {
    SoilProblem p = StiffClay(2);
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * 35u);
    const int head = 1 + 35 * 2;  // the third curve: x = 96
    const double x = 96.0, c = 10, b = 24, gamma = 0.04, y50 = 0.005 * 24;
    for (int side = 0; side < 2; ++side) {
        const double x0 = side == 0 ? x : 120.0 + x;
        const double As = StiffClayAs(x0 / b);
        const double pc = std::min(2 * c * b + gamma * b * x0 + 2.83 * c * x0, 11 * c * b);
        const double kx = 400.0 * x0;
        const std::array<double, 17> ys = StiffClayWetDeflections(As, y50);
        for (int k = 0; k < 17; ++k) {
            const double y = ys[k];
            const double p0 = std::min(TextbookWet(y, pc, As, y50), kx * y);
            const double expected = side == 0 ? p0 - 240.0 : p0 + 240.0;
            const FilePoint f = ParsePoint(lines[head + 1 + 17 * side + k]);
            EXPECT_EQ(f.n, k + 1);
            EXPECT_NEAR(f.p, expected, E103Tolerance(expected)) << side << " " << k;
            EXPECT_NEAR(f.y, y, E103Tolerance(y));
        }
    }
    // The report: the parameter table, the rows without a Y/P heading and no multiplier line.
    const std::string r = g.report.str();
    const std::string table =
        "\n         AT THE EXCAVATION SIDE\n\n\n"
        "         DEPTH BELOW GS      DIAM        C         CAVG    GAMMA AVG      E50\n"
        "               IN             IN     LBS/IN**2  LBS/IN**2  LBS/IN**3\n"
        "              96.00         24.000   0.10D+02   0.10D+02   0.40D-01  0.5000D-02\n" +
        std::string(21 + 15, ' ') + "0.000" + std::string(12, ' ') + "-240.000\n";
    EXPECT_NE(r.find(table), std::string::npos) << r.substr(0, 4000);
    EXPECT_EQ(r.find("P-Multiplier"), std::string::npos);
}

TEST(StiffClayDry, GeneratedCurveRecomputed) {
    SoilProblem p = StiffClay(3);
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * 35u);
    const int head = 1 + 35 * 2;
    const double x = 96.0, c = 10, b = 24, gamma = 0.04, y50 = 2.5 * 0.005 * 24;
    const std::array<double, 17> ys = StiffClayDryDeflections(y50);
    for (int side = 0; side < 2; ++side) {
        const double x0 = side == 0 ? x : 120.0 + x;
        const double pu = std::min(3 * c * b + gamma * b * x0 + 0.5 * c * x0, 9 * c * b);
        for (int k = 0; k < 17; ++k) {
            const double p0 = ys[k] <= 16 * y50 ? 0.5 * pu * std::pow(ys[k] / y50, 0.25) : pu;
            const double expected = side == 0 ? p0 - 240.0 : p0 + 240.0;
            const FilePoint f = ParsePoint(lines[head + 1 + 17 * side + k]);
            EXPECT_NEAR(f.p, expected, E103Tolerance(expected)) << side << " " << k;
        }
    }
    const std::string r = g.report.str();
    const std::string table =
        "\n          DEPTH BELOW GS     DIAM        C       CAVG    GAMMA AVG     E50\n"
        "                IN            IN     LBS/IN**2 LBS/IN**2 LBS/IN**3 \n"
        "               96.00         24.000  0.10D+02  0.10D+02  0.40D-01  0.5000D-02\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n" +
        std::string(21 + 13, ' ') + "0.00000" + std::string(10, ' ') + "-240.00000\n";
    EXPECT_NE(r.find(table), std::string::npos) << r.substr(0, 4000);
    EXPECT_NE(r.find(" P-Multiplier = "), std::string::npos);
}

// Below a soft clay: the dry stiff clay's equivalent depth is the soft clay's
// closed form, the wet one the stepped integral of its residual.
TEST(StiffClay, EquivalentDepthBelowSoftClay) {
    for (int type : {2, 3}) {
        SoilProblem p = Soldier();
        p.layers = {Layer(1, 200, 0, {0.03, 5, 0, 0.01, 0, 0}),
                    Layer(type, 600, 200, {0.04, 15, 0, 0.005, 400, 0})};
        Generation out;
        std::ofstream file(out.folder.path / "soildata");
        PYGeneration g(p, out.Out(), file);
        ModelForLayer(g, 0);
        ModelForLayer(g, 1);
        const double R = g.profile.layers[0].R;
        ASSERT_GT(R, 0.0);
        const double gammaAvg = (0.03 * 80.0 + 0.04 * 0.1) / 80.1;
        const double expected = type == 3 ? SoftClayEquivalentDepth(R, 15, 24, gammaAvg)
                                          : StiffClayWetEquivalentDepth(R, 15, 24, gammaAvg);
        EXPECT_GT(expected, 0.0);
        EXPECT_NEAR(g.profile.layers[1].xEq, expected, 1e-9 * expected) << type;
    }
}

}  // namespace
}  // namespace korvel::soil
