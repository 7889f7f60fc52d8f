#include "soil/rock.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "soil/py_generator.h"
#include "text/layout.h"

namespace korvel::soil {
namespace {

// Strong rock: slopes and deflections as fractions of the width and strength.
constexpr double kStrongModulusFactor = 2000.0;  // Es = 2000 s_u
constexpr double kStrongFirstLine = 0.0004;      // y1 = 0.0004 b
constexpr double kStrongSecondSlope = 100.0;     // second line slope 100 s_u
constexpr double kStrongSteps = 15.0;            // the 16th point sits at y2
constexpr double kStrongStrengthShare = 0.5;     // the model uses half the strength
constexpr double kResidualFactor = 0.5;          // residual 0.5 gamma b x

// Weak rock.
constexpr double kRqdReduction = 150.0;    // alpha_r = 1 - RQD/150
constexpr double kWeakSocketDepth = 3.0;   // the two rules meet at xr = 3b
constexpr double kWeakWedgeDepth = 1.4;    // pur = alpha_r qur (b + 1.4 xr)
constexpr double kWeakDeepFactor = 5.2;    // pur = 5.2 alpha_r qur b
constexpr double kWeakModulusTop = 100.0;  // Kir = Eir (100 + 400 xr/(3b))
constexpr double kWeakModulusGrowth = 400.0;
constexpr double kWeakModulusDeep = 500.0;  // Kir = 500 Eir
constexpr double kWeakTopOffset = 1.0e-8;   // xr and the strength just below the layer top
constexpr double kWeakZeroDepth = 1.0e-6;   // a depth below it is the surface
constexpr double kWeakZeroStrength = 1.0e-10;
constexpr double kWeakUltimateAt = 16.0;  // 0.5 (y/yrm)^0.25 reaches 1 at 16 yrm
constexpr std::array<double, 17> kWeakDeflectionFactors = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02,
                                                           0.04,   0.06,  0.08,  0.1,   0.25,  0.5,
                                                           0.75,   1.0,   4.0,   8.0,   16.0};

}  // namespace

StrongRockCurve StrongRockCurveFor(double su, double b) {
    StrongRockCurve r;
    r.su = su;
    r.Es = kStrongModulusFactor * su;
    r.y1 = kStrongFirstLine * b;
    r.p1 = r.Es * r.y1;
    r.pu = su * b;
    r.y2 = (r.pu - r.p1) / (kStrongSecondSlope * su) + r.y1;
    r.s = r.y2 / kStrongSteps;
    return r;
}

std::array<double, 17> StrongRockDeflections(double s) {
    std::array<double, 17> y{};
    for (int k = 1; k < 17; ++k) y[k] = y[k - 1] + s;
    return y;
}

double StrongRockResistance(double y, const StrongRockCurve& r, double pMult, double residual) {
    if (y < r.y1) return pMult * r.Es * y;
    if (y < r.y2) return pMult * (r.p1 + kStrongSecondSlope * r.su * (y - r.y1));
    return residual;
}

double WeakRockStrengthReduction(double rqd) {
    return 1.0 - rqd / kRqdReduction;
}

WeakRockCurve WeakRockCurveFor(double alphaR, double qur, double Eir, double krm, double b,
                               double xr) {
    WeakRockCurve w;
    if (xr <= kWeakSocketDepth * b) {
        w.pur = alphaR * qur * (b + kWeakWedgeDepth * xr);
        w.Kir = Eir * (kWeakModulusTop + kWeakModulusGrowth * xr / (kWeakSocketDepth * b));
    } else {
        w.pur = kWeakDeepFactor * alphaR * qur * b;
        w.Kir = kWeakModulusDeep * Eir;
    }
    w.yrm = krm * b;
    w.C = 0.5 * w.pur / std::pow(w.yrm, 0.25);
    w.yA = std::pow(w.C / w.Kir, 4.0 / 3.0);
    return w;
}

std::array<double, 17> WeakRockDeflections(double yrm) {
    std::array<double, 17> y{};
    for (int k = 0; k < 17; ++k) y[k] = kWeakDeflectionFactors[k] * yrm;
    return y;
}

double WeakRockResistance(double y, const WeakRockCurve& w) {
    if (y < w.yA) return w.Kir * y;
    return std::min(0.5 * w.pur * std::pow(y / w.yrm, 0.25), w.pur);
}

void GenerateStrongRockLayer(PYGeneration& g, int L) {
    PYLayer& layer = g.profile.layers[L];
    layer.R = 0.0;  // a rock layer adds nothing to F of the layers below it
    const std::string length = g.LengthLabel();
    for (int curve : layer.curves) {
        const double x = g.profile.curveDepths[curve];
        const double z = g.H + x;
        const double b = g.props.Width(x);
        const double su = kStrongStrengthShare * g.props.Cohesion(x);
        const double gamma = g.props.GammaAvg(x);
        const StrongRockCurve rock = StrongRockCurveFor(su, b);
        const std::array<double, 17> ys = StrongRockDeflections(rock.s);
        const double pMult = g.props.PMult(z);
        const double yMult = g.props.YMult(z);

        g.WriteCurveRecord(x);
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double xd = g.DepthUsed(side, x);
            const double residual = kResidualFactor * gamma * b * xd;
            if (g.everyStation) {
                // Both lines are straight: their ends, then the drop to the
                // residual over one step of the described curve (y2/15).
                const double atY2 =
                    pMult * (rock.p1 + kStrongSecondSlope * su * (rock.y2 - rock.y1));
                g.AddStationPoints(side, yMult, 1.0, 0.0,
                                   {0.0, rock.y1, rock.y2, rock.y2 + rock.s, 2.0 * rock.y2},
                                   {0.0, pMult * rock.p1, atY2, residual, residual});
                continue;
            }
            g.out.report << text::FormatLayout(
                "(/, /, 17X, A, 5X, \"DIAM\", 8X, \"C\", 7X, /, 30X, A, 12X, A, 5X, A, 1X, /, "
                "24X, F10.2, 5X, F10.3, E10.1, /, 38X, \"Y\", 19X, \"P\", /, 38X, A, 15X, A, "
                "\"/\", A)",
                {side == PYSide::Excavation ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ",
                 length, length, g.PressureLabel(), xd, b, su, length, g.ForceLabel(), length});
            for (int k = 0; k < 17; ++k) {
                const double yScaled = yMult * ys[k];
                const double p = StrongRockResistance(ys[k], rock, pMult, residual);
                g.out.report << text::FormatLayout("(1X, 20X, 2D20.3)", {yScaled, p});
                g.curveFile << text::FormatLayout("(I5, 1X, 2E10.3)", {k + 1, p, yScaled});
            }
        }
    }
}

int RockSurfaceLayer(const PYProfile& profile, int L) {
    auto isRock = [&](int i) { return profile.layers[i].type == 6 || profile.layers[i].type == 7; };
    while (L > 0 && isRock(L - 1)) --L;
    return L;
}

void GenerateWeakRockLayer(PYGeneration& g, int L) {
    PYLayer& layer = g.profile.layers[L];
    layer.R = 0.0;
    // The depth into the rock and the strength near its top are measured from
    // the rock surface, the top of the run of rock layers this one belongs to,
    // so that one rock mass entered as several layers gives the same curves.
    const int surfaceLayer = RockSurfaceLayer(g.profile, L);
    const double rockTop = g.profile.layers[surfaceLayer].xTop;
    const std::string length = g.LengthLabel();
    for (size_t i = 0; i < layer.curves.size(); ++i) {
        const double x = g.profile.curveDepths[layer.curves[i]];
        const double z = g.H + x;
        const double xd = x < kWeakZeroDepth ? 0.0 : x;
        const double b = g.props.Width(xd);
        const double c = g.props.Cohesion(xd);
        const double rqd = g.props.K6(xd);
        const double gamma = g.props.GammaAvg(xd);
        const double krm = g.props.E50(xd);
        if (i > 0 && c < kWeakZeroStrength) {
            g.out.err << text::FormatLayout(
                "(/, 7X, \"--------------------WARNING----------------------\", /, 7X, "
                "\"THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\", /, 7X, "
                "\"DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\")");
            throw SoilStop(0, "THE STRENGTH OF A WEAK ROCK LAYER IS ZERO");
        }
        const double alphaR = WeakRockStrengthReduction(rqd);
        const double qur = surfaceLayer == 0 && L == 0
                               ? g.props.CohesionAvg(xd, 0)
                               : 0.5 * (g.props.Cohesion(rockTop + kWeakTopOffset) + c);
        const double Eir = layer.k;

        g.WriteCurveRecord(x);
        for (PYSide side : {PYSide::Excavation, PYSide::Backfill}) {
            const double depth = g.DepthUsed(side, xd);
            const double xr = depth - rockTop + kWeakTopOffset;
            const WeakRockCurve rock = WeakRockCurveFor(alphaR, qur, Eir, krm, b, xr);
            if (g.everyStation) {
                g.AddStationSide(side, g.props.YMult(z), g.props.PMult(z), 0.0,
                                 kWeakUltimateAt * rock.yrm, b,
                                 [&](double y) { return WeakRockResistance(y, rock); });
                continue;
            }

            g.WriteSideHeading(side);
            g.out.report << text::FormatLayout(
                "(/, /, 14X, \"DEPTH\", 5X, \"DIAM\", 7X, \"Qu\", 7X, \" Eu \", 3X, \"GAMMA AVG\", "
                "6X, \"E50\", /, 16X, A, 7X, A, 4X, A, 1X, A, 1X, A, 1X, /, 10X, F10.2, F10.3, "
                "3E10.2, E12.3, /, 37X, \"Y\", 19X, \"P\", /, 37X, A, 16X, A, \"/\", A)",
                {length, length, g.PressureLabel(), g.PressureLabel(), g.UnitWeightLabel(), depth,
                 b, c, Eir, gamma, krm, length, g.ForceLabel(), length});
            const std::array<double, 17> ys = WeakRockDeflections(rock.yrm);
            for (int k = 0; k < 17; ++k) {
                g.WritePoint(k + 1, ys[k], WeakRockResistance(ys[k], rock), side, z, 0.0,
                             "(21X, 2E20.3)", "(I5, 2(2X, E10.3))");
            }
        }
    }
}

}  // namespace korvel::soil
