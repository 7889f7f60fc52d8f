#include "soil/py_generator.h"

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

namespace korvel::soil {
namespace {

constexpr double kRadiansToDegrees = 180.0 / 3.1416;
constexpr double kNoE50 = 1.0e-6;    // an E50 at or below it is printed as absent
constexpr int kPointsPerCurve = 34;  // 17 per side in the curve file
constexpr double kContinuousWallRatio = 1.1;  // Wa/Wp below it: a continuous wall

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

}  // namespace

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
    switch (profile.layers[layer].type) {
        case 2:
            return StiffClayWetEquivalentDepth(F, s.c, s.b, s.gamma);
        case 4:
            return SandEquivalentDepth(F, s.phi, s.gamma, s.b, s.x0, pi);
        case 5:
            return SiltEquivalentDepth(F, s.phi, s.c, s.gamma, s.b, s.x0, pi);
        case 6:
        case 7:
            return 0.0;  // the rock models measure from the layer top and never ask
        default:         // soft clay, and the closed form of the stiff clay without free water
            return SoftClayEquivalentDepth(F, s.c, s.b, s.gamma);
    }
}

void PYGeneration::WriteCurveRecord(double x) {
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
    out.labels.SetUnitLabels(problem.unitSystem == 2 ? -1 : 1);

    PYGeneration g(problem, out, file);
    CheckLayers(g);
    WriteSoilSection(g);
    WriteCurveFileHead(g);
    for (int L = 0; L < static_cast<int>(g.profile.layers.size()); ++L) ModelForLayer(g, L);
    problem.modelPi = g.pi;

    file.close();
    if (!file) {
        throw SoilDataError("     ERROR STOP -- WRITING THE CURVE FILE " + path.string() +
                            " FAILED");
    }
}

}  // namespace korvel::soil
