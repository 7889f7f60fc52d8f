#include "run/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "run/errors.h"

namespace korvel::engine {
namespace {

constexpr double kNoLimit = 1.0e30;  // MaxDeflection that nothing exceeds

double& At(StationArray& a, int station) {
    return a[StationIndex(station)];
}
double At(const StationArray& a, int station) {
    return a[StationIndex(station)];
}

// Adds `perStation` over stations 0 to n the way one single-row station table
// spreads it: whole at the interior stations, half at the two end stations.
void SpreadOverWall(StationArray& a, int n, double perStation) {
    for (int k = 0; k <= n; ++k) At(a, k) += (k == 0 || k == n) ? perStation / 2.0 : perStation;
}

// A free wall of n increments h long with constant EI.
Problem Wall(int n, double h, double ei) {
    Problem pr;
    pr.N = n;
    pr.h = h;
    pr.maxDeflection = kNoLimit;
    pr.closureTolerance = 0.0;
    pr.stationCode.fill(kFree);
    SpreadOverWall(pr.F, n, ei);
    return pr;
}

// Deflection and slope 0 at station N, as RESTRAINT CASE 3 sets them.
void FixBottom(Problem& pr) {
    pr.stationCode[StationIndex(pr.N - 1)] = kBeforeSlope;
    pr.stationCode[StationIndex(pr.N)] = kDeflectionWithSlope;
    pr.stationCode[StationIndex(pr.N + 1)] = kAfterSlope;
    pr.specified.push_back({.deflection = 0.0, .slope = 0.0});
}

StationArray SolveFromRest(const Problem& pr) {
    StationArray w{};
    Solve(pr, pr.Q, pr.S, w);
    return w;
}

// Cantilever fixed at its bottom, L = 480 in, EI = 2.9e10 lb-in².
//
// With a point load P at the top or a uniform load q (station loads q·h, half
// at the ends) the station moments of the difference scheme equal P·x and
// q·x²/2 exactly, and the curvatures are exact. The one error is the
// central-difference slope at the fixed end: w(N+1) = w(N-1) where the
// polynomial has w(N+1) - w(N-1) = h³·w'''/3. That tilts the whole curve and
// raises the top by P·L·h²/(6EI), i.e. 1/(2N²) relative, for the point load,
// and by q·L²·h²/(8EI), i.e. 1/N² relative (the quartic's h⁴·w''''/12 term
// included), for the uniform load. Those bounds are the tolerances.
TEST(SolverTest, FixedBaseCantileverMatchesBeamTheory) {
    struct Case {
        const char* name;
        double topLoad;      // lb
        double uniformLoad;  // lb/in
    };
    const Case cases[] = {
        {"point load at the top", 1000.0, 0.0},
        {"uniform load", 0.0, 10.0},
        {"both together", 1000.0, 10.0},
    };
    constexpr int kN = 40;
    constexpr double kL = 480.0;
    constexpr double kEI = 2.9e10;
    constexpr double kH = kL / kN;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Problem pr = Wall(kN, kH, kEI);
        FixBottom(pr);
        At(pr.Q, 0) += c.topLoad;
        SpreadOverWall(pr.Q, kN, c.uniformLoad * kH);

        const StationArray w = SolveFromRest(pr);
        const double pointPart = c.topLoad * std::pow(kL, 3) / (3.0 * kEI);
        const double uniformPart = c.uniformLoad * std::pow(kL, 4) / (8.0 * kEI);
        const double discretisation = pointPart / (2.0 * kN * kN) + uniformPart / (kN * kN);
        EXPECT_NEAR(At(w, 0), pointPart + uniformPart, 1.01 * discretisation);
        EXPECT_EQ(At(w, kN), 0.0);

        const auto rows = DeriveResults(pr, w);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kN + 2));
        EXPECT_EQ(rows.front().station, 0);
        EXPECT_EQ(rows.back().station, kN + 1);
        const double maxMoment = c.topLoad * kL + c.uniformLoad * kL * kL / 2.0;
        EXPECT_NEAR(rows[0].moment, 0.0, 1e-9 * maxMoment);
        for (int k = 1; k < kN; ++k) {
            const double x = k * kH;
            EXPECT_DOUBLE_EQ(rows[k].x, x);
            EXPECT_NEAR(rows[k].moment, c.topLoad * x + c.uniformLoad * x * x / 2.0,
                        1e-9 * maxMoment)
                << "station " << k;
        }
    }
}

// Long wall on springs k·h per station (half at the ends), EI = 1, k = 4, so
// β = (k/(4EI))^(1/4) = 1; βL = 12 makes the far end's influence ~e^-12.
// Semi-infinite beam with a load P at its free end: head deflection 2Pβ/k.
// Solving the difference recurrence exactly (its two decaying roots, with the
// half stiffness and half spring at the head) gives a head deflection low by
// (βh)²/4 to leading order, so the tolerance is 0.3·(βh)² relative.
TEST(SolverTest, LongWallOnSpringsMatchesSemiInfiniteBeam) {
    constexpr double kEI = 1.0, kK = 4.0, kP = 1.0, kL = 12.0;
    const double beta = std::pow(kK / (4.0 * kEI), 0.25);
    for (const double h : {0.2, 0.1}) {
        SCOPED_TRACE("h = " + std::to_string(h));
        const int n = static_cast<int>(std::lround(kL / h));
        Problem pr = Wall(n, h, kEI);
        SpreadOverWall(pr.S, n, kK * h);
        At(pr.Q, 0) = kP;

        const StationArray w = SolveFromRest(pr);
        const double exact = 2.0 * kP * beta / kK;
        EXPECT_NEAR(At(w, 0), exact, 0.3 * std::pow(beta * h, 2) * exact);
    }
}

// The same bed with the head held at deflection δ and slope θ (RESTRAINT
// CASE 3 at station 0): w = e^(-βx)·(δ·cos βx + (δ + θ/β)·sin βx). The
// restraint itself is imposed exactly: w(0) = δ and (w(1) - w(-1))/(2h) = θ.
TEST(SolverTest, SlopeAndDeflectionAtTheTop) {
    struct Case {
        double deflection, slope;
    };
    const Case cases[] = {{0.01, 0.0}, {0.01, -0.02}};
    constexpr double kH = 0.1, kK = 4.0;  // EI = 1, so β = 1
    constexpr int kN = 120;

    for (const Case& c : cases) {
        SCOPED_TRACE("slope " + std::to_string(c.slope));
        Problem pr = Wall(kN, kH, 1.0);
        SpreadOverWall(pr.S, kN, kK * kH);
        pr.stationCode[StationIndex(-1)] = kBeforeSlope;
        pr.stationCode[StationIndex(0)] = kDeflectionWithSlope;
        pr.stationCode[StationIndex(1)] = kAfterSlope;
        pr.specified.push_back({.deflection = c.deflection, .slope = c.slope});

        const StationArray w = SolveFromRest(pr);
        EXPECT_EQ(At(w, 0), c.deflection);
        EXPECT_NEAR((At(w, 1) - At(w, -1)) / (2.0 * kH), c.slope, 1e-12);
        if (c.slope == 0.0) {
            EXPECT_DOUBLE_EQ(At(w, -1), At(w, 1));
        }

        // Second-order scheme: allow (βh)² of the largest deflection.
        const double scale = std::abs(c.deflection) + std::abs(c.slope);
        for (int k = 1; k <= 30; ++k) {
            const double x = k * kH;
            const double exact = std::exp(-x) * (c.deflection * std::cos(x) +
                                                 (c.deflection + c.slope) * std::sin(x));
            EXPECT_NEAR(At(w, k), exact, kH * kH * scale) << "station " << k;
        }
    }
}

// Simply supported beam-column (deflection 0 at stations 0 and N) under a
// uniform load q and an axial compression Pc held in P with the sign of the
// solver (-Pc), spread as one CONCLOADS row spreads it: half at the two end
// stations, so that their P terms close the moment balance at the supports
// (a whole value there leaves an error of first order in h). Closed form at
// midspan, with k = sqrt(Pc/EI) and u = kL/2:
// w = q EI/Pc^2 (sec u - 1) - q L^2/(8 Pc), which for Pc -> 0 is 5 q L^4/(384 EI).
// Second order in h: 1/N^2 relative is ample. With Pc at 60 % of the Euler
// load the P-delta term raises the deflection 2.5 times, so a term left out
// or of the wrong sign cannot pass.
TEST(SolverTest, AxialCompressionMatchesTheBeamColumnClosedForm) {
    constexpr int kN = 100;
    constexpr double kL = 400.0, kEI = 1.0e9, kQ = 2.0, kHi = kL / kN;
    const double euler = M_PI * M_PI * kEI / (kL * kL);
    const double lateral = 5.0 * kQ * std::pow(kL, 4) / (384.0 * kEI);
    for (const double share : {0.0, 0.3, 0.6}) {
        SCOPED_TRACE("Pc/Pe = " + std::to_string(share));
        const double Pc = share * euler;
        Problem pr = Wall(kN, kHi, kEI);
        SpreadOverWall(pr.Q, kN, kQ * kHi);
        SpreadOverWall(pr.P, kN, -Pc);
        pr.stationCode[StationIndex(0)] = kDeflection;
        pr.stationCode[StationIndex(kN)] = kDeflection;
        pr.specified = {{.deflection = 0.0}, {.deflection = 0.0}};

        const StationArray w = SolveFromRest(pr);
        double exact = lateral;
        if (Pc > 0.0) {
            const double u = std::sqrt(Pc / kEI) * kL / 2.0;
            exact = kQ * kEI / (Pc * Pc) * (1.0 / std::cos(u) - 1.0) - kQ * kL * kL / (8.0 * Pc);
        }
        EXPECT_NEAR(At(w, kN / 2), exact, exact / (kN * kN) * 10.0);
        if (share == 0.6) {
            EXPECT_GT(At(w, kN / 2), 2.4 * lateral);
        }
    }
}

// Cantilever pinned at its bottom (deflection 0 at station N) with a
// rotational restraint R there and a lateral load H at the top: the base
// turns by H L/R, so the top moves H L^3/(3 EI) + H L^2/R. The restraint
// here carries about half of the top deflection.
TEST(SolverTest, RotationalRestraintAtThePinnedBase) {
    constexpr int kN = 80;
    constexpr double kL = 480.0, kEI = 2.9e10, kH = 1000.0, kHi = kL / kN;
    for (const double R : {2.0e8, 1.0e9}) {
        SCOPED_TRACE("R = " + std::to_string(R));
        Problem pr = Wall(kN, kHi, kEI);
        At(pr.Q, 0) = kH;
        At(pr.R, kN) = R;
        pr.stationCode[StationIndex(kN)] = kDeflection;
        pr.specified = {{.deflection = 0.0}};

        const StationArray w = SolveFromRest(pr);
        const double exact = kH * std::pow(kL, 3) / (3.0 * kEI) + kH * kL * kL / R;
        EXPECT_NEAR(At(w, 0), exact, 2.0 / kN * exact);
        EXPECT_EQ(At(w, kN), 0.0);
    }
}

// A slope alone specified at an interior station (CASE 2: codes 3 and 5
// around it). Pinned at the top (deflection 0 at station 0), slope 0 at
// a = L/2, a lateral load H at the free bottom: the slope restraint takes the
// couple H L, and EI w = H a x^2/2 ... worked out, w(a) = H a^3/(3 EI) and
// w(L) = (H L^3/3 - H L^2 a + H L a^2)/EI = H L^3/(12 EI). The curvature
// jumps at a, so the central slope there is first order in h: the error
// halves with h (3/N relative at N = 200 and 400); 4/N is allowed.
TEST(SolverTest, SlopeOnlyRestraintAtAnInteriorStation) {
    constexpr int kN = 200;
    constexpr double kL = 400.0, kEI = 1.0e9, kH = 500.0, kHi = kL / kN;
    constexpr int kMid = kN / 2;
    Problem pr = Wall(kN, kHi, kEI);
    At(pr.Q, kN) = kH;
    pr.stationCode[StationIndex(0)] = kDeflection;
    pr.stationCode[StationIndex(kMid - 1)] = kBeforeSlope;
    pr.stationCode[StationIndex(kMid + 1)] = kAfterSlope;
    pr.specified = {{.deflection = 0.0}, {.slope = 0.0}};

    const StationArray w = SolveFromRest(pr);
    EXPECT_EQ(At(w, 0), 0.0);
    EXPECT_NEAR(At(w, kMid + 1) - At(w, kMid - 1), 0.0, 1e-12 * std::abs(At(w, kN)));
    const double a = kL / 2.0;
    const double atMid = kH * a * a * a / (3.0 * kEI);
    const double atEnd = kH * std::pow(kL, 3) / (12.0 * kEI);
    EXPECT_NEAR(At(w, kMid), atMid, 4.0 / kN * atEnd);
    EXPECT_NEAR(At(w, kN), atEnd, 4.0 / kN * atEnd);
}

// A specified deflection (code 2) is imposed exactly, 0 included.
TEST(SolverTest, SpecifiedDeflectionAtTheBottomIsExact) {
    for (const double specified : {0.0, 0.25}) {
        Problem pr = Wall(20, 0.5, 100.0);
        SpreadOverWall(pr.S, 20, 2.0);
        At(pr.Q, 0) = 3.0;
        pr.stationCode[StationIndex(20)] = kDeflection;
        pr.specified.push_back({.deflection = specified, .slope = 0.0});

        const StationArray w = SolveFromRest(pr);
        EXPECT_EQ(At(w, 20), specified);
        EXPECT_NE(At(w, 0), 0.0);
    }
}

// Without bending stiffness the stations are independent springs; a station
// without a spring has a zero pivot and gets no deflection, even under load.
TEST(SolverTest, ZeroPivotGivesZeroDeflection) {
    Problem pr = Wall(6, 1.0, 0.0);
    for (int k = 0; k <= 6; ++k) At(pr.Q, k) = 1.0;
    At(pr.S, 2) = 4.0;
    At(pr.S, 5) = 0.5;

    const StationArray w = SolveFromRest(pr);
    for (int k = -1; k <= 7; ++k) {
        const double expected = k == 2 ? 0.25 : k == 5 ? 2.0 : 0.0;
        EXPECT_DOUBLE_EQ(At(w, k), expected) << "station " << k;
    }
}

// Stations 0 to N with w(k) = 0.001·k on independent springs; the spring and
// load at station N+1 (w = 1) show that station N+1 is not counted.
TEST(SolverTest, CountsExceedingAndChangedStations) {
    struct Case {
        const char* name;
        double maxDeflection, tolerance;
        bool previousIsSolution;
        int exceed, notClosed;
    };
    const Case cases[] = {
        {"from rest", 1.0, 1e-4, false, 0, 10},
        {"stations 5 to 10 too far", 0.0045, 1e-4, false, 6, 10},
        {"stations 6 to 10 moved more than 0.0055", 1.0, 0.0055, false, 0, 5},
        {"same deflections again", 1.0, 1e-4, true, 0, 0},
    };
    constexpr int kN = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Problem pr = Wall(kN, 1.0, 0.0);
        pr.maxDeflection = c.maxDeflection;
        pr.closureTolerance = c.tolerance;
        for (int k = 0; k <= kN + 1; ++k) {
            At(pr.S, k) = 2.0;
            At(pr.Q, k) = k <= kN ? 0.002 * k : 2.0;
        }
        StationArray w{};
        if (c.previousIsSolution) Solve(pr, pr.Q, pr.S, w);
        const SolveCounts counts = Solve(pr, pr.Q, pr.S, w);
        EXPECT_EQ(counts.exceed, c.exceed);
        EXPECT_EQ(counts.notClosed, c.notClosed);
        EXPECT_DOUBLE_EQ(At(w, kN + 1), 1.0);
    }
}

// A couple T at station 5 of a fixed-base cantilever. Beam theory: no shear
// anywhere, moment 0 above the couple and T below it. The difference scheme
// spreads T as forces ±T/(2h) on stations 4 and 6, which shows as shear at 4
// to 6 and reaction at 4 and 6 until the concentrated moment list takes the
// pair out again.
TEST(SolverTest, CoupleCorrectsShearAndReactionAroundItsStation) {
    constexpr int kN = 20, kCoupleStation = 5;
    constexpr double kH = 6.0, kCouple = 1200.0;
    Problem pr = Wall(kN, kH, 1.0e8);
    FixBottom(pr);
    At(pr.T, kCoupleStation) = kCouple;
    const StationArray w = SolveFromRest(pr);

    const auto uncorrected = DeriveResults(pr, w);
    pr.concentratedMoments.push_back({.station = kCoupleStation, .value = kCouple / (2.0 * kH)});
    const auto rows = DeriveResults(pr, w);

    constexpr double kTiny = 1e-9 * kCouple;
    for (int k = 0; k < kN - 1; ++k) {  // stations N-1 and N carry the fixed end's reactions
        SCOPED_TRACE("station " + std::to_string(k));
        const bool shearPair = k >= kCoupleStation - 1 && k <= kCoupleStation + 1;
        const bool reactionPair = k == kCoupleStation - 1 || k == kCoupleStation + 1;
        EXPECT_NEAR(rows[k].shear, 0.0, kTiny);
        EXPECT_NEAR(rows[k].reaction, 0.0, kTiny);
        EXPECT_EQ(std::abs(uncorrected[k].shear) > kTiny, shearPair);
        EXPECT_EQ(std::abs(uncorrected[k].reaction) > kTiny, reactionPair);
        EXPECT_DOUBLE_EQ(rows[k].moment, uncorrected[k].moment);
        // The couple's own station shows the mean of the jump.
        const double moment = k < kCoupleStation    ? 0.0
                              : k == kCoupleStation ? kCouple / 2.0
                                                    : kCouple;
        EXPECT_NEAR(rows[k].moment, moment, kTiny);
    }
}

TEST(SolverTest, RefusesMoreStationsThanTheArraysHold) {
    const Problem pr = Wall(kStationPositions - 6, 1.0, 1.0);
    StationArray w{};
    EXPECT_THROW(Solve(pr, pr.Q, pr.S, w), DataError);
}

}  // namespace
}  // namespace korvel::engine
