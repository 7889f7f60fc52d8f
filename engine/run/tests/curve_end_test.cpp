// Beyond the end points of a generated p-y curve the soil resists no more
// than at them; a user curve's end segments are still extended. Checked on a
// weak-rock curve built here from the published criterion (1997) the
// way the intake joins a generated curve's two halves.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "run/iteration.h"

namespace korvel::engine {
namespace {

// Weak rock at 48 in below its surface: b = 48, qu = 1000, RQD 40, krm 0.0005,
// Eir 50000. 17 points f yrm per side as the generator writes them, joined
// into the 33-point curve (backfill half mirrored, first excavation point
// dropped), p times h = 6.
struct RockCurve {
    double yrm = 0.0005 * 48.0;
    double pur = 0.0;
    PYCurve curve;
};

RockCurve WeakRockCurve(bool generated) {
    RockCurve r;
    const double b = 48.0, xr = 48.0, h = 6.0;
    const double alpha = 1.0 - 2.0 / 3.0 * 0.4;
    r.pur = alpha * 1000.0 * b * (1.0 + 1.4 * xr / b);
    const double Kir = 5.0e4 * (100.0 + 400.0 * xr / (3.0 * b));
    const double yA = std::pow(r.pur / (2.0 * std::pow(r.yrm, 0.25) * Kir), 4.0 / 3.0);
    auto p = [&](double y) {
        if (y <= yA) return Kir * y;
        if (y <= 16.0 * r.yrm) return r.pur / 2.0 * std::pow(y / r.yrm, 0.25);
        return r.pur;
    };
    const double f[17] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                          0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  16.0};
    for (int m = 16; m >= 0; --m) {  // backfill half, deepest first
        r.curve.y.push_back(-f[m] * r.yrm);
        r.curve.p.push_back(p(f[m] * r.yrm) * h);
    }
    for (int m = 1; m < 17; ++m) {
        r.curve.y.push_back(f[m] * r.yrm);
        r.curve.p.push_back(-p(f[m] * r.yrm) * h);
    }
    r.curve.station = 28;
    r.curve.sideFlag = 1;
    r.curve.generated = generated;
    return r;
}

// The soil force q - s y the engine applies at deflection y.
double Force(const PYCurve& c, double y) {
    const SoilLine l = LinearisePYCurve(c, y);
    return l.q - l.s * y;
}

TEST(GeneratedCurveEnd, WeakRockHoldsItsUltimateBeyondTheLastPoint) {
    const RockCurve r = WeakRockCurve(true);
    ASSERT_EQ(r.curve.y.size(), 33u);
    for (double f : {16.5, 20.0, 24.0, 29.0, 100.0}) {
        for (double sign : {1.0, -1.0}) {
            const SoilLine l = LinearisePYCurve(r.curve, sign * f * r.yrm);
            EXPECT_TRUE(l.offCurve);
            EXPECT_EQ(l.s, 0.0);
            EXPECT_NEAR(Force(r.curve, sign * f * r.yrm), -sign * r.pur * 6.0, 1e-9 * r.pur)
                << f << " " << sign;
        }
    }
    // Inside the curve nothing changes: the chord of the segment holding y.
    const RockCurve user = WeakRockCurve(false);
    for (double f : {0.0007, 0.05, 0.9, 3.0, 10.0, 15.9}) {
        const SoilLine a = LinearisePYCurve(r.curve, f * r.yrm);
        const SoilLine b = LinearisePYCurve(user.curve, f * r.yrm);
        EXPECT_EQ(a.s, b.s) << f;
        EXPECT_EQ(a.q, b.q) << f;
        EXPECT_FALSE(a.offCurve);
    }
}

TEST(GeneratedCurveEnd, AUserCurveStillExtendsItsLastSegment) {
    // The same points given as a user curve: the segment from 8 to 16 yrm
    // goes on rising, 1.16 pur at 24 yrm.
    const RockCurve r = WeakRockCurve(false);
    const double at8 = r.pur / 2.0 * std::pow(8.0, 0.25);
    const double slope = (r.pur - at8) / (8.0 * r.yrm);
    const double expected = r.pur + slope * 8.0 * r.yrm;
    EXPECT_NEAR(-Force(r.curve, 24.0 * r.yrm), expected * 6.0, 1e-6 * r.pur);
    EXPECT_GT(expected, 1.15 * r.pur);
}

TEST(GeneratedCurveEnd, AFallingEndSegmentHoldsItsLastValue) {
    // A strong rock's brittle drop just before its last point: beyond it the
    // residual holds instead of falling further, below zero.
    PYCurve c;
    c.generated = true;
    c.y = {-2.0, -1.0, 0.0, 1.0, 2.0};
    c.p = {10.0, 100.0, 0.0, -100.0, -10.0};
    EXPECT_NEAR(Force(c, 5.0), -10.0, 1e-12);
    EXPECT_NEAR(Force(c, -5.0), 10.0, 1e-12);
    c.generated = false;
    EXPECT_NEAR(Force(c, 5.0), 260.0, 1e-12);  // 90 per unit of y: the soil pulls
}

TEST(GeneratedCurveEnd, AFlatEndSegmentGivesTheSameLineEitherWay) {
    PYCurve c;
    c.y = {-3.0, -2.0, -1.0, 0.0, 1.0, 2.0, 3.0};
    c.p = {50.0, 50.0, 30.0, 0.0, -30.0, -50.0, -50.0};
    for (double y : {-9.0, 9.0}) {
        c.generated = false;
        const SoilLine user = LinearisePYCurve(c, y);
        c.generated = true;
        const SoilLine generated = LinearisePYCurve(c, y);
        EXPECT_EQ(user.q, generated.q);
        EXPECT_EQ(user.s, generated.s);
        EXPECT_EQ(user.offCurve, generated.offCurve);
    }
}

}  // namespace
}  // namespace korvel::engine
