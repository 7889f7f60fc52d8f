#include <gtest/gtest.h>

#include <QSignalSpy>

#include "project_fixture.h"

namespace korvel {
namespace {

using ProgramDataTest = ProjectTest;

TEST_F(ProgramDataTest, ANewProjectHasTheDefaults) {
    project.Title = "Changed";
    project.MaxDeflection = 3.0L;
    project.ApplyTiebacks = true;
    project.SetUnitSystem(kSIUnits);
    tables.PileSect->SetRowCount(5);
    tables.NewSoil->Cell(0, 0).SetAsInteger(4);
    project.Results.Sets[3].Deflection[301] = 2.5L;
    project.Results.EarthPressureRowCount = 7;
    QSignalSpy reset(&project, &TProgramData::aboutToReset);

    project.CreateNew();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(project.FileName, "NewWall.kv5d");
    EXPECT_EQ(project.Title, "New Wall");
    EXPECT_EQ(project.UnitSystem(), kEnglishUnits);
    EXPECT_EQ(project.MaxDeflection, 100.0L);
    EXPECT_EQ(project.ClosureTolerance, 1e-5L);
    EXPECT_EQ(project.ActivePressureFactor, 1.0L);
    EXPECT_EQ(project.WaterFlag, 1);
    EXPECT_EQ(project.StageCount, 1);
    EXPECT_EQ(project.CurrentStage, 1);
    EXPECT_EQ(project.LongTermMarker, 0);
    EXPECT_EQ(project.EarthPressureType, 0);
    EXPECT_FALSE(project.ApplyTiebacks);
    EXPECT_TRUE(project.GeneratePYCurves);
    EXPECT_TRUE(project.EIRecordsPresent);
    EXPECT_TRUE(project.TiebackRecordsPresent);
    EXPECT_EQ(project.Results.Sets[3].Deflection[301], 0.0L);
    EXPECT_EQ(project.Results.EarthPressureRowCount, 0);
    for (TGridTable* table : tables.DataTables()) {
        EXPECT_EQ(table->RowCount(), table->MinRows()) << table->objectName().toStdString();
        EXPECT_EQ(table->UnitSystem(), kEnglishUnits) << table->objectName().toStdString();
    }
    EXPECT_EQ(tables.NewSoil->Cell(0, 0).AsInteger(), 1);
    EXPECT_FALSE(project.Modified());
}

TEST_F(ProgramDataTest, ResultArraysHoldEverySetAndRowOfAPlotFile) {
    EXPECT_EQ(project.Results.Sets.size(), 11u);
    EXPECT_EQ(project.Results.Sets[10].NodeDepth.size(),
              302u);  // 300 increments: stations 0 to 301
}

TEST_F(ProgramDataTest, TheModifiedStateCoversEveryTableAndSubTable) {
    for (TGridTable* table : tables.DataTables()) {
        table->SetModified(true);
        EXPECT_TRUE(project.Modified()) << table->objectName().toStdString();
        project.SetModified(false);
        EXPECT_FALSE(table->Modified());
    }
    tables.NewSoil->Cell(2, 0).AsTable()->SetModified(true);
    EXPECT_TRUE(project.Modified());
    tables.PYCurves2->Cell(1, 1).AsTable()->SetModified(true);
    project.SetModified(false);
    EXPECT_FALSE(project.Modified());
    project.SetModified(true);
    EXPECT_TRUE(project.Modified());
}

TEST_F(ProgramDataTest, HeldValuesConvertWithTheFixedFactors) {
    project.FreeHeight = 120.0L;      // in
    project.MaxDeflection = 100.0L;   // in
    project.UniformSurcharge = 1.0L;  // lbs/in^2
    project.PointLoad = 1000.0L;      // lbs
    project.LineLoad = 10.0L;         // lbs/in
    project.StripLoad = 2.0L;         // lbs/in^2
    project.ActivePressureFactor = 0.8L;
    project.BackfillSlope = 20.0L;
    QSignalSpy changed(&project, &TProgramData::unitSystemChanged);
    project.SetUnitSystem(kSIUnits);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_NEAR(static_cast<double>(project.FreeHeight), 3.048, 1e-12);
    EXPECT_NEAR(static_cast<double>(project.MaxDeflection), 2.54, 1e-12);
    EXPECT_NEAR(static_cast<double>(project.UniformSurcharge),
                0.004448222468060650624 / (0.0254 * 0.0254), 1e-9);
    EXPECT_NEAR(static_cast<double>(project.PointLoad), 4.448222468060650624, 1e-12);
    EXPECT_NEAR(static_cast<double>(project.LineLoad), 10 * 0.004448222468060650624 / 0.0254,
                1e-12);
    EXPECT_EQ(project.ActivePressureFactor, 0.8L);
    EXPECT_EQ(project.BackfillSlope, 20.0L);
    project.SetUnitSystem(kEnglishUnits);
    // 39.3701 and 224.8089 are not the exact inverses: the round trip drifts a little.
    EXPECT_NEAR(static_cast<double>(project.FreeHeight), 120.0 * 0.0254 * 39.3701, 1e-12);
    EXPECT_NE(project.FreeHeight, 120.0L);
    EXPECT_FALSE(project.Modified());
}

TEST_F(ProgramDataTest, TablesSwitchWithTheirTokenFactors) {
    tables.NewSoil->Cell(1, 0).SetAsFloat(10.0L);                         // ft
    tables.NewSoil->Cell(2, 0).AsTable()->Cell(0, 0).SetAsFloat(120.0L);  // pcf
    tables.PYCurves2->Cell(1, 0).AsTable()->Cell(0, 0).SetAsFloat(1.0L);  // in
    project.SetUnitSystem(kSIUnits);
    EXPECT_NEAR(static_cast<double>(tables.NewSoil->Cell(1, 0).AsFloat()), 3.048, 1e-9);
    EXPECT_NEAR(static_cast<double>(tables.NewSoil->Cell(2, 0).AsTable()->Cell(0, 0).AsFloat()),
                18.85, 0.005);
    EXPECT_NEAR(static_cast<double>(tables.PYCurves2->Cell(1, 0).AsTable()->Cell(0, 0).AsFloat()),
                0.0254, 1e-12);
    project.SetUnitSystem(kEnglishUnits);
    EXPECT_NEAR(static_cast<double>(tables.NewSoil->Cell(1, 0).AsFloat()), 10.0, 1e-12);
}

TEST_F(ProgramDataTest, SurchargeMagnitudesConvertByLoadType) {
    project.ApplySurcharges = true;
    TGridTable& s = *tables.SurchargeTable;
    s.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        s.Cell(0, row).SetAsInteger(row + 1);
        s.Cell(1, row).SetAsFloat(100.0L);
        s.Cell(2, row).SetAsFloat(12.0L);  // in
    }
    project.SetUnitSystem(kSIUnits);
    const double c = 0.004448222468060650624;
    const double b = 0.0254;
    EXPECT_NEAR(static_cast<double>(s.Cell(1, 0).AsFloat()), 100 * c, 1e-12);
    EXPECT_NEAR(static_cast<double>(s.Cell(1, 1).AsFloat()), 100 * c / b, 1e-10);
    EXPECT_NEAR(static_cast<double>(s.Cell(1, 2).AsFloat()), 100 * c / (b * b), 1e-8);
    EXPECT_NEAR(static_cast<double>(s.Cell(2, 0).AsFloat()), 304.8, 1e-6);  // mm
}

TEST_F(ProgramDataTest, OtherUnitsConvertNothingAndSystemsAreClamped) {
    project.FreeHeight = 120.0L;
    tables.NewSoil->Cell(1, 0).SetAsFloat(10.0L);
    project.SetUnitSystem(kOtherUnits);
    project.SetUnitSystem(kSIUnits);
    EXPECT_EQ(project.FreeHeight, 120.0L);
    EXPECT_EQ(tables.NewSoil->Cell(1, 0).AsFloat(), 10.0L);
    project.SetUnitSystem(7);
    EXPECT_EQ(project.UnitSystem(), kOtherUnits);
    project.SetUnitSystem(-2);
    EXPECT_EQ(project.UnitSystem(), kEnglishUnits);
    EXPECT_EQ(project.FreeHeight, 120.0L);
}

TEST_F(ProgramDataTest, OpeningAndSavingWithoutEditsLeavesTheProjectUnmodified) {
    project.FileName = Path("a.kv5d");
    project.SetModified(true);
    project.WriteDataFile();
    EXPECT_FALSE(project.Modified());
    ASSERT_TRUE(project.CreateFromFile(project.FileName).Complete);
    EXPECT_FALSE(project.Modified());
    project.WriteDataFile();
    EXPECT_FALSE(project.Modified());
}

}  // namespace
}  // namespace korvel
