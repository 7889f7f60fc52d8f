#include "soil/silt.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "soil/py_generator.h"
#include "soil/sand.h"
#include "text/layout.h"

namespace korvel::soil {
namespace {

constexpr double kContinuousWallRatio = 1.1;  // Wa/Wp below it: a continuous wall
constexpr double kShiftFloor = 1.0e-5;
constexpr double kBasePressureFloor = 0.0001;
constexpr double kNpMax = 9.0;       // flow-around limit of the cohesive Np
constexpr double kDeepA = 0.88;      // A beyond x/b = 6, the rate below the limit depth
constexpr char kPhiSign[] = "\xED";  // phi in code page 437, as the report always showed it

// Cumulative cohesive resistance of the wedge: 0.5 c x + 3 c b + gamma b x per depth.
constexpr double kWedgeCohesionDepth = 0.5;
constexpr double kWedgeCohesionWidth = 3.0;

}  // namespace

double SiltCohesiveResistance(double c, double gamma, double b, double x) {
    if (!(c > 0.0)) return 0.0;  // Np grows without bound, and 9 c b is 0
    const double Np = 3.0 + gamma * x / c + kSiltJ * x / b;
    return Np < kNpMax ? c * Np * b : kNpMax * c * b;
}

double SiltActiveShift(double overburden, double Ka, double c, double b, double basePressure,
                       double ratio) {
    const double cohesion = 2.0 * c * std::sqrt(Ka) * b;
    double shift = overburden * Ka * b - cohesion;
    if (basePressure > kBasePressureFloor) shift = std::max(shift, basePressure / ratio - cohesion);
    return shift < kShiftFloor ? 0.0 : shift;
}

double SiltEquivalentDepth(double F, double phi, double c, double gamma, double b, double x0,
                           double pi, int steps) {
    const SandIntegral si = SandIntegralFor(phi, b, pi);
    if (!(si.xl > 0.0) || !std::isfinite(si.xl)) return 0.0;

    const double step = si.xl / steps;
    double total = 0.0;
    for (int j = 1; j <= steps; ++j) {
        const double x = j * step;
        const double xb = x / b;
        const double cohesive =
            kWedgeCohesionDepth * c * x + kWedgeCohesionWidth * c * b + gamma * b * x;
        const double frictional = gamma * b * b * SandFactorA(xb) * (xb * xb * si.c2 + xb * si.c1);
        const double next = total + (cohesive + frictional) * step;
        if (next > F) return x - (next - F) * step / (next - total);
        total = next;
    }
    const double rate = kNpMax * c * b + kDeepA * gamma * b * b * si.c3 * x0 / b;
    if (!(rate > 0.0)) return si.xl;
    return (F - total) / rate + si.xl;
}

void GenerateSiltLayer(PYGeneration& g, int L) {
    g.pi = 4.0 * std::atan(1.0);  // holds for every model after this one in the analysis
    PYLayer& layer = g.profile.layers[L];
    const std::string length = g.LengthLabel();
    WalkLayerCurves(g, L, LayerTail::ToLayerBottom, [&](const LayerCurve& at) {
        const double x = at.x;
        const double z = at.z;
        const double b = at.b;
        const double phi = g.props.Phi(x);
        const double c = g.props.Cohesion(x);
        const double gamma = g.props.GammaAvg(x);
        const double sinPhi = std::sin(phi);
        if (sinPhi * sinPhi < kSiltFrictionCheck) {
            g.out.err << text::FormatLayout(
                "(/, /, 7X, \"WARNING-------The Angle of the slope can not\", /, 7X, "
                "\"              be greater than the internal  \", /, 7X, "
                "\"              friction angle of the sand.   \", /)");
            throw SoilStop(0, "THE FRICTION ANGLE OF A SILT LAYER IS ZERO");
        }
        const SandCoefficients coefficients = SandCoefficientsFor(phi, g.pi);
        if (at.first && L > 0) layer.xEq = g.EquivalentDepth(L, {b, c, gamma, phi, x});
        const double pact =
            SiltActiveShift(g.overburden, coefficients.Ka, c, b, g.basePressure, g.ratio);

        g.WriteCurveRecord(x);
        CurveResistance share;
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double x0 = g.DepthUsed(side, x);
            const double xf = g.FormulaDepth(x0, L);
            const double A = SandFactorA(xf / b);
            const double B = SandFactorB(xf / b);
            double ps, pc;
            if (g.ratio < kContinuousWallRatio) {
                ps = b * CoulombPassive(phi, kSiltWallFriction) * gamma * x0;
                pc = gamma * b * x0 + 2.0 * c * b;
            } else {
                ps = std::min(SandWedgeResistance(coefficients, gamma, b, xf),
                              SandFlowResistance(coefficients, gamma, b, xf));
                pc = SiltCohesiveResistance(c, gamma, b, xf);
            }
            const SandCurve curve = SandCurveThrough(A * ps + pc, B * ps + pc, b, layer.k, xf);
            if (side == PYSide::Excavation) share.pu = curve.pu;
            if (g.everyStation) {
                g.AddStationSide(side, g.props.YMult(z), g.props.PMult(z),
                                 side == PYSide::Excavation ? -pact : pact, curve.yu, b,
                                 [&](double y) { return SandResistance(y, curve); });
                continue;
            }

            g.WriteSideHeading(side);
            g.out.report << text::FormatLayout(
                "(/, /, 5X, \"DEPTH\", 6X, \"DIAM\", 6X, \"PHI\", 2X, \"GAMMA AVG\", 8X, \"A\", "
                "9X, "
                "\"B\", 5X, \"Puc\", 7X, \"Pu\", A, /, 7X, A, 8X, A, 12X, A, /, 2F10.2, F10.1, "
                "E10.3, 2F10.2, 2E10.3, /, /, 37X, \"Y\", 19X, \"P\", /, 37X, A, 16X, A, \"/\", A)",
                {kPhiSign, length, length, g.UnitWeightLabel(), x0, b, phi * 180.0 / g.pi, gamma, A,
                 B, pc, ps, length, g.ForceLabel(), length});
            const std::array<double, 17> ys = SandDeflections(curve, b);
            for (int k = 0; k < 17; ++k) {
                g.WritePoint(k + 1, ys[k], SandResistance(ys[k], curve), side, z, pact,
                             "(21X, 2E20.3)", "(I5, 2(2X, E10.3))");
            }
            g.WriteMultiplierLine(z);
        }
        return share;
    });
}

}  // namespace korvel::soil
