// Soft clay p-y curves for static loading: the cubic-root law
// p = 0.5 pu (y/y50)^(1/3) up to pu at 8 y50, with pu from the wedge near the
// surface and flow around the wall at depth. Units of the section (lengths,
// forces per length, pressures, unit weights); also used for unknown soil types.
#pragma once

#include <array>

namespace korvel::soil {

class PYGeneration;

// Deflections below it count as zero; single precision as the model always had it.
constexpr double kSoftClayYTiny = 1.0e-14f;
constexpr double kSoftClayJ = 0.5;          // empirical J of the wedge resistance
constexpr double kSoftClayNpMax = 9.0;      // flow-around limit of Np
constexpr double kSoftClayY50Factor = 2.5;  // y50 = 2.5 E50 b
constexpr double kSoftClayFlatFrom = 8.0;   // pu is reached at 8 y50

// Np = 3 + gamma x/c + J x/b, capped at 9; pu = Np c b. c > 0.
double SoftClayUltimateResistance(double c, double gamma, double b, double xEq);

// Continuous wall: pu = (gamma x0 + 2c) b, with the depth used x0.
double SoftClayContinuousWall(double c, double gamma, double b, double x0);

// The larger of b sigma'v - 2cb and (when Pb > 0.0001) Pb/r - 2cb; 0 unless above 1e-10.
double SoftClayActiveShift(double b, double c, double overburden, double basePressure,
                           double ratio);

// The 17 deflections: 0, 0.008 y50, 0.25 y50 to 3 y50 in quarters, 8, 15, 20 y50.
std::array<double, 17> SoftClayDeflections(double y50);

// Secant modulus of the cubic-root law at y = YTINY. y50 > 0.
double SoftClayInitialModulus(double pu, double y50);

// p at deflection y (y50 > 0).
double SoftClayResistance(double y, double pu, double y50);

// Depth whose cumulative pu of this soil, integrated from its surface,
// equals F > 0: quadratic within the wedge zone, linear at 9cb below it
// (xr when c = 0 leaves no flow-around resistance to grow).
double SoftClayEquivalentDepth(double F, double c, double b, double gamma);

// Both sides of every curve of p-y layer `layer`.
void GenerateSoftClayLayer(PYGeneration& g, int layer);

}  // namespace korvel::soil
