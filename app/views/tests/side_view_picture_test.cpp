#include "views/side_view_picture.h"

#include <gtest/gtest.h>

#include <cmath>

#include "views_fixture.h"

namespace korvel {
namespace {

using SideViewTest = ViewsTest;

std::vector<TSideLine> Lines(const std::vector<TSideItem>& items) {
    std::vector<TSideLine> out;
    for (const TSideItem& i : items) {
        if (auto* l = std::get_if<TSideLine>(&i)) out.push_back(*l);
    }
    return out;
}

std::vector<TSideText> Texts(const std::vector<TSideItem>& items) {
    std::vector<TSideText> out;
    for (const TSideItem& i : items) {
        if (auto* t = std::get_if<TSideText>(&i)) out.push_back(*t);
    }
    return out;
}

// Short strokes of the level ground.
int Strokes(const std::vector<TSideLine>& lines) {
    int n = 0;
    for (const TSideLine& l : lines) n += l.To.x() - l.From.x() == 15 && l.To.y() - l.From.y() == 5;
    return n;
}

TEST_F(SideViewTest, WithoutStiffnessRowsTheInitialBoxStays) {
    tables.PileSect->SetRowCount(0);
    const TWorldBox box = SideWorldBox(SideViewData(project));
    EXPECT_EQ(box.XMin, -10);
    EXPECT_EQ(box.XMax, 10);
    EXPECT_EQ(box.YMin, 0);
    EXPECT_EQ(box.YMax, 10);
    EXPECT_TRUE(box.Valid());
}

TEST_F(SideViewTest, WorldBoxAndFit) {
    Wall(100, 2.4, 120);  // L = 240 in, m = 24 in, t = 3 in
    const TSideViewData d = SideViewData(project);
    const TWorldBox box = SideWorldBox(d);
    EXPECT_DOUBLE_EQ(box.XMin, -3.15);
    EXPECT_DOUBLE_EQ(box.XMax, 3.15);
    EXPECT_DOUBLE_EQ(box.YMin, 0);
    EXPECT_DOUBLE_EQ(box.YMax, 264 * 1.05);
    // A wide window widens X.
    const TWorldBox view = FitViewBox(box, 600, 400);
    EXPECT_NEAR((view.XMax - view.XMin) / (view.YMax - view.YMin), 1.5, 1e-12);
    EXPECT_DOUBLE_EQ(view.YMax, box.YMax);
    // A tall window stretches Y instead.
    const TWorldBox tall = FitViewBox({-1, 1, 0, 1}, 100, 400);
    EXPECT_DOUBLE_EQ(tall.YMax, 8.0);
    EXPECT_FALSE(TWorldBox({0, 0, 0, 1}).Valid());
}

// Values that went through a unit conversion carry tiny errors; the side view
// shows them as the grid cells do, to the program's 8 significant digits.
TEST_F(SideViewTest, LayerPropertiesUseTheProgramsNumberFormat) {
    Wall(100, 2.4, 120);
    tables.NewSoil->SetRowCount(1);
    tables.NewSoil->Cell(1, 0).SetAsFloat(20);
    tables.NewSoil->Cell(0, 0).SetAsInteger(5);  // silt: phi, c and gamma
    TGridTable* silt = tables.NewSoil->Cell(2, 0).AsTable();
    ASSERT_NE(silt, nullptr);
    for (int row : {0, 1}) {  // the same at the layer's top and bottom
        silt->Cell(0, row).SetAsFloat(115.000000128L);
        silt->Cell(1, row).SetAsFloat(31.999999996L);
        silt->Cell(2, row).SetAsFloat(0.00012345678912L);
    }
    const TSideViewData d = SideViewData(project);
    ASSERT_EQ(d.Layers.size(), 1u);
    EXPECT_EQ(d.Layers[0].Properties, QString(QChar(0xF8)) + "= 32; c= 0.00012345679; gamma= 115");
}

TEST_F(SideViewTest, TenFootLayerLiesTenFeetBelowTheTop) {
    Wall(100, 2.4, 120);
    tables.NewSoil->SetRowCount(2);
    tables.NewSoil->Cell(1, 0).SetAsFloat(10);  // above the excavation (10 ft = 120 in = H)
    tables.NewSoil->Cell(1, 1).SetAsFloat(8);   // bottom above H: left half only
    tables.NewSoil->Cell(0, 1).SetAsInteger(4);
    TGridTable* sand = tables.NewSoil->Cell(2, 1).AsTable();
    ASSERT_NE(sand, nullptr);
    for (int row : {0, 1}) {
        sand->Cell(0, row).SetAsFloat(120);
        sand->Cell(1, row).SetAsFloat(32);
    }
    const TSideViewData d = SideViewData(project);
    ASSERT_EQ(d.Layers.size(), 2u);
    EXPECT_DOUBLE_EQ(d.Layers[0].Bottom, 120.0);
    EXPECT_EQ(d.Layers[0].Name, "Soft clay");
    EXPECT_EQ(d.Layers[1].Name, "Sand");
    EXPECT_EQ(d.Layers[1].Properties, QString(QChar(0xF8)) + "= 32; gamma= 120");

    const TSideMapping map = WindowMapping(FitViewBox(SideWorldBox(d), 600, 400), 600, 400);
    const auto items = SideViewPicture(d, map, 12);
    const auto lines = Lines(items);
    // Layer 1's bottom at the excavation level (m + H) spans the window.
    const double y120 = map.Y(24 + 120);
    bool full = false;
    bool half = false;
    for (const TSideLine& l : lines) {
        if (l.From.y() == y120 && l.To.y() == y120 && l.From.x() == 0 && l.To.x() == 600)
            full = true;
        if (l.From.y() == map.Y(24 + 96) && l.From.x() == 0 && l.To.x() == 300) half = true;
    }
    EXPECT_TRUE(full);
    EXPECT_TRUE(half);
    const auto texts = Texts(items);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0].At.y(), map.Y(24));
    EXPECT_EQ(texts[1].At.y(), map.Y(24) + 12);
    EXPECT_EQ(texts[2].At.y(), map.Y(24 + 120));
}

TEST_F(SideViewTest, LevelGroundHasFiveStrokesASlopeHasNone) {
    Wall(100, 2.4, 120);
    const TSideMapping map =
        WindowMapping(FitViewBox(SideWorldBox(SideViewData(project)), 600, 400), 600, 400);
    EXPECT_EQ(Strokes(Lines(SideViewPicture(SideViewData(project), map, 12))), 5);
    project.BackfillSlope = 20;
    EXPECT_EQ(Strokes(Lines(SideViewPicture(SideViewData(project), map, 12))), 0);
}

TEST_F(SideViewTest, MarksOfRestraintsPYCurvesAndSprings) {
    Wall(100, 2.4, 120);
    project.ApplyRestraints = true;
    Row(*tables.Soillayer, 0, {1, 10, 0, 0});
    project.ApplySprings = true;
    Row(*tables.SoilStrength, 0, {1, 5, 5, 100, 0});    // above the excavation: drawn
    Row(*tables.SoilStrength, 1, {1, 90, 90, 100, 0});  // below: not drawn
    const TSideViewData d = SideViewData(project);
    const TSideMapping map = WindowMapping(FitViewBox(SideWorldBox(d), 600, 400), 600, 400);
    const auto lines = Lines(SideViewPicture(d, map, 12));
    int restraint = 0;
    int springs = 0;
    int py = 0;
    for (const TSideLine& l : lines) {
        if (l.Pen == 2 && l.From.x() == 300 && l.To.x() == 0.52 * 600) ++restraint;
        if (l.Pen == 5) ++springs;
        if (l.Pen == 2 && l.To.x() == 0.45 * 600) ++py;
    }
    EXPECT_EQ(restraint, 3);
    EXPECT_EQ(springs, 1);
    EXPECT_EQ(py, 0);
    project.Results.EarthPressureRowCount = 2;  // the last reading brought pressure rows
    tables.PYCurves2->SetRowCount(1);
    Row(*tables.PYCurves2, 0, {40});
    for (const TSideLine& l : Lines(SideViewPicture(SideViewData(project), map, 12)))
        py += l.To.x() == 0.45 * 600;
    EXPECT_EQ(py, 1);
}

// The retained side's water table left of the wall, the excavation side's right
// of it, each at its depth below the wall's top (m = 24 in above it).
TEST_F(SideViewTest, BothWaterTablesAreDrawnAtTheirDepths) {
    Wall(100, 2.4, 120);
    project.GeneratePYCurves = true;  // the soil profile is in use
    tables.NewSoil->SetRowCount(1);
    tables.NewSoil->Cell(1, 0).SetAsFloat(30);
    project.WaterDepthBackfill = 60;     // 5 ft
    project.WaterDepthExcavation = 180;  // 15 ft
    const TSideViewData d = SideViewData(project);
    const TSideMapping map = WindowMapping(FitViewBox(SideWorldBox(d), 600, 400), 600, 400);
    std::vector<TSideLine> water;
    for (const TSideLine& l : Lines(SideViewPicture(d, map, 12)))
        if (l.Ink == TSideInk::kWater && l.Pen == 2) water.push_back(l);
    ASSERT_EQ(water.size(), 2u);
    EXPECT_EQ(water[0].From.y(), map.Y(24 + 60));
    EXPECT_LE(water[0].To.x(), 300);  // retained side
    EXPECT_EQ(water[1].From.y(), map.Y(24 + 180));
    EXPECT_GE(water[1].From.x(), 300);  // excavation side
    // A water table below the drawing is left out.
    project.WaterDepthExcavation = 1e6;
    water.clear();
    for (const TSideLine& l : Lines(SideViewPicture(SideViewData(project), map, 12)))
        if (l.Ink == TSideInk::kWater && l.Pen == 2) water.push_back(l);
    EXPECT_EQ(water.size(), 1u);
    // Without a soil profile in use there is no water table to draw.
    project.GeneratePYCurves = false;
    project.EarthPressureType = 1;
    water.clear();
    for (const TSideLine& l : Lines(SideViewPicture(SideViewData(project), map, 12)))
        if (l.Ink == TSideInk::kWater) water.push_back(l);
    EXPECT_TRUE(water.empty());
}

// A tieback leaves the wall at its depth into the retained side, falling at its
// angle; its unbonded length follows the depth scale. Not drawn when not applied.
TEST_F(SideViewTest, TiebacksGoIntoTheRetainedSideAtTheirAngle) {
    Wall(100, 2.4, 120);
    Row(*tables.TiebackTable1, 0, {5, 1, 29000000, 10, 30, 8});  // 5 ft deep, 10 ft, 30 deg
    EXPECT_TRUE(SideViewData(project).Tiebacks.empty());
    project.ApplyTiebacks = true;
    const TSideViewData d = SideViewData(project);
    ASSERT_EQ(d.Tiebacks.size(), 1u);
    EXPECT_DOUBLE_EQ(d.Tiebacks[0].Depth, 60);
    const TSideMapping map = WindowMapping(FitViewBox(SideWorldBox(d), 600, 400), 600, 400);
    const double per_inch = 400 / (map.Box.YMax - map.Box.YMin);
    std::vector<TSideLine> tie;
    for (const TSideLine& l : Lines(SideViewPicture(d, map, 12)))
        if (l.Ink == TSideInk::kTieback) tie.push_back(l);
    ASSERT_EQ(tie.size(), 2u);  // unbonded length and anchor
    EXPECT_EQ(tie[0].From, QPointF(300, map.Y(24 + 60)));
    const double dx = tie[0].From.x() - tie[0].To.x();
    const double dy = tie[0].To.y() - tie[0].From.y();
    EXPECT_GT(dx, 0);  // into the retained (left) side
    EXPECT_NEAR(dy / dx, std::tan(30 * std::acos(-1.0) / 180), 1e-9);
    EXPECT_NEAR(std::hypot(dx, dy), 120 * per_inch, 1e-9);
    EXPECT_EQ(tie[1].From, tie[0].To);
}

// Clay whose strength grows with depth shows both values; the depth scale reads
// feet from the wall's top down to the bottom of the drawing.
TEST_F(SideViewTest, ClayShowsTopAndBottomValuesAndADepthScale) {
    Wall(100, 2.4, 120);
    tables.NewSoil->SetRowCount(1);
    tables.NewSoil->Cell(1, 0).SetAsFloat(20);
    tables.NewSoil->Cell(0, 0).SetAsInteger(1);
    TGridTable* clay = tables.NewSoil->Cell(2, 0).AsTable();
    ASSERT_NE(clay, nullptr);
    clay->Cell(0, 0).SetAsFloat(110);
    clay->Cell(0, 1).SetAsFloat(110);
    clay->Cell(1, 0).SetAsFloat(500);
    clay->Cell(1, 1).SetAsFloat(900);
    const TSideViewData d = SideViewData(project);
    EXPECT_EQ(d.Layers[0].Properties, "c= 500 to 900; gamma= 110");
    const TSideMapping map = WindowMapping(FitViewBox(SideWorldBox(d), 600, 400), 600, 400);
    QStringList scale;
    std::vector<double> rows;
    for (const TSideText& t : Texts(SideViewPicture(d, map, 12))) {
        if (!t.AlignRight) continue;
        scale << t.Text;
        rows.push_back(t.At.y() + 6);
    }
    // 240 in of wall below 24 in of margin, the box 5 % deeper: 0 to 21.1 ft, step 5 ft.
    EXPECT_EQ(scale, QStringList({"0 ft", "5 ft", "10 ft", "15 ft", "20 ft"}));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], map.Y(24));
    EXPECT_EQ(rows[2], map.Y(24 + 120));
}

TEST_F(SideViewTest, PrintedPageUsesTheMiddleBand) {
    const TSideMapping page = PageMapping({-1, 1, 0, 10}, 1000, 800, 5);
    EXPECT_EQ(page.Y(0), 80);
    EXPECT_EQ(page.Y(10), 720);
    EXPECT_EQ(page.X(0), 500);
    EXPECT_DOUBLE_EQ(page.WorldY(400), 5.0);
}

}  // namespace
}  // namespace korvel
