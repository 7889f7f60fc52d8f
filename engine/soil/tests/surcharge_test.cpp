// Surcharge pressures against hand calculations (H = 120, z = 60, so n = 0.5).
#include "soil/surcharge.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvel::soil {
namespace {

constexpr double kH = 120.0;

AdditionalSurcharge Load(int type, double magnitude, double distance, double width = 0.0) {
    return {type, magnitude, distance, width};
}

struct FormulaCase {
    const char* name;
    AdditionalSurcharge load;
    double z;
    double grid;   // SurchargePressure, by hand
    double layer;  // SurchargeLayerPressure, by hand
};

class SurchargeFormula : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(SurchargeFormula, MatchesHandValue) {
    const FormulaCase& c = GetParam();
    EXPECT_NEAR(SurchargePressure(c.load, c.z, kH), c.grid, 1e-9 * (1 + c.grid)) << c.name;
    EXPECT_NEAR(SurchargeLayerPressure(c.load, c.z, kH), c.layer, 1e-9 * (1 + c.layer)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SurchargeFormula,
    ::testing::Values(
        // 0.28*1000*0.25/(120^2*(0.16+0.25)^3)
        FormulaCase{"point, m 0.2", Load(1, 1000, 24), 60, 0.0705316392842691, 0.0705316392842691},
        // m exactly 0.4 keeps the near-wall formula (the far one would give 0.0713377).
        FormulaCase{"point, m 0.4", Load(1, 1000, 48), 60, 0.0705316392842691, 0.0705316392842691},
        FormulaCase{"point at the wall", Load(1, 1000, 0), 60, 0.0705316392842691,
                    0.0705316392842691},
        // 1.77*1000*0.64*0.25/(120^2*(0.64+0.25)^3)
        FormulaCase{"point, m 0.8", Load(1, 1000, 96), 60, 0.027897207773202315,
                    0.027897207773202315},
        FormulaCase{"unknown type acts as a point", Load(7, 1000, 96), 60, 0.027897207773202315,
                    0.027897207773202315},
        // 0.203*100*0.5/(120*(0.16+0.25)^2)
        FormulaCase{"line, m 0.4", Load(2, 100, 48), 60, 0.5031727146539757, 0.5031727146539757},
        // 4*100*0.64*0.5/(3.1416f*120*0.89^2); the layer force uses 1.273 for 4/pi
        FormulaCase{"line, m 0.8", Load(2, 100, 96), 60, 0.42864507359794307, 0.42856541682447497},
        // a = 0, b = 2 atan(48/48) = pi/2: 2*3*(pi/2 - 1)/3.1416f
        FormulaCase{"strip on the wall face", Load(3, 3, 0, 48), 24, 1.090138170611422,
                    0.6366 * 3 * (1.5707963267948966 - 1.0)},
        // a = atan 2 (cos 2a = -0.6), b = atan 2.4 - atan 1.6
        FormulaCase{"strip at 120", Load(3, 3, 120, 48), 60, 0.4997214718534465,
                    0.4997071029238675}));

TEST(SurchargePressureAt, TakesThePressureOfTheDeepestSliceAboveTheDepth) {
    // Wall 200 long: slices 1 apart.
    const AdditionalSurcharge point = Load(1, 1000, 24);
    const SurchargeField field({point}, kH, 200.0);
    EXPECT_EQ(field.PressureAt(0.5), 0.0);
    EXPECT_EQ(field.PressureAt(1.0), 0.0);  // at the first slice: nothing above it
    EXPECT_DOUBLE_EQ(field.PressureAt(1.0001), SurchargePressure(point, 1.0, kH));
    EXPECT_DOUBLE_EQ(field.PressureAt(60.5), 0.0705316392842691);
    EXPECT_DOUBLE_EQ(field.PressureAt(61.0), 0.0705316392842691);  // 61 itself is not above 61
    EXPECT_DOUBLE_EQ(field.PressureAt(900.0), SurchargePressure(point, 200.0, kH));
}

TEST(SurchargePressureAt, AddsTheSurchargesOfDifferentTypes) {
    const SurchargeField field({Load(1, 1000, 96), Load(2, 100, 48)}, kH, 200.0);
    EXPECT_NEAR(field.PressureAt(60.5), 0.027897207773202315 + 0.5031727146539757, 1e-12);
}

TEST(SurchargePressureAt, IsZeroWithoutSurchargesOrWithoutFreeHeight) {
    EXPECT_EQ(SurchargeField({}, kH, 200.0).PressureAt(50.0), 0.0);
    EXPECT_FALSE(SurchargeField({}, 0.0, 200.0).Ignored());
    const SurchargeField noHeight({Load(1, 1000, 24)}, 0.0, 200.0);
    EXPECT_TRUE(noHeight.Ignored());
    EXPECT_EQ(noHeight.PressureAt(50.0), 0.0);
    EXPECT_EQ(noHeight.LayerForce(0.0, 100.0), 0.0);
    EXPECT_EQ(SurchargeField({Load(1, 1000, 24)}, -5.0, 200.0).PressureAt(50.0), 0.0);
}

TEST(SurchargePressureAt, ReadsTheSectionsSurchargeList) {
    SoilProblem p;
    p.geometry.freeHeight = kH;
    p.wallLength = 200.0;
    p.surcharges = {Load(1, 1000, 24)};
    EXPECT_DOUBLE_EQ(SurchargePressureAt(p, 60.5), 0.0705316392842691);
}

TEST(SurchargeLayerForce, SumsTenSlicesAtTheirBottoms) {
    // Point load X = 24, layer 0 to 120: sum of 12 * p(12k), k = 1..10, by hand.
    const SurchargeField field({Load(1, 1000, 24)}, kH, 200.0);
    EXPECT_NEAR(field.LayerForce(0.0, 120.0), 6.633268040416877, 1e-12);
}

TEST(SurchargeEcho, WritesOneBlockPerKnownType) {
    text::UnitLabels u;
    u.SetUnitLabels(1);
    std::ostringstream r;
    WriteSurchargeEcho(r, u,
                       {Load(1, 5000, 60), Load(9, 1, 1), Load(2, 200, 36), Load(3, 3, 120, 48)});
    EXPECT_EQ(r.str(),
              "\n"
              "      SURCHARGE LOADING NO.        =          1\n"
              "      POINT LOAD                   =  0.500E+04 LBS\n"
              "      HORIZONTAL DISTANCE BETWEEN  =  0.600E+02 IN\n"
              "      THE WALL AND SURCHARGE         \n"
              "\n"
              "\n"
              "      SURCHARGE LOADING NO.        =          3\n"
              "      LINE LOAD                    =  0.200E+03 LBS/IN\n"
              "      HORIZONTAL DISTANCE BETWEEN  =  0.360E+02 IN\n"
              "      THE WALL AND SURCHARGE         \n"
              "\n"
              "\n"
              "      SURCHARGE LOADING NO.        =          4\n"
              "      STRIP LOAD                   =  0.300E+01 LBS/IN**2\n"
              "      WIDTH OF THE STRIP LOAD      =  0.480E+02 IN\n"
              "      HORIZONTAL DISTANCE BETWEEN  =  0.120E+03 IN\n"
              "      THE WALL AND SURCHARGE         \n"
              "\n");
}

}  // namespace
}  // namespace korvel::soil
