#include "run/solver.h"

#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "run/errors.h"

namespace korvel::engine {
namespace {

// Coefficients of a·w(j-2) + b·w(j-1) + c·w(j) + d·w(j+1) + e·w(j+2) = f, the
// equilibrium of station j multiplied by h³.
struct DifferenceRow {
    double a, b, c, d, e, f;
};

DifferenceRow Coefficients(const Problem& pr, const StationArray& Qp, const StationArray& Sp,
                           int j) {
    const double h = pr.h;
    const double h2 = h * h;
    const double h3 = h2 * h;
    const auto& F = pr.F;
    const auto& P = pr.P;
    const auto& R = pr.R;
    const auto& T = pr.T;
    // Axial load and rotational restraint of the neighbours act through h/4.
    const double above = h * P[j - 1] + R[j - 1];
    const double below = h * P[j + 1] + R[j + 1];
    return {
        .a = F[j - 1] - (h / 4.0) * above,
        .b = -2.0 * (F[j - 1] + F[j]),
        .c = F[j - 1] + 4.0 * F[j] + F[j + 1] + h3 * Sp[j] + (h / 4.0) * (above + below),
        .d = -2.0 * (F[j] + F[j + 1]),
        .e = F[j + 1] - (h / 4.0) * below,
        // A couple acts as a pair of opposite forces T/(2h) at the neighbours.
        .f = h3 * Qp[j] - (h2 / 2.0) * (T[j - 1] - T[j + 1]),
    };
}

// The specified values are consumed in station order by the recursion; the
// input reader sets the codes and the list together, so running past the end
// is a broken problem state, not bad data.
const SpecifiedValue& Specified(const Problem& pr, std::size_t k) {
    if (k >= pr.specified.size()) {
        throw std::logic_error("station codes refer to more specified values than were read");
    }
    return pr.specified[k];
}

// Stations -3 to N+3 must fit the station arrays.
void CheckCapacity(const Problem& pr) {
    if (pr.N < 1 || StationIndex(pr.N + 3) > kStationPositions) throw TooMuchData();
}

}  // namespace

SolveCounts Solve(const Problem& pr, const StationArray& Qp, const StationArray& Sp,
                  StationArray& w) {
    CheckCapacity(pr);
    const int first = StationIndex(-1);
    const int last = StationIndex(pr.N + 1);
    const double twoH = 2.0 * pr.h;

    // w(j) = A(j)·w(j+2) + B(j)·w(j+1) + C(j); positions 1 and 2 stay 0.
    StationArray A{}, B{}, C{};
    std::size_t k = 0;  // next specified value

    // The recursion row of the station before a specified slope, kept to be
    // combined with the row of the station after it (the unknown restraining
    // couple cancels in their sum). A saved pivot of 0 means no usable row.
    double savedD = 0.0, savedA = 0.0, savedB = 0.0, savedC = 0.0;

    for (int j = first; j <= last; ++j) {
        const DifferenceRow r = Coefficients(pr, Qp, Sp, j);
        const double bb = r.a * B[j - 2] + r.b;
        const double den = r.a * A[j - 2] + bb * B[j - 1] + r.c;
        // A zero pivot leaves the position's multipliers at 0 (w = 0 there).
        const double D = den == 0.0 ? 0.0 : -1.0 / den;
        A[j] = r.e * D;
        B[j] = (bb * A[j - 1] + r.d) * D;
        C[j] = (r.a * C[j - 2] + bb * C[j - 1] - r.f) * D;

        switch (pr.stationCode[j]) {
            case kDeflection:
                A[j] = 0.0;
                B[j] = 0.0;
                C[j] = Specified(pr, k).deflection;
                ++k;
                break;
            case kDeflectionWithSlope:
                A[j] = 0.0;
                B[j] = 0.0;
                C[j] = Specified(pr, k).deflection;  // the slope follows at the next station
                break;
            case kBeforeSlope:
                savedD = D;
                savedA = A[j];
                savedB = B[j];
                savedC = C[j];
                // w(j) = w(j+2) - 2h·slope: central-difference slope at station j+1.
                A[j] = 1.0;
                B[j] = 0.0;
                C[j] = -twoH * Specified(pr, k).slope;
                break;
            case kAfterSlope: {
                // D/D' scales the saved row to this one; with no usable saved
                // row the position keeps its own recursion.
                const double ratio = savedD == 0.0 ? 0.0 : D / savedD;
                const double slopeTerm = twoH * Specified(pr, k).slope;
                const double G = 1.0 / (1.0 - (savedB * B[j - 1] + savedA - 1.0) * ratio);
                A[j] = G * A[j];
                B[j] = G * (savedB * A[j - 1] * ratio + B[j]);
                C[j] = G * ((savedB * C[j - 1] + slopeTerm + savedC) * ratio + C[j]);
                ++k;
                break;
            }
            default:  // kFree
                break;
        }
    }

    // Two stations beyond the bottom carry no deflection.
    w[last + 1] = 0.0;
    w[last + 2] = 0.0;
    w[last] = A[last] * w[last + 2] + B[last] * w[last + 1] + C[last];

    SolveCounts counts;
    for (int j = StationIndex(pr.N); j >= StationIndex(0); --j) {
        const double previous = w[j];
        w[j] = A[j] * w[j + 2] + B[j] * w[j + 1] + C[j];
        if (pr.maxDeflection - std::abs(w[j]) < 0.0) ++counts.exceed;
        if (std::abs(w[j] - previous) - pr.closureTolerance > 0.0) ++counts.notClosed;
    }
    w[first] = A[first] * w[first + 2] + B[first] * w[first + 1] + C[first];
    w[StationIndex(-3)] = 0.0;
    w[StationIndex(-2)] = 0.0;
    return counts;
}

std::vector<ResultRow> DeriveResults(const Problem& pr, StationArray w) {
    CheckCapacity(pr);
    const int N = pr.N;
    const double h = pr.h;
    const double h2 = h * h;
    const double twoH = 2.0 * h;

    // Straight extrapolation one station beyond each end, for the end slopes.
    w[StationIndex(-2)] = 2.0 * w[StationIndex(-1)] - w[StationIndex(0)];
    w[StationIndex(N + 2)] = 2.0 * w[StationIndex(N + 1)] - w[StationIndex(N)];

    const auto momentAt = [&](int j) { return pr.F[j] * (w[j - 1] - 2.0 * w[j] + w[j + 1]) / h2; };

    std::vector<ResultRow> rows;
    rows.reserve(static_cast<std::size_t>(N) + 2);
    double momentBefore = 0.0;  // M(k-1)
    double moment = 0.0;        // M(k); above the wall both are 0
    for (int station = -1; station <= N + 1; ++station) {
        const int j = StationIndex(station);
        const double momentAfter = momentAt(j + 1);

        ResultRow row;
        row.station = station;
        row.x = station * h;
        row.deflection = w[j];
        row.slope = (w[j + 1] - w[j - 1]) / twoH;
        row.moment = moment;
        row.shear = (momentAfter - momentBefore) / twoH;
        row.reaction = (momentBefore - 2.0 * moment + momentAfter) / h;
        row.stiffness = pr.F[j];

        // A couple was spread as forces ±T/(2h) on the neighbouring stations;
        // take that pair out of the printed shear and reaction.
        for (const ConcentratedMoment& couple : pr.concentratedMoments) {
            const double c = couple.value;  // T/(2h)
            if (station == couple.station) row.shear -= c;
            if (station - 1 == couple.station || station + 1 == couple.station) {
                row.shear -= c / 2.0;
            }
            if (station - 1 == couple.station) row.reaction += c;
            if (station + 1 == couple.station) row.reaction -= c;
        }

        if (station >= 0) rows.push_back(row);
        momentBefore = moment;
        moment = momentAfter;
    }
    return rows;
}

}  // namespace korvel::engine
