// Nonlinear solution of one section. Each iteration replaces every p-y curve
// by the straight line of the segment holding the current deflection, spreads
// those soil springs between curve stations, and solves the beam-column again
// (solver.h) until the deflections close; moment-EI curves then update the
// bending stiffness until a further solution closes on the same deflections.
// Every iteration leaves one monitor line in the run notes.
#pragma once

#include <ostream>

#include "run/problem.h"
#include "run/solver.h"

namespace korvel::engine {

// The line p = q - s·y of one curve segment: the soil force at a station
// (F per station, p already times h) for a deflection y.
struct SoilLine {
    double q = 0.0;         // F
    double s = 0.0;         // F/L
    bool offCurve = false;  // y lay outside the curve, or the curve has under three points
};

// The segment holding y; outside a user curve the end segment is extended,
// outside a generated curve the resistance of the end point holds (s = 0).
SoilLine LinearisePYCurve(const PYCurve& curve, double y);

// Adds the soil springs of the PYCurveTable, linearised at the deflections
// `w`, to `Qp` and `Sp` at the curve stations down to the wall's bottom.
// Curves flagged 1 open or continue a chain whose springs vary linearly
// between curve stations, with half values at both ends of each interval;
// a curve flagged 0 after a chain end stands alone. Returns whether any
// linearisation was off its curve. Throws StationsNotInOrder() when a chain's
// stations decrease, TooMuchData() for a curve station outside the arrays.
bool AddSoilSprings(const Problem& pr, const StationArray& w, StationArray& Qp, StationArray& Sp);

// Sets F at the stations of every moment-EI curve to the stiffness at which
// the curve's moment equals EI times the curvature of `w` there. Where the
// segment runs parallel to that line, the station keeps its F.
void UpdateBendingStiffness(Problem& pr, const StationArray& w);

enum class IterationEnd {
    kClosed,              // deflections closed (and the stiffness settled)
    kDeflectionExceeded,  // a deflection beyond MaxDeflection stopped the loop
    kLimitReached,        // the iteration limit ran out without closure
};

// How the last iteration ended; the report prints its messages from this.
struct IterationOutcome {
    int iteration = 0;  // number of the last iteration, from 1
    IterationEnd end = IterationEnd::kClosed;
    bool offCurve = false;  // in the last iteration
    int exceedCount = 0;
    int notClosedCount = 0;
    StationArray w{};  // final deflections, L, at position station + 4
};

// Runs the iteration loop for `pr` (up to pr.iterationLimit iterations),
// writing the monitor block to `notes`. F is updated in place when moment-EI
// curves are present. Throws StationsNotInOrder() from the soil springs.
IterationOutcome Iterate(Problem& pr, std::ostream& notes);

}  // namespace korvel::engine
