// Limits of the generated curves, checked against the published criteria
// worked out here and not through the models' helpers: the stiff clay below
// water never pulls on the wall, a weak rock measures its depth from the rock
// surface however it is split into layers, and the weak rock's last point is
// where its law reaches the ultimate resistance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "py_test_support.h"

namespace korvel::soil {
namespace {

using testing::E103Tolerance;
using testing::FilePoint;
using testing::Generation;
using testing::Layer;
using testing::ParsePoint;

// The 17 excavation-side and 17 backfill-side points of curve `curve`
// (0-based) of a generation with `userCurves` user curves ahead.
struct CurveRows {
    double z = 0.0;
    std::vector<FilePoint> excavation, backfill;
};
CurveRows CurveAt(const std::vector<std::string>& lines, int curve) {
    CurveRows rows;
    const size_t head = 1 + 35 * static_cast<size_t>(curve);
    std::istringstream record(lines.at(head));
    record >> rows.z;
    for (int k = 0; k < 17; ++k) rows.excavation.push_back(ParsePoint(lines.at(head + 1 + k)));
    for (int k = 0; k < 17; ++k) rows.backfill.push_back(ParsePoint(lines.at(head + 18 + k)));
    return rows;
}

// ---------------------------------------------------------------------------
// Stiff clay with free water (static criterion for stiff clay below water).

// The As factor of the criterion, x/b from 0 to 5.
double PublishedAs(double xb) {
    const double d[] = {0, 1, 2, 3, 4, 5};
    const double a[] = {0, 0.223, 0.46, 0.55, 0.59, 0.6};
    if (xb >= 5.0) return 0.6;
    for (int i = 0; i < 5; ++i) {
        if (xb <= d[i + 1]) return a[i] + (a[i + 1] - a[i]) * (xb - d[i]) / (d[i + 1] - d[i]);
    }
    return 0.6;
}

// The criterion's four branches, without any bound.
double PublishedWet(double y, double pc, double As, double y50) {
    const double ya = As * y50;
    if (y <= ya) return 0.5 * pc * std::sqrt(y / y50);
    if (y <= 6 * ya) {
        return 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow((y - ya) / ya, 1.25);
    }
    const double at6 = 0.5 * pc * std::sqrt(6 * As) - 0.411 * pc;
    if (y <= 18 * ya) return at6 - 0.0625 * pc / y50 * (y - 6 * ya);
    return at6 - 0.75 * pc * As;
}

// Newtons and millimetres (consistent units): b = 610, c = 0.1 N/mm2,
// gamma' = 9.5E-6 N/mm3, E50 = 0.005, k = 0.135 N/mm3. H = 3380 and a wall of
// 21 x 200 cut the profile at x = 1220 = 2b: curves at x = 0.1, 305 (x/b =
// 0.5), 610, 915 and 1219.9, all where As < 0.223 makes the residual negative.
SoilProblem WetClayNearTheSurface() {
    SoilProblem p;
    p.unitSystem = 3;
    p.N = 21;
    p.h = 200.0;
    p.wallLength = 4200.0;
    p.geometry.freeHeight = 3380.0;
    p.geometry.Wa = 4 * 610.0;  // soldier piles: no group reduction
    p.geometry.Wp = 610.0;
    p.geometry.waterDepthBackfill = 1.0e9;  // gamma' given directly
    p.layers = {Layer(2, 20000.0, 0.0, {9.5e-6, 0.1, 0, 0.005, 0.135, 0})};
    return p;
}

TEST(StiffClayWetLimit, ResistanceIsNeverBelowZero) {
    SoilProblem p = WetClayNearTheSurface();
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * 35u);

    const double b = 610.0, c = 0.1, gamma = 9.5e-6, y50 = 0.005 * b, k = 0.135, H = 3380.0;
    const double xs[5] = {0.1, 305.0, 610.0, 915.0, 1219.9};
    int negativeWithoutTheBound = 0;
    for (int curve = 0; curve < 5; ++curve) {
        const CurveRows rows = CurveAt(lines, curve);
        EXPECT_NEAR(rows.z, H + xs[curve], 1e-6);
        for (int side = 0; side < 2; ++side) {
            // First layer: the depth in the formulas is the depth used itself.
            const double x = side == 0 ? xs[curve] : H + xs[curve];
            const double As = PublishedAs(x / b);
            const double pc = std::min(2 * c * b + gamma * b * x + 2.83 * c * x, 11 * c * b);
            const double ya = As * y50;
            const double ys[17] = {0,      0.5 * ya, 1 * ya,  1.5 * ya, 2 * ya,  2.5 * ya,
                                   3 * ya, 3.5 * ya, 4 * ya,  4.5 * ya, 5 * ya,  5.5 * ya,
                                   6 * ya, 10 * ya,  14 * ya, 18 * ya,  200 * ya};
            const std::vector<FilePoint>& pts = side == 0 ? rows.excavation : rows.backfill;
            for (int n = 0; n < 17; ++n) {
                const double law = std::min(PublishedWet(ys[n], pc, As, y50), k * x * ys[n]);
                if (law < -1e-9 * pc) ++negativeWithoutTheBound;
                const double expected = std::max(0.0, law);  // no shift: no overburden given
                EXPECT_GE(pts[n].p, 0.0) << curve << " " << side << " " << n;
                EXPECT_NEAR(pts[n].p, expected, E103Tolerance(expected) + 1e-12)
                    << curve << " " << side << " " << n;
                EXPECT_NEAR(pts[n].y, ys[n], E103Tolerance(ys[n]));
            }
        }
    }
    // The case matters: the unbounded criterion goes below zero here.
    EXPECT_GE(negativeWithoutTheBound, 19);
}

TEST(StiffClayWetLimit, TheReportedExampleAtHalfAWidth) {
    // x/b = 0.5: the unbounded curve peaks at +35.0 N/mm, is negative from
    // 6 As y50 = 2.04 mm on and falls to -18.0 N/mm; the generated curve
    // stays at zero there.
    const double b = 610.0, c = 0.1, gamma = 9.5e-6, y50 = 0.005 * b, x = 305.0;
    const double As = PublishedAs(0.5);
    const double pc = 2 * c * b + gamma * b * x + 2.83 * c * x;
    EXPECT_NEAR(6 * As * y50, 2.04, 0.01);
    EXPECT_LT(PublishedWet(6 * As * y50, pc, As, y50), 0.0);
    EXPECT_NEAR(PublishedWet(18 * As * y50 * 1.01, pc, As, y50), -18.0, 0.05);

    SoilProblem p = WetClayNearTheSurface();
    Generation g;
    GenerateCurves(p, g.Out());
    const CurveRows rows = CurveAt(g.FileLines(), 1);
    double peak = 0.0;
    for (const FilePoint& f : rows.excavation) peak = std::max(peak, f.p);
    EXPECT_NEAR(peak, 35.0, 0.05);
    for (int n = 12; n < 17; ++n) EXPECT_EQ(rows.excavation[n].p, 0.0) << n;  // 6 to 200 As y50
}

// ---------------------------------------------------------------------------
// Weak rock (published criterion of 1997, static).

struct WeakRockInput {
    double qu, rqd, krm, Eir, b;
};

// p at deflection y, xr below the rock surface.
double PublishedWeakRock(double y, double xr, const WeakRockInput& r) {
    const double alpha = 1.0 - 2.0 / 3.0 * r.rqd / 100.0;
    const double b = r.b;
    const double pur = xr <= 3 * b ? alpha * r.qu * b * (1 + 1.4 * xr / b) : 5.2 * alpha * r.qu * b;
    const double kir = xr <= 3 * b ? 100 + 400 * xr / (3 * b) : 500;
    const double Kir = kir * r.Eir;
    const double yrm = r.krm * b;
    const double yA = std::pow(pur / (2 * std::pow(yrm, 0.25) * Kir), 4.0 / 3.0);
    if (y <= yA) return Kir * y;
    if (y <= 16 * yrm) return pur / 2 * std::pow(y / yrm, 0.25);
    return pur;
}

double PublishedWeakRockUltimate(double xr, const WeakRockInput& r) {
    const double alpha = 1.0 - 2.0 / 3.0 * r.rqd / 100.0;
    return xr <= 3 * r.b ? alpha * r.qu * r.b * (1 + 1.4 * xr / r.b) : 5.2 * alpha * r.qu * r.b;
}

// English, b = 48 in, H = 120 in, wall 300 in: the rock from the excavation
// level to the cut at x = 192 in, as one input layer or as `parts` layers of
// equal thickness (the first reaching up to the top of the backfill).
SoilProblem UniformRock(int parts) {
    SoilProblem p = testing::Soldier();
    p.geometry.Wa = 4 * 48.0;
    p.geometry.Wp = 48.0;
    const LayerProps rock{0.08, 1000, 0, 0.0005, 5.0e4, 40};
    double previous = 0.0;
    for (int i = 1; i <= parts; ++i) {
        const double bottom = 120.0 + 192.0 * i / parts;
        p.layers.push_back(Layer(7, bottom, previous, rock));
        previous = bottom;
    }
    return p;
}

const WeakRockInput kRock{1000, 40, 0.0005, 5.0e4, 48.0};
const double kFactors[17] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                             0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  16.0};

// Every curve of a split rock follows the criterion with xr below the rock
// surface (the excavation level, or H above it on the backfill side).
class WeakRockSplit : public ::testing::TestWithParam<int> {};

TEST_P(WeakRockSplit, DepthIsMeasuredFromTheRockSurface) {
    const int parts = GetParam();
    SoilProblem p = UniformRock(parts);
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * parts * 35u);
    const double yrm = kRock.krm * kRock.b;
    for (int curve = 0; curve < 5 * parts; ++curve) {
        const CurveRows rows = CurveAt(lines, curve);
        const double x = rows.z - 120.0;
        for (int side = 0; side < 2; ++side) {
            const double xr = side == 0 ? x : rows.z;
            const std::vector<FilePoint>& pts = side == 0 ? rows.excavation : rows.backfill;
            for (int n = 0; n < 17; ++n) {
                const double y = kFactors[n] * yrm;
                const double expected = PublishedWeakRock(y, xr, kRock);
                // The record's depth has two decimals: allow for the slope in xr.
                EXPECT_NEAR(pts[n].p, expected, E103Tolerance(expected) + 1e-4 * expected)
                    << parts << " curve " << curve << " side " << side << " point " << n;
                EXPECT_NEAR(pts[n].y, y, E103Tolerance(y));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layers, WeakRockSplit, ::testing::Values(1, 2, 10));

TEST(WeakRockSplit, TenLayersGiveTheCurvesOfOneAtTheSameDepths) {
    // One layer has curves at x = 0.1, 48, 96, 144 and 191.9; ten layers of
    // 19.2 in have theirs at 0.1, 48 (middle of the third) and 144 (middle of
    // the eighth), among others.
    Generation one, ten;
    SoilProblem p1 = UniformRock(1), p10 = UniformRock(10);
    GenerateCurves(p1, one.Out());
    GenerateCurves(p10, ten.Out());
    const std::vector<std::string> a = one.FileLines(), b = ten.FileLines();
    struct Pair {
        int one, ten;
    };
    for (const Pair pair : {Pair{0, 0}, Pair{1, 12}, Pair{3, 37}}) {
        for (int line = 0; line < 35; ++line) {
            EXPECT_EQ(a.at(1 + 35 * pair.one + line), b.at(1 + 35 * pair.ten + line))
                << pair.one << " " << pair.ten << " line " << line;
        }
    }
    // The depths of the issue: p at 12 yrm just above and below 48 in is the
    // same law, not the surface value of a new layer.
    const double yrm = kRock.krm * kRock.b;
    EXPECT_NEAR(PublishedWeakRock(12 * yrm, 47.9, kRock), PublishedWeakRock(12 * yrm, 48.1, kRock),
                0.01 * PublishedWeakRock(12 * yrm, 48.0, kRock));
}

TEST(WeakRockLimit, TheLastPointIsWhereTheLawReachesTheUltimate) {
    SoilProblem p = UniformRock(1);
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    const double yrm = kRock.krm * kRock.b;
    for (int curve = 0; curve < 5; ++curve) {
        const CurveRows rows = CurveAt(lines, curve);
        for (int side = 0; side < 2; ++side) {
            const double xr = side == 0 ? rows.z - 120.0 : rows.z;
            const double pur = PublishedWeakRockUltimate(xr, kRock);
            const FilePoint last = side == 0 ? rows.excavation[16] : rows.backfill[16];
            EXPECT_NEAR(last.y, 16 * yrm, E103Tolerance(16 * yrm));
            EXPECT_NEAR(last.p, pur, E103Tolerance(pur) + 1e-4 * pur) << curve << " " << side;
            // and the point before it still lies below the ultimate
            const FilePoint before = side == 0 ? rows.excavation[15] : rows.backfill[15];
            EXPECT_LT(before.p, 0.85 * pur);
        }
    }
}

}  // namespace
}  // namespace korvel::soil
