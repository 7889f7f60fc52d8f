// Linear solution of the wall as a beam-column: one five-term difference
// equation per station (stations h apart, held at position k + 4), solved by a
// forward recursion and a back substitution with no matrix formed. Specified
// deflections and slopes enter through the problem's station codes. Units are
// those of the section (lengths L, forces F).
#pragma once

#include <vector>

#include "run/problem.h"

namespace korvel::engine {

// Stations 0 to N counted by one solve.
struct SolveCounts {
    int exceed = 0;     // |w| above MaxDeflection
    int notClosed = 0;  // changed by more than ClosureTolerance since the previous solve
};

// Solves for the deflections with the iteration's transverse loads `Qp` (F per
// station) and spring stiffnesses `Sp` (F/L per station); the other station
// data (F, T, R, P, codes, specified values) come from `pr`.
// `w` holds the previous deflections on entry and the new ones on return, at
// positions 3 to N+5 (stations -1 to N+1); positions 1, 2, N+6 and N+7 are 0.
// Throws TooMuchData() unless 1 <= N <= kStationPositions - 7.
SolveCounts Solve(const Problem& pr, const StationArray& Qp, const StationArray& Sp,
                  StationArray& w);

// Results at one station, derived from the final deflections.
struct ResultRow {
    int station = 0;
    double x = 0.0;           // depth below the top, L
    double deflection = 0.0;  // L
    double slope = 0.0;       // radians
    double moment = 0.0;      // F*L
    double shear = 0.0;       // F, corrected for concentrated couples
    double reaction = 0.0;    // net transverse force received by the station, F
    double stiffness = 0.0;   // EI held at the station, F*L^2
};

// Rows for stations 0 to N+1 (the report prints 0 to N, the plot file all).
// `w` is taken by value: stations -2 and N+2 are extrapolated into the copy.
std::vector<ResultRow> DeriveResults(const Problem& pr, StationArray w);

}  // namespace korvel::engine
