#include "views/scene_builder.h"

#include <gtest/gtest.h>

#include <cmath>

#include "entry/units.h"
#include "views/layer_blocks.h"
#include "views/node_ranges.h"
#include "views/wall_dimensions.h"
#include "views_fixture.h"

namespace korvel {
namespace {

using SceneTest = ViewsTest;

TSceneInput Input(const TProgramData& project) {
    TSceneInput in;
    in.Extents = GetMaxDims(project);
    return in;
}

TEST_F(SceneTest, UnitSizesWithoutWaAndWp) {
    Wall(70, 1.2, 60);  // 84 in = 7 ft
    const TWallDimensions d = GetWallDimensions(project);
    EXPECT_DOUBLE_EQ(d.Length, 7.0);
    EXPECT_DOUBLE_EQ(d.Width, 0.7);       // L/10
    EXPECT_DOUBLE_EQ(d.Thickness, 0.07);  // L/100
    EXPECT_DOUBLE_EQ(d.UnitY(0), -0.35);
    EXPECT_DOUBLE_EQ(d.UnitY(19), 0.7 * 9.5);
}

TEST_F(SceneTest, UnitSizesFromWaAndWpInSI) {
    project.SetUnitSystem(kSIUnits);
    project.Increments = 50;
    project.IncrementLength = 0.2;
    project.Wa = 1.0;
    project.Wp = 0.6;
    const TWallDimensions d = GetWallDimensions(project);
    EXPECT_DOUBLE_EQ(d.Length, 10.0);
    EXPECT_DOUBLE_EQ(d.Width, 1.0);
    EXPECT_NEAR(d.Thickness, 0.06, 1e-12);
}

TEST_F(SceneTest, WallIsTwentyCapsAndPanels) {
    Wall(70, 1.2, 60);
    const TSceneList list = BuildPileCap(project, Input(project));
    const auto blocks = list.All<TBlock>();
    ASSERT_EQ(blocks.size(), 40u);
    EXPECT_DOUBLE_EQ(blocks[1].Min().z, -7.0);
    EXPECT_DOUBLE_EQ(blocks[1].Max().z, 0.0);
    EXPECT_NEAR(blocks[1].Max().x - blocks[1].Min().x, 0.07, 1e-12);
    EXPECT_NEAR(blocks[1].Max().y - blocks[1].Min().y, 0.7, 1e-12);
}

TEST(LayerBlocks, ExcavationCutsALayerBelowTheTip) {
    // A 10 ft layer, 5 ft excavation, 7 ft wall.
    const auto blocks = LayerBlocks(0, 10, 5, 7);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[0].Column, TLayerColumn::kRetained);
    EXPECT_EQ(blocks[0].Top, 0);
    EXPECT_EQ(blocks[0].Bottom, 5);
    EXPECT_EQ(blocks[1].Column, TLayerColumn::kRetained);
    EXPECT_EQ(blocks[2].Column, TLayerColumn::kExcavation);
    EXPECT_EQ(blocks[2].Top, 5);
    EXPECT_EQ(blocks[2].Bottom, 7);
    EXPECT_EQ(blocks[3].Column, TLayerColumn::kFullLeft);
    EXPECT_EQ(blocks[4].Column, TLayerColumn::kFullRight);
    EXPECT_EQ(blocks[4].Top, 7);
    EXPECT_EQ(blocks[4].Bottom, 10);
}

TEST(LayerBlocks, AboveExcavationRetainedOnlyBelowTipFullWidth) {
    const auto above = LayerBlocks(0, 3, 5, 7);
    ASSERT_EQ(above.size(), 1u);
    EXPECT_EQ(above[0].Column, TLayerColumn::kRetained);
    const auto below = LayerBlocks(8, 12, 5, 7);
    ASSERT_EQ(below.size(), 2u);
    EXPECT_EQ(below[0].Column, TLayerColumn::kFullLeft);
    EXPECT_EQ(below[1].Column, TLayerColumn::kFullRight);
    const auto between = LayerBlocks(5, 6, 5, 7);
    ASSERT_EQ(between.size(), 2u);
    EXPECT_EQ(between[0].Column, TLayerColumn::kRetained);
    EXPECT_EQ(between[1].Column, TLayerColumn::kExcavation);
    EXPECT_TRUE(LayerBlocks(4, 4, 5, 7).empty());
}

TEST_F(SceneTest, SoilBlocksOfACutLayerInEnglishUnits) {
    Wall(70, 1.2, 60);  // 7 ft wall, 5 ft excavation
    tables.NewSoil->SetRowCount(1);
    tables.NewSoil->Cell(1, 0).SetAsFloat(10);  // ft
    project.GeneratePYCurves = true;
    TSceneInput in = Input(project);
    in.Show.WaterLevel = false;
    const TSceneList list = BuildSoilLayers(project, in);
    EXPECT_TRUE(list.Blend);
    const auto blocks = list.All<TBlock>();
    ASSERT_EQ(blocks.size(), 5u);
    const double a = in.Extents.A;
    EXPECT_DOUBLE_EQ(a, 12.5 * 0.7);
    // Retained column 0 to 5 ft, from -2A to -T/2.
    EXPECT_DOUBLE_EQ(blocks[0].Max().z, 0.0);
    EXPECT_DOUBLE_EQ(blocks[0].Min().z, -5.0);
    EXPECT_DOUBLE_EQ(blocks[0].Min().x, -2 * a);
    EXPECT_NEAR(blocks[0].Max().x, -0.035, 1e-12);
    // Excavation column 5 to 7 ft, from 0 to 2A - T/2.
    EXPECT_DOUBLE_EQ(blocks[2].Min().z, -7.0);
    EXPECT_DOUBLE_EQ(blocks[2].Min().x, 0.0);
    EXPECT_NEAR(blocks[2].Max().x, 2 * a - 0.035, 1e-12);
    // Full width 7 to 10 ft.
    EXPECT_DOUBLE_EQ(blocks[3].Min().x, -2 * a);
    EXPECT_DOUBLE_EQ(blocks[4].Max().x, 2 * a);
    EXPECT_DOUBLE_EQ(blocks[4].Min().z, -10.0);
    EXPECT_FLOAT_EQ(blocks[4].Face.a, 0.5f);
    EXPECT_FLOAT_EQ(blocks[4].Edge.a, 1.0f);
    EXPECT_FLOAT_EQ(blocks[4].Edge.r, 0.8f);  // layer colour 0
    // Extents: Zm is the deeper of the wall and the last layer.
    EXPECT_DOUBLE_EQ(in.Extents.Zm, 10.0);
    EXPECT_DOUBLE_EQ(in.Extents.D, 20.0);
    EXPECT_DOUBLE_EQ(in.Extents.Centre, -5.0);
}

TEST_F(SceneTest, WaterTablesArePlanesWithPyramids) {
    Wall(70, 1.2, 60);
    project.WaterDepthBackfill = 36;  // 3 ft
    project.WaterDepthExcavation = 72;
    TSceneInput in = Input(project);
    in.Show.SoilLayers = false;
    const TSceneList list = BuildSoilLayers(project, in);
    const auto planes = list.All<TBlock>();
    const auto pyramids = list.All<TPyramid>();
    ASSERT_EQ(planes.size(), 2u);
    EXPECT_EQ(pyramids.size(), 50u);
    EXPECT_DOUBLE_EQ(planes[0].Min().z, -3.0);
    EXPECT_DOUBLE_EQ(planes[0].Max().x, 0.0);
    EXPECT_DOUBLE_EQ(planes[1].Min().z, -6.0);
    EXPECT_DOUBLE_EQ(planes[1].Min().x, 0.0);
    EXPECT_DOUBLE_EQ(pyramids[0].Side, 0.4);  // 4 increments of 1.2 in
    EXPECT_DOUBLE_EQ(pyramids[0].Apex.z, -3.0);
}

TEST(NodeRanges, InterpolatedRowRunsToTheNextRowsEnd) {
    const auto ranges = NodeRanges({{kInterpolateToNextLine, 2, 5}, {1, 8, 12}, {1, 14, 13}});
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0].Row, 0);
    EXPECT_EQ(ranges[0].First, 2);
    EXPECT_EQ(ranges[0].Last, 12);
    EXPECT_EQ(ranges[1].Row, 2);
    EXPECT_EQ(ranges[1].First, 14);
    EXPECT_EQ(ranges[1].Last, 14);  // to-node smaller: the from-node only
    // Interpolating on the last row keeps its own range.
    const auto last = NodeRanges({{kInterpolateToNextLine, 3, 4}});
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].Last, 4);
}

TEST_F(SceneTest, InterpolatedLoadRowDrawsItsLoadsUpToTheNextRowsEnd) {
    Wall(20, 6, 60);
    project.ApplyConcentratedLoads = true;
    Row(*tables.BoundCond, 0, {kInterpolateToNextLine, 2, 5, 1000, 0, 0});
    Row(*tables.BoundCond, 1, {1, 8, 12, 0, 0, 500});
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    const auto arrows = BuildPileCap(project, in).All<TArrow>();
    ASSERT_EQ(arrows.size(), 11u * kWallUnits);  // nodes 2..12, lateral only
    for (const TArrow& a : arrows) {
        EXPECT_DOUBLE_EQ(a.Direction.x, 1.0);  // the first row's lateral load
        EXPECT_DOUBLE_EQ(a.Tip().x, 0.0);
    }
    EXPECT_DOUBLE_EQ(arrows.front().Tip().z, -1.0);  // node 2 of 0.5 ft increments
    EXPECT_DOUBLE_EQ(arrows.back().Tip().z, -6.0);   // node 12
}

TEST_F(SceneTest, AxialLoadPointsDownAndMomentIsAnArc) {
    Wall(20, 6, 60);
    project.ApplyConcentratedLoads = true;
    Row(*tables.BoundCond, 0, {1, 0, 0, 0, -200, 300});
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    const TSceneList list = BuildPileCap(project, in);
    const auto arrows = list.All<TArrow>();
    const auto arcs = list.All<TArc>();
    ASSERT_EQ(arrows.size(), 20u);
    ASSERT_EQ(arcs.size(), 20u);
    EXPECT_DOUBLE_EQ(arrows[0].Direction.z, -1.0);
    EXPECT_FALSE(arcs[0].Positive);
    const double w = GetWallDimensions(project).Width;
    EXPECT_DOUBLE_EQ(arcs[0].Size, 4 * w);
    EXPECT_DOUBLE_EQ(arrows[0].Size, 4 * w / 3);
}

TEST_F(SceneTest, OptionsOffDrawNothingWhateverTheShowFlags) {
    Wall(20, 6, 60);
    Row(*tables.SoilStrength, 0, {1, 2, 4, 100, 0});
    Row(*tables.BoundCond, 0, {1, 2, 4, 100, 0, 0});
    Row(*tables.Soillayer, 0, {1, 3, 0.5, 0});
    Row(*tables.TiebackTable1, 0, {2, 1, 29e6, 10, 15, 5});
    Row(*tables.SurchargeTable, 0, {1, 1000, 60, 0});
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    EXPECT_TRUE(BuildPileCap(project, in).Items.empty());
    project.ApplySprings = true;
    EXPECT_EQ(BuildPileCap(project, in).All<TBlock>().size(), 3u * kWallUnits);
    in.Show.LateralSprings = false;
    EXPECT_TRUE(BuildPileCap(project, in).Items.empty());
}

TEST_F(SceneTest, SpringNodesBeyondTheWallAreIgnored) {
    Wall(20, 6, 60);
    project.ApplySprings = true;
    Row(*tables.SoilStrength, 0, {1, 18, 2000000000, 100, 0});
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    EXPECT_EQ(BuildPileCap(project, in).All<TBlock>().size(), 3u * kWallUnits);  // nodes 18..20
}

TEST(Tiebacks, AnchorsPerSideRoundHalfToEven) {
    EXPECT_EQ(TiebackAnchorsPerSide(10.0, 2.5), 40);
    EXPECT_EQ(TiebackAnchorsPerSide(1.0, 4.0), 2);                // 2.5 -> 2
    EXPECT_EQ(TiebackAnchorsPerSide(1.0, 2.857142857142857), 4);  // 3.5 -> 4
    EXPECT_EQ(TiebackAnchorsPerSide(0.0, 2.5), 0);
    EXPECT_EQ(TiebackAnchorsPerSide(1.0, 0.0), -1);  // one anchor at the centre
    EXPECT_EQ(TiebackAnchorsPerSide(1.0, 1e-9), kMaxAnchorsPerSide);
}

TEST_F(SceneTest, TiebackRowsOfTheTiedBackExample) {
    project.SetUnitSystem(kSIUnits);
    project.Increments = 50;
    project.IncrementLength = 0.2;
    project.Wa = 1.0;
    project.ApplyTiebacks = true;
    Row(*tables.TiebackTable1, 0, {1.6, 0.0004, 2e8, 6, 15, 2.5});
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    const auto blocks = BuildPileCap(project, in).All<TBlock>();
    ASSERT_EQ(blocks.size(), 2u * 4 * 2);  // 4 anchors a side, bar and anchor block each
    // The bar runs into the retained side and down at 15 degrees.
    const TBlock& bar = blocks[0];
    EXPECT_NEAR(bar.Min().x, -6 * std::cos(15 * M_PI / 180) - 0.01 * std::sin(15 * M_PI / 180),
                1e-9);
    EXPECT_NEAR(bar.Max().y - bar.Min().y, 0.02, 1e-12);  // side sqrt(0.0004)
    EXPECT_LT(bar.Min().z, -1.6 - 6 * std::sin(15 * M_PI / 180) + 0.02);
    EXPECT_NEAR((bar.Min().y + bar.Max().y) / 2, -1.25, 1e-12);
    const TBlock& anchor = blocks[1];
    EXPECT_NEAR(anchor.Max().y - anchor.Min().y, 0.08, 1e-12);
}

TEST_F(SceneTest, TiebackWithZeroSpacingIsOneAnchorAtTheCentre) {
    project.SetUnitSystem(kSIUnits);
    project.Increments = 50;
    project.IncrementLength = 0.2;
    project.Wa = 1.0;
    project.ApplyTiebacks = true;
    Row(*tables.TiebackTable1, 0, {1.6, 0.0004, 2e8, 6, 15, 0});
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    const auto blocks = BuildPileCap(project, in).All<TBlock>();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_NEAR((blocks[0].Min().y + blocks[0].Max().y) / 2, 0.0, 1e-12);
}

TEST_F(SceneTest, SurchargesEndAtTheGround) {
    Wall(20, 6, 60);
    project.ApplySurcharges = true;
    Row(*tables.SurchargeTable, 0, {1, 1000, 60, 0});  // point load 5 ft behind the wall
    Row(*tables.SurchargeTable, 1, {2, 100, 120, 0});  // line load
    Row(*tables.SurchargeTable, 2, {3, 10, 120, 48});  // strip 4 ft wide
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    const TSceneList list = BuildPileCap(project, in);
    const auto arrows = list.All<TArrow>();
    ASSERT_EQ(arrows.size(), 20u + 21u + 3u * 21u);
    EXPECT_DOUBLE_EQ(arrows[0].Tip().x, -5.0);
    EXPECT_DOUBLE_EQ(arrows[0].Tip().z, 0.0);
    EXPECT_DOUBLE_EQ(arrows[0].Direction.z, -1.0);
    EXPECT_EQ(list.All<TLine>().size(), 2u);
    const auto boxes = list.All<TBlock>();
    ASSERT_EQ(boxes.size(), 20u);
    EXPECT_DOUBLE_EQ(boxes[0].Max().x - boxes[0].Min().x, 2.0);  // e = half the width
    EXPECT_FLOAT_EQ(boxes[0].Face.a, 0.25f);
}

TEST_F(SceneTest, RestraintsAreDisplacementArrowsAndArcs) {
    Wall(20, 6, 60);
    project.ApplyRestraints = true;
    Row(*tables.Soillayer, 0, {1, 4, -0.5, 0});
    Row(*tables.Soillayer, 1, {2, 0, 0, 0.01});
    Row(*tables.Soillayer, 2, {1, 6, 0, 0});  // zero: nothing
    TSceneInput in = Input(project);
    in.Show.Wall = false;
    const TSceneList list = BuildPileCap(project, in);
    const auto arrows = list.All<TArrow>();
    ASSERT_EQ(arrows.size(), 20u);
    EXPECT_DOUBLE_EQ(arrows[0].Tail.x, 0.0);  // tail on the node
    EXPECT_DOUBLE_EQ(arrows[0].Tail.z, -2.0);
    EXPECT_DOUBLE_EQ(arrows[0].Direction.x, -1.0);
    EXPECT_EQ(list.All<TArc>().size(), 20u);
}

TEST_F(SceneTest, DeformedWallFollowsTheDeflections) {
    Wall(4, 12, 24);
    TSceneInput in = Input(project);
    in.Deformed.DeformedShape = true;
    in.Deformed.UndeformedModel = true;
    in.Deformed.Factor = 2.0;
    in.Deflection = {0.5, 0.25};  // nodes 2..4 missing: undeflected
    const auto blocks = BuildPileCap(project, in).All<TBlock>();
    ASSERT_EQ(blocks.size(), 20u * (4 + 1));
    EXPECT_NEAR((blocks[0].Corners[4].x + blocks[0].Corners[5].x) / 2, 1.0, 1e-12);
    EXPECT_NEAR((blocks[3].Corners[0].x + blocks[3].Corners[1].x) / 2, 0.0, 1e-12);
    EXPECT_FALSE(blocks[4].Faces);  // the undeformed outline
    EXPECT_FLOAT_EQ(blocks[4].Edge.r, 0.75f);
    // Without the deformed shape the undeformed flag changes nothing.
    in.Deformed.DeformedShape = false;
    EXPECT_EQ(BuildPileCap(project, in).All<TBlock>().size(), 40u);
}

}  // namespace
}  // namespace korvel
