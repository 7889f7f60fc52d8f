#include "soil/stiff_clay.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "soil/py_generator.h"
#include "soil/soft_clay.h"
#include "text/layout.h"

namespace korvel::soil {
namespace {

constexpr double kContinuousWallRatio = 1.1;  // Wa/Wp below it: a continuous wall

// Static stiff clay with free water (field tests on a stiff clay below water).
constexpr std::array<double, 6> kAsDepth = {0, 1, 2, 3, 4, 5};  // x/b
constexpr std::array<double, 6> kAsValue = {0, 0.223, 0.46, 0.55, 0.59, 0.6};
constexpr double kWetWedgeCohesion = 2.0;  // pct = 2 ca b + gamma b x + 2.83 ca x
constexpr double kWetWedgeDepth = 2.83;
constexpr double kWetFlowFactor = 11.0;     // pcd = 11 c b
constexpr double kSofteningFactor = 0.055;  // softening between As y50 and 6 As y50
constexpr double kSofteningExponent = 1.25;
constexpr double kDropAt6As = 0.411;     // p at 6 As y50 is 0.5 pc sqrt(6 As) - 0.411 pc
constexpr double kDropSlope = 0.0625;    // slope pc/y50 of the drop to 18 As y50
constexpr double kResidualAs = 0.75;     // residual 0.75 pc As below the p at 6 As y50
constexpr double kResidualRoot = 1.225;  // 0.5 sqrt(6), Fr = 1.225 sqrt(As) - ...
constexpr double kResidualFrom = 18.0;   // the residual holds from 18 As y50 on

// Static stiff clay without free water.
constexpr double kDryWedgeCohesion = 3.0;  // pu = 3 ca b + gamma b x + 0.5 ca x
constexpr double kDryWedgeDepth = 0.5;
constexpr double kDryFlowFactor = 9.0;   // 9 c b
constexpr double kDryY50Factor = 2.5;    // y50 = 2.5 E50 b
constexpr double kDryUltimateAt = 16.0;  // pu is reached at 16 y50
constexpr std::array<double, 13> kDryDeflectionFactors = {
    0.00001, 0.00005, 0.0001, 0.0005, 0.001, 0.005, 0.01, 0.025, 0.05, 0.075, 0.1, 0.25, 0.5};

double PuOrContinuousWall(double ratio, double c, double gamma, double b, double x0,
                          double fromFormulas) {
    return ratio < kContinuousWallRatio ? SoftClayContinuousWall(c, gamma, b, x0) : fromFormulas;
}

}  // namespace

double StiffClayAs(double xOverB) {
    if (xOverB <= kAsDepth.front()) return kAsValue.front();
    for (size_t i = 0; i + 1 < kAsDepth.size(); ++i) {
        if (xOverB <= kAsDepth[i + 1]) {
            const double f = (xOverB - kAsDepth[i]) / (kAsDepth[i + 1] - kAsDepth[i]);
            return kAsValue[i] + f * (kAsValue[i + 1] - kAsValue[i]);
        }
    }
    return kAsValue.back();
}

double StiffClayResidualFactor(double As) {
    return kResidualRoot * std::sqrt(As) - kResidualAs * As - kDropAt6As;
}

double StiffClayWetUltimate(double c, double ca, double gamma, double b, double xEq) {
    const double pct = kWetWedgeCohesion * ca * b + gamma * b * xEq + kWetWedgeDepth * ca * xEq;
    return std::min(pct, kWetFlowFactor * c * b);
}

std::array<double, 17> StiffClayWetDeflections(double As, double y50) {
    const double ya = As * y50;
    std::array<double, 17> y{};
    for (int k = 1; k <= 12; ++k) y[k] = 0.5 * k * ya;
    y[13] = 10.0 * ya;
    y[14] = 14.0 * ya;
    y[15] = 18.0 * ya;
    y[16] = 200.0 * ya;
    return y;
}

double StiffClayWetResistance(double y, double pc, double As, double y50, double kx) {
    const double ya = As * y50;
    const double atSixAs = 0.5 * pc * std::sqrt(6.0 * As) - kDropAt6As * pc;
    double p;
    if (y <= ya) {
        p = 0.5 * pc * std::sqrt(y / y50);
    } else if (y <= 6.0 * ya) {
        p = 0.5 * pc * std::sqrt(y / y50) -
            kSofteningFactor * pc * std::pow(y / ya - 1.0, kSofteningExponent);
    } else if (y <= 18.0 * ya) {
        p = atSixAs - kDropSlope * (pc / y50) * (y - 6.0 * ya);
    } else {
        p = atSixAs - kResidualAs * pc * As;
    }
    // Near the surface (As below about 0.223) the softening and the residual
    // fall below zero; the soil never pulls on the wall, so p stays at least 0.
    return std::max(0.0, std::min(p, kx * y));
}

double StiffClayWetEquivalentDepth(double F, double c, double b, double gamma, int steps) {
    const double ca = c;  // the running mean at the layer's first curve
    const double xr =
        (kWetFlowFactor * c * b - kWetWedgeCohesion * ca * b) / (kWetWedgeDepth * ca + gamma * b);
    if (!(xr > 0.0) || !std::isfinite(xr)) return 0.0;

    const double step = xr / steps;
    double total = 0.0;
    for (int j = 1; j <= steps; ++j) {
        const double x = j * step;
        const double pct = kWetWedgeCohesion * ca * b + gamma * b * x + kWetWedgeDepth * ca * x;
        const double next = total + pct * StiffClayResidualFactor(StiffClayAs(x / b)) * step;
        if (next > F) return x - (next - F) * step / (next - total);
        total = next;
    }
    const double rate = kWetFlowFactor * c * b * StiffClayResidualFactor(StiffClayAs(xr / b));
    // A residual that is not positive at the limit never reaches F: stay at the limit.
    if (!(rate > 0.0)) return xr;
    return (F - total) / rate + xr;
}

double StiffClayDryUltimate(double c, double ca, double gamma, double b, double xEq) {
    const double wedge = kDryWedgeCohesion * ca * b + gamma * b * xEq + kDryWedgeDepth * ca * xEq;
    return std::min(wedge, kDryFlowFactor * c * b);
}

std::array<double, 17> StiffClayDryDeflections(double y50) {
    const double yu = kDryUltimateAt * y50;
    std::array<double, 17> y{};
    for (size_t k = 0; k < kDryDeflectionFactors.size(); ++k) {
        y[k + 1] = kDryDeflectionFactors[k] * yu;
    }
    y[14] = 16.0 * y50;
    y[15] = 18.0 * y50;
    y[16] = 20.0 * y50;
    return y;
}

double StiffClayDryResistance(double y, double pu, double y50) {
    if (y <= kDryUltimateAt * y50) return 0.5 * pu * std::pow(y / y50, 0.25);
    return pu;
}

void GenerateStiffClayWetLayer(PYGeneration& g, int L) {
    PYLayer& layer = g.profile.layers[L];
    const std::string length = g.LengthLabel();
    double previousX = 0.0;
    double previousC = 0.0;
    double firstX = 0.0;
    double cohesionArea = 0.0;  // integral of c from the layer's first curve
    WalkLayerCurves(g, L, LayerTail::AtLastCurve, [&](const LayerCurve& at) {
        const double x = at.x;
        const double z = at.z;
        const double b = at.b;
        const double c = g.props.Cohesion(x);
        const double gamma = g.props.GammaAvg(x);
        const double e50 = g.props.E50(x);
        double ca = c;
        if (at.first) {
            firstX = x;
            cohesionArea = 0.0;
            if (L > 0) layer.xEq = g.EquivalentDepth(L, {b, c, gamma, 0.0, x});
        } else {
            cohesionArea += (x - previousX) * 0.5 * (previousC + c);
            ca = cohesionArea / (x - firstX);
        }
        if (L == 0) ca = g.props.CohesionAvg(x, 0);
        const double pact = SoftClayActiveShift(b, c, g.overburden, g.basePressure, g.ratio);
        const double y50 = e50 * b;

        g.WriteCurveRecord(x);
        CurveResistance share;
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double x0 = g.DepthUsed(side, x);
            const double xEq = g.FormulaDepth(x0, L);
            const double As = StiffClayAs(x0 / b);
            const double pc = PuOrContinuousWall(g.ratio, c, gamma, b, x0,
                                                 StiffClayWetUltimate(c, ca, gamma, b, xEq));
            const double kx = layer.k * xEq;
            // Below water the layer resists with its residual share of pc.
            if (side == PYSide::Excavation) share = {pc, StiffClayResidualFactor(As)};
            if (g.everyStation) {
                // The residual holds from 18 As y50 on.
                g.AddStationSide(
                    side, g.props.YMult(z), g.props.PMult(z),
                    side == PYSide::Excavation ? -pact : pact, kResidualFrom * As * y50, y50,
                    [&](double y) { return StiffClayWetResistance(y, pc, As, y50, kx); });
                continue;
            }

            g.WriteSideHeading(side);
            g.out.report << text::FormatLayout(
                "(/, /, 9X, \"DEPTH BELOW GS\", 6X, \"DIAM\", 8X, \"C\", 9X, \"CAVG\", 4X, "
                "\"GAMMA AVG\", 6X, \"E50\", /, 15X, A, 13X, A, 5X, 2(A, 2X), A, /, 9X, F10.2, "
                "5X, F10.3, 3(1X, D10.2), D12.4)",
                {length, length, g.PressureLabel(), g.PressureLabel(), g.UnitWeightLabel(), x0, b,
                 c, ca, gamma, e50});
            const std::array<double, 17> ys = StiffClayWetDeflections(As, y50);
            for (int k = 0; k < 17; ++k) {
                g.WritePoint(k + 1, ys[k], StiffClayWetResistance(ys[k], pc, As, y50, kx), side, z,
                             pact);
            }
        }
        previousX = x;
        previousC = c;
        return share;
    });
}

void GenerateStiffClayDryLayer(PYGeneration& g, int L) {
    PYLayer& layer = g.profile.layers[L];
    const std::string length = g.LengthLabel();
    WalkLayerCurves(g, L, LayerTail::AtLastCurve, [&](const LayerCurve& at) {
        const double x = at.x;
        const double z = at.z;
        const double b = at.b;
        const double c = g.props.Cohesion(x);
        const double ca = g.props.CohesionAvg(x, L);
        const double gamma = g.props.GammaAvg(x);
        const double e50 = g.props.E50(x);
        if (at.first && L > 0) layer.xEq = g.EquivalentDepth(L, {b, c, gamma, 0.0, x});
        const double pact = SoftClayActiveShift(b, c, g.overburden, g.basePressure, g.ratio);
        const double y50 = kDryY50Factor * e50 * b;
        const std::array<double, 17> ys = StiffClayDryDeflections(y50);

        g.WriteCurveRecord(x);
        CurveResistance share;
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double x0 = g.DepthUsed(side, x);
            const double pu =
                PuOrContinuousWall(g.ratio, c, gamma, b, x0,
                                   StiffClayDryUltimate(c, ca, gamma, b, g.FormulaDepth(x0, L)));
            if (side == PYSide::Excavation) share.pu = pu;
            if (g.everyStation) {
                g.AddStationSide(side, g.props.YMult(z), g.props.PMult(z),
                                 side == PYSide::Excavation ? -pact : pact, kDryUltimateAt * y50, b,
                                 [&](double y) { return StiffClayDryResistance(y, pu, y50); });
                continue;
            }

            g.WriteSideHeading(side);
            g.out.report << text::FormatLayout(
                "(/, /, 10X, \"DEPTH BELOW GS\", 5X, \"DIAM\", 8X, \"C\", 7X, \"CAVG\", 4X, "
                "\"GAMMA AVG\", 5X, \"E50\", /, 16X, A, 12X, A, 5X, 3(A, 1X), /, 10X, F10.2, 5X, "
                "F10.3, 3D10.2, D12.4, /, 38X, \"Y\", 19X, \"P\", /, 38X, A, 15X, A, \"/\", A)",
                {length, length, g.PressureLabel(), g.PressureLabel(), g.UnitWeightLabel(), x0, b,
                 c, ca, gamma, e50, length, g.ForceLabel(), length});
            for (int k = 0; k < 17; ++k) {
                g.WritePoint(k + 1, ys[k], StiffClayDryResistance(ys[k], pu, y50), side, z, pact,
                             "(1X, 20X, 2F20.5)");
            }
            g.WriteMultiplierLine(z);
        }
        return share;
    });
}

}  // namespace korvel::soil
