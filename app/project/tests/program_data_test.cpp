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
    // Back where they were entered, the values are the user's again, although
    // 39.3701 and 224.8089 are not the exact inverses of the factors there.
    EXPECT_EQ(project.FreeHeight, 120.0L);
    EXPECT_EQ(project.UniformSurcharge, 1.0L);
    EXPECT_EQ(project.LineLoad, 10.0L);
    EXPECT_FALSE(project.Modified());
}

// English -> SI -> English, again and again: every value comes back as entered.
// Values entered in SI take the stated factor to English (39.3701 in per m) and
// come back too; a value edited in between converts from what it now holds.
TEST_F(ProgramDataTest, UnitRoundTripsGiveBackTheValuesAsEntered) {
    project.IncrementLength = 6.0L;       // in
    project.FreeHeight = 180.0L * 12.0L;  // 180 ft, held in inches
    project.WaterDepthBackfill = 37.5L * 12.0L;
    project.UniformSurcharge = 250.0L / 144.0L;  // 250 psf, held in lbs/in^2
    project.PointLoad = 1000.0L;
    project.ApplySurcharges = true;
    TGridTable& s = *tables.SurchargeTable;
    s.SetRowCount(3);
    const long double magnitudes[] = {1500.0L, 200.0L, 3.5L};  // lbs, lbs/in, lbs/in^2
    for (int row = 0; row < 3; ++row) {
        s.Cell(0, row).SetAsInteger(row + 1);
        s.Cell(1, row).SetAsFloat(magnitudes[row]);
    }
    // The drift the round trip had: 6 -> 6.0000032, 180 ft -> 180.0001, 200 -> 199.99989.
    ASSERT_NE(6.0L * 0.0254L * 39.3701L, 6.0L);
    for (int trip = 1; trip <= 6; ++trip) {
        project.SetUnitSystem(kSIUnits);
        EXPECT_NEAR(static_cast<double>(project.IncrementLength), 0.1524, 1e-15);
        EXPECT_NEAR(static_cast<double>(s.Cell(1, 1).AsFloat()),
                    200 * 0.004448222468060650624 / 0.0254, 1e-12);
        if (trip == 3) {  // to and from Other nothing converts
            project.SetUnitSystem(kOtherUnits);
            project.SetUnitSystem(kSIUnits);
        }
        project.SetUnitSystem(kEnglishUnits);
        EXPECT_EQ(project.IncrementLength, 6.0L) << trip;
        EXPECT_EQ(project.FreeHeight / 12.0L, 180.0L) << trip;
        EXPECT_EQ(project.WaterDepthBackfill, 450.0L) << trip;
        EXPECT_EQ(project.UniformSurcharge, 250.0L / 144.0L) << trip;
        EXPECT_EQ(project.PointLoad, 1000.0L) << trip;
        for (int row = 0; row < 3; ++row) EXPECT_EQ(s.Cell(1, row).AsFloat(), magnitudes[row]);
    }

    // A value entered in SI takes the stated factor, and comes back to SI as entered.
    project.SetUnitSystem(kSIUnits);
    project.IncrementLength = 0.5L;  // m
    s.Cell(1, 1).SetAsFloat(30.0L);  // kN/m
    project.SetUnitSystem(kEnglishUnits);
    EXPECT_EQ(project.IncrementLength, 0.5L * 39.3701L);
    EXPECT_EQ(s.Cell(1, 1).AsFloat(), 30.0L * (224.8089L / 39.3701L));
    EXPECT_EQ(project.FreeHeight, 2160.0L);  // not edited: still as entered
    project.SetUnitSystem(kSIUnits);
    EXPECT_EQ(project.IncrementLength, 0.5L);
    EXPECT_EQ(s.Cell(1, 1).AsFloat(), 30.0L);
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
