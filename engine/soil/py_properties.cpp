#include "soil/py_properties.h"

#include <cmath>
#include <functional>

#include "text/layout.h"
#include "text/unit_labels.h"

namespace korvel::soil {
namespace {

// Group reduction of closely spaced wall elements: 0.5292 * r^0.5659 for
// 1.1 <= r < 3.1 (a fit to model tests of pile rows).
constexpr double kGroupCoefficient = 0.5292;
constexpr double kGroupExponent = 0.5659;
constexpr double kGroupRatioFrom = 1.1;
constexpr double kGroupRatioTo = 3.1;

constexpr double kCurveOffsetInches = 0.1;  // first and last curve this far inside a layer
constexpr double kCurveOffsetMetres = 0.01;
constexpr double kAverageTolerance = 1.0e-5;  // CohesionAvg at the layer top

constexpr int kStopStrength = 1;  // stop codes of the soil subsystem
constexpr int kStopPhi = 0;
constexpr int kStopWeight = 4;

bool Near(double a, double b) {
    return std::abs(a - b) < kMinInterval;
}

using Field = double StrengthPoint::*;

// Value of `field` at x on the strength points: linear within a layer; at a
// depth shared by two layers `shared` chooses. Returns false beyond the last point.
bool Interpolate(const std::vector<StrengthPoint>& pts, double x, Field field,
                 const std::function<double(double upper, double lower)>& shared, double& value) {
    if (pts.empty() || x > pts.back().x) return false;
    if (x <= pts.front().x) {
        value = pts.front().*field;
        return true;
    }
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const StrengthPoint& a = pts[i];
        const StrengthPoint& b = pts[i + 1];
        if (x == b.x) {
            const bool sharedBelow = i + 2 < pts.size() && pts[i + 2].x == b.x;
            value = sharedBelow ? shared(b.*field, pts[i + 2].*field) : b.*field;
            return true;
        }
        if (a.x < x && x < b.x) {
            const double length = b.x - a.x;
            value = length < kMinInterval ? b.*field
                                          : a.*field + (b.*field - a.*field) * (x - a.x) / length;
            return true;
        }
    }
    value = pts.back().*field;
    return true;
}

double LowerUnlessAbsent(double upper, double lower) {
    return std::abs(lower) < kAbsentValue ? upper : lower;
}

double MeanOfPresent(double upper, double lower) {
    if (std::abs(upper) < kAbsentValue) return lower;
    if (std::abs(lower) < kAbsentValue) return upper;
    return 0.5 * (upper + lower);
}

void WriteBeyondExtent(std::ostream& err, double x, const char* valueText, const char* curve) {
    const std::string lines = text::FormatLayout(
        std::string("(/, 29X, \"**** WARNING ****\", /, 5X, \"THE VALUE OF X =\", "
                    "D9.1, \"") +
            valueText + "\", /, 5X, \"" + curve + "\")",
        {x});
    err << lines << lines;
}

}  // namespace

double WaterUnitWeight(int unitSystem) {
    return text::IsSI(unitSystem) ? static_cast<double>(9.81f) : static_cast<double>(0.036f);
}

double WidthRatio(const Geometry& g) {
    if (g.Wp <= 0.0) return 1.0;
    return std::max(1.0, g.Wa / g.Wp);
}

double GroupFactor(double ratio, double z, double H) {
    if (ratio >= kGroupRatioFrom && ratio < kGroupRatioTo && z >= H) {
        return kGroupCoefficient * std::pow(ratio, kGroupExponent);
    }
    return 1.0;
}

double ModificationFactor(const std::vector<PYModification>& rows, double z, bool pFactor) {
    auto factor = [&](size_t i) { return pFactor ? rows[i].pMultiplier : rows[i].yMultiplier; };
    if (rows.empty() || z < rows.front().depth || z > rows.back().depth) return 1.0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (z == rows[i].depth) {
            size_t last = i;
            while (last + 1 < rows.size() && rows[last + 1].depth == z) ++last;
            return factor(last);
        }
    }
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        const double a = rows[i].depth;
        const double b = rows[i + 1].depth;
        if (a < z && z < b) return factor(i) + (factor(i + 1) - factor(i)) * (z - a) / (b - a);
    }
    return 1.0;
}

namespace {

// The input layers reaching below the excavation level as p-y layers, each
// with its weight points (before the cut at the tip) and strength points.
void AddPYLayers(PYProfile& profile, const SoilProblem& problem) {
    const double H = profile.H;
    const double waterDepth = problem.geometry.waterDepthBackfill;
    const double gamw = WaterUnitWeight(problem.unitSystem);
    double zb = 0.0;
    double x = 0.0;
    bool started = false;
    for (size_t i = 0; i < problem.layers.size(); ++i) {
        const SoilLayer& in = problem.layers[i];
        zb += in.thickness;
        double thickness = in.thickness;
        if (!started) {
            if (zb <= H) continue;
            thickness = zb - H;
            started = true;
        }
        PYLayer layer;
        layer.xTop = x;
        layer.xBot = x + thickness;
        layer.type = in.type;
        layer.k = in.top.k;
        layer.inputLayer = static_cast<int>(i);
        x = layer.xBot;

        const double gamma = in.top.gamma;
        const double zTop = H + layer.xTop;
        const double zBot = H + layer.xBot;
        WeightPoint top{layer.xTop, gamma};
        const bool previousAtWater =
            !profile.weights.empty() && Near(H + profile.weights.back().x, waterDepth);
        if ((zTop > waterDepth && !Near(zTop, waterDepth)) ||
            (Near(zTop, waterDepth) && previousAtWater)) {
            top.gamma = gamma - gamw;
        }
        WeightPoint bottom{layer.xBot, gamma};
        const bool topAbove = zTop < waterDepth && !Near(zTop, waterDepth);
        const bool bottomBelow = zBot > waterDepth && !Near(zBot, waterDepth);
        if (topAbove && bottomBelow) {
            bottom.x = waterDepth - H;  // the submerged weight enters at the next layer's top
        } else if (bottomBelow) {
            bottom.gamma = gamma - gamw;
        }
        profile.weights.push_back(top);
        profile.weights.push_back(bottom);

        profile.strengths.push_back(
            {layer.xTop, in.top.cohesion, in.top.phi, in.top.e50, in.top.K});
        profile.strengths.push_back(
            {layer.xBot, in.bottom.cohesion, in.bottom.phi, in.bottom.e50, in.bottom.K});
        profile.layers.push_back(layer);
    }
}

// Cut at the wall tip plus two increments. A layer starting at or below
// the cut would be left without thickness: it is dropped with the rest.
void CutAtTip(PYProfile& profile, const SoilProblem& problem) {
    const double xt = problem.wallLength + 2.0 * problem.h - profile.H;
    for (size_t L = 0; L < profile.layers.size(); ++L) {
        PYLayer& layer = profile.layers[L];
        if (layer.xTop >= xt - kMinInterval) {
            profile.layers.resize(L);
            break;
        }
        if (layer.xBot > xt) {
            StrengthPoint& a = profile.strengths[2 * L];
            StrengthPoint& b = profile.strengths[2 * L + 1];
            const double f = (xt - a.x) / (b.x - a.x);
            b.c = a.c + f * (b.c - a.c);
            b.phi = a.phi + f * (b.phi - a.phi);
            b.e50 = a.e50 + f * (b.e50 - a.e50);
            b.k6 = a.k6 + f * (b.k6 - a.k6);
            b.x = xt;
            layer.xBot = xt;
            profile.layers.resize(L + 1);
            break;
        }
    }
    profile.strengths.resize(2 * profile.layers.size());
    profile.weights.resize(2 * profile.layers.size());

    // A water table inside the last layer: the submerged weight to its bottom.
    if (!profile.weights.empty() && profile.weights.back().x < profile.strengths.back().x) {
        const WeightPoint last = profile.weights.back();
        const double gamw = WaterUnitWeight(problem.unitSystem);
        profile.weights.push_back({last.x, last.gamma - gamw});
        profile.weights.push_back({profile.strengths.back().x, last.gamma - gamw});
    }
}

// Five curves a layer, and each curve to the first layer reaching down to it;
// a curve below the profile (a layer thinner than the curve offset) stays with
// the last layer.
void PlaceCurves(PYProfile& profile, const SoilProblem& problem) {
    const double d = text::IsSI(problem.unitSystem) ? kCurveOffsetMetres : kCurveOffsetInches;
    for (const PYLayer& layer : profile.layers) {
        const double T = layer.xBot - layer.xTop;
        for (double depth : {layer.xTop + d, layer.xTop + 0.25 * T, layer.xTop + 0.5 * T,
                             layer.xTop + 0.75 * T, layer.xBot - d}) {
            profile.curveDepths.push_back(depth);
        }
    }
    for (size_t i = 0; i < profile.curveDepths.size(); ++i) {
        size_t L = 0;
        while (L + 1 < profile.layers.size() && profile.layers[L].xBot < profile.curveDepths[i])
            ++L;
        profile.layers[L].curves.push_back(static_cast<int>(i));
    }
}

}  // namespace

PYProfile BuildPYProfile(const SoilProblem& problem) {
    PYProfile profile;
    profile.H = problem.geometry.freeHeight;
    AddPYLayers(profile, problem);
    CutAtTip(profile, problem);
    PlaceCurves(profile, problem);
    for (StrengthPoint& s : profile.strengths) s.phi *= kPYDegreesToRadians;
    return profile;
}

PYProperties::PYProperties(const PYProfile& profile, const SoilProblem& problem, double ratio,
                           std::ostream& report, std::ostream& err)
    : profile_(profile), problem_(problem), ratio_(ratio), report_(report), err_(err) {}

double PYProperties::GammaAvg(double x) const {
    const std::vector<WeightPoint>& w = profile_.weights;
    const double x0 = profile_.layers.empty() ? 0.0 : profile_.layers.front().xTop;
    if (w.empty() || x > w.back().x) {
        throw SoilStop(kStopWeight, "THE DEPTH IS BEYOND THE EXTENT OF THE UNIT WEIGHT CURVE");
    }
    if (std::abs(x - x0) < kMinInterval) {
        for (const WeightPoint& p : w) {
            if (std::abs(p.gamma) > kAbsentValue) return p.gamma;
        }
        return 0.0;
    }
    double area = 0.0;
    for (size_t i = 0; i + 1 < w.size() && w[i].x < x; ++i) {
        const WeightPoint& a = w[i];
        const WeightPoint& b = w[i + 1];
        const double length = b.x - a.x;
        if (length <= 0.0) continue;
        if (x >= b.x) {
            area += 0.5 * (a.gamma + b.gamma) * length;
        } else {
            const double gx = a.gamma + (b.gamma - a.gamma) * (x - a.x) / length;
            area += 0.5 * (a.gamma + gx) * (x - a.x);
        }
    }
    return area / (x - x0);
}

double PYProperties::Cohesion(double x) const {
    double c = 0.0;
    if (!Interpolate(profile_.strengths, x, &StrengthPoint::c, LowerUnlessAbsent, c)) {
        WriteBeyondExtent(err_, x, "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE");
        throw SoilStop(kStopStrength, "THE DEPTH IS BEYOND THE EXTENT OF THE INPUT STRENGTH CURVE");
    }
    return c;
}

double PYProperties::CohesionAvg(double x, int layer) const {
    const StrengthPoint& top = profile_.strengths[2 * layer];
    const StrengthPoint& bottom = profile_.strengths[2 * layer + 1];
    if (std::abs(x - top.x) < kAverageTolerance) return Cohesion(x);
    if (x > bottom.x) {
        report_ << text::FormatLayout(
            "(/, 29X, \"**** WARNING ****\", /, 5X, \"THE VALUE OF X =\", E9.2, "
            "\"IS BEYOND THE EXTENT OF THE/\", 5X, \"INPUT CURVE FOR STRENGTH\")",
            {x});
    }
    const double length = bottom.x - top.x;
    const double cx =
        length < kMinInterval ? top.c : top.c + (bottom.c - top.c) * (x - top.x) / length;
    return 0.5 * (top.c + cx);
}

double PYProperties::Phi(double x) const {
    double phi = 0.0;
    if (!Interpolate(profile_.strengths, x, &StrengthPoint::phi, MeanOfPresent, phi)) {
        WriteBeyondExtent(err_, x, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE");
        throw SoilStop(kStopPhi, "THE DEPTH IS BEYOND THE EXTENT OF THE INPUT PHI CURVE");
    }
    return phi;
}

double PYProperties::E50(double x) const {
    double e50 = 0.0;
    if (!Interpolate(profile_.strengths, x, &StrengthPoint::e50, MeanOfPresent, e50)) {
        e50 = profile_.strengths.empty() ? 0.0 : profile_.strengths.back().e50;
    }
    return e50;
}

double PYProperties::K6(double x) const {
    double k6 = 0.0;
    if (!Interpolate(profile_.strengths, x, &StrengthPoint::k6, MeanOfPresent, k6)) {
        k6 = profile_.strengths.empty() ? 0.0 : profile_.strengths.back().k6;
    }
    return k6;
}

double PYProperties::Width(double) const {
    return problem_.geometry.Wp;
}

double PYProperties::PMult(double z) const {
    if (problem_.pyMods.empty()) return GroupFactor(ratio_, z, profile_.H);
    return ModificationFactor(problem_.pyMods, z, true);
}

double PYProperties::YMult(double z) const {
    if (problem_.pyMods.empty()) return 1.0;
    return ModificationFactor(problem_.pyMods, z, false);
}

}  // namespace korvel::soil
