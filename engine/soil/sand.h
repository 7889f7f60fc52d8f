// Sand p-y curves for static loading: an initial line of slope k x, a
// parabola, a straight line to pu at yu = 3b/80 and pu beyond. pu is A ps,
// with ps the smaller of the wedge and flow-around resistances (or the
// Coulomb passive value of a continuous wall). Angles in radians.
#pragma once

#include <array>

namespace korvel::soil {

class PYGeneration;

constexpr double kSandK0 = 0.4;  // at-rest coefficient of the wedge

struct SandCoefficients {
    double phi = 0.0;
    double alpha = 0.0;  // phi/2
    double beta = 0.0;   // pi/4 + phi/2
    double Ka = 0.0;     // tan^2(pi/4 - phi/2)
    double Kp = 0.0;     // tan^2(pi/4 + phi/2)
};
SandCoefficients SandCoefficientsFor(double phi, double pi);

// Static A and B factors at x/b, linear between the table rows, constant beyond 6.
double SandFactorA(double xOverB);
double SandFactorB(double xOverB);

// pct, the wedge resistance at formula depth x.
double SandWedgeResistance(const SandCoefficients& k, double gamma, double b, double x);
// pcd, the flow-around resistance at formula depth x.
double SandFlowResistance(const SandCoefficients& k, double gamma, double b, double x);
// Coulomb passive coefficient, vertical wall and level ground, wall friction delta.
double CoulombPassive(double phi, double delta);
// The sand's: wall friction phi/2.
double SandCoulombPassive(double phi);

// The larger of sigma'v Ka b and (when Pb > 0.0001) Pb/r; 0 below 1e-5.
double SandActiveShift(double overburden, double Ka, double b, double basePressure, double ratio);

// The four segments of one curve.
struct SandCurve {
    double pu = 0.0, pm = 0.0;  // at yu and ym
    double yu = 0.0, ym = 0.0;
    double kx = 0.0;  // initial slope k x
    double m = 0.0;   // slope from ym to yu
    double n = 0.0;   // parabola p = C y^(1/n)
    double C = 0.0;
    double yk = 0.0;  // end of the initial line
};
SandCurve SandCurveFor(double ps, double A, double B, double b, double k, double xEq);
// The same curve through given pu and pm (the silt adds its cohesive part to both).
SandCurve SandCurveThrough(double pu, double pm, double b, double k, double xEq);

// 0, ym/12 to ym in twelfths, yu, yu + b, yu + 2b, yu + 3b.
std::array<double, 17> SandDeflections(const SandCurve& curve, double b);

double SandResistance(double y, const SandCurve& curve);

// Coefficients of the cumulative wedge resistance and its limit depth xl.
struct SandIntegral {
    double c1 = 0.0;  // Kp - Ka
    double c2 = 0.0;
    double c3 = 0.0;  // (K0 tan phi + Kp) Kp^2 - Ka
    double xl = 0.0;  // (c3 - c1) b / c2
};
SandIntegral SandIntegralFor(double phi, double b, double pi);

// Depth in this sand whose cumulative pu equals F: 100 steps down to the
// limit depth, the last rate beyond it. x0 is the depth used at the layer's
// first curve; F > 0.
// `steps` equal steps down to the limit depth (100 for the five curves per layer).
double SandEquivalentDepth(double F, double phi, double gamma, double b, double x0, double pi,
                           int steps = 100);

// Both sides of every curve of p-y layer `layer`.
void GenerateSandLayer(PYGeneration& g, int layer);

}  // namespace korvel::soil
