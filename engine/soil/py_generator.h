// Generation of the p-y curves below the excavation level. GenerateCurves
// writes the soil-layer report section and every curve into the report and
// into the curve file "soildata" in the run's folder: the user curves first,
// then five curves per p-y layer, each as 17 excavation-side points followed
// by 17 backfill-side points (p per unit length, y, both already multiplied).
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string_view>
#include <vector>

#include "soil/py_properties.h"
#include "soil/soil_problem.h"
#include "text/layout.h"

namespace korvel::soil {

// Reads `problem`, writes the report section and "soildata". Updates
// problem.modelPi when a model changes the shared pi. Throws SoilDataError
// for soil data the models cannot take (before anything is generated),
// SoilStop for the stops of the property functions, of a silt without
// friction and of a weak rock without strength.
void GenerateCurves(SoilProblem& problem, const SoilOutput& out);

enum class PYSide { Excavation = 1, Backfill = 2 };

// What the models read at the first curve of a layer to find its equivalent depth.
struct FirstCurveSoil {
    double b = 0.0;      // width
    double c = 0.0;      // cohesion
    double gamma = 0.0;  // average effective unit weight
    double phi = 0.0;    // radians
    double x0 = 0.0;     // depth used on the excavation side
};

// State of one GenerateCurves call shared by the models: the profile, the
// property functions, the active-pressure inputs and the output streams.
class PYGeneration {
  public:
    PYGeneration(const SoilProblem& problem, const SoilOutput& out, std::ostream& curveFile);

    // x on the excavation side, H + x on the backfill side.
    double DepthUsed(PYSide side, double x) const { return side == PYSide::Excavation ? x : H + x; }
    // The depth entering the resistance formulas: within layers below the
    // first, measured from the equivalent depth of the layer top.
    double FormulaDepth(double depthUsed, int layer) const;
    // F of the equivalent depth: the resistance integrals of the layers above.
    double ResistanceAbove(int layer) const;
    // Depth in layer `layer`'s own soil whose cumulative ultimate resistance
    // equals ResistanceAbove(layer), by the layer's soil type; 0 when the
    // layers above resist nothing or less (the same rule for every type, so
    // the per-type integrals are only asked for a positive resistance).
    double EquivalentDepth(int layer, const FirstCurveSoil& soil) const;

    // Report and curve-file pieces common to the soil models.
    void WriteCurveRecord(double x);
    void WriteSideHeading(PYSide side);
    // Point `number` (1 to 17): y' = YMult(z) y, p' = PMult(z) p -/+ pact,
    // as a report row (values y', p') and a curve-file line (number, p', y').
    static constexpr std::string_view kPointRow = "(21X, 2F20.3)";
    static constexpr std::string_view kPointLine = "(I5, 2(1X, E10.3))";
    void WritePoint(int number, double y, double p, PYSide side, double z, double pact,
                    std::string_view reportRow = kPointRow, std::string_view fileLine = kPointLine);
    void WriteMultiplierLine(double z);

    // Curves at every station (p-y option 3): the models write no curve
    // tables and no curve file; WriteCurveRecord opens the curve of the next
    // depth and each side is sampled from the model's law p(y), from y = 0 to
    // twice `scale` (the deflection where the law reaches its ultimate or
    // residual resistance), finely enough that the straight lines between
    // the points stay within a fraction of a per cent of the law. The points
    // are stored as y' = yMult y and p' = pMult p + shift.
    bool everyStation = false;
    void AddStationSide(PYSide side, double yMult, double pMult, double shift, double scale,
                        double fallbackScale, const std::function<double(double)>& law);
    // The same with the side's points given (a law with a jump).
    void AddStationPoints(PYSide side, double yMult, double pMult, double shift,
                          const std::vector<double>& y, const std::vector<double>& p);
    std::vector<StationPYCurve> stationCurves;  // one per curve depth, in generation order
    std::vector<int> curveStation;              // per curve depth: its station, -1 for none

    // The point layouts parsed once per generation: a curve writes 34 points.
    const text::Layout& LayoutOf(std::string_view layout);

    // Short unit labels of the curve tables.
    std::string LengthLabel() const { return out.labels.lengthShort; }
    std::string ForceLabel() const { return out.labels.forceShort; }
    std::string PressureLabel() const;
    std::string UnitWeightLabel() const;

    const SoilProblem& problem;
    SoilOutput out;
    std::ostream& curveFile;
    PYProfile profile;
    double H = 0.0;
    double ratio = 1.0;         // Wa/Wp, at least 1
    double overburden = 0.0;    // effective overburden at the excavation level
    double basePressure = 0.0;  // Pb
    double pi = 3.14159;        // shared pi of the models
    PYProperties props;

  private:
    // Keyed by the literal layouts the models pass, which outlive the generation.
    std::map<std::string_view, text::Layout> layouts_;
};

// One curve of a p-y layer as the soil models meet it.
struct LayerCurve {
    double x = 0.0;  // depth below the excavation level
    double z = 0.0;  // depth below the top of the wall, H + x
    double b = 0.0;  // width at x
    bool first = false;
    bool last = false;
};

// What a model's curve adds to its layer's resistance integral R: the
// excavation side's pu, weighted over the interval above the curve.
struct CurveResistance {
    double pu = 0.0;
    double weight = 1.0;  // the stiff clay below water takes its residual share
};

// How R ends at the layer's last curve. The cohesionless models (sand, silt)
// carry the last curve's pu down to the layer bottom, as their resistance rule
// states; the clays integrate between their curves only, so a clay layer's R
// stops at its last curve. The difference is kept because layered results rest
// on it: alike, every clay layer over another layer would analyse differently.
enum class LayerTail { AtLastCurve, ToLayerBottom };

// Walks layer `layer`'s curves in depth order: R starts at 0 at the first
// curve, `curve` generates each curve (record, both sides) and returns its
// share, and R grows by the trapezoidal rule between curve depths.
template <class Curve>
void WalkLayerCurves(PYGeneration& g, int layer, LayerTail tail, Curve&& curve) {
    PYLayer& walked = g.profile.layers[layer];
    double previousPu = 0.0;
    double previousX = 0.0;
    for (size_t i = 0; i < walked.curves.size(); ++i) {
        LayerCurve at;
        at.x = g.profile.curveDepths[walked.curves[i]];
        at.z = g.H + at.x;
        at.b = g.props.Width(at.x);
        at.first = i == 0;
        at.last = i + 1 == walked.curves.size();
        if (at.first) walked.R = 0.0;
        const CurveResistance share = curve(at);
        if (!at.first)
            walked.R += 0.5 * (share.pu + previousPu) * share.weight * (at.x - previousX);
        if (at.last && tail == LayerTail::ToLayerBottom)
            walked.R += share.pu * (walked.xBot - at.x);
        previousPu = share.pu;
        previousX = at.x;
    }
}

// Generates the curves of p-y layer `layer` (0-based) with the model of its
// soil type, both sides of each curve; types other than 2 to 7 as soft clay.
void ModelForLayer(PYGeneration& g, int layer);

}  // namespace korvel::soil
