// Rock p-y curves for static loading. Strong rock (soil type 6): a bilinear
// law on half the uniaxial compressive strength with a brittle drop to a
// residual 0.5 gamma b x at 0.0024 b. Weak rock (type 7): an initial line of
// slope Kir meeting the quarter-power law p = 0.5 pur (y/yrm)^0.25, capped at
// pur. Neither applies an active-pressure shift, adds to the resistance
// integral of its layer or uses an equivalent depth. Units of the section.
#pragma once

#include <array>

namespace korvel::soil {

class PYGeneration;

// The strong rock's bilinear curve for half strength s_u and width b.
struct StrongRockCurve {
    double su = 0.0;  // half the uniaxial compressive strength
    double Es = 0.0;  // 2000 s_u, slope of the first line
    double y1 = 0.0;  // 0.0004 b, end of the first line
    double p1 = 0.0;  // Es y1
    double pu = 0.0;  // s_u b
    double y2 = 0.0;  // end of the second line (slope 100 s_u) and the drop to the residual
    double s = 0.0;   // y2/15, the step between points
};
StrongRockCurve StrongRockCurveFor(double su, double b);  // su > 0

// Deflections 0, s, 2s, ... as running sums, the way the points were always stepped.
std::array<double, 17> StrongRockDeflections(double s);

// p at y: the two lines carry the p-multiplier M, the residual 0.5 gamma b xd does not.
double StrongRockResistance(double y, const StrongRockCurve& curve, double pMult, double residual);

// alpha_r = 1 - RQD/150, RQD in percent.
double WeakRockStrengthReduction(double rqd);

// The weak rock's curve at depth xr into the rock.
struct WeakRockCurve {
    double pur = 0.0;  // ultimate resistance
    double Kir = 0.0;  // initial modulus
    double yrm = 0.0;  // krm b
    double C = 0.0;    // 0.5 pur / yrm^0.25
    double yA = 0.0;   // where the quarter-power law meets the initial line
};
WeakRockCurve WeakRockCurveFor(double alphaR, double qur, double Eir, double krm, double b,
                               double xr);

// f yrm with f = 0.0005 ... 8 and 16, where the law reaches pur; no point at y = 0.
std::array<double, 17> WeakRockDeflections(double yrm);

struct PYProfile;
// The first p-y layer of the run of rock layers (strong or weak) that ends
// with layer L: the layer just below a soil layer or the excavation level.
int RockSurfaceLayer(const PYProfile& profile, int L);

double WeakRockResistance(double y, const WeakRockCurve& curve);

// Both sides of every curve of p-y layer `layer`. The weak rock throws
// SoilStop when the strength is zero below the layer's first curve.
void GenerateStrongRockLayer(PYGeneration& g, int layer);
void GenerateWeakRockLayer(PYGeneration& g, int layer);

}  // namespace korvel::soil
