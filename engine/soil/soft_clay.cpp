#include "soil/soft_clay.h"

#include <algorithm>
#include <cmath>

#include "soil/py_generator.h"
#include "text/layout.h"

namespace korvel::soil {
namespace {

constexpr double kContinuousWallRatio = 1.1;  // Wa/Wp below it: a continuous wall
constexpr double kSecondPointFactor = 0.008;  // y2 = 0.008 y50
constexpr double kShiftFloor = 1.0e-10;
constexpr double kBasePressureFloor = 0.0001;
constexpr double kUltimateAtY50 = 8.0;  // p reaches pu at 8 y50

}  // namespace

double SoftClayUltimateResistance(double c, double gamma, double b, double xEq) {
    const double Np = 3.0 + gamma * xEq / c + kSoftClayJ * xEq / b;
    return Np <= kSoftClayNpMax ? Np * c * b : kSoftClayNpMax * c * b;
}

double SoftClayContinuousWall(double c, double gamma, double b, double x0) {
    return (gamma * x0 + 2.0 * c) * b;
}

double SoftClayActiveShift(double b, double c, double overburden, double basePressure,
                           double ratio) {
    double shift = b * overburden - 2.0 * c * b;
    if (basePressure > kBasePressureFloor) {
        shift = std::max(shift, basePressure / ratio - 2.0 * c * b);
    }
    return shift > kShiftFloor ? shift : 0.0;
}

std::array<double, 17> SoftClayDeflections(double y50) {
    std::array<double, 17> y{};
    y[0] = 0.0;
    y[1] = kSecondPointFactor * y50;
    for (int k = 2; k <= 13; ++k) y[k] = 0.25 * (k - 1) * y50;
    y[14] = 8.0 * y50;
    y[15] = 15.0 * y50;
    y[16] = 20.0 * y50;
    return y;
}

double SoftClayInitialModulus(double pu, double y50) {
    return 0.5 * pu * std::pow(y50 / kSoftClayYTiny, 2.0 / 3.0) / y50;
}

double SoftClayResistance(double y, double pu, double y50) {
    if (y < kSoftClayYTiny) return SoftClayInitialModulus(pu, y50) * y;
    if (y <= kSoftClayFlatFrom * y50) return 0.5 * pu * std::cbrt(y / y50);
    return pu;
}

double SoftClayEquivalentDepth(double F, double c, double b, double gamma) {
    const double xr = 6.0 * c * b / (0.5 * c + gamma * b);
    const double Fr = 3.0 * c * b * xr + 0.5 * gamma * b * xr * xr + 0.25 * c * xr * xr;
    if (F <= Fr) {
        const double a = 0.25 * c + 0.5 * gamma * b;
        const double linear = 3.0 * c * b;
        return (-linear + std::sqrt(linear * linear + 4.0 * a * F)) / (2.0 * a);
    }
    // Without cohesion the flow-around limit 9 c b is 0 and the resistance
    // stops growing at xr: no deeper depth reaches F.
    const double flow = kSoftClayNpMax * c * b;
    if (!(flow > 0.0)) return std::isfinite(xr) ? xr : 0.0;
    return (F - Fr) / flow + xr;
}

void GenerateSoftClayLayer(PYGeneration& g, int L) {
    PYLayer& layer = g.profile.layers[L];
    const std::string length = g.LengthLabel();
    WalkLayerCurves(g, L, LayerTail::AtLastCurve, [&](const LayerCurve& at) {
        const double x = at.x;
        const double z = at.z;
        const double b = at.b;
        const double c = g.props.Cohesion(x);
        const double gamma = g.props.GammaAvg(x);
        const double e50 = g.props.E50(x);
        if (at.first && L > 0) layer.xEq = g.EquivalentDepth(L, {b, c, gamma, 0.0, x});
        const double pact = SoftClayActiveShift(b, c, g.overburden, g.basePressure, g.ratio);
        const double y50 = kSoftClayY50Factor * e50 * b;
        const std::array<double, 17> ys = SoftClayDeflections(y50);

        g.WriteCurveRecord(x);
        CurveResistance share;
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double x0 = g.DepthUsed(side, x);
            const double pu = g.ratio < kContinuousWallRatio
                                  ? SoftClayContinuousWall(c, gamma, b, x0)
                                  : SoftClayUltimateResistance(c, gamma, b, g.FormulaDepth(x0, L));
            if (side == PYSide::Excavation) share.pu = pu;
            if (g.everyStation) {
                g.AddStationSide(side, g.props.YMult(z), g.props.PMult(z),
                                 side == PYSide::Excavation ? -pact : pact, kUltimateAtY50 * y50, b,
                                 [&](double y) { return SoftClayResistance(y, pu, y50); });
                continue;
            }

            g.WriteSideHeading(side);
            g.out.report << text::FormatLayout(
                "(/, 9X, \"DEPTH BELOW GS\", 6X, \"DIAM\", 8X, \"C\", 6X, \"GAMMA AVG\", 6X, "
                "\"E50\", /, 15X, A, 13X, A, 5X, A, 2X, A)",
                {length, length, g.PressureLabel(), g.UnitWeightLabel()});
            g.out.report << text::FormatLayout(
                "(8X, F10.2, 6X, F10.3, 1X, D10.4, 1X, D10.4, 1X, D12.4)", {x0, b, c, gamma, e50});
            g.out.report << text::FormatLayout("(/, 37X, \"Y,\", A, 13X, \"P,\", A, \"/\", A)",
                                               {length, g.ForceLabel(), length});
            for (int k = 0; k < 17; ++k) {
                const double y = ys[k];
                if (k == 1 && y < kSoftClayYTiny) {
                    g.out.report << text::FormatLayout(
                        "(/, 29X, \"**** WARNING ****\", /, 5X, \"DEFLECTION IS LESS THAN "
                        "1.0E-14.  THE PROGRAM\", /, 5X, \"USED A SOIL MODULUS OF \", D12.4)",
                        {SoftClayInitialModulus(pu, y50)});
                }
                g.WritePoint(k + 1, y, SoftClayResistance(y, pu, y50), side, z, pact);
            }
            g.WriteMultiplierLine(z);
        }
        return share;
    });
}

}  // namespace korvel::soil
