// GenerateCurves: the curve file, the report section, the two sides of a
// curve with the active-pressure shift, layered soil and refused input.
#include "soil/py_generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "py_test_support.h"
#include "soil/sand.h"
#include "soil/soft_clay.h"

namespace korvel::soil {
namespace {

using testing::FilePoint;
using testing::Generation;
using testing::Layer;
using testing::ParsePoint;
using testing::Soldier;

TEST(GenerateCurves, SoftClayFileHoldsBothSidesOfEveryCurve) {
    SoilProblem p = Soldier();
    p.layers = {Layer(1, 600, 0, {0.03, 20, 0, 0.01, 0, 0})};
    p.effectiveOverburden = 50.0;  // PACT = 24 * 50 - 2 * 20 * 24 = 240
    Generation g;
    GenerateCurves(p, g.Out());
    EXPECT_EQ(g.err.str(), " READ SOIL DATA....\n");

    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 5u * 35u);
    EXPECT_EQ(std::stoi(lines[0]), 5);
    const double xt = 300.0 + 12.0 - 120.0;  // profile cut at the tip + 2h
    const std::vector<double> depths = {0.1, 0.25 * xt, 0.5 * xt, 0.75 * xt, xt - 0.1};
    const double y50 = 2.5 * 0.01 * 24.0;
    const std::array<double, 17> ys = SoftClayDeflections(y50);
    for (int curve = 0; curve < 5; ++curve) {
        const int head = 1 + 35 * curve;
        std::istringstream h(lines[head]);
        double z = 0;
        int count = 0;
        h >> z >> count;
        EXPECT_NEAR(z, 120.0 + depths[curve], 1e-9);
        EXPECT_EQ(count, 34);
        for (int side = 0; side < 2; ++side) {
            const double x0 = side == 0 ? depths[curve] : 120.0 + depths[curve];
            // Textbook static soft clay.
            const double Np = std::min(9.0, 3.0 + 0.03 * x0 / 20.0 + 0.5 * x0 / 24.0);
            const double pu = Np * 20.0 * 24.0;
            for (int k = 0; k < 17; ++k) {
                const FilePoint f = ParsePoint(lines[head + 1 + 17 * side + k]);
                EXPECT_EQ(f.n, k + 1);
                const double p0 =
                    ys[k] <= 8 * y50 ? 0.5 * pu * std::pow(ys[k] / y50, 1.0 / 3.0) : pu;
                const double expected = side == 0 ? p0 - 240.0 : p0 + 240.0;
                EXPECT_NEAR(f.p, expected, 5e-3 * std::abs(expected)) << curve << " " << k;
                EXPECT_NEAR(f.y, ys[k], 5e-3 * ys[k]);
            }
        }
        // The first point of each side carries only the shift.
        EXPECT_EQ(ParsePoint(lines[head + 1]).p, -240.0);
        EXPECT_EQ(ParsePoint(lines[head + 18]).p, 240.0);
    }

    // One curve's excavation side in the report, the textbook p to 3 decimals.
    const std::string r = g.report.str();
    const std::string header =
        "\n\n         AT THE EXCAVATION SIDE\n"
        "\n         DEPTH BELOW GS      DIAM        C      GAMMA AVG      E50\n"
        "               IN             IN     LBS/IN**2  LBS/IN**3\n"
        "              0.10          24.000 0.2000D+02 0.3000D-01   0.1000D-01\n"
        "\n" +
        std::string(37, ' ') + "Y,IN" + std::string(13, ' ') + "P,LBS/IN\n" +
        std::string(21 + 15, ' ') + "0.000" + std::string(12, ' ') + "-240.000\n";
    EXPECT_NE(r.find(header), std::string::npos) << r.substr(0, 3000);
    EXPECT_NE(
        r.find("\n                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01\n"),
        std::string::npos);
}

TEST(GenerateCurves, ReportSectionBeforeTheCurves) {
    SoilProblem p = Soldier();
    p.layers = {Layer(1, 100, 0, {0.07, 10, 0, 0.02, 0, 0}),
                Layer(4, 600, 100, {0.066, 0, 32, 0, 90, 0})};
    p.pyMods = {{150.0, 0.8, 1.0}, {300.0, 0.5, 1.25}};
    Generation g;
    GenerateCurves(p, g.Out());
    const std::string stars = "      " + std::string(50, '*') + "\n";
    const std::string expected =
        "\n\n" + stars + "      *        SOIL LAYERS AND STRENGTH DATA           *\n" + stars +
        "\n         X AT THE SURFACE OF EXCAVATION SIDE     =     120.00IN\n"
        "\n         1 LAYER(S) OF SOIL\n"
        "\n         LAYER  1\n"
        "         THE SOIL IS A SAND\n"
        "\n\n         DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH\n"
        "                            2 POINTS\n"
        "\n                     X,IN   WEIGHT,LBS/IN**3\n"
        "                 120.0000     0.6600D-01\n"
        "                 600.0000     0.6600D-01\n"
        "\n\n         DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH\n"
        "                            2 POINTS\n"
        "\n                     X,IN     S,LBS/IN**2      PHI,DEGREES      E50\n"
        "                   120.00     0.0000D+00         32.000       -----\n"
        "                   312.00     0.0000D+00         32.000       -----\n"
        "\n         REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS\n" +
        std::string(40, ' ') + "\n" +
        "             DEPTH     P-FACTOR     Y-FACTOR        \n"
        "\n"
        "             150.00      0.80        1.00\n"
        "             300.00      0.50        1.25\n"
        "\n\n        P-Y CURVES DATA\n\n";
    EXPECT_EQ(g.report.str().substr(0, expected.size()), expected);
}

TEST(GenerateCurves, UserCurvesHeadTheFile) {
    SoilProblem p = Soldier();
    p.layers = {Layer(4, 600, 0, {0.066, 0, 32, 0, 90, 0})};
    p.userCurves = {{12, {-1.0, 0.0, 1.0}, {50.0, 0.0, -50.0}}};
    Generation g;
    GenerateCurves(p, g.Out());
    const std::vector<std::string> lines = g.FileLines();
    ASSERT_EQ(lines.size(), 1u + 4u + 5u * 35u);
    EXPECT_EQ(std::stoi(lines[0]), 6);
    std::istringstream head(lines[1]);
    int station = 0, count = 0;
    head >> station >> count;
    EXPECT_EQ(station, 12);
    EXPECT_EQ(count, 3);
    const FilePoint first = ParsePoint(lines[2]);  // index, p, y as the engine reads them
    EXPECT_EQ(first.n, 1);
    EXPECT_EQ(first.p, 50.0);
    EXPECT_EQ(first.y, -1.0);
}

TEST(GenerateCurves, ClayOverSandUsesTheEquivalentDepth) {
    SoilProblem p = Soldier();
    p.layers = {Layer(1, 200, 0, {0.03, 20, 0, 0.01, 0, 0}),
                Layer(4, 600, 200, {0.04, 0, 30, 0, 60, 0})};
    Generation out;
    std::ofstream file(out.folder.path / "soildata");
    PYGeneration g(p, out.Out(), file);
    ModelForLayer(g, 0);
    // R of the clay: trapezoids of the textbook pu between its five curves.
    const std::vector<double> x = {0.1, 20.0, 40.0, 60.0, 79.9};
    double R = 0.0;
    auto pu = [](double d) {
        return std::min(9.0, 3.0 + 0.03 * d / 20.0 + 0.5 * d / 24.0) * 480.0;
    };
    for (size_t i = 1; i < x.size(); ++i) R += 0.5 * (pu(x[i]) + pu(x[i - 1])) * (x[i] - x[i - 1]);
    EXPECT_NEAR(g.profile.layers[0].R, R, 1e-9 * R);

    ModelForLayer(g, 1);
    const double phi = 30.0 * 3.1416 / 180.0;
    const double gammaAvg = (0.03 * 80.0 + 0.04 * 0.1) / 80.1;
    const double xeq = SandEquivalentDepth(R, phi, gammaAvg, 24.0, 80.1, 3.14159);
    EXPECT_GT(xeq, 0.0);
    EXPECT_NEAR(g.profile.layers[1].xEq, xeq, 1e-12);
    EXPECT_NEAR(g.FormulaDepth(80.1, 1), xeq + 0.1, 1e-9);
    EXPECT_NEAR(g.FormulaDepth(200.1, 1), xeq + 120.1, 1e-9);
}

struct RefusedCase {
    int type;
    double cohesion;
    double e50;
    const char* text;
};

class RefusedLayer : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedLayer, EndsTheRunWithAReportError) {
    const RefusedCase c = GetParam();
    SoilProblem p = Soldier();
    p.layers = {Layer(c.type, 600, 0, {0.06, c.cohesion, 30, c.e50, 100, 0})};
    Generation g;
    try {
        GenerateCurves(p, g.Out());
        FAIL() << "accepted";
    } catch (const SoilDataError& e) {
        EXPECT_EQ(std::string(e.what()), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Types, RefusedLayer,
    ::testing::Values(
        RefusedCase{2, -5, 0.01,
                    "     ERROR STOP -- STIFF CLAY LAYER 1 NEEDS A COHESION NOT BELOW ZERO AT "
                    "DEPTH 120.10 IN"},
        RefusedCase{2, 20, 0, "     ERROR STOP -- STIFF CLAY LAYER 1 NEEDS AN E50 ABOVE ZERO"},
        RefusedCase{3, -5, 0.01,
                    "     ERROR STOP -- STIFF CLAY LAYER 1 NEEDS A COHESION NOT BELOW ZERO AT "
                    "DEPTH 120.10 IN"},
        RefusedCase{3, 20, 0, "     ERROR STOP -- STIFF CLAY LAYER 1 NEEDS AN E50 ABOVE ZERO"},
        RefusedCase{6, 0, 0,
                    "     ERROR STOP -- STRONG ROCK LAYER 1 NEEDS A STRENGTH ABOVE ZERO AT DEPTH "
                    "120.10 IN"},
        RefusedCase{7, 500, 0, "     ERROR STOP -- WEAK ROCK LAYER 1 NEEDS A KRM ABOVE ZERO"},
        RefusedCase{1, 0, 0.01,
                    "     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS A COHESION ABOVE ZERO AT DEPTH "
                    "120.10 IN"},
        RefusedCase{9, -1, 0.01,
                    "     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS A COHESION ABOVE ZERO AT DEPTH "
                    "120.10 IN"},
        RefusedCase{1, 20, 0.0, "     ERROR STOP -- SOFT CLAY LAYER 1 NEEDS AN E50 ABOVE ZERO"}));

TEST(GenerateCurves, SiUnitsChooseSiLabelsAndCentimetreOffsets) {
    SoilProblem p = Soldier();
    p.unitSystem = 2;
    p.h = 0.2;
    p.wallLength = 10.0;
    p.geometry.freeHeight = 4.0;
    p.geometry.Wa = 1.0;
    p.geometry.Wp = 1.0;
    p.layers = {Layer(1, 20, 0, {7.0, 20, 0, 0.02, 0, 0})};
    Generation g;
    GenerateCurves(p, g.Out());
    EXPECT_EQ(g.labels.lengthShort, " M");
    const std::vector<std::string> lines = g.FileLines();
    std::istringstream h(lines[1]);
    double z = 0;
    h >> z;
    EXPECT_NEAR(z, 4.01, 1e-12);
    // Continuous wall: pu = (gamma x0 + 2c) b, reached at 8 y50 (point 15).
    const FilePoint excavation = ParsePoint(lines[2 + 14]);
    EXPECT_NEAR(excavation.p, (7.0 * 0.01 + 40.0) * 1.0, 1e-3 * 40.0);
    const FilePoint backfill = ParsePoint(lines[2 + 17 + 14]);
    EXPECT_NEAR(backfill.p, (7.0 * 4.01 + 40.0) * 1.0, 1e-3 * 68.0);
}

// One rule for the equivalent depth of every soil type: the shallowest depth
// at which the layer's own cumulative resistance reaches what the layers
// above resisted, so 0 when they resisted nothing or less. Soldier piles,
// H = 120 in; the lower layer (c = 10 psi, phi = 30, E50 = 0.005, k = 100)
// runs on to the cut, taken as each soil type in turn.
struct UpperCase {
    const char* name;
    SoilLayer upper;  // from the excavation level to 12 or 60 in below it
    bool resistsNothing;
};

class EquivalentDepthRule : public ::testing::TestWithParam<std::tuple<UpperCase, int>> {};

TEST_P(EquivalentDepthRule, IsTheSurfaceWhenTheLayersAboveResistNothing) {
    const auto& [upper, lowerType] = GetParam();
    SoilProblem p = Soldier();
    p.layers = {upper.upper,
                Layer(lowerType, 600, upper.upper.bottomDepth, {0.04, 10, 30, 0.005, 100, 0})};
    Generation gen;
    std::ostringstream file;
    PYGeneration g(p, gen.Out(), file);
    ModelForLayer(g, 0);
    ModelForLayer(g, 1);
    const double F = g.profile.layers[0].R;
    const double xEq = g.profile.layers[1].xEq;
    if (upper.resistsNothing) {
        EXPECT_LE(F, 0.0);
        EXPECT_EQ(xEq, 0.0);
    } else {
        ASSERT_GT(F, 0.0);
        EXPECT_GT(xEq, 0.0);
    }
    // Every point of the lower layer is a number (no 0/0, no root of a negative).
    EXPECT_EQ(file.str().find("NaN"), std::string::npos);
    EXPECT_EQ(file.str().find("nan"), std::string::npos);
}

// A strong rock resists nothing (R = 0). A 12-in stiff clay below water lies
// above x/b = 0.5, where its residual factor 1.225 sqrt(As) - 0.75 As - 0.411
// is below zero (As = 0.1115 at x/b = 0.5: -0.086), so its integral is
// negative. A sand of 60 in resists something.
INSTANTIATE_TEST_SUITE_P(
    GenerateCurves, EquivalentDepthRule,
    ::testing::Combine(
        ::testing::Values(UpperCase{"StrongRock", Layer(6, 180, 0, {0.08, 2000, 0, 0, 0, 0}), true},
                          UpperCase{"ThinStiffClayBelowWater",
                                    Layer(2, 132, 0, {0.04, 15, 0, 0.005, 400, 0}), true},
                          UpperCase{"Sand", Layer(4, 180, 0, {0.04, 0, 30, 0, 100, 0}), false}),
        ::testing::Values(1, 2, 3, 4, 5)),
    [](const ::testing::TestParamInfo<std::tuple<UpperCase, int>>& i) {
        return std::string(std::get<0>(i.param).name) + "OverType" +
               std::to_string(std::get<1>(i.param));
    });

// Below a sand, a soft clay's equivalent depth is the depth where its own
// cumulative pu, 3 c b x + 0.5 gamma b x^2 + 0.25 c x^2 (within the wedge zone),
// equals the sand's integral.
TEST(GenerateCurves, SoftClayEquivalentDepthMatchesItsOwnIntegral) {
    SoilProblem p = Soldier();
    p.layers = {Layer(4, 180, 0, {0.04, 0, 30, 0, 100, 0}),
                Layer(1, 600, 180, {0.04, 10, 0, 0.005, 100, 0})};
    Generation gen;
    std::ostringstream file;
    PYGeneration g(p, gen.Out(), file);
    ModelForLayer(g, 0);
    ModelForLayer(g, 1);
    const double F = g.profile.layers[0].R;
    const double x = g.profile.layers[1].xEq;
    const double b = 24.0, c = 10.0;
    const double gamma = g.props.GammaAvg(60.1);      // the first curve of the clay
    ASSERT_LT(x, 6 * c * b / (0.5 * c + gamma * b));  // within the wedge zone
    EXPECT_NEAR(3 * c * b * x + 0.5 * gamma * b * x * x + 0.25 * c * x * x, F, 1e-9 * F);
}

}  // namespace
}  // namespace korvel::soil
