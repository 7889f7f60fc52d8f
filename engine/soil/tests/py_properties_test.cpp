// The p-y layer table, the property points and the property functions.
#include "soil/py_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace korvel::soil {
namespace {

SoilLayer Layer(int type, double bottom, double previousBottom, LayerProps top,
                LayerProps bottomProps) {
    SoilLayer l;
    l.type = type;
    l.bottomDepth = bottom;
    l.thickness = bottom - previousBottom;
    l.top = top;
    l.bottom = bottomProps;
    return l;
}

LayerProps Props(double gamma, double c, double phi, double e50, double k = 0.0, double K = 0.0) {
    return {gamma, c, phi, e50, k, K};
}

// English, H = 120 in, wall 60 x 6 in: the profile is cut at 372 + ... - 120 = 252 in below H.
SoilProblem English(double H = 120.0, int N = 60, double h = 6.0) {
    SoilProblem p;
    p.unitSystem = 1;
    p.N = N;
    p.h = h;
    p.wallLength = N * h;
    p.geometry.freeHeight = H;
    p.geometry.Wa = 24.0;
    p.geometry.Wp = 24.0;
    p.geometry.waterDepthBackfill = 10000.0;
    return p;
}

const double kGamw = static_cast<double>(0.036f);

TEST(PYProfile, SkipsLayerEndingAtExcavationLevel) {
    SoilProblem p = English();
    p.layers = {Layer(1, 120, 0, Props(0.07, 5, 0, 0.01), Props(0.07, 5, 0, 0.01)),
                Layer(4, 300, 120, Props(0.06, 0, 30, 0, 50), Props(0.06, 0, 34, 0, 50))};
    const PYProfile pr = BuildPYProfile(p);
    ASSERT_EQ(pr.layers.size(), 1u);
    EXPECT_EQ(pr.layers[0].type, 4);
    EXPECT_DOUBLE_EQ(pr.layers[0].xTop, 0.0);
    EXPECT_DOUBLE_EQ(pr.layers[0].xBot, 180.0);
    EXPECT_EQ(pr.layers[0].inputLayer, 1);
    // Not cut (tip + 2h lies at 372 - 120 = 252 below H): the last curve 0.1 in above the bottom.
    const std::vector<double> expected = {0.1, 45.0, 90.0, 135.0, 179.9};
    ASSERT_EQ(pr.curveDepths.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_NEAR(pr.curveDepths[i], expected[i], 1e-12);
    EXPECT_NEAR(pr.strengths[0].phi, 30.0 * 3.1416 / 180.0, 1e-15);
    EXPECT_NEAR(pr.strengths[1].phi, 34.0 * 3.1416 / 180.0, 1e-15);
}

TEST(PYProfile, FirstLayerCutAtExcavationAndProfileCutAtTip) {
    SoilProblem p = English();
    // Cohesion 10 at 0 to 50 at 500 in: the cut at 252 below H (z = 372) interpolates.
    p.layers = {Layer(1, 500, 0, Props(0.07, 10, 0, 0.01), Props(0.07, 50, 0, 0.03)),
                Layer(4, 800, 500, Props(0.06, 0, 30, 0, 50), Props(0.06, 0, 30, 0, 50))};
    const PYProfile pr = BuildPYProfile(p);
    ASSERT_EQ(pr.layers.size(), 1u);
    EXPECT_DOUBLE_EQ(pr.layers[0].xBot, 252.0);
    ASSERT_EQ(pr.strengths.size(), 2u);
    EXPECT_DOUBLE_EQ(pr.strengths[0].c, 10.0);  // the input layer's top value, not at H
    // Interpolated between x = 0 (c 10) and x = 380 (c 50) at x = 252.
    EXPECT_NEAR(pr.strengths[1].c, 10.0 + 40.0 * 252.0 / 380.0, 1e-12);
    EXPECT_NEAR(pr.strengths[1].e50, 0.01 + 0.02 * 252.0 / 380.0, 1e-15);
}

TEST(PYProfile, LayerStartingAtTheCutIsDropped) {
    SoilProblem p = English();
    p.layers = {Layer(1, 372, 0, Props(0.07, 10, 0, 0.01), Props(0.07, 10, 0, 0.01)),
                Layer(4, 800, 372, Props(0.06, 0, 30, 0, 50), Props(0.06, 0, 30, 0, 50))};
    const PYProfile pr = BuildPYProfile(p);
    ASSERT_EQ(pr.layers.size(), 1u);
    EXPECT_EQ(pr.curveDepths.size(), 5u);
}

TEST(PYProfile, FiveEnglishLayersGiveTwentyFiveCurves) {
    SoilProblem p = English(120.0, 100, 12.0);
    double previous = 0.0;
    for (double bottom : {200.0, 400.0, 600.0, 800.0, 1000.0}) {
        p.layers.push_back(
            Layer(1, bottom, previous, Props(0.07, 10, 0, 0.01), Props(0.07, 10, 0, 0.01)));
        previous = bottom;
    }
    const PYProfile pr = BuildPYProfile(p);
    ASSERT_EQ(pr.layers.size(), 5u);
    ASSERT_EQ(pr.curveDepths.size(), 25u);
    for (size_t L = 0; L < 5; ++L) {
        EXPECT_EQ(pr.layers[L].curves, (std::vector<int>{int(5 * L), int(5 * L + 1), int(5 * L + 2),
                                                         int(5 * L + 3), int(5 * L + 4)}));
        if (L > 0) {
            EXPECT_DOUBLE_EQ(pr.layers[L].xTop, pr.layers[L - 1].xBot);
        }
    }
}

TEST(PYProfile, SiCurvesOneCentimetreInside) {
    SoilProblem p = English(3.0, 40, 0.25);
    p.unitSystem = 2;
    p.layers = {Layer(1, 9, 0, Props(17, 20, 0, 0.02), Props(17, 20, 0, 0.02))};
    const PYProfile pr = BuildPYProfile(p);
    ASSERT_EQ(pr.curveDepths.size(), 5u);
    EXPECT_NEAR(pr.curveDepths.front(), 0.01, 1e-12);
    EXPECT_NEAR(pr.curveDepths.back(), 5.99, 1e-12);
}

class Properties {
  public:
    explicit Properties(const SoilProblem& p) : problem(p), profile(BuildPYProfile(problem)) {}
    PYProperties Make() {
        return PYProperties(profile, problem, WidthRatio(problem.geometry), report, err);
    }
    SoilProblem problem;
    PYProfile profile;
    std::ostringstream report, err;
};

TEST(GammaAvg, AcrossAWaterTableInsideTheLayer) {
    // H = 120, water at z = 220 (x = 100), profile cut at x = 200.
    SoilProblem p = English(120.0, 52, 6.0);  // cut at 312 + 12 - 120 = 204
    p.geometry.waterDepthBackfill = 220.0;
    p.layers = {Layer(4, 600, 0, Props(0.07, 0, 30, 0, 50), Props(0.07, 0, 30, 0, 50))};
    Properties t(p);
    // Dry to the water table, then the submerged weight appended down to the cut.
    ASSERT_EQ(t.profile.weights.size(), 4u);
    EXPECT_DOUBLE_EQ(t.profile.weights[1].x, 100.0);
    EXPECT_DOUBLE_EQ(t.profile.weights[1].gamma, 0.07);
    EXPECT_DOUBLE_EQ(t.profile.weights[2].gamma, 0.07 - kGamw);
    EXPECT_DOUBLE_EQ(t.profile.weights[3].x, 204.0);
    PYProperties f = t.Make();
    EXPECT_NEAR(f.GammaAvg(50.0), 0.07, 1e-15);
    EXPECT_NEAR(f.GammaAvg(150.0), (0.07 * 100.0 + (0.07 - kGamw) * 50.0) / 150.0, 1e-15);
    EXPECT_NEAR(f.GammaAvg(1e-7), 0.07, 1e-15);  // at the top: the first point's value
}

TEST(GammaAvg, WaterTableAtALayerBoundaryAndLinearChangeToTheNextLayer) {
    SoilProblem p = English(120.0, 100, 6.0);
    p.geometry.waterDepthBackfill = 170.0;  // inside layer 1 (x = 50)
    p.layers = {Layer(1, 220, 0, Props(0.06, 10, 0, 0.01), Props(0.06, 10, 0, 0.01)),
                Layer(4, 400, 220, Props(0.07, 0, 30, 0, 50), Props(0.07, 0, 30, 0, 50))};
    Properties t(p);
    ASSERT_EQ(t.profile.weights.size(), 4u);
    // Layer 1: (0, 0.06), bottom moved up to the water table (50, 0.06); layer 2 submerged.
    EXPECT_DOUBLE_EQ(t.profile.weights[1].x, 50.0);
    EXPECT_DOUBLE_EQ(t.profile.weights[2].x, 100.0);
    EXPECT_DOUBLE_EQ(t.profile.weights[2].gamma, 0.07 - kGamw);
    PYProperties f = t.Make();
    // Between x = 50 and 100 the weight runs linearly from 0.06 to 0.07 - GAMW.
    const double mid = 0.5 * (0.06 + 0.07 - kGamw);
    const double area = 0.06 * 50.0 + 0.5 * (0.06 + mid) * 25.0;
    EXPECT_NEAR(f.GammaAvg(75.0), area / 75.0, 1e-15);
}

TEST(GammaAvg, BeyondTheLastPointStopsWithCodeFour) {
    SoilProblem p = English();
    p.layers = {Layer(1, 200, 0, Props(0.06, 10, 0, 0.01), Props(0.06, 10, 0, 0.01))};
    Properties t(p);
    PYProperties f = t.Make();
    try {
        f.GammaAvg(81.0);
        FAIL() << "no stop";
    } catch (const SoilStop& stop) {
        EXPECT_EQ(stop.code(), 4);
    }
}

TEST(StrengthFunctions, SharedDepthAndInterpolation) {
    SoilProblem p = English(0.0, 100, 6.0);
    p.layers = {Layer(1, 100, 0, Props(0.06, 10, 20, 0.01), Props(0.06, 20, 24, 0.02)),
                Layer(5, 200, 100, Props(0.06, 30, 30, 0.0), Props(0.06, 40, 30, 0.04)),
                Layer(4, 300, 200, Props(0.06, 0, 36, 0.0), Props(0.06, 0, 36, 0.0))};
    Properties t(p);
    PYProperties f = t.Make();
    const double rad = 3.1416 / 180.0;
    EXPECT_DOUBLE_EQ(f.Cohesion(50.0), 15.0);
    EXPECT_DOUBLE_EQ(f.Cohesion(100.0), 30.0);     // the lower layer's value
    EXPECT_DOUBLE_EQ(f.Cohesion(200.0), 40.0);     // lower is 0: the upper one
    EXPECT_NEAR(f.Phi(100.0), 27.0 * rad, 1e-15);  // the mean of 24 and 30
    EXPECT_DOUBLE_EQ(f.E50(100.0), 0.02);          // the lower is absent
    EXPECT_DOUBLE_EQ(f.E50(150.0), 0.02);
    EXPECT_NEAR(f.Phi(250.0), 36.0 * rad, 1e-15);
    EXPECT_DOUBLE_EQ(f.CohesionAvg(150.0, 1), 0.5 * (30.0 + 35.0));
    EXPECT_DOUBLE_EQ(f.CohesionAvg(100.0 + 1e-6, 1), f.Cohesion(100.0 + 1e-6));
    EXPECT_TRUE(t.report.str().empty());
    // Beyond the layer: extended linearly, with a warning in the report.
    EXPECT_DOUBLE_EQ(f.CohesionAvg(250.0, 1), 0.5 * (30.0 + 45.0));
    EXPECT_NE(t.report.str().find("IS BEYOND THE EXTENT OF THE/     INPUT CURVE FOR STRENGTH"),
              std::string::npos);
}

TEST(StrengthFunctions, BeyondTheLastPointStops) {
    SoilProblem p = English(0.0, 100, 6.0);
    p.layers = {Layer(1, 100, 0, Props(0.06, 10, 20, 0.01), Props(0.06, 20, 24, 0.02))};
    Properties t(p);
    PYProperties f = t.Make();
    try {
        f.Cohesion(400.0);
        FAIL() << "no stop";
    } catch (const SoilStop& stop) {
        EXPECT_EQ(stop.code(), 1);
    }
    const std::string block =
        "\n                             **** WARNING ****\n"
        "     THE VALUE OF X =  0.4D+03IS BEYOND THE EXTENT OF\n"
        "     THE INPUT STRENGTH CURVE\n";
    EXPECT_EQ(t.err.str(), block + block);
    t.err.str("");
    EXPECT_THROW(f.Phi(400.0), SoilStop);
    EXPECT_NE(t.err.str().find("0.4D+03 IS BEYOND THE EXTENT OF\n     THE INPUT PHI CURVE"),
              std::string::npos);
}

struct GroupCase {
    double Wa, Wp, expected;
};

class PMultGroup : public ::testing::TestWithParam<GroupCase> {};

TEST_P(PMultGroup, ReductionForCloselySpacedElements) {
    const GroupCase c = GetParam();
    SoilProblem p = English();
    p.geometry.Wa = c.Wa;
    p.geometry.Wp = c.Wp;
    p.layers = {Layer(4, 600, 0, Props(0.07, 0, 30, 0, 50), Props(0.07, 0, 30, 0, 50))};
    Properties t(p);
    PYProperties f = t.Make();
    EXPECT_NEAR(f.PMult(200.0), c.expected, 1e-12);
    EXPECT_DOUBLE_EQ(f.PMult(100.0), 1.0);  // above the excavation level
    EXPECT_DOUBLE_EQ(f.YMult(200.0), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Ratios, PMultGroup,
                         ::testing::Values(GroupCase{24, 24, 1.0},
                                           GroupCase{48, 24, 0.5292 * std::pow(2.0, 0.5659)},
                                           GroupCase{74.4, 24, 1.0},  // r = 3.1
                                           GroupCase{24, 0, 1.0}));

TEST(PMult, GroupFactorOfTwoIsAboutPointSevenEightThree) {
    EXPECT_NEAR(GroupFactor(2.0, 10.0, 0.0), 0.783, 5e-4);
}

TEST(PMult, FactorTableWithARepeatedDepth) {
    const std::vector<PYModification> rows = {{100, 0.5, 1.5}, {100, 0.8, 1.2}, {200, 0.4, 2.0}};
    struct Case {
        double z, p, y;
    };
    for (const Case c : {Case{99.9, 1.0, 1.0}, Case{100, 0.8, 1.2}, Case{150, 0.6, 1.6},
                         Case{200, 0.4, 2.0}, Case{200.1, 1.0, 1.0}}) {
        EXPECT_NEAR(ModificationFactor(rows, c.z, true), c.p, 1e-12) << c.z;
        EXPECT_NEAR(ModificationFactor(rows, c.z, false), c.y, 1e-12) << c.z;
    }
    SoilProblem p = English();
    p.geometry.Wa = 48;  // a table replaces the group factor
    p.pyMods = rows;
    p.layers = {Layer(4, 600, 0, Props(0.07, 0, 30, 0, 50), Props(0.07, 0, 30, 0, 50))};
    Properties t(p);
    PYProperties f = t.Make();
    EXPECT_NEAR(f.PMult(150.0), 0.6, 1e-12);
    EXPECT_DOUBLE_EQ(f.PMult(300.0), 1.0);
    EXPECT_NEAR(f.YMult(150.0), 1.6, 1e-12);
}

}  // namespace
}  // namespace korvel::soil
