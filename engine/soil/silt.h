// Silt (c-phi soil) p-y curves for static loading: the shape of the sand curve
// (initial line, parabola, straight line, constant pu) with a cohesive part pc
// added to the frictional resistance ps: pu = A ps + pc at yu = 3b/80 and
// pm = B ps + pc at ym = b/60. Angles in radians; A and B are looked up at the
// formula depth. The model sets the shared pi of the models to 4 atan(1).
#pragma once

namespace korvel::soil {

class PYGeneration;

constexpr double kSiltJ = 0.5;                   // empirical J of the cohesive wedge
constexpr double kSiltWallFriction = 0.1745333;  // 10 degrees, continuous-wall Coulomb value
constexpr double kSiltFrictionCheck = 1.0e-10;   // sin^2 phi below it: no friction

// Np = 3 + gamma x/c + J x/b; pc = Np c b when Np < 9, else 9 c b; 0 when c <= 0.
double SiltCohesiveResistance(double c, double gamma, double b, double x);

// The larger of sigma'v Ka b - 2c sqrt(Ka) b and (when Pb > 0.0001) Pb/r - 2c sqrt(Ka) b;
// 0 below 1e-5.
double SiltActiveShift(double overburden, double Ka, double c, double b, double basePressure,
                       double ratio);

// Depth in this silt whose cumulative pu equals F: 50 steps down to the
// sand's limit depth, a linear rate beyond it. x0 is the depth used at the
// layer's first curve. phi > 0, F > 0.
// `steps` equal steps down to the limit depth (50 for the five curves per layer).
double SiltEquivalentDepth(double F, double phi, double c, double gamma, double b, double x0,
                           double pi, int steps = 50);

// Both sides of every curve of p-y layer `layer`. Throws SoilStop when the
// friction angle of a curve is zero.
void GenerateSiltLayer(PYGeneration& g, int layer);

}  // namespace korvel::soil
