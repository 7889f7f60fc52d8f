#include "soil/py_generator.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>

#include "soil/rock.h"
#include "soil/sand.h"
#include "soil/silt.h"
#include "soil/soft_clay.h"
#include "soil/stiff_clay.h"
#include "text/layout.h"
#include "text/unit_labels.h"

namespace korvel::soil {
namespace {

constexpr double kRadiansToDegrees = 180.0 / 3.1416;
constexpr double kNoE50 = 1.0e-6;             // an E50 at or below it is printed as absent
constexpr int kPointsPerCurve = 34;           // 17 per side in the curve file
constexpr double kContinuousWallRatio = 1.1;  // Wa/Wp below it: a continuous wall

// Curves at every station: how each side's law is sampled. Deflections grow
// geometrically from a millionth of the deflection at the ultimate to twice
// it; a segment whose mid-point lies off the law by more than 0.2 % of the
// curve's peak is halved, a few times at most (kinks and the initial lines).
constexpr double kFirstStationDeflection = 1.0e-4;  // times the scale
constexpr double kStationDeflectionRatio = 1.5;
constexpr double kStationBeyondScale = 2.0;  // the last point, on the flat part
constexpr double kStationMidpointTolerance = 0.002;
constexpr int kStationRefinements = 5;
constexpr int kStationIntegralRefinement = 20;
constexpr double kStationScaleOfWidth = 1.0 / 60.0;  // a curve that never rises: b/60
constexpr double kCurveOffsetInches = 0.1;  // curves this far inside a layer, as the five are
constexpr double kCurveOffsetMetres = 0.01;

const char* SoilTypeText(int type) {
    switch (type) {
        case 2:
            return "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE";
        case 3:
            return "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE";
        case 4:
            return "THE SOIL IS A SAND";
        case 5:
            return "THE SOIL IS A SILT";
        case 6:
            return "THE LAYER IS ROCK";
        case 7:
            return "THE LAYER IS WEAK ROCK";
        default:
            return "THE SOIL IS A SOFT CLAY";
    }
}

bool IsSoftClayModel(int type) {
    return type < 2 || type > 7;
}

void WriteFramedBanner(std::ostream& report, const std::string& title) {
    const std::string stars = "      " + std::string(50, '*') + "\n";
    report << "\n\n" << stars << "      " << title << '\n' << stars;
}

// The soil-layer section of the report, before the curves.
void WriteSoilSection(const PYGeneration& g) {
    std::ostream& r = g.out.report;
    const PYProfile& pr = g.profile;
    const std::string length = g.LengthLabel();
    WriteFramedBanner(r, "*        SOIL LAYERS AND STRENGTH DATA           *");
    const double surface = g.H + (pr.layers.empty() ? 0.0 : pr.layers.front().xTop);
    r << text::FormatLayout("(/, 9X, \"X AT THE SURFACE OF EXCAVATION SIDE     = \", F10.2, A)",
                            {surface, length});
    r << text::FormatLayout("(/, 9X, I1, \" LAYER(S) OF SOIL\")",
                            {static_cast<int>(pr.layers.size())});
    for (size_t L = 0; L < pr.layers.size(); ++L) {
        r << text::FormatLayout("(/, 9X, \"LAYER\", I3)", {static_cast<int>(L + 1)});
        r << "         " << SoilTypeText(pr.layers[L].type) << '\n';
    }

    r << text::FormatLayout(
        "(/, /, 9X, \"DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH\", /, 27X, I2, "
        "\" POINTS\", /, /, 21X, \"X,\", A, 3X, \"WEIGHT,\", A)",
        {static_cast<int>(pr.weights.size()), length, g.UnitWeightLabel()});
    for (const WeightPoint& w : pr.weights) {
        r << text::FormatLayout("(10X, F15.4, D15.4)", {g.H + w.x, w.gamma});
    }

    r << text::FormatLayout(
        "(/, /, 9X, \"DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH\", /, 27X, I2, "
        "\" POINTS\", /, /, 21X, \"X,\", A, 5X, \"S,\", A, 6X, \"PHI,DEGREES\", 6X, \"E50\")",
        {static_cast<int>(pr.strengths.size()), length, g.PressureLabel()});
    for (const StrengthPoint& s : pr.strengths) {
        const double degrees = s.phi * kRadiansToDegrees;
        if (s.e50 <= kNoE50) {
            r << text::FormatLayout("(10X, F15.2, 2X, D13.4, 2X, F13.3, 7X, \"-----\")",
                                    {g.H + s.x, s.c, degrees});
        } else {
            r << text::FormatLayout("(10X, F15.2, 2X, D13.4, 2X, F13.3, D15.4)",
                                    {g.H + s.x, s.c, degrees, s.e50});
        }
    }

    if (!g.problem.pyMods.empty()) {
        r << text::FormatLayout(
            "(/, 9X, \"REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS\", /, 7X, 33X, /, 7X, "
            "\"      DEPTH     P-FACTOR     Y-FACTOR        \", /)");
        for (const PYModification& m : g.problem.pyMods) {
            r << text::FormatLayout("(12X, F7.2, 4X, F6.2, 6X, F6.2)",
                                    {m.depth, m.pMultiplier, m.yMultiplier});
        }
    }
    r << text::FormatLayout("(/, /, 8X, \"P-Y CURVES DATA\", /)");
}

// The count, then the user curves as the engine gave them (index, p, y).
void WriteCurveFileHead(const PYGeneration& g) {
    const int count = static_cast<int>(g.problem.userCurves.size() + g.profile.curveDepths.size());
    g.curveFile << text::FreeFormatLine({count});
    for (const UserPYCurve& c : g.problem.userCurves) {
        g.curveFile << text::FreeFormatLine({c.station, static_cast<int>(c.y.size())});
        for (size_t i = 0; i < c.y.size(); ++i) {
            g.curveFile << text::FreeFormatLine({static_cast<int>(i + 1), c.p[i], c.y[i]});
        }
    }
}

// " AT DEPTH 120.10 IN": where a curve's formula is undefined, as a depth
// below the top of the wall.
std::string AtDepth(const PYGeneration& g, double x) {
    std::ostringstream depth;
    depth << std::fixed << std::setprecision(2) << g.H + x;
    std::string unit = g.LengthLabel();
    unit.erase(0, unit.find_first_not_of(' '));
    return " AT DEPTH " + depth.str() + " " + unit;
}

// Soil data the models cannot take (a zero they would divide by, or a curve
// collapsed to nothing), refused before anything is generated. A strength is
// checked where the models read it, at every curve depth: a clay whose
// cohesion rises from zero at its top has cohesion at all of its curves.
void CheckLayers(const PYGeneration& g) {
    if (!g.profile.layers.empty() && !(g.problem.geometry.Wp > 0.0)) {
        throw SoilDataError(
            "     ERROR STOP -- THE WIDTH FOR SOIL RESISTANCE MUST BE POSITIVE FOR P-Y CURVES");
    }
    const bool continuousWall = g.ratio < kContinuousWallRatio;
    const double lastStrengthDepth =
        g.profile.strengths.empty() ? 0.0 : g.profile.strengths.back().x;
    for (size_t L = 0; L < g.profile.layers.size(); ++L) {
        const PYLayer& layer = g.profile.layers[L];
        const StrengthPoint& top = g.profile.strengths[2 * L];
        const StrengthPoint& bottom = g.profile.strengths[2 * L + 1];
        const std::string number = std::to_string(layer.inputLayer + 1);
        auto refuse = [&](const char* soil, const char* what, const std::string& where = "") {
            throw SoilDataError(std::string("     ERROR STOP -- ") + soil + " LAYER " + number +
                                " NEEDS " + what + where);
        };
        // E50 is a divisor of every clay curve (y50), checked over the layer.
        const bool e50 = top.e50 > 0.0 && bottom.e50 > 0.0;
        const bool softClay = IsSoftClayModel(layer.type);
        const bool stiffClay = layer.type == 2 || layer.type == 3;
        if (softClay && !e50) refuse("SOFT CLAY", "AN E50 ABOVE ZERO");
        if (stiffClay && !e50) refuse("STIFF CLAY", "AN E50 ABOVE ZERO");
        if (layer.type == 7) {
            if (!e50) refuse("WEAK ROCK", "A KRM ABOVE ZERO");
            if (!(layer.k > 0.0)) refuse("WEAK ROCK", "A ROCK MODULUS ABOVE ZERO");
        }
        for (int curve : layer.curves) {
            const double x = g.profile.curveDepths[curve];
            // A curve below the strength points stops in the model itself.
            if (x > lastStrengthDepth) continue;
            const double c = g.props.Cohesion(x);
            if (softClay) {
                // The wedge's Np divides by c; the continuous wall's (gamma x + 2c) b does not.
                if (!(c > 0.0) && !continuousWall) {
                    refuse("SOFT CLAY", "A COHESION ABOVE ZERO", AtDepth(g, x));
                }
                if (c < 0.0) refuse("SOFT CLAY", "A COHESION NOT BELOW ZERO", AtDepth(g, x));
            } else if (stiffClay) {
                // Both stiff clays are defined at c = 0 (no resistance), not below it.
                if (c < 0.0) refuse("STIFF CLAY", "A COHESION NOT BELOW ZERO", AtDepth(g, x));
            } else if (layer.type == 6) {
                // The second line's slope is 100 s_u, a divisor of its end y2.
                if (!(c > 0.0)) refuse("STRONG ROCK", "A STRENGTH ABOVE ZERO", AtDepth(g, x));
            }
        }
    }
}

// The curve depths of p-y option 3: in each layer, every station below the
// excavation level that belongs to it (a station on a boundary belongs to the
// layer above, as a curve does), kept the usual offset inside the layer, and
// the two depths just inside its top and bottom, which only complete the
// layer's resistance integral. Stations below the profile get no curve.
void AssignStationDepths(PYGeneration& g) {
    const SoilProblem& p = g.problem;
    PYProfile& pr = g.profile;
    const double d = text::IsSI(p.unitSystem) ? kCurveOffsetMetres : kCurveOffsetInches;
    const double tol = 1.0e-9 * std::max(1.0, p.h);
    pr.curveDepths.clear();
    g.curveStation.clear();
    const int firstStation =
        p.h > 0.0 ? std::max(0, static_cast<int>(std::ceil(g.H / p.h - 1.0e-9))) : p.N + 1;
    for (size_t L = 0; L < pr.layers.size(); ++L) {
        PYLayer& layer = pr.layers[L];
        layer.curves.clear();
        double lo = layer.xTop + d, hi = layer.xBot - d;
        if (hi < lo) lo = hi = 0.5 * (layer.xTop + layer.xBot);
        std::vector<std::pair<double, int>> depths = {{lo, -1}};
        for (int k = firstStation; k <= p.N; ++k) {
            const double x = k * p.h - g.H;
            const bool below = L == 0 ? x >= layer.xTop - tol : x > layer.xTop + tol;
            if (!below || x > layer.xBot + tol) continue;
            depths.push_back({std::clamp(x, lo, hi), k});
        }
        depths.push_back({hi, -1});
        std::stable_sort(depths.begin(), depths.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [x, station] : depths) {
            if (!layer.curves.empty() && std::abs(x - pr.curveDepths.back()) <= tol) {
                if (station >= 0 && g.curveStation.back() < 0) g.curveStation.back() = station;
                continue;
            }
            layer.curves.push_back(static_cast<int>(pr.curveDepths.size()));
            pr.curveDepths.push_back(x);
            g.curveStation.push_back(station);
        }
    }
}

// The curves of p-y option 3 in the report: one row per station.
void WriteStationCurveTable(PYGeneration& g, const std::vector<StationPYCurve>& curves) {
    std::ostream& r = g.out.report;
    r << text::FormatLayout(
        "(/, 9X, \"P-Y CURVES GENERATED AT EVERY STATION\", /, /, 9X, \"STATION\", 7X, "
        "\"DEPTH\", 4X, \"POINTS\", 5X, \"PU EXCAVATION SIDE\", 5X, \"PU BACKFILL SIDE\", /, "
        "25X, A, 35X, A, \"/\", A)",
        {g.LengthLabel(), g.ForceLabel(), g.LengthLabel()});
    const text::Layout& row = g.LayoutOf("(9X, I7, F12.2, I10, 2E23.3)");
    for (const StationPYCurve& c : curves) {
        double exc = 0.0, back = 0.0;
        for (double v : c.pExcavation) exc = std::max(exc, std::abs(v));
        for (double v : c.pBackfill) back = std::max(back, std::abs(v));
        const int points = static_cast<int>(c.yExcavation.size() + c.yBackfill.size()) - 1;
        r << row.Format({c.station, c.z, points, exc, back});
    }
}

}  // namespace

void PYGeneration::AddStationSide(PYSide side, double yMult, double pMult, double shift,
                                  double scale, double fallbackScale,
                                  const std::function<double(double)>& law) {
    if (!(scale > 0.0) || !std::isfinite(scale)) scale = fallbackScale * kStationScaleOfWidth;
    std::vector<double> y = {0.0};
    for (double v = scale * kFirstStationDeflection; v < scale; v *= kStationDeflectionRatio) {
        y.push_back(v);
    }
    y.push_back(scale);
    y.push_back(kStationBeyondScale * scale);
    std::vector<double> p(y.size());
    double peak = 0.0;
    for (size_t i = 0; i < y.size(); ++i) {
        p[i] = law(y[i]);
        peak = std::max(peak, std::abs(p[i]));
    }
    for (int pass = 0; pass < kStationRefinements; ++pass) {
        std::vector<double> ry = {y[0]}, rp = {p[0]};
        bool refined = false;
        for (size_t i = 0; i + 1 < y.size(); ++i) {
            const double mid = 0.5 * (y[i] + y[i + 1]);
            const double pm = law(mid);
            if (std::abs(pm - 0.5 * (p[i] + p[i + 1])) > kStationMidpointTolerance * peak) {
                ry.push_back(mid);
                rp.push_back(pm);
                refined = true;
            }
            ry.push_back(y[i + 1]);
            rp.push_back(p[i + 1]);
        }
        y.swap(ry);
        p.swap(rp);
        if (!refined) break;
    }
    for (double& v : p) v = pMult * v + shift;
    for (double& v : y) v *= yMult;
    AddStationPoints(side, 1.0, 1.0, 0.0, y, p);
}

void PYGeneration::AddStationPoints(PYSide side, double yMult, double pMult, double shift,
                                    const std::vector<double>& y, const std::vector<double>& p) {
    StationPYCurve& c = stationCurves.back();
    std::vector<double>& ys = side == PYSide::Excavation ? c.yExcavation : c.yBackfill;
    std::vector<double>& ps = side == PYSide::Excavation ? c.pExcavation : c.pBackfill;
    ys.clear();
    ps.clear();
    for (size_t i = 0; i < y.size(); ++i) {
        ys.push_back(yMult * y[i]);
        ps.push_back(pMult * p[i] + shift);
    }
}

PYGeneration::PYGeneration(const SoilProblem& problem_, const SoilOutput& out_,
                           std::ostream& curveFile_)
    : problem(problem_),
      out(out_),
      curveFile(curveFile_),
      profile(BuildPYProfile(problem_)),
      H(problem_.geometry.freeHeight),
      ratio(WidthRatio(problem_.geometry)),
      overburden(problem_.effectiveOverburden),
      basePressure(problem_.basePressure),
      pi(problem_.modelPi),
      props(profile, problem_, ratio, out_.report, out_.err) {}

double PYGeneration::FormulaDepth(double depthUsed, int layer) const {
    if (layer == 0) return depthUsed;
    return depthUsed - profile.layers[layer].xTop + profile.layers[layer].xEq;
}

double PYGeneration::ResistanceAbove(int layer) const {
    double F = 0.0;
    for (int i = 0; i < layer; ++i) F += profile.layers[i].R;
    return F;
}

double PYGeneration::EquivalentDepth(int layer, const FirstCurveSoil& s) const {
    const double F = ResistanceAbove(layer);
    // One rule for every soil: the shallowest depth at which the layer's own
    // cumulative resistance, 0 at its surface, reaches F. Layers above that
    // resist nothing (rock) or less than nothing (a thin stiff clay below
    // water, whose residual factor is negative near its surface) leave the
    // top at the surface; a negative depth lies outside every model's formulas.
    if (!(F > 0.0)) return 0.0;
    // With curves at every station the stepped integrals take 20 times the
    // steps: their right-end rule otherwise sets the top half a step too high.
    const int refine = everyStation ? kStationIntegralRefinement : 1;
    switch (profile.layers[layer].type) {
        case 2:
            return StiffClayWetEquivalentDepth(F, s.c, s.b, s.gamma, 40 * refine);
        case 4:
            return SandEquivalentDepth(F, s.phi, s.gamma, s.b, s.x0, pi, 100 * refine);
        case 5:
            return SiltEquivalentDepth(F, s.phi, s.c, s.gamma, s.b, s.x0, pi, 50 * refine);
        case 6:
        case 7:
            return 0.0;  // the rock models measure from the layer top and never ask
        default:         // soft clay, and the closed form of the stiff clay without free water
            return SoftClayEquivalentDepth(F, s.c, s.b, s.gamma);
    }
}

void PYGeneration::WriteCurveRecord(double x) {
    if (everyStation) {
        stationCurves.push_back({});
        stationCurves.back().z = H + x;
        return;
    }
    curveFile << text::FreeFormatLine({H + x, kPointsPerCurve});
}

void PYGeneration::WriteSideHeading(PYSide side) {
    out.report << text::FormatLayout(side == PYSide::Excavation
                                         ? "(/, /, 9X, \"AT THE EXCAVATION SIDE\")"
                                         : "(/, /, 9X, \"AT THE BACKFILL SIDE\")");
}

void PYGeneration::WritePoint(int number, double y, double p, PYSide side, double z, double pact,
                              std::string_view reportRow, std::string_view fileLine) {
    const double yScaled = props.YMult(z) * y;
    const double pScaled = props.PMult(z) * p + (side == PYSide::Excavation ? -pact : pact);
    out.report << LayoutOf(reportRow).Format({yScaled, pScaled});
    curveFile << LayoutOf(fileLine).Format({number, pScaled, yScaled});
}

const text::Layout& PYGeneration::LayoutOf(std::string_view layout) {
    auto it = layouts_.find(layout);
    if (it == layouts_.end()) it = layouts_.emplace(layout, text::Layout(layout)).first;
    return it->second;
}

void PYGeneration::WriteMultiplierLine(double z) {
    out.report << text::FormatLayout(
        "(/, 21X, \" P-Multiplier = \", E10.3, \" Y-Multiplier = \", E10.3)",
        {props.PMult(z), props.YMult(z)});
}

std::string PYGeneration::PressureLabel() const {
    return out.labels.forceShort + "/" + out.labels.lengthShort + "**2";
}

std::string PYGeneration::UnitWeightLabel() const {
    return out.labels.forceShort + "/" + out.labels.lengthShort + "**3";
}

void ModelForLayer(PYGeneration& g, int layer) {
    const PYLayer& l = g.profile.layers[layer];
    if (l.curves.empty()) return;
    switch (l.type) {
        case 2:
            GenerateStiffClayWetLayer(g, layer);
            return;
        case 3:
            GenerateStiffClayDryLayer(g, layer);
            return;
        case 4:
            GenerateSandLayer(g, layer);
            return;
        case 5:
            GenerateSiltLayer(g, layer);
            return;
        case 6:
            GenerateStrongRockLayer(g, layer);
            return;
        case 7:
            GenerateWeakRockLayer(g, layer);
            return;
        default:
            GenerateSoftClayLayer(g, layer);
            return;
    }
}

void GenerateCurves(SoilProblem& problem, const SoilOutput& out) {
    const std::filesystem::path path = out.folder / "soildata";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw SoilDataError("     ERROR STOP -- CANNOT CREATE THE CURVE FILE " + path.string());
    }
    out.err << " READ SOIL DATA....\n";
    out.labels.SetUnitLabels(text::IsSI(problem.unitSystem) ? -1 : 1);

    PYGeneration g(problem, out, file);
    g.everyStation = problem.pyCurveOption == kPYCurvesAtEveryStation;
    if (g.everyStation) AssignStationDepths(g);
    CheckLayers(g);
    WriteSoilSection(g);
    if (!g.everyStation) WriteCurveFileHead(g);
    for (int L = 0; L < static_cast<int>(g.profile.layers.size()); ++L) ModelForLayer(g, L);
    problem.modelPi = g.pi;
    if (g.everyStation) {
        problem.stationCurves.clear();
        for (size_t i = 0; i < g.stationCurves.size() && i < g.curveStation.size(); ++i) {
            if (g.curveStation[i] < 0) continue;
            g.stationCurves[i].station = g.curveStation[i];
            problem.stationCurves.push_back(std::move(g.stationCurves[i]));
        }
        WriteStationCurveTable(g, problem.stationCurves);
    }

    file.close();
    if (!file) {
        throw SoilDataError("     ERROR STOP -- WRITING THE CURVE FILE " + path.string() +
                            " FAILED");
    }
}

}  // namespace korvel::soil
