#include "run/iteration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "run/errors.h"

namespace korvel::engine {
namespace {

double& At(StationArray& a, int station) {
    return a[StationIndex(station)];
}
double At(const StationArray& a, int station) {
    return a[StationIndex(station)];
}

const std::string kMonitorHeader =
    "\n\n\n"
    "     ITERATION MONITOR DATA\n"
    "     ----------------------\n";

// Ten increments of unit length without bending stiffness: every station is
// an independent spring of 2, loaded so that it deflects 0.001 per station
// number.
Problem SpringBed() {
    Problem pr;
    pr.N = 10;
    pr.h = 1.0;
    pr.maxDeflection = 1.0;
    pr.closureTolerance = 1e-4;
    pr.stationCode.fill(kFree);
    for (int k = 0; k <= pr.N; ++k) {
        At(pr.S, k) = 2.0;
        At(pr.Q, k) = 0.002 * k;
    }
    return pr;
}

PYCurve Curve(int station, int sideFlag, std::vector<double> y, std::vector<double> p) {
    return {.station = station, .sideFlag = sideFlag, .y = std::move(y), .p = std::move(p)};
}

// A curve that is one straight line p = q - s·y through y = -1, 0, 1.
PYCurve Line(int station, int sideFlag, double s, double q) {
    return Curve(station, sideFlag, {-1.0, 0.0, 1.0}, {q + s, q, q - s});
}

TEST(LinearisePYCurveTest, UsesTheSegmentHoldingTheDeflection) {
    struct Case {
        const char* name;
        PYCurve curve;
        double y;
        double s, q;
        bool offCurve;
    };
    const PYCurve symmetric = Curve(0, 0, {-1, 0, 1}, {100, 0, -100});
    const PYCurve softening = Curve(0, 0, {0, 1, 3}, {0, -50, -70});
    const Case cases[] = {
        {"upper segment", symmetric, 0.5, 100, 0, false},
        {"lower segment", symmetric, -0.5, 100, 0, false},
        {"on the last point", symmetric, 1.0, 100, 0, false},
        {"beyond the last point", symmetric, 1.5, 100, 0, true},
        {"before the first point", symmetric, -2.0, 100, 0, true},
        {"second segment", softening, 2.0, 10, -40, false},
        {"second segment extended", softening, 5.0, 10, -40, true},
        {"first segment extended back", softening, -1.0, 50, 0, true},
        {"two points are always off", Curve(0, 0, {0, 1}, {0, -10}), 0.5, 10, 0, true},
        {"vertical segment", Curve(0, 0, {0, 0, 1}, {0, -10, -20}), 0.0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SoilLine line = LinearisePYCurve(c.curve, c.y);
        EXPECT_DOUBLE_EQ(line.s, c.s);
        EXPECT_DOUBLE_EQ(line.q, c.q);
        EXPECT_EQ(line.offCurve, c.offCurve);
    }
}

TEST(AddSoilSpringsTest, SpreadsCurvesOverTheirIntervals) {
    struct Expected {
        int station;
        double s, q;
    };
    struct Case {
        const char* name;
        int n;
        std::vector<PYCurve> curves;
        double deflection;  // at every station
        std::vector<Expected> expected;
        double totalS;  // over all stations: the trapezoidal sum of the springs
        bool offCurve;
    };
    const Case cases[] = {
        {"two generated curves",
         30,
         {Line(10, 1, 100, 0), Line(20, 1, 300, 100)},
         0.0,
         {{9, 0, 0}, {10, 50, 0}, {15, 200, 50}, {20, 150, 50}, {21, 0, 0}},
         2000,
         false},
        {"interior curve station gets half from each side",
         40,
         {Line(10, 1, 100, 0), Line(20, 1, 300, 0), Line(30, 1, 100, 0)},
         0.0,
         {{15, 200, 0}, {20, 300, 0}, {25, 200, 0}, {30, 50, 0}},
         4000,
         false},
        {"deflection beyond the curves' last point",
         30,
         {Line(10, 1, 100, 0), Line(20, 1, 300, 100)},
         2.0,
         {{10, 50, 0}, {15, 200, 50}, {20, 150, 50}},
         2000,
         true},
        {"stand-alone curve", 30, {Line(5, 0, 80, -8)}, 0.0, {{5, 80, -8}, {6, 0, 0}}, 80, false},
        {"a flag 0 curve ends the chain, the next stands alone",
         30,
         {Line(10, 1, 100, 0), Line(20, 0, 300, 0), Line(25, 0, 50, 0)},
         0.0,
         {{15, 200, 0}, {20, 150, 0}, {21, 0, 0}, {25, 50, 0}},
         2050,
         false},
        {"second curve at the chain start is skipped",
         30,
         {Line(10, 1, 100, 0), Line(10, 1, 999, 9), Line(20, 1, 300, 100)},
         0.0,
         {{10, 50, 0}, {15, 200, 50}, {20, 150, 50}},
         2000,
         false},
        {"chain cut at the wall's bottom",
         20,
         {Line(16, 1, 100, 0), Line(24, 1, 100, 0)},
         0.0,
         {{16, 50, 0}, {18, 100, 0}, {20, 50, 0}, {21, 0, 0}},
         400,
         false},
        {"chain starting at the bottom adds nothing",
         20,
         {Line(20, 1, 100, 0), Line(25, 1, 100, 0)},
         0.0,
         {},
         0,
         false},
        {"stand-alone curve below the wall adds nothing",
         20,
         {Line(22, 0, 100, 0)},
         0.0,
         {},
         0,
         false},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Problem pr;
        pr.N = c.n;
        pr.h = 1.0;
        pr.pyCurves = c.curves;
        StationArray w{};
        w.fill(c.deflection);
        StationArray Qp{}, Sp{};

        EXPECT_EQ(AddSoilSprings(pr, w, Qp, Sp), c.offCurve);
        for (const Expected& e : c.expected) {
            EXPECT_DOUBLE_EQ(At(Sp, e.station), e.s) << "station " << e.station;
            EXPECT_DOUBLE_EQ(At(Qp, e.station), e.q) << "station " << e.station;
        }
        double total = 0.0;
        for (const double s : Sp) total += s;
        EXPECT_NEAR(total, c.totalS, 1e-9 * (1.0 + c.totalS));
    }
}

TEST(AddSoilSpringsTest, ChainStationsOutOfOrderEndTheRun) {
    Problem pr;
    pr.N = 30;
    pr.h = 1.0;
    pr.pyCurves = {Line(20, 1, 100, 0), Line(10, 1, 100, 0)};
    const StationArray w{};
    StationArray Qp{}, Sp{};
    try {
        AddSoilSprings(pr, w, Qp, Sp);
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "     ERROR STOP -- STATIONS NOT IN ORDER");
    }
}

TEST(UpdateBendingStiffnessTest, FindsTheStiffnessWhereMomentMatchesCurvature) {
    struct Case {
        const char* name;
        std::vector<MEIPoint> points;
        double curvature;
        double stiffness;  // expected F; (curvature·F, F) lies on the curve
    };
    const std::vector<MEIPoint> bilinear = {{0, 1000}, {100, 1000}, {200, 500}};
    const Case cases[] = {
        {"no curvature", bilinear, 0.0, 1000},
        {"first segment", bilinear, 0.05, 1000},        // M = 50
        {"second segment", bilinear, 0.3, 600},         // M = 180
        {"beyond the last point", bilinear, 1.0, 250},  // M = 250, segment extended
        // Exactly parallel (phi·h² and the w below are exact in binary): F kept.
        {"segment parallel to M = phi*EI", {{0, 1000}, {125, 2000}}, 0.125, 777},
    };
    constexpr double kInitialEI = 777;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Problem pr;
        pr.N = 10;
        pr.h = 2.0;
        pr.F.fill(kInitialEI);
        pr.eiCurves.push_back({.fromStation = 3, .toStation = 5, .points = c.points});
        StationArray w{};
        for (int k = -3; k <= pr.N + 3; ++k) At(w, k) = c.curvature * pr.h * pr.h * k * k / 2.0;

        UpdateBendingStiffness(pr, w);
        for (int k = 3; k <= 5; ++k) EXPECT_NEAR(At(pr.F, k), c.stiffness, 1e-9) << k;
        EXPECT_EQ(At(pr.F, 2), kInitialEI);
        EXPECT_EQ(At(pr.F, 6), kInitialEI);
    }
}

TEST(IterateTest, WritesOneMonitorLinePerIteration) {
    Problem pr = SpringBed();
    std::ostringstream notes;
    const IterationOutcome outcome = Iterate(pr, notes);
    EXPECT_EQ(
        notes.str(),
        kMonitorHeader +
            "      1       NO         10   0.100E-02 0.200E-02 0.300E-02 0.400E-02 0.500E-02\n"
            "      2       NO          0   0.100E-02 0.200E-02 0.300E-02 0.400E-02 0.500E-02\n");
    EXPECT_EQ(outcome.iteration, 2);
    EXPECT_DOUBLE_EQ(At(outcome.w, 7), 0.007);
}

TEST(IterateTest, EndsOnClosureExceedingOrTheLimit) {
    struct Case {
        const char* name;
        double maxDeflection, tolerance;
        int limit;
        int iteration;
        IterationEnd end;
        int exceed, notClosed;
    };
    const Case cases[] = {
        // Without curves the second solution repeats the first.
        {"closes in iteration 2", 1.0, 1e-4, 100, 2, IterationEnd::kClosed, 0, 0},
        {"nothing moves more than the tolerance", 1.0, 0.05, 100, 1, IterationEnd::kClosed, 0, 0},
        {"stations 5 to 10 exceed", 0.0045, 1e-4, 100, 1, IterationEnd::kDeflectionExceeded, 6, 10},
        {"limit before closure", 1.0, 1e-4, 1, 1, IterationEnd::kLimitReached, 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Problem pr = SpringBed();
        pr.maxDeflection = c.maxDeflection;
        pr.closureTolerance = c.tolerance;
        pr.iterationLimit = c.limit;
        std::ostringstream notes;
        const IterationOutcome outcome = Iterate(pr, notes);
        EXPECT_EQ(outcome.iteration, c.iteration);
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.exceedCount, c.exceed);
        EXPECT_EQ(outcome.notClosedCount, c.notClosed);
        EXPECT_FALSE(outcome.offCurve);
    }
}

// A curve of two points is always off; the notes say so.
TEST(IterateTest, MarksIterationsOffTheCurves) {
    Problem pr = SpringBed();
    pr.pyCurves.push_back(Curve(3, 0, {0, 1}, {0, -2}));  // s = 2 at station 3
    std::ostringstream notes;
    const IterationOutcome outcome = Iterate(pr, notes);
    EXPECT_TRUE(outcome.offCurve);
    EXPECT_EQ(notes.str().substr(kMonitorHeader.size()),
              "      1       YES        10   0.100E-02 0.200E-02 0.150E-02 0.400E-02 0.500E-02\n"
              "      2       YES         0   0.100E-02 0.200E-02 0.150E-02 0.400E-02 0.500E-02\n");
}

// Station 3 (spring 2, load 0.006) on a curve with no resistance up to
// y = 0.002 and a stiffness of 10 beyond. Iteration 1 sees no soil, iteration
// 2 moves onto the stiff segment, iteration 3 confirms it. The result is the
// equilibrium 2·w = 0.006 + p(w) with p(w) = -10·(w - 0.002).
TEST(IterateTest, ConvergesOnANonlinearCurve) {
    Problem pr = SpringBed();
    pr.closureTolerance = 1e-6;
    pr.pyCurves.push_back(Curve(3, 0, {-1, 0, 0.002, 1}, {0, 0, 0, -9.98}));
    std::ostringstream notes;
    const IterationOutcome outcome = Iterate(pr, notes);
    EXPECT_EQ(outcome.iteration, 3);
    EXPECT_EQ(outcome.end, IterationEnd::kClosed);
    EXPECT_FALSE(outcome.offCurve);
    EXPECT_NEAR(At(outcome.w, 3), 0.026 / 12.0, 1e-15);
}

// A fixed-base cantilever whose moment-EI curve halves its stiffness. The
// deflections close in iteration 2; the updated EI doubles them (exactly: all
// coefficients scale by 1/2) in iteration 3, they close again in iteration 4,
// and iteration 5 shows that the stiffness has settled.
TEST(IterateTest, MomentEICurvesKeepIteratingPastClosure) {
    constexpr int kN = 20;
    constexpr double kEI = 2.0e9;
    Problem pr;
    pr.N = kN;
    pr.h = 12.0;
    pr.maxDeflection = 1.0e6;
    pr.closureTolerance = 1e-6;
    pr.stationCode.fill(kFree);
    for (int k = 0; k <= kN; ++k) At(pr.F, k) = kEI;
    pr.stationCode[StationIndex(kN - 1)] = kBeforeSlope;
    pr.stationCode[StationIndex(kN)] = kDeflectionWithSlope;
    pr.stationCode[StationIndex(kN + 1)] = kAfterSlope;
    pr.specified.push_back({.deflection = 0.0, .slope = 0.0});
    At(pr.Q, 0) = 500.0;

    Problem linear = pr;
    std::ostringstream linearNotes;
    const IterationOutcome first = Iterate(linear, linearNotes);
    ASSERT_EQ(first.iteration, 2);

    pr.eiCurves.push_back(
        {.fromStation = 0, .toStation = kN, .points = {{0.0, kEI / 2}, {1.0e20, kEI / 2}}});
    std::ostringstream notes;
    const IterationOutcome outcome = Iterate(pr, notes);
    EXPECT_EQ(outcome.iteration, 5);
    EXPECT_EQ(outcome.end, IterationEnd::kClosed);
    EXPECT_EQ(outcome.notClosedCount, 0);
    for (int k = 0; k <= kN; ++k) {
        EXPECT_EQ(At(pr.F, k), kEI / 2) << k;
        EXPECT_DOUBLE_EQ(At(outcome.w, k), 2.0 * At(first.w, k)) << k;
    }
}

}  // namespace
}  // namespace korvel::engine
