// Curves generated at every station (p-y option 3): one curve per station
// below the excavation level, the straight lines between its points within
// 1 % of the published law, and the p-y modification factors and the group
// factor applied as to the five curves per layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "py_test_support.h"

namespace korvel::soil {
namespace {

using testing::Generation;
using testing::Layer;
using testing::Soldier;

// Soft clay below the English soldier piles: H = 120, wall 300 in of 6 in
// increments, c = 20, gamma = 0.03, E50 = 0.01, b = 24.
SoilProblem SoftClayAtEveryStation() {
    SoilProblem p = Soldier();
    p.pyCurveOption = kPYCurvesAtEveryStation;
    p.layers = {Layer(1, 600, 0, {0.03, 20, 0, 0.01, 0, 0})};
    return p;
}

// Linear interpolation in a side's points.
double Interpolate(const std::vector<double>& y, const std::vector<double>& p, double at) {
    for (size_t i = 1; i < y.size(); ++i) {
        if (at <= y[i]) return p[i - 1] + (p[i] - p[i - 1]) * (at - y[i - 1]) / (y[i] - y[i - 1]);
    }
    return p.back();
}

TEST(CurvesAtEveryStation, OneCurvePerStationBelowTheExcavation) {
    SoilProblem p = SoftClayAtEveryStation();
    Generation g;
    GenerateCurves(p, g.Out());
    // Stations 20 (the excavation level) to 50 (the tip).
    ASSERT_EQ(p.stationCurves.size(), 31u);
    for (size_t i = 0; i < p.stationCurves.size(); ++i) {
        const StationPYCurve& c = p.stationCurves[i];
        EXPECT_EQ(c.station, 20 + static_cast<int>(i));
        // The excavation level is sampled just below it, as the first of the five curves.
        EXPECT_NEAR(c.z, i == 0 ? 120.1 : 120.0 + 6.0 * i, 1e-9);
        EXPECT_EQ(c.yExcavation.front(), 0.0);
        EXPECT_EQ(c.yBackfill.front(), 0.0);
        EXPECT_TRUE(std::is_sorted(c.yExcavation.begin(), c.yExcavation.end()));
    }
    EXPECT_EQ(g.report.str().find("AT THE EXCAVATION SIDE"), std::string::npos);
    EXPECT_NE(g.report.str().find("P-Y CURVES GENERATED AT EVERY STATION"), std::string::npos);
}

TEST(CurvesAtEveryStation, StraightLinesStayWithinOnePerCentOfTheLaw) {
    SoilProblem p = SoftClayAtEveryStation();
    Generation g;
    GenerateCurves(p, g.Out());
    const double c = 20, gamma = 0.03, b = 24, y50 = 2.5 * 0.01 * b;
    for (const StationPYCurve& curve : p.stationCurves) {
        for (int side = 0; side < 2; ++side) {
            const double x =
                (side == 0 ? curve.z - 120.0 : curve.z);  // the soft-clay criterion's depth
            const double pu = std::min((3 + gamma * x / c + 0.5 * x / b) * c * b, 9 * c * b);
            const auto& y = side == 0 ? curve.yExcavation : curve.yBackfill;
            const auto& pts = side == 0 ? curve.pExcavation : curve.pBackfill;
            // No active shift here (no overburden): p' is the law itself.
            for (double f = 1.0e-3; f <= 30.0; f *= 1.07) {
                const double at = f * y50;
                const double law = at >= 8 * y50 ? pu : 0.5 * pu * std::cbrt(at / y50);
                EXPECT_NEAR(Interpolate(y, pts, at), law, 0.01 * law) << curve.station << " " << f;
            }
        }
    }
}

TEST(CurvesAtEveryStation, ModificationFactorsAndGroupFactorApplyAsBefore) {
    SoilProblem plain = SoftClayAtEveryStation();
    SoilProblem modified = SoftClayAtEveryStation();
    modified.pyMods = {{0.0, 0.5, 2.0}, {1000.0, 0.5, 2.0}};
    SoilProblem group = SoftClayAtEveryStation();
    group.geometry.Wa = 48.0;  // Wa/Wp = 2: 0.5292 * 2^0.5659 below the excavation
    Generation g1, g2, g3;
    GenerateCurves(plain, g1.Out());
    GenerateCurves(modified, g2.Out());
    GenerateCurves(group, g3.Out());
    ASSERT_EQ(plain.stationCurves.size(), modified.stationCurves.size());
    const double factor = 0.5292 * std::pow(2.0, 0.5659);
    for (size_t i = 0; i < plain.stationCurves.size(); ++i) {
        const StationPYCurve &a = plain.stationCurves[i], &m = modified.stationCurves[i],
                             &r = group.stationCurves[i];
        ASSERT_EQ(a.yExcavation.size(), m.yExcavation.size());
        for (size_t k = 0; k < a.yExcavation.size(); ++k) {
            EXPECT_NEAR(m.yExcavation[k], 2.0 * a.yExcavation[k], 1e-12 * (1 + a.yExcavation[k]));
            EXPECT_NEAR(m.pExcavation[k], 0.5 * a.pExcavation[k], 1e-9 * (1 + a.pExcavation[k]));
            EXPECT_NEAR(r.pExcavation[k], factor * a.pExcavation[k], 1e-9 * (1 + a.pExcavation[k]));
        }
    }
}

}  // namespace
}  // namespace korvel::soil
