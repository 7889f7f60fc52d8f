// The soil profile below the excavation level as the p-y curve models see it:
// the p-y layer table, the unit-weight and strength points, the curve depths,
// and the depth-dependent property functions. x is the depth below the
// excavation level, z = H + x the depth below the top of the wall; lengths,
// forces and unit weights are in the section's unit system, angles in radians.
#pragma once

#include <ostream>
#include <vector>

#include "soil/soil_problem.h"

namespace korvel::soil {

constexpr double kPYDegreesToRadians = 3.1416 / 180.0;  // the generator's degree conversion
constexpr double kMinInterval = 1.0e-6;                 // shorter intervals count as a single depth
constexpr double kAbsentValue = 1.0e-20;                // a property below it counts as absent
constexpr int kCurvesPerLayer = 5;

// Unit weight of water, single precision as the soil modules always used it.
double WaterUnitWeight(int unitSystem);

// One row of the p-y layer table; every input layer that reaches below the
// excavation level (the first one cut at H, the last one at the wall tip).
struct PYLayer {
    double xTop = 0.0;
    double xBot = 0.0;
    int type = 1;             // soil type 1 to 7 as in the SOILS records
    double k = 0.0;           // modulus of subgrade reaction of the input layer's top
    int inputLayer = 0;       // 0-based index of the SOILS layer it came from
    std::vector<int> curves;  // indices into PYProfile::curveDepths, in order
    double xEq = 0.0;         // equivalent depth of the layer top (layers below the first)
    double R = 0.0;           // integral of pu over the layer, excavation side
};

struct WeightPoint {
    double x = 0.0;
    double gamma = 0.0;  // effective unit weight
};

struct StrengthPoint {
    double x = 0.0;
    double c = 0.0;    // cohesion, or rock strength
    double phi = 0.0;  // friction angle, radians
    double e50 = 0.0;  // strain at half strength, or krm of weak rock
    double k6 = 0.0;   // sixth soil property (RQD of weak rock)
};

struct PYProfile {
    double H = 0.0;  // excavation level below the top of the backfill
    std::vector<PYLayer> layers;
    std::vector<WeightPoint> weights;
    std::vector<StrengthPoint> strengths;  // two per layer, top and bottom
    std::vector<double> curveDepths;       // x of every curve, five per layer
};

// Builds the p-y layers, property points and curve depths from the soil
// records: layers ending at or above H are skipped, the profile is cut at
// wall length + 2h, friction angles are turned into radians.
PYProfile BuildPYProfile(const SoilProblem& problem);

// The property functions. Stops of the analysis (depths beyond the point
// lists) write their lines to `err` and throw SoilStop; the CohesionAvg
// warning goes to `report`.
class PYProperties {
  public:
    PYProperties(const PYProfile& profile, const SoilProblem& problem, double ratio,
                 std::ostream& report, std::ostream& err);

    double GammaAvg(double x) const;
    double Cohesion(double x) const;
    double CohesionAvg(double x, int layer) const;  // layer 0-based
    double Phi(double x) const;
    double E50(double x) const;
    double K6(double x) const;  // interpolated as E50 is
    double Width(double x) const;
    double PMult(double z) const;
    double YMult(double z) const;

  private:
    const PYProfile& profile_;
    const SoilProblem& problem_;
    double ratio_;  // Wa/Wp, at least 1
    std::ostream& report_;
    std::ostream& err_;
};

// Wa/Wp, 1 when Wp <= 0, never below 1.
double WidthRatio(const Geometry& geometry);

// p-multiplier for closely spaced wall elements without a factor table.
double GroupFactor(double ratio, double z, double H);

// Interpolation in the p-y modification table (depths ascending); 1.0 above
// the first and below the last depth; at a repeated depth the later row wins.
double ModificationFactor(const std::vector<PYModification>& rows, double z, bool pFactor);

}  // namespace korvel::soil
