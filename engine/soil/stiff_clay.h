// Stiff clay p-y curves for static loading. With free water (soil type 2):
// the square-root law p = 0.5 pc (y/y50)^0.5 up to As y50, a softening branch
// to 6 As y50, a straight drop to 18 As y50 and the residual pc Fr beyond,
// never above the initial line k x y. Without free water (type 3): the
// quarter-power law p = 0.5 pu (y/y50)^0.25 up to pu at 16 y50. Units of the
// section (lengths, forces per length, pressures, unit weights).
#pragma once

#include <array>

namespace korvel::soil {

class PYGeneration;

// As at x/b: linear between the table rows (x/b = 0 to 5), 0.6 beyond 5.
double StiffClayAs(double xOverB);

// Fr = 1.225 sqrt(As) - 0.75 As - 0.411: the residual resistance over pc.
// Negative where As is small (near the surface).
double StiffClayResidualFactor(double As);

// pc = the smaller of pct = 2 ca b + gamma b x + 2.83 ca x and pcd = 11 c b.
double StiffClayWetUltimate(double c, double ca, double gamma, double b, double xEq);

// y1 = 0, then steps of 0.5 As y50 to 6 As y50 (point 13), 10, 14, 18 and 200 As y50.
std::array<double, 17> StiffClayWetDeflections(double As, double y50);

// p at deflection y with the initial slope kx = k x, never below 0. y50 > 0.
double StiffClayWetResistance(double y, double pc, double As, double y50, double kx);

// Depth in this clay whose cumulative pc Fr equals F: 40 steps down to the
// depth where pct reaches pcd, the rate 11 c b Fr there beyond it. ca = c,
// F > 0 (the integral first turns negative, where Fr is below zero).
// `steps` equal steps down to the limit depth (40 for the five curves per layer).
double StiffClayWetEquivalentDepth(double F, double c, double b, double gamma, int steps = 40);

// pu = the smaller of 3 ca b + gamma b x + 0.5 ca x and 9 c b.
double StiffClayDryUltimate(double c, double ca, double gamma, double b, double xEq);

// 0, 16 y50 times 1e-5 ... 0.5 (13 points), then 16, 18 and 20 y50.
std::array<double, 17> StiffClayDryDeflections(double y50);

// p at deflection y. y50 > 0.
double StiffClayDryResistance(double y, double pu, double y50);

// Both sides of every curve of p-y layer `layer`.
void GenerateStiffClayWetLayer(PYGeneration& g, int layer);
void GenerateStiffClayDryLayer(PYGeneration& g, int layer);

}  // namespace korvel::soil
