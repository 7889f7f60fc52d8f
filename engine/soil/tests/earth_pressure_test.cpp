// The earth-pressure module against hand calculations: sub-layers, coefficients,
// layer forces, pressure points, the trapezoidal envelope and the pressure file.
#include "soil/earth_pressure.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "soil/earth_pressure_module.h"

namespace korvel::soil {
namespace {

constexpr double kSand = 120.0 / 1728.0;  // 120 pcf in lbs/in^3
constexpr double kGAMW = 0.036f;          // lbs/in^3 as the module holds it
constexpr double kKa30 = 1.0 / 3.0;       // tan^2(45 - 30/2)
constexpr double kDry = 10000.0;          // a water table far below every profile
// Hand values use exact degrees; the module converts with 57.2958 degrees per
// radian, which moves Ka by about 1E-6 relative.
constexpr double kRel = 1e-5;
#define EXPECT_CLOSE(actual, expected) EXPECT_NEAR(actual, expected, kRel* std::abs(expected))

SoilLayer Layer(int type, double bottom, double thickness, double gamma, double cohesion,
                double phi, double K = 0.0) {
    SoilLayer l;
    l.type = type;
    l.bottomDepth = bottom;
    l.thickness = thickness;
    l.top = {gamma, cohesion, phi, 0.0, 0.0, K};
    l.bottom = l.top;
    return l;
}

// Layers given by their bottoms, all of one kind unless set otherwise.
SoilProblem Profile(double H, std::vector<double> bottoms, double phi = 30.0, int type = 4) {
    SoilProblem p;
    p.unitSystem = 1;
    p.earthPressureOption = 2;
    p.geometry.freeHeight = H;
    p.geometry.Wa = 12.0;
    p.geometry.Wp = 12.0;
    p.geometry.waterDepthBackfill = kDry;
    p.geometry.waterDepthExcavation = kDry;
    double top = 0.0;
    for (double b : bottoms) {
        p.layers.push_back(Layer(type, b, b - top, kSand, 0.0, phi));
        top = b;
    }
    p.wallLength = top;
    p.hasSoilRecords = true;
    return p;
}

struct Streams {
    std::ostringstream report, notes, err;
    text::UnitLabels labels;
    SoilOutput out{report, notes, err, labels, std::filesystem::path()};
    Streams() { labels.SetUnitLabels(1); }
};

// Runs every step but the file.
struct Module {
    Streams s;
    EarthPressureModule m;
    explicit Module(const SoilProblem& p) : m(p, s.out) {
        m.Initial();
        m.Outpt();
        m.CheckSubdivision();
        m.ResetResults();
        m.Start();
        m.Forces();
        m.ComputePoints();
    }
    const PressurePoint& At(double z) const {
        for (const PressurePoint& pt : m.points()) {
            if (std::abs(pt.z - z) < 1e-9) return pt;
        }
        throw std::logic_error("no point at that depth");
    }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    for (const std::string& l : Lines(text)) {
        if (l == line) return true;
    }
    return false;
}

TEST(EarthPressure, UniformDrySandGivesKaGammaHAtTheExcavationLevel) {
    const Module run(Profile(120.0, {240.0}));
    const EarthPressureModule& m = run.m;
    ASSERT_EQ(m.NLAY(), 2);
    ASSERT_EQ(m.IH(), 2);
    EXPECT_NEAR(m.layer(1).KA, kKa30, 1e-6);
    const double kaGammaH = kKa30 * kSand * 120.0;  // 2.7778 psi
    EXPECT_NEAR(run.At(120.0).total, kaGammaH, 1e-5);
    EXPECT_EQ(m.excavationPoint(), 121);
    EXPECT_NEAR(m.points()[120].total, kaGammaH, 1e-5);
    // Below H the overburden is held: the same pressure down to the tip.
    EXPECT_NEAR(run.At(180.0).total, kaGammaH, 1e-5);
    EXPECT_NEAR(run.At(240.0).total, kaGammaH, 1e-5);
    // PA2 = 1/2 Ka gamma H^2 = 166.667 lbs/in at 2H/3.
    EXPECT_CLOSE(m.layer(1).PA2, 0.5 * kKa30 * kSand * 120.0 * 120.0);
    EXPECT_DOUBLE_EQ(m.layer(1).Z2, 80.0);
    EXPECT_EQ(m.layer(1).PA1, 0.0);
    EXPECT_EQ(m.layer(1).PA3, 0.0);
    // The trapezoid rule is exact on a straight line: FTOT = PA2.
    EXPECT_CLOSE(m.FTOT(), 0.5 * kKa30 * kSand * 120.0 * 120.0);
    EXPECT_NEAR(m.effectiveOverburden(), kSand * 120.0, 1e-12);
    EXPECT_TRUE(
        HasLine(run.s.report.str(),
                "       1       0.00  60.00     166.67  80.00       0.00  -0.00       0.00"));
    EXPECT_EQ(run.s.err.str(), "");
}

TEST(EarthPressure, PointsAreOnePerInchOrTwentyPerMetre) {
    const Module english(Profile(120.0, {240.0}));
    int above = 0;
    for (const PressurePoint& pt : english.m.points()) above += pt.z > 0.0 && pt.z <= 120.0;
    EXPECT_EQ(above, 120);
    EXPECT_EQ(english.m.fileCount(), 241);

    SoilProblem si = Profile(3.0, {6.0});
    si.unitSystem = 2;
    si.layers[0].top.gamma = 18.0;
    si.layers[0].bottom.gamma = 18.0;
    const Module metric(si);
    above = 0;
    for (const PressurePoint& pt : metric.m.points()) above += pt.z > 0.0 && pt.z <= 3.0 + 1e-9;
    EXPECT_EQ(above, 60);
    EXPECT_EQ(metric.m.fileCount(), 121);
    EXPECT_NEAR(metric.m.GAMW(), 9.81f, 0.0);
    // FTOT sums with the nominal spacing 1/20 m: 1/2 Ka gamma H^2.
    EXPECT_NEAR(metric.m.FTOT(), 0.5 * kKa30 * 18.0 * 9.0, 1e-4);
}

TEST(EarthPressure, CountStopsAtTheWallTipAndNeverExceedsThePoints) {
    SoilProblem p = Profile(60.0, {100.0, 300.0});
    p.wallLength = 150.0;  // the profile runs below the tip: nothing is built there
    EXPECT_EQ(Module(p).m.fileCount(), 151);
    EXPECT_EQ(Module(p).m.points().size(), 151u);
    EXPECT_DOUBLE_EQ(Module(p).m.points().back().z, 150.0);
    p.wallLength = 400.0;  // the profile ends above the tip
    EXPECT_EQ(Module(p).m.fileCount(), 301);
    EXPECT_EQ(Module(p).m.points().size(), 301u);
    // A tip above the excavation level: the points go on to H for FTOT.
    p.wallLength = 40.0;
    EXPECT_EQ(Module(p).m.fileCount(), 41);
    EXPECT_EQ(Module(p).m.points().size(), 61u);
    EXPECT_EQ(Module(p).m.excavationPoint(), 61);
    EXPECT_CLOSE(Module(p).m.FTOT(), 0.5 * kKa30 * kSand * 60.0 * 60.0);
}

// A mistyped layer bottom far below the wall costs nothing: the points stop
// at the tip, and the pressures down to it are those of the sensible profile.
TEST(EarthPressure, ALayerReachingFarBelowTheTipBuildsPointsOnlyToTheTip) {
    SoilProblem sensible = Profile(60.0, {100.0, 300.0});
    sensible.wallLength = 150.0;
    SoilProblem mistyped = sensible;
    mistyped.layers[1].bottomDepth = 2147483647.0;
    mistyped.layers[1].thickness = 2147483647.0 - 100.0;
    const Module a(sensible);
    const Module b(mistyped);
    ASSERT_EQ(b.m.points().size(), 151u);
    EXPECT_EQ(b.m.fileCount(), 151);
    for (size_t i = 0; i < a.m.points().size(); ++i) {
        EXPECT_EQ(b.m.points()[i].z, a.m.points()[i].z);
        EXPECT_EQ(b.m.points()[i].total, a.m.points()[i].total);
    }
}

// More points than the engine's 1200-row pressure table: the module stops at
// 1201 and counts them all, so the engine refuses the table as too much data.
TEST(EarthPressure, ATableBeyondTheEnginesStorageStopsOnePointPastIt) {
    SoilProblem p = Profile(60.0, {1.0e30});
    p.wallLength = 1.0e29;
    const Module run(p);
    EXPECT_EQ(run.m.points().size(), 1201u);
    EXPECT_EQ(run.m.fileCount(), 1201);
    // Excavation level below a short wall, 2000 points down: the resultant
    // above it cannot be formed within the table either.
    SoilProblem deep = Profile(2000.0, {3000.0});
    deep.wallLength = 500.0;
    const Module below(deep);
    EXPECT_EQ(below.m.points().size(), 1201u);
    EXPECT_EQ(below.m.fileCount(), 1201);
}

TEST(EarthPressure, SlopingBackfillUsesTheSlopeFormula) {
    SoilProblem p = Profile(120.0, {240.0});
    p.geometry.backfillSlope = 10.0;
    const Module run(p);
    // cos b (cos b - sqrt(cos^2 b - cos^2 f)) / (cos b + sqrt(...)), b = 10, f = 30 degrees
    EXPECT_NEAR(run.m.layer(1).KA, 0.349519833813974, 1e-6);
    EXPECT_NEAR(run.m.layer(1).TANA, std::sqrt(0.349519833813974), 1e-6);
    EXPECT_EQ(run.s.notes.str(), "");
    // Below H the points use Rankine again.
    EXPECT_NEAR(run.m.layer(2).KA, kKa30, 1e-6);
}

TEST(EarthPressure, SlopeNotBelowTheFrictionAngleWarnsAboveTheExcavationOnly) {
    SoilProblem p = Profile(120.0, {240.0});
    p.geometry.backfillSlope = -30.0;
    const Module run(p);
    const std::string warning =
        "\n\n**** WARNING ******\n"
        "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\n";
    EXPECT_EQ(run.s.notes.str(), warning);  // once: layer 2 lies below H
    EXPECT_NE(run.s.report.str().find(warning), std::string::npos);
    EXPECT_NEAR(run.m.layer(1).KA, kKa30, 1e-6);
}

struct SplitCase {
    const char* name;
    double H, DWb;
    std::vector<double> bottoms;
    std::vector<double> tops;  // expected sub-layer tops
    int IH, IWT;
};

class Subdivision : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Subdivision, CutsAtTheExcavationAndTheWaterTable) {
    const SplitCase& c = GetParam();
    SoilProblem p = Profile(c.H, c.bottoms);
    p.geometry.waterDepthBackfill = c.DWb;
    Streams s;
    EarthPressureModule m(p, s.out);
    m.Initial();
    ASSERT_EQ(m.NLAY(), static_cast<int>(c.tops.size())) << c.name;
    for (size_t i = 0; i < c.tops.size(); ++i) {
        EXPECT_NEAR(m.layer(static_cast<int>(i) + 1).ZTOP, c.tops[i], 1e-9) << c.name << i;
        EXPECT_GT(m.layer(static_cast<int>(i) + 1).THICK, 0.0) << c.name << i;
    }
    EXPECT_NEAR(m.layer(m.NLAY() + 1).ZTOP, c.bottoms.back(), 1e-9) << c.name;
    EXPECT_EQ(m.IH(), c.IH) << c.name;
    EXPECT_EQ(m.IWT(), c.IWT) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Subdivision,
    ::testing::Values(
        SplitCase{"H equal to DWb", 120, 120, {240}, {0, 120}, 2, 2},
        SplitCase{"water below H in the same layer", 100, 150, {240}, {0, 100, 150}, 2, 3},
        SplitCase{"water above H in the same layer", 150, 100, {240}, {0, 100, 150}, 3, 2},
        SplitCase{"water at a layer boundary", 150, 100, {100, 240}, {0, 100, 150}, 3, 2},
        SplitCase{"both at boundaries", 100, 200, {100, 200, 300}, {0, 100, 200}, 2, 3},
        SplitCase{"water within 1E-5 of a boundary snaps",
                  150,
                  100.000004,
                  {100, 240},
                  {0, 100, 150},
                  3,
                  2},
        SplitCase{"water at the surface", 120, 0, {240}, {0, 120}, 2, 1},
        SplitCase{"water above the surface", 120, -24, {240}, {0, 120}, 2, 0},
        SplitCase{"water below the profile", 120, 500, {240}, {0, 120}, 2, 0},
        SplitCase{"ten layers give twelve sub-layers",
                  150,
                  450,
                  {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
                  {0, 100, 150, 200, 300, 400, 450, 500, 600, 700, 800, 900},
                  3,
                  7}));

TEST(EarthPressure, ExcavationBelowTheProfileStopsAfterTheEcho) {
    for (double H : {240.0, 300.0}) {  // at the bottom of the last layer, or below it
        Streams s;
        EarthPressureModule m(Profile(H, {120.0, 240.0}), s.out);
        m.Initial();
        m.Outpt();
        try {
            m.CheckSubdivision();
            FAIL() << "no stop for H = " << H;
        } catch (const SoilStop& stop) {
            EXPECT_EQ(stop.code(), 1);
        }
        EXPECT_NE(s.report.str().find("SOIL INFORMATION"), std::string::npos);
    }
}

TEST(EarthPressure, MoreThanTwentyOneSubLayersStopAfterTheEcho) {
    // The engine reads at most ten layers; the module guards its own table anyway.
    std::vector<double> bottoms;
    for (int i = 1; i <= 21; ++i) bottoms.push_back(10.0 * i);
    Streams s;
    EarthPressureModule m(Profile(55.0, bottoms), s.out);  // H cuts layer 6: 22 rows
    m.Initial();
    EXPECT_TRUE(m.tooManyLayers());
    EXPECT_EQ(m.NLAY(), 21);
    m.Outpt();
    EXPECT_TRUE(
        HasLine(s.report.str(), "        21     10.0        0.0  30.0    0.069     T    190.00"));
    try {
        m.CheckSubdivision();
        FAIL();
    } catch (const SoilStop& stop) {
        EXPECT_EQ(stop.code(), 2);
    }
    bottoms.pop_back();  // 20 layers and the cut at H: exactly 21 rows
    EarthPressureModule fits(Profile(55.0, bottoms), s.out);
    fits.Initial();
    EXPECT_FALSE(fits.tooManyLayers());
    EXPECT_EQ(fits.NLAY(), 21);
    EXPECT_NO_THROW(fits.CheckSubdivision());
}

TEST(EarthPressure, SoilEchoRowsAndUnits) {
    const Module run(Profile(120.0, {240.0}));
    const std::string r = run.s.report.str();
    EXPECT_TRUE(HasLine(r, "      FREE HEIGHT OF WALL                    =  0.120E+03 IN"));
    EXPECT_TRUE(HasLine(r, "      UNIT WEIGHT OF WATER                   =  0.360E-01 LBS/IN**3"));
    EXPECT_TRUE(HasLine(r, "      SLOPE OF THE BACKFILL (deg.)           =  0.000E+00"));
    EXPECT_TRUE(HasLine(r, "      UNIFORM SURFACE PRESSURE     = 0.000E+00 LBS/IN**2"));
    EXPECT_TRUE(HasLine(r, "               TOTAL                 TOTAL UNIT"));
    EXPECT_TRUE(HasLine(r, "       NO.     IN        PSI     DEG     PCI     T OR F   IN"));
    EXPECT_TRUE(HasLine(r, "         1    120.0        0.0  30.0    0.069     T      0.00"));
    EXPECT_TRUE(HasLine(r, "         2    120.0        0.0  30.0    0.069     T    120.00"));
    EXPECT_TRUE(HasLine(r, "                 IN                       LBS/IN**2"));
    EXPECT_TRUE(HasLine(r, "             0.120E+03                  0.833E+01"));
    EXPECT_TRUE(HasLine(r, "           1          0.333E+00         0.300E+01"));
}

TEST(EarthPressure, WaterTableAboveTheExcavation) {
    SoilProblem p = Profile(120.0, {240.0});
    p.geometry.waterDepthBackfill = 60.0;
    p.geometry.waterDepthExcavation = 150.0;
    p.geometry.waterFlag = 0;  // the water forces switch it on
    const Module run(p);
    const EarthPressureModule& m = run.m;
    ASSERT_EQ(m.NLAY(), 3);
    EXPECT_EQ(m.IWT(), 2);
    EXPECT_EQ(m.waterFlag(), 1);
    EXPECT_FALSE(m.layer(1).WET);
    EXPECT_TRUE(m.layer(2).WET);
    // Effective overburden at H: 120 gamma - 60 gamma_w.
    EXPECT_NEAR(m.effectiveOverburden(), 120.0 * kSand - 60.0 * kGAMW, 1e-12);
    EXPECT_NEAR(m.layer(2).PW2, -0.5 * kGAMW * 3600.0, 1e-9);  // 64.8 lbs/in
    EXPECT_EQ(m.layer(2).PW1, 0.0);                            // the layer top is the water table
    EXPECT_TRUE(HasLine(run.s.report.str(), "       2       0.00  90.00      64.80 100.00"));
    // At H: Ka gamma 60 + (gamma_w + Ka (gamma - gamma_w)) 60.
    const double atH = kKa30 * kSand * 60.0 + (kGAMW + kKa30 * (kSand - kGAMW)) * 60.0;
    EXPECT_NEAR(run.At(120.0).total, atH, 1e-5);
    // Below the excavation-side water table its head (z - 150) gamma_w comes off.
    const double held = 60.0 * kGAMW + kKa30 * (120.0 * kSand - 60.0 * kGAMW);
    EXPECT_NEAR(run.At(150.0).total, held, 1e-5);
    EXPECT_NEAR(run.At(200.0).total, held - 50.0 * kGAMW, 1e-5);
    // The column split: the head at the layer top (120 - 60) gamma_w counts as surcharge share.
    EXPECT_CLOSE(run.At(200.0).soils, held - 50.0 * kGAMW - 60.0 * kGAMW);
    EXPECT_CLOSE(run.At(200.0).surcharges, 60.0 * kGAMW);
}

TEST(EarthPressure, CohesiveTopLayerWithATensionZone) {
    // Stiff clay, c = 600 psf, phi = 0 (Ka = 1), over H = 180 in.
    SoilProblem p = Profile(180.0, {240.0}, 0.0, 3);
    const double c = 600.0 / 144.0;
    p.layers[0].top.cohesion = c;
    const Module run(p);
    const SubLayer& l = run.m.layer(1);
    EXPECT_EQ(l.PA1, 0.0);
    EXPECT_EQ(l.PA2, 0.0);
    EXPECT_EQ(l.PA3, 0.0);
    // Pressure at the bottom B = 180 gamma - 2c = 4.1667 psi; tension on top A = 2c.
    const double B = 180.0 * kSand - 2.0 * c;
    const double ZC = B * 180.0 / (B + 2.0 * c);  // 60 in
    EXPECT_CLOSE(l.ZC, 60.0);
    EXPECT_CLOSE(l.PA4, ZC * B / 2.0);  // 125 lbs/in
    EXPECT_CLOSE(l.Z3, 160.0);
    // Points in the tension zone carry the floor: point number times 1E-12.
    EXPECT_DOUBLE_EQ(run.At(60.0).total, 61 * 1.0e-12);
    EXPECT_DOUBLE_EQ(run.At(119.0).total, 120 * 1.0e-12);
    EXPECT_CLOSE(run.At(150.0).total, 150.0 * kSand - 2.0 * c);
    EXPECT_EQ(run.m.Result().topTension, 0.0);  // PA2 of the first sub-layer is 0
    EXPECT_EQ(run.s.err.str(), "");
}

TEST(EarthPressure, NegativeNetActiveForceIsReported) {
    SoilProblem p = Profile(60.0, {240.0}, 0.0, 1);
    p.layers[0].top.cohesion = 10.0;  // 2c far above the overburden at H
    const Module run(p);
    EXPECT_LT(run.m.netActiveForce(), 1.0e-5);
    const std::string message = "\n\n     Net active pressure is negative.\n\n";
    EXPECT_EQ(run.s.err.str(), message);
    EXPECT_NE(run.s.report.str().find(message), std::string::npos);
}

TEST(EarthPressure, UserCoefficientReplacesKaAndDropsTheCohesionTerm) {
    SoilProblem p = Profile(120.0, {240.0}, 0.0, 3);
    p.layers[0].top.cohesion = 2.0;
    p.layers[0].top.K = 0.3;
    const Module run(p);
    EXPECT_DOUBLE_EQ(run.m.layer(1).KA, 0.3);
    EXPECT_EQ(run.m.layer(1).TANA, 0.0);
    EXPECT_EQ(run.m.layer(1).PA3, 0.0);
    EXPECT_NEAR(run.m.layer(1).PA2, 0.5 * kSand * 14400.0 * 0.3, 1e-9);
    // The report shows the computed coefficient (Rankine, phi 0: 1).
    EXPECT_TRUE(HasLine(run.s.report.str(), "           1          0.100E+01         0.100E+01"));
}

TEST(EarthPressure, RockLayersHaveNoUserCoefficient) {
    SoilProblem p = Profile(120.0, {240.0}, 30.0, 7);
    p.layers[0].top.K = 50.0;  // RQD of weak rock
    EXPECT_NEAR(Module(p).m.layer(1).KA, kKa30, 1e-6);
}

TEST(EarthPressure, UniformSurchargeGoesToTheSurchargeColumn) {
    SoilProblem p = Profile(120.0, {240.0});
    p.surcharge.uniform = 1.0;
    const Module run(p);
    const PressurePoint& surface = run.m.points()[0];
    EXPECT_NEAR(surface.total, kKa30, 1e-6);
    EXPECT_NEAR(surface.surcharges, kKa30, 1e-6);
    EXPECT_EQ(surface.soils, 0.0);
    const PressurePoint& pt = run.At(60.0);
    EXPECT_NEAR(pt.surcharges, kKa30, 1e-6);
    EXPECT_CLOSE(pt.soils, kKa30 * kSand * 60.0);
    EXPECT_CLOSE(pt.total, kKa30 * (1.0 + kSand * 60.0));
    EXPECT_CLOSE(run.m.layer(1).PA1, kKa30 * 120.0);
}

TEST(EarthPressure, AdditionalSurchargesEnterPointsAndLayerForce) {
    SoilProblem p = Profile(120.0, {240.0});
    p.surcharges = {{1, 1000.0, 24.0, 0.0}};
    const Module run(p);
    const SurchargeField field(p);
    EXPECT_DOUBLE_EQ(run.At(61.0).surcharges, field.PressureAt(61.0));
    EXPECT_NEAR(run.At(61.0).surcharges, 0.0705316392842691, 1e-12);  // the slice at 60
    EXPECT_NEAR(run.m.layer(1).PA1, field.LayerForce(0.0, 120.0), 1e-12);
}

TEST(EarthPressure, SurchargesWithoutFreeHeightAreIgnoredWithAWarning) {
    SoilProblem p = Profile(0.0, {240.0});
    p.surcharges = {{1, 1000.0, 24.0, 0.0}};
    const Module run(p);
    EXPECT_EQ(run.m.IH(), 1);
    EXPECT_TRUE(HasLine(run.s.report.str(), kSurchargesIgnoredWarning));
    for (const PressurePoint& pt : run.m.points()) EXPECT_EQ(pt.surcharges, 0.0) << pt.z;
}

SoilProblem Anchored(int tiebacks, double first, double last) {
    SoilProblem p = Profile(180.0, {360.0});
    p.earthPressureOption = 3;
    p.tiebackCount = tiebacks;
    p.supportCount = tiebacks;
    p.hasFirstSupportDepth = p.hasLastSupportDepth = tiebacks > 0;
    p.firstSupportDepth = first;
    p.lastSupportDepth = last;
    return p;
}

TEST(EarthPressure, TrapezoidWithOneTiebackAtAThirdOfH) {
    const Module run(Anchored(1, 60.0, 60.0));
    const double H = 180.0;
    const double papp = 1.95 * run.m.FTOT() / H;
    // h1 = 2H/9 = 40, plateau to hl = H/3 + h1 = 100, down to 0 at H over h3 = 4H/9.
    EXPECT_NEAR(run.At(20.0).total, papp / 2.0, 1e-9);
    EXPECT_NEAR(run.At(40.0).total, papp, 1e-9);
    EXPECT_NEAR(run.At(100.0).total, papp, 1e-9);
    EXPECT_NEAR(run.At(140.0).total, papp / 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(run.At(180.0).total, 181 * 1.0e-12);  // 0 at H, floored
    // The columns and the points below H keep their triangular values.
    EXPECT_NEAR(run.At(20.0).soils, kKa30 * kSand * 20.0, 1e-6);
    EXPECT_NEAR(run.At(200.0).total, kKa30 * kSand * 180.0, 1e-5);
    EXPECT_NEAR(run.m.points()[0].total, 0.0, 0.0);
}

TEST(EarthPressure, TrapezoidWithTwoTiebacksDividesByHMinusAThirdOfTheEnds) {
    const Module run(Anchored(2, 45.0, 135.0));
    // h1 = 30, h3 = 30: PAPP = 1.3 FTOT/(H - 20), plateau from 30 to 150.
    const double papp = 1.3 * run.m.FTOT() / (180.0 - 20.0);
    EXPECT_NEAR(run.At(15.0).total, papp / 2.0, 1e-9);
    EXPECT_NEAR(run.At(90.0).total, papp, 1e-9);
    EXPECT_NEAR(run.At(165.0).total, papp / 2.0, 1e-9);
}

TEST(EarthPressure, TrapezoidWithoutTiebackFallsBackToTheTriangle) {
    const Module run(Anchored(0, 0.0, 0.0));
    EXPECT_CLOSE(run.At(90.0).total, kKa30 * kSand * 90.0);
    EXPECT_NE(run.s.report.str().find(
                  "WARNING -- TRAPEZOIDAL EARTH PRESSURE NEEDS A TIEBACK OR A SPRING"),
              std::string::npos);
}

// The envelope's supports are the spring rows and the tiebacks together: the
// count and the first and last depths describe the same list. Sand of 120 pcf,
// Ka = 1/3, H = 180 in: FTOT = Ka gamma H^2/2 = 375 lbs/in. One support at 60:
// PAPP = 1.3 * 375 * 3/(2 * 180) = 4.0625, rising over h1 = 40, level to
// hl = 100, falling over h3 = 80. Supports at 45 and 135: h1 = h3 = 30,
// PAPP = 1.3 * 375/(180 - 20) = 3.046875, level from 30 to 150.
struct SupportCase {
    const char* name;
    int supports, tiebacks;
    bool singleStations;
    double first, last;
    std::vector<std::pair<double, double>> totals;  // depth, total pressure
    const char* warning;
};

class TrapezoidSupports : public ::testing::TestWithParam<SupportCase> {};

TEST_P(TrapezoidSupports, CountAndDepthsDescribeTheSameSupports) {
    const SupportCase& c = GetParam();
    SoilProblem p = Anchored(c.tiebacks, c.first, c.last);
    p.supportCount = c.supports;
    p.hasFirstSupportDepth = p.hasLastSupportDepth = c.singleStations;
    const Module run(p);
    EXPECT_NEAR(run.m.FTOT(), 375.0, 375.0 * kRel);
    for (const auto& [z, total] : c.totals) EXPECT_CLOSE(run.At(z).total, total) << z;
    const std::string report = run.s.report.str();
    if (*c.warning == '\0') {
        EXPECT_EQ(report.find("WARNING -- TRAPEZOIDAL"), std::string::npos);
    } else {
        EXPECT_NE(report.find(c.warning), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EarthPressure, TrapezoidSupports,
    ::testing::Values(
        SupportCase{"OneTieback",
                    1,
                    1,
                    true,
                    60.0,
                    60.0,
                    {{20.0, 2.03125}, {40.0, 4.0625}, {100.0, 4.0625}, {140.0, 2.03125}},
                    ""},
        SupportCase{"ASpringInPlaceOfTheTieback",
                    1,
                    0,
                    true,
                    60.0,
                    60.0,
                    {{20.0, 2.03125}, {40.0, 4.0625}, {100.0, 4.0625}, {140.0, 2.03125}},
                    ""},
        SupportCase{"ASpringAboveATieback",
                    2,
                    1,
                    true,
                    45.0,
                    135.0,
                    {{15.0, 1.5234375}, {90.0, 3.046875}, {150.0, 3.046875}, {165.0, 1.5234375}},
                    ""},
        SupportCase{"ASpringRowOverSeveralStationsFirst",
                    2,
                    1,
                    false,
                    0.0,
                    135.0,
                    {{90.0, 2.0833333}, {150.0, 3.4722222}},
                    "NEEDS ITS FIRST AND LAST SUPPORT EACH ON ONE STATION"}),
    [](const ::testing::TestParamInfo<SupportCase>& i) { return std::string(i.param.name); });

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-ep-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

TEST(RunEarthPressure, WritesThePressureFileAndPublishesTheOverburden) {
    ScratchFolder folder;
    Streams s;
    SoilOutput out{s.report, s.notes, s.err, s.labels, folder.path};
    SoilProblem p = Profile(120.0, {240.0});
    p.wallLength = 200.0;
    const EarthPressureResult result = RunEarthPressure(p, out);
    EXPECT_NEAR(p.effectiveOverburden, kSand * 120.0, 1e-12);
    EXPECT_EQ(result.pointsComputed, 201);
    EXPECT_TRUE(std::filesystem::exists(folder.path / "debug.dat"));
    EXPECT_EQ(std::filesystem::file_size(folder.path / "debug.dat"), 0u);

    std::ifstream file(folder.path / "bmwall.001");
    std::ostringstream text;
    text << file.rdbuf();
    const std::vector<std::string> lines = Lines(text.str());
    ASSERT_EQ(lines.size(), 202u);  // the count (to the tip), then the points down to it
    EXPECT_EQ(lines[0], " 201");
    EXPECT_EQ(lines[1], "      0.000E+00     0.000E+00     0.000E+00     0.000E+00");
    // 120 in: Ka gamma H = 2.778 psi, all from soils.
    EXPECT_EQ(lines[121], "      0.120E+03     0.278E+01     0.278E+01     0.000E+00");
}

TEST(RunEarthPressure, AnUnwritablePressureFileEndsTheRunWithAReportLine) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path / "bmwall.001");
    Streams s;
    SoilOutput out{s.report, s.notes, s.err, s.labels, folder.path};
    SoilProblem p = Profile(120.0, {240.0});
    EXPECT_THROW(RunEarthPressure(p, out), SoilDataError);
}

}  // namespace
}  // namespace korvel::soil
