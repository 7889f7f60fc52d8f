// Rock p-y curves: the strong rock's bilinear law and brittle drop, the weak
// rock's initial line and quarter-power law, their report and curve-file
// layouts, the strength stop, and rock's absence from the resistance integral.
#include "soil/rock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

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

TEST(StrongRock, WorkedValues) {
    // b = 24, strength 1000: s_u = 500.
    const StrongRockCurve r = StrongRockCurveFor(500.0, 24.0);
    EXPECT_DOUBLE_EQ(r.Es, 1.0e6);
    EXPECT_NEAR(r.y1, 0.0096, 1e-15);
    EXPECT_NEAR(r.p1, 9600.0, 1e-9);
    EXPECT_DOUBLE_EQ(r.pu, 12000.0);
    EXPECT_NEAR(r.y2, 0.0576, 1e-15);
    EXPECT_NEAR(r.s, 0.00384, 1e-15);
    // y2 is 0.0024 b whatever the strength.
    EXPECT_NEAR(StrongRockCurveFor(37.0, 30.0).y2, 0.072, 1e-15);
}

TEST(StrongRock, PointsOnTheTwoLinesAndTheResidual) {
    const StrongRockCurve r = StrongRockCurveFor(500.0, 24.0);
    const std::array<double, 17> y = StrongRockDeflections(r.s);
    const double M = 0.8, residual = 35.0;
    for (int k = 0; k < 15; ++k) {
        const double p = StrongRockResistance(y[k], r, M, residual);
        if (k < 3) {
            EXPECT_NEAR(p, M * 1.0e6 * y[k], 1e-9) << k + 1;  // points 1 to 3
        } else {
            EXPECT_NEAR(p, M * (9600.0 + 50000.0 * (y[k] - 0.0096)), 1e-7) << k + 1;
        }
    }
    // The 17th point takes the residual, without the multiplier.
    EXPECT_EQ(StrongRockResistance(y[16], r, M, residual), residual);
}

// The 16th point is fifteen increments summed: on the second line only when
// the sum stays below y2.
class StrongRockSixteenth : public ::testing::TestWithParam<double> {};

TEST_P(StrongRockSixteenth, FollowsTheSummedDeflection) {
    const StrongRockCurve r = StrongRockCurveFor(500.0, GetParam());
    double sum = 0.0;
    for (int k = 0; k < 15; ++k) sum += r.s;
    const std::array<double, 17> y = StrongRockDeflections(r.s);
    EXPECT_EQ(y[15], sum);
    const double p = StrongRockResistance(y[15], r, 1.0, -1.0);
    if (sum < r.y2) {
        EXPECT_NEAR(p, r.p1 + 100.0 * 500.0 * (sum - r.y1), 1e-6 * r.pu);
    } else {
        EXPECT_EQ(p, -1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, StrongRockSixteenth,
                         ::testing::Values(12.0, 18.0, 24.0, 30.0, 36.0, 0.6, 0.9, 1.2));

TEST(WeakRock, StrengthReduction) {
    EXPECT_DOUBLE_EQ(WeakRockStrengthReduction(0.0), 1.0);
    EXPECT_NEAR(WeakRockStrengthReduction(100.0), 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(WeakRockStrengthReduction(50.0), 1.0 - 2.0 / 3.0 * 0.5, 1e-15);
}

TEST(WeakRock, BranchesMeetAtThreeWidths) {
    const double b = 24.0, qur = 900.0, Eir = 5.0e4, krm = 0.0005, alpha = 0.6;
    const WeakRockCurve above = WeakRockCurveFor(alpha, qur, Eir, krm, b, 3.0 * b);
    const WeakRockCurve below = WeakRockCurveFor(alpha, qur, Eir, krm, b, 3.0 * b * (1 + 1e-12));
    EXPECT_NEAR(above.pur, 5.2 * alpha * qur * b, 1e-9 * above.pur);
    EXPECT_NEAR(below.pur, above.pur, 1e-9 * above.pur);
    EXPECT_NEAR(above.Kir, 500.0 * Eir, 1e-9 * above.Kir);
    EXPECT_NEAR(below.Kir, above.Kir, 1e-9 * above.Kir);
    // Near the surface: pur = alpha qur (b + 1.4 xr), Kir = Eir (100 + 400 xr/(3b)).
    const WeakRockCurve top = WeakRockCurveFor(alpha, qur, Eir, krm, b, 36.0);
    EXPECT_NEAR(top.pur, alpha * qur * (24.0 + 50.4), 1e-9);
    EXPECT_NEAR(top.Kir, Eir * 300.0, 1e-6);
}

TEST(WeakRock, CurveShape) {
    const WeakRockCurve w = WeakRockCurveFor(0.6, 900.0, 5.0e4, 0.0005, 24.0, 36.0);
    EXPECT_NEAR(w.yrm, 0.012, 1e-15);
    // The initial line meets the quarter-power law at yA.
    EXPECT_NEAR(w.Kir * w.yA, w.C * std::pow(w.yA, 0.25), 1e-9 * w.Kir * w.yA);
    EXPECT_NEAR(w.C * std::pow(w.yrm, 0.25), 0.5 * w.pur, 1e-9 * w.pur);

    const std::array<double, 17> y = WeakRockDeflections(w.yrm);
    EXPECT_GT(y[0], 0.0);  // no point at y = 0
    EXPECT_NEAR(y[0], 0.0005 * w.yrm, 1e-18);
    EXPECT_DOUBLE_EQ(y[13], w.yrm);  // the 14th point
    for (double yk : y) {
        const double textbook =
            yk < w.yA ? w.Kir * yk : std::min(w.pur, 0.5 * w.pur * std::pow(yk / w.yrm, 0.25));
        EXPECT_NEAR(WeakRockResistance(yk, w), textbook, 1e-9 * w.pur) << yk;
    }
    // 8 yrm gives 0.84 pur; the last point, 16 yrm, is where the law reaches pur.
    EXPECT_NEAR(WeakRockResistance(y[15], w) / w.pur, 0.5 * std::pow(8.0, 0.25), 1e-12);
    EXPECT_DOUBLE_EQ(y[16], 16.0 * w.yrm);
    EXPECT_DOUBLE_EQ(WeakRockResistance(y[16], w), w.pur);
    EXPECT_DOUBLE_EQ(WeakRockResistance(30.0 * w.yrm, w), w.pur);
}

// One rock layer from the excavation level; p-y modification factors of 0.5
// on p and 2 on y everywhere, and an overburden the soils would shift by.
SoilProblem OneRockLayer(int type, LayerProps top, LayerProps bottom) {
    SoilProblem p = Soldier();
    p.layers = {Layer(type, 600, 0, top)};
    p.layers[0].bottom = bottom;
    p.pyMods = {{0.0, 0.5, 2.0}, {1000.0, 0.5, 2.0}};
    p.effectiveOverburden = 50.0;
    return p;
}

TEST(StrongRock, GeneratedCurveRecomputed) {
    SoilProblem p = OneRockLayer(6, {0.08, 1000, 0, 0, 0, 0}, {0.08, 1000, 0, 0, 0, 0});
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * 35u);
    const int head = 1 + 35 * 2;  // x = 96
    for (int side = 0; side < 2; ++side) {
        const double xd = side == 0 ? 96.0 : 216.0;
        double y = 0.0;
        for (int k = 0; k < 17; ++k) {
            double p0;
            if (y < 0.0096) {
                p0 = 0.5 * 1.0e6 * y;
            } else if (y < 0.0576) {
                p0 = 0.5 * (9600.0 + 50000.0 * (y - 0.0096));
            } else {
                p0 = 0.5 * 0.08 * 24.0 * xd;  // residual, no multiplier
            }
            const std::string& line = lines[head + 1 + 17 * side + k];
            const FilePoint f = ParsePoint(line);
            EXPECT_EQ(f.n, k + 1);
            EXPECT_NEAR(f.p, p0, E103Tolerance(p0)) << side << " " << k;  // no shift
            EXPECT_NEAR(f.y, 2.0 * y, E103Tolerance(2.0 * y));
            // (I5, 1X, 2E10.3)
            ASSERT_EQ(line.size(), 26u) << line;
            EXPECT_EQ(line[5], ' ');
            y += 0.00384;
        }
    }
    // The report: its own depth headings, no side heading, no multiplier line.
    const std::string r = g.report.str();
    const std::string table =
        "\n\n                 DEPTH-EXCAVATION SIDE     DIAM        C       \n"
        "                              IN            IN     LBS/IN**2 \n"
        "                             96.00         24.000   0.5E+03\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n"
        "                                0.000D+00           0.000D+00\n"
        "                                0.768D-02           0.192D+04\n";
    EXPECT_NE(r.find(table), std::string::npos) << r.substr(0, 4000);
    EXPECT_NE(r.find("\n\n                 DEPTH-BACKFILL SIDE       DIAM        C       \n"
                     "                              IN            IN     LBS/IN**2 \n"
                     "                            216.00         24.000   0.5E+03\n"),
              std::string::npos);
    EXPECT_EQ(r.find("AT THE EXCAVATION SIDE"), std::string::npos);
    EXPECT_EQ(r.find("P-Multiplier"), std::string::npos);
}

TEST(WeakRock, GeneratedCurveRecomputed) {
    // Strength 800 to 1000 and RQD 50 to 60 over the 192 in below the excavation.
    SoilProblem p =
        OneRockLayer(7, {0.08, 800, 0, 0.0005, 5.0e4, 50}, {0.08, 1000, 0, 0.0005, 6.0e4, 60});
    p.layers[0].thickness = 312.0;  // the profile ends at the cut: its bottom values hold there
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * 35u);

    // The second curve, x = 48: c = 850, mean strength 825, RQD 52.5, Eir of the top.
    const double b = 24.0, Eir = 5.0e4, yrm = 0.0005 * b;
    const double alpha = 1.0 - 52.5 / 150.0, qur = 0.5 * (800.0 + 850.0);
    const int head = 1 + 35 * 1;
    const double f[17] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                          0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  16.0};
    for (int side = 0; side < 2; ++side) {
        const double xr = side == 0 ? 48.0 : 168.0;
        const double pur = xr <= 3 * b ? alpha * qur * (b + 1.4 * xr) : 5.2 * alpha * qur * b;
        const double Kir = xr <= 3 * b ? Eir * (100 + 400 * xr / (3 * b)) : 500 * Eir;
        const double yA = std::pow(0.5 * pur / std::pow(yrm, 0.25) / Kir, 4.0 / 3.0);
        for (int k = 0; k < 17; ++k) {
            const double y = f[k] * yrm;
            const double p0 = y < yA ? Kir * y : std::min(pur, 0.5 * pur * std::pow(y / yrm, 0.25));
            const std::string& line = lines[head + 1 + 17 * side + k];
            const FilePoint pt = ParsePoint(line);
            EXPECT_EQ(pt.n, k + 1);
            EXPECT_NEAR(pt.p, 0.5 * p0, E103Tolerance(0.5 * p0)) << side << " " << k;  // no shift
            EXPECT_NEAR(pt.y, 2.0 * y, E103Tolerance(2.0 * y));
            // (I5, 2(2X, E10.3))
            ASSERT_EQ(line.size(), 29u) << line;
            EXPECT_EQ(line.substr(5, 2), "  ");
            EXPECT_EQ(line.substr(17, 2), "  ");
        }
    }
    const std::string r = g.report.str();
    const std::string table =
        "\n\n         AT THE EXCAVATION SIDE\n"
        "\n\n              DEPTH     DIAM       Qu        Eu    GAMMA AVG      E50\n"
        "                IN       IN    LBS/IN**2 LBS/IN**2 LBS/IN**3 \n"
        "               48.00    24.000  0.85E+03  0.50E+05  0.80E-01   0.500E-03\n"
        "                                     Y                   P\n"
        "                                     IN                LBS/IN\n";
    EXPECT_NE(r.find(table), std::string::npos) << r.substr(0, 4000);
    EXPECT_EQ(r.find("P-Multiplier"), std::string::npos);
}

TEST(WeakRock, ZeroStrengthBelowTheFirstCurveStopsTheAnalysis) {
    SoilProblem p =
        OneRockLayer(7, {0.08, 0, 0, 0.0005, 5.0e4, 50}, {0.08, 0, 0, 0.0005, 5.0e4, 50});
    Generation g;
    try {
        GenerateCurves(p, g.Out());
        FAIL() << "generated";
    } catch (const SoilStop& stop) {
        EXPECT_EQ(stop.code(), 0);
    }
    EXPECT_EQ(g.err.str(),
              " READ SOIL DATA....\n\n"
              "       --------------------WARNING----------------------\n"
              "       THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n"
              "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n");
    // The first curve was written, the second not.
    EXPECT_EQ(g.FileLines().size(), 1u + 35u);
}

TEST(WeakRock, ModulusAndKrmAreRequired) {
    for (auto [krm, Eir, text] :
         {std::tuple{0.0005, 0.0,
                     "     ERROR STOP -- WEAK ROCK LAYER 1 NEEDS A ROCK MODULUS ABOVE ZERO"},
          std::tuple{-1.0, 5.0e4, "     ERROR STOP -- WEAK ROCK LAYER 1 NEEDS A KRM ABOVE ZERO"}}) {
        const LayerProps props{0.08, 800, 0, krm, Eir, 50};
        SoilProblem p = OneRockLayer(7, props, props);
        Generation g;
        try {
            GenerateCurves(p, g.Out());
            ADD_FAILURE() << "accepted";
        } catch (const SoilDataError& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
    }
}

// Rock adds nothing to the resistance integral: clay below rock starts its
// equivalent depth from nothing, and clay below clay and rock only from the clay.
TEST(Rock, NoResistanceIntegral) {
    for (int type : {6, 7}) {
        const LayerProps rock{0.08, 800, 0, 0.0005, 5.0e4, 50};
        const LayerProps clay{0.03, 20, 0, 0.01, 0, 0};
        SoilProblem p = Soldier();
        p.layers = {Layer(1, 160, 0, clay), Layer(type, 200, 160, rock), Layer(1, 600, 200, clay)};
        p.effectiveOverburden = 50.0;
        Generation out;
        std::ofstream file(out.folder.path / "soildata");
        PYGeneration g(p, out.Out(), file);
        for (int L = 0; L < 3; ++L) ModelForLayer(g, L);
        EXPECT_EQ(g.profile.layers[1].R, 0.0) << type;
        const double R0 = g.profile.layers[0].R;
        ASSERT_GT(R0, 0.0);
        EXPECT_NEAR(g.profile.layers[2].xEq,
                    SoftClayEquivalentDepth(R0, 20, 24, g.props.GammaAvg(80.1)), 1e-9)
            << type;
    }
}

}  // namespace
}  // namespace korvel::soil
