#include "run/iteration.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "run/errors.h"
#include "text/layout.h"

namespace korvel::engine {
namespace {

// Stations 1 to 5 are shown in the run notes after every iteration.
constexpr int kFirstMonitorStation = 1;
constexpr int kMonitorStations = 5;
// Iterations of p-y option 3 before its solutions are damped.
constexpr int kUndampedIterations = 10;

// A curve's station must lie in the station arrays.
int PositionOf(const PYCurve& curve) {
    const int j = StationIndex(curve.station);
    if (j < 1 || j > kStationPositions) throw TooMuchData();
    return j;
}

// Adds, at positions jB to the end of the interval (cut at the wall's bottom),
// the springs varying linearly from curve `start` at jB to curve `end` at jT,
// with half values at the first and last position.
bool AddInterval(const Problem& pr, const PYCurve& start, int jB, const PYCurve& end, int jT,
                 const StationArray& w, StationArray& Qp, StationArray& Sp) {
    const int bottom = StationIndex(pr.N);
    if (jB >= bottom) return false;
    const int last = std::min(jT, bottom);
    const double span = jT - jB;  // the uncut distance sets the slope of the interpolation
    bool offCurve = false;
    for (int j = jB; j <= last; ++j) {
        const SoilLine l0 = LinearisePYCurve(start, w[j]);
        const SoilLine l1 = LinearisePYCurve(end, w[j]);
        offCurve = offCurve || l0.offCurve || l1.offCurve;
        const double fraction = (j - jB) / span;
        const double weight = (j == jB || j == last) ? 0.5 : 1.0;
        Qp[j] += weight * (l0.q + (l1.q - l0.q) * fraction);
        Sp[j] += weight * (l0.s + (l1.s - l0.s) * fraction);
    }
    return offCurve;
}

// Stations 0 to N whose deflection differs from `reference` by more than the
// closure tolerance.
int CountChanged(const Problem& pr, const StationArray& w, const StationArray& reference) {
    int count = 0;
    for (int j = StationIndex(0); j <= StationIndex(pr.N); ++j) {
        if (std::abs(w[j] - reference[j]) - pr.closureTolerance > 0.0) ++count;
    }
    return count;
}

void WriteMonitorLine(std::ostream& notes, int iteration, bool offCurve, int notClosed,
                      const StationArray& w) {
    const int j = StationIndex(kFirstMonitorStation);
    static_assert(kMonitorStations == 5, "the layouts below print five deflections");
    const auto layout = offCurve ? "(3X, I4, 7X, \"YES\", 6X, I4, 2X, 5E10.3)"
                                 : "(3X, I4, 7X, \"NO\", 7X, I4, 2X, 5E10.3)";
    notes << text::FormatLayout(
        layout, {iteration, notClosed, w[j], w[j + 1], w[j + 2], w[j + 3], w[j + 4]});
}

}  // namespace

SoilLine LinearisePYCurve(const PYCurve& curve, double y) {
    const std::vector<double>& Y = curve.y;
    const std::vector<double>& P = curve.p;
    const std::size_t n = std::min(Y.size(), P.size());
    SoilLine line;
    if (n < 2) {  // no segment to extend
        line.offCurve = true;
        return line;
    }

    std::size_t i = n - 2;   // first point of the segment; the last segment by default
    std::size_t beyond = n;  // the end point the deflection lies beyond, n when none
    if (n < 3) {
        line.offCurve = true;
    } else {
        std::size_t m = 1;
        while (m < n && !(y <= Y[m])) ++m;
        if (m < n) {
            if (y < Y[0]) {
                line.offCurve = true;
                beyond = 0;
            }
            i = m - 1;
        } else {
            line.offCurve = true;
            beyond = n - 1;
        }
    }

    // A generated curve ends where its soil has reached its ultimate (or
    // residual) resistance: beyond the end point the resistance stays there
    // rather than following a still rising or falling end segment. A flat end
    // segment takes the ordinary path, which gives the same line.
    if (curve.generated && beyond < n && P[i + 1] != P[i]) {
        line.q = P[beyond];
        return line;
    }

    const double dy = Y[i + 1] - Y[i];
    if (dy == 0.0) return line;
    // p falls as y grows, so s is a positive spring stiffness.
    line.s = -(P[i + 1] - P[i]) / dy;
    line.q = line.s * Y[i] + P[i];
    return line;
}

bool AddSoilSprings(const Problem& pr, const StationArray& w, StationArray& Qp, StationArray& Sp) {
    const int bottom = StationIndex(pr.N);
    bool offCurve = false;
    int previousFlag = 0;
    const PYCurve* chainStart = nullptr;

    for (const PYCurve& curve : pr.pyCurves) {
        const int jT = PositionOf(curve);
        if (previousFlag == 0) {
            chainStart = &curve;
            if (curve.sideFlag != 1 && jT <= bottom) {  // stands alone: its own station only
                const SoilLine line = LinearisePYCurve(curve, w[jT]);
                offCurve = offCurve || line.offCurve;
                Qp[jT] += line.q;
                Sp[jT] += line.s;
            }
            previousFlag = curve.sideFlag;
            continue;
        }

        const int jB = StationIndex(chainStart->station);
        if (jT < jB) throw StationsNotInOrder();
        if (jT == jB) continue;  // a second curve at the chain start's station adds nothing
        if (AddInterval(pr, *chainStart, jB, curve, jT, w, Qp, Sp)) offCurve = true;
        if (curve.sideFlag == 1) chainStart = &curve;
        previousFlag = curve.sideFlag;
    }
    return offCurve;
}

void UpdateBendingStiffness(Problem& pr, const StationArray& w) {
    const double h2 = pr.h * pr.h;
    for (const MEICurve& curve : pr.eiCurves) {
        const std::vector<MEIPoint>& pts = curve.points;
        if (pts.size() < 2) {
            throw std::logic_error("a moment-EI curve needs two points; intake refuses fewer");
        }
        // Curvature takes the neighbours of the first and last station.
        if (StationIndex(curve.fromStation) - 1 < 1 ||
            StationIndex(curve.toStation) + 1 > kStationPositions) {
            throw TooMuchData();
        }
        for (int station = curve.fromStation; station <= curve.toStation; ++station) {
            const int j = StationIndex(station);
            const double phi = std::abs(w[j - 1] - 2.0 * w[j] + w[j + 1]) / h2;

            // First interior point whose moment lies above the line M = phi·EI.
            std::size_t m = pts.size() - 1;
            for (std::size_t p = 1; p + 1 < pts.size(); ++p) {
                if (pts[p].moment > phi * pts[p].stiffness) {
                    m = p;
                    break;
                }
            }
            const MEIPoint& lo = pts[m - 1];
            const MEIPoint& hi = pts[m];
            const double denominator = (hi.stiffness - lo.stiffness) * phi - hi.moment + lo.moment;
            if (denominator == 0.0) continue;  // segment parallel to M = phi·EI: keep F
            const double t = (lo.moment - phi * lo.stiffness) / denominator;
            pr.F[j] = lo.stiffness + t * (hi.stiffness - lo.stiffness);
        }
    }
}

IterationOutcome Iterate(Problem& pr, std::ostream& notes) {
    notes << "\n\n\n"
          << "     ITERATION MONITOR DATA\n"
          << "     ----------------------\n";

    IterationOutcome outcome;
    StationArray& w = outcome.w;  // starts at 0 everywhere
    StationArray reference = w;   // deflections when F was last updated
    outcome.end = IterationEnd::kLimitReached;
    for (int iteration = 1; iteration <= pr.iterationLimit; ++iteration) {
        // The solver reads the loads and springs of stations -1 to N+1 only.
        StationArray Qp = pr.Q;
        StationArray Sp = pr.S;
        const bool offCurve = AddSoilSprings(pr, w, Qp, Sp);
        const StationArray previous = w;
        const SolveCounts counts = Solve(pr, Qp, Sp, w);
        // With a curve at every station the segment lines of neighbouring
        // stations can hold the deflections in a cycle of two states that
        // straddle curve points; from then on each new solution is taken half
        // way from the last one, which keeps the fixed point and ends the cycle.
        if (pr.pyCurveOption == soil::kPYCurvesAtEveryStation && iteration > kUndampedIterations &&
            counts.notClosed > 0) {
            for (int j = StationIndex(-1); j <= StationIndex(pr.N + 1); ++j) {
                w[j] = 0.5 * (w[j] + previous[j]);
            }
        }

        outcome.iteration = iteration;
        outcome.offCurve = offCurve;
        outcome.exceedCount = counts.exceed;
        outcome.notClosedCount = counts.notClosed;
        WriteMonitorLine(notes, iteration, offCurve, counts.notClosed, w);

        if (counts.exceed > 0) {
            outcome.end = IterationEnd::kDeflectionExceeded;
            return outcome;
        }
        if (counts.notClosed > 0) continue;
        if (pr.eiCurves.empty()) {
            outcome.end = IterationEnd::kClosed;
            return outcome;
        }
        // Closed: settled only if the stiffness last set gave the same deflections.
        outcome.notClosedCount = CountChanged(pr, w, reference);
        if (outcome.notClosedCount == 0) {
            outcome.end = IterationEnd::kClosed;
            return outcome;
        }
        std::copy(w.begin() + StationIndex(0), w.begin() + StationIndex(pr.N) + 1,
                  reference.begin() + StationIndex(0));
        UpdateBendingStiffness(pr, w);
    }
    return outcome;
}

}  // namespace korvel::engine
