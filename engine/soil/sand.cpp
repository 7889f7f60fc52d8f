#include "soil/sand.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "soil/py_generator.h"
#include "text/layout.h"

namespace korvel::soil {
namespace {

constexpr double kContinuousWallRatio = 1.1;  // Wa/Wp below it: a continuous wall
constexpr double kShiftFloor = 1.0e-5;
constexpr double kBasePressureFloor = 0.0001;
constexpr double kYuPerWidth = 3.0 / 80.0;  // yu = 3b/80
constexpr double kYmPerWidth = 1.0 / 60.0;  // ym = b/60
constexpr double kYkWithoutDepth = 2.0;     // yk = 2b when the formula depth is not positive
constexpr double kDeepA = 0.88;             // A beyond x/b = 6, the rate below the limit depth

// Static loading factors at x/b.
constexpr std::array<double, 10> kTableDepth = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr std::array<double, 10> kTableA = {2.83, 2.48, 2.11, 1.76, 1.48,
                                            1.23, 1.06, 0.9,  0.88, 0.88};
constexpr std::array<double, 10> kTableB = {2.14, 1.83, 1.54, 1.27, 1.05,
                                            0.86, 0.71, 0.53, 0.5,  0.5};

double Lookup(const std::array<double, 10>& values, double xOverB) {
    if (xOverB <= kTableDepth.front()) return values.front();
    for (size_t i = 0; i + 1 < kTableDepth.size(); ++i) {
        if (xOverB <= kTableDepth[i + 1]) {
            const double f = (xOverB - kTableDepth[i]) / (kTableDepth[i + 1] - kTableDepth[i]);
            return values[i] + f * (values[i + 1] - values[i]);
        }
    }
    return values.back();
}

}  // namespace

SandCoefficients SandCoefficientsFor(double phi, double pi) {
    SandCoefficients k;
    k.phi = phi;
    k.alpha = phi / 2.0;
    k.beta = pi / 4.0 + phi / 2.0;
    k.Ka = std::pow(std::tan(pi / 4.0 - phi / 2.0), 2);
    k.Kp = std::pow(std::tan(pi / 4.0 + phi / 2.0), 2);
    return k;
}

double SandFactorA(double xOverB) {
    return Lookup(kTableA, xOverB);
}
double SandFactorB(double xOverB) {
    return Lookup(kTableB, xOverB);
}

double SandWedgeResistance(const SandCoefficients& k, double gamma, double b, double x) {
    const double tanPhi = std::tan(k.phi);
    const double tanBeta = std::tan(k.beta);
    const double tanBetaMinusPhi = std::tan(k.beta - k.phi);
    const double tanAlpha = std::tan(k.alpha);
    const double t1 =
        kSandK0 * x * tanPhi * std::sin(k.beta) / (tanBetaMinusPhi * std::cos(k.alpha));
    const double t2 = tanBeta / tanBetaMinusPhi * (b + x * tanBeta * tanAlpha);
    const double t3 = kSandK0 * x * tanBeta * (tanPhi * std::sin(k.beta) - tanAlpha);
    return (t1 + t2 + t3 - k.Ka * b) * gamma * x;
}

double SandFlowResistance(const SandCoefficients& k, double gamma, double b, double x) {
    const double tanBeta = std::tan(k.beta);
    return k.Ka * b * gamma * x * (std::pow(tanBeta, 8) - 1.0) +
           kSandK0 * b * gamma * x * std::tan(k.phi) * std::pow(tanBeta, 4);
}

double SandCoulombPassive(double phi) {
    return CoulombPassive(phi, phi / 2.0);
}

double CoulombPassive(double phi, double delta) {
    const double root = 1.0 - std::sqrt(std::sin(phi) * std::sin(phi + delta) / std::cos(delta));
    return std::pow(std::cos(phi), 2) / std::cos(delta) / (root * root);
}

double SandActiveShift(double overburden, double Ka, double b, double basePressure, double ratio) {
    double shift = overburden * Ka * b;
    if (basePressure > kBasePressureFloor) shift = std::max(shift, basePressure / ratio);
    return shift < kShiftFloor ? 0.0 : shift;
}

SandCurve SandCurveFor(double ps, double A, double B, double b, double k, double xEq) {
    return SandCurveThrough(A * ps, B * ps, b, k, xEq);
}

SandCurve SandCurveThrough(double pu, double pm, double b, double k, double xEq) {
    SandCurve s;
    s.pu = pu;
    s.pm = pm;
    s.yu = kYuPerWidth * b;
    s.ym = kYmPerWidth * b;
    s.kx = k * xEq;
    s.m = (s.pu - s.pm) / (s.yu - s.ym);
    s.n = s.pm / (s.m * s.ym);
    s.C = s.pm / std::pow(s.ym, 1.0 / s.n);
    if (!(s.pm > 0.0) || !(s.n > 0.0) || !std::isfinite(s.n)) {
        // No resistance (phi = 0): the parabola is undefined and the initial line holds throughout.
        s.yk = std::numeric_limits<double>::infinity();
    } else if (xEq > 0.0) {
        s.yk = std::pow(s.C / s.kx, s.n / (s.n - 1.0));
    } else {
        s.yk = kYkWithoutDepth * b;
    }
    return s;
}

std::array<double, 17> SandDeflections(const SandCurve& s, double b) {
    std::array<double, 17> y{};
    const double step = s.ym / 12.0;
    for (int k = 1; k <= 12; ++k) y[k] = k * step;
    y[13] = s.yu;
    y[14] = s.yu + b;
    y[15] = s.yu + 2.0 * b;
    y[16] = s.yu + 3.0 * b;
    return y;
}

double SandResistance(double y, const SandCurve& s) {
    double p;
    if (y <= s.yk) {
        p = s.kx * y;
    } else if (y <= s.ym) {
        p = s.C * std::pow(y, 1.0 / s.n);
    } else if (y <= s.yu) {
        p = s.pm + s.m * (y - s.ym);
    } else {
        p = s.pu;
    }
    return std::min(p, s.kx * y);
}

SandIntegral SandIntegralFor(double phi, double b, double pi) {
    const SandCoefficients k = SandCoefficientsFor(phi, pi);
    const double tanPhi = std::tan(phi);
    const double tanAlpha = std::tan(k.alpha);
    SandIntegral s;
    s.c1 = k.Kp - k.Ka;
    s.c2 = std::tan(k.beta) *
           (kSandK0 * (tanPhi * std::sin(k.beta) * (1.0 / std::cos(k.alpha) + 1.0) - tanAlpha) +
            tanAlpha * k.Kp);
    s.c3 = (kSandK0 * tanPhi + k.Kp) * k.Kp * k.Kp - k.Ka;
    s.xl = (s.c3 - s.c1) * b / s.c2;
    return s;
}

double SandEquivalentDepth(double F, double phi, double gamma, double b, double x0, double pi,
                           int steps) {
    const SandIntegral si = SandIntegralFor(phi, b, pi);
    const double c1 = si.c1, c2 = si.c2, c3 = si.c3, xl = si.xl;
    // Without friction (or weight) the sand builds no resistance to match.
    if (!(xl > 0.0) || !std::isfinite(xl)) return 0.0;

    const double step = xl / steps;
    double total = 0.0;
    for (int j = 1; j <= steps; ++j) {
        const double x = j * step;
        const double xb = x / b;
        const double next =
            total + gamma * b * b * SandFactorA(xb) * (xb * xb * c2 + xb * c1) * step;
        if (next > F) return x - (next - F) * step / (next - total);
        total = next;
    }
    const double rate = kDeepA * gamma * b * b * c3 * x0 / b;
    if (!(rate > 0.0)) return 0.0;
    return (F - total) / rate + xl;
}

void GenerateSandLayer(PYGeneration& g, int L) {
    PYLayer& layer = g.profile.layers[L];
    const std::string length = g.LengthLabel();
    WalkLayerCurves(g, L, LayerTail::ToLayerBottom, [&](const LayerCurve& at) {
        const double x = at.x;
        const double z = at.z;
        const double b = at.b;
        const double phi = g.props.Phi(x);
        const double gamma = g.props.GammaAvg(x);
        const SandCoefficients coefficients = SandCoefficientsFor(phi, g.pi);
        if (at.first && L > 0) layer.xEq = g.EquivalentDepth(L, {b, 0.0, gamma, phi, x});
        const double pact =
            SandActiveShift(g.overburden, coefficients.Ka, b, g.basePressure, g.ratio);

        g.WriteCurveRecord(x);
        CurveResistance share;
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double x0 = g.DepthUsed(side, x);
            const double xEq = g.FormulaDepth(x0, L);
            const double A = SandFactorA(x0 / b);
            const double B = SandFactorB(x0 / b);
            // Without friction the wedge and flow-around resistances are 0 (the
            // formulas leave only rounding of pi, which can turn them negative):
            // the curve is the initial line p = kx y throughout.
            const bool frictionless = !(phi > 0.0);
            const double pct =
                frictionless ? 0.0 : SandWedgeResistance(coefficients, gamma, b, xEq);
            const double pcd = frictionless ? 0.0 : SandFlowResistance(coefficients, gamma, b, xEq);
            const double ps = g.ratio < kContinuousWallRatio
                                  ? b * SandCoulombPassive(phi) * gamma * x0
                                  : std::min(pct, pcd);
            const SandCurve curve = SandCurveFor(ps, A, B, b, layer.k, xEq);
            if (side == PYSide::Excavation) share.pu = curve.pu;
            if (g.everyStation) {
                g.AddStationSide(side, g.props.YMult(z), g.props.PMult(z),
                                 side == PYSide::Excavation ? -pact : pact, curve.yu, b,
                                 [&](double y) { return SandResistance(y, curve); });
                continue;
            }

            g.WriteSideHeading(side);
            g.out.report << text::FormatLayout(
                "(/, /, 11X, \"DEPTH BELOW GS\", 2X, \"DIAM\", 3X, \"PHI\", 2X, \"GAMMA AVG\", 4X, "
                "\"A\", 4X, \"B\", 5X, \"PCT\", 7X, \"PCD\", /, 17X, A, 9X, A, 9X, A)",
                {length, length, g.UnitWeightLabel()});
            g.out.report << text::FormatLayout("(10X, F10.2, 4X, 2F7.2, E9.2, 2X, 2F5.2, 2E9.2)",
                                               {x0, b, phi * 180.0 / g.pi, gamma, A, B, pct, pcd});
            g.out.report << text::FormatLayout(
                "(/, /, 38X, \"Y\", 19X, \"P\", /, 38X, A, 15X, A, \"/\", A)",
                {length, g.ForceLabel(), length});
            const std::array<double, 17> ys = SandDeflections(curve, b);
            for (int k = 0; k < 17; ++k) {
                g.WritePoint(k + 1, ys[k], SandResistance(ys[k], curve), side, z, pact);
            }
            g.WriteMultiplierLine(z);
        }
        return share;
    });
}

}  // namespace korvel::soil
