// Data files of the three earlier formats: ".kv4d" (2), the later ".kvd" kind
// (3) and the earliest ".kvd" kind (4), read into the project and written back
// in the current format.
#include <gtest/gtest.h>

#include "project/data_file_reader.h"
#include "project_fixture.h"

namespace korvel {
namespace {

using OlderFormatTest = ProjectTest;

// Format 2: CONTROL ends after nEICurves, WALL without Wa, no TIEBACK rows.
const QByteArray kFormat2 =
    "Anchored pit of 2013\n"
    "2 0\t1\t0\t2\t2 0 1 0\n"
    "20 0.5\t1\t1E-5\t6\n"
    "0\t20\t1\t50000\n"
    "0\n"
    "0\n"
    "6\t1.5\t1\t10\t10\t1\t1\t0\n"
    "0\t0\t0\t0\t0\t0\n"
    "0\n"
    "1\n"
    "4 10 \n"
    "18 0.0  30 0.0  20000 0.5 \n"
    "18 0.0  30 0.0  20000 0.5 \n"
    "0\n";

// Format 3: as format 2, no nEICurves, no SURCHARGES; the single surcharge
// 0.1, 24, 500, 0, 0, 0 (uniform 0.1, distance 24, point load 500).
const QByteArray kFormat3 =
    "Surcharged pit\n"
    "2 0\t1\t0\t2\t2 1 1\n"
    "20 0.5\t1\t1E-5\t6\n"
    "0\t20\t1\t50000\n"
    "0\n"
    "0\n"
    "6\t1\t1\t10\t10\t0.036\t1\t0\n"
    "0.1\t24\t500\t0\t0\t0\n"
    "1\n"
    "4 10 \n"
    "18 0.0  30 0.0  20000 0.5 \n"
    "18 0.0  30 0.0  20000 0.5 \n"
    "12\t2\n"
    "0\t0\n"
    "0.1\t15\n"
    "0\n";

// Format 4: CONTROL ends after nPYSets; layers by thickness, one property line
// of five values; no NEXT.
const QByteArray kFormat4 =
    "Earliest pit\n"
    "2 0\t1\t0\t2\t2 0\n"
    "20 0.5\t1\t1E-5\t6\n"
    "0\t20\t1\t50000\n"
    "0\n"
    "0\n"
    "6\t1\t1\t10\t10\t1\t1\t0\n"
    "0\t0\t0\t0\t0\t0\n"
    "3\n"
    "1 10\n"
    "18 50 33 0.02 100\n"
    "4 5\n"
    "19 7 32 0.01 20000\n"
    "6 20\n"
    "22 5000 1 2 3\n";

TEST_F(OlderFormatTest, Format2IsWrittenBackWithoutTiebacksAndWithWaFromGeometry) {
    const TReadResult result = project.CreateFromFile(WriteFile("old.kv4d", kFormat2), 2);
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    EXPECT_EQ(project.Wa, 1.5L);
    EXPECT_TRUE(project.EIRecordsPresent);
    EXPECT_FALSE(project.TiebackRecordsPresent);
    const QList<QByteArray> lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines.at(1), "2 0\t1\t0\t2\t2 0 1 0 0");
    EXPECT_EQ(lines.at(2), "20 0.5\t1\t1E-5\t6\t1.5");
    EXPECT_EQ(lines.back(), "0");
    EXPECT_TRUE(project.TiebackRecordsPresent);
}

TEST_F(OlderFormatTest, Format3SingleSurchargeBecomesThreeRows) {
    const TReadResult result = project.CreateFromFile(WriteFile("old.kvd", kFormat3), 3);
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    TGridTable& rows = *tables.SurchargeTable;
    ASSERT_EQ(rows.RowCount(), 3);
    const long double magnitudes[] = {500.0L, 0.0L, 0.0L};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rows.Cell(0, row).AsInteger(), row + 1);
        EXPECT_EQ(rows.Cell(1, row).AsFloat(), magnitudes[row]);
        EXPECT_EQ(rows.Cell(2, row).AsFloat(), 24.0L);
        EXPECT_EQ(rows.Cell(3, row).AsFloat(), 0.0L);
    }
    EXPECT_TRUE(project.ApplySurcharges);
    EXPECT_EQ(project.UniformSurcharge, 0.1L);
    EXPECT_EQ(project.ActivePressureFactor, 1.0L);
    // The curve set without multipliers takes 1 for both.
    ASSERT_EQ(tables.PYCurves2->RowCount(), 1);
    EXPECT_EQ(tables.PYCurves2->Cell(2, 0).AsFloat(), 1.0L);
    EXPECT_EQ(tables.PYCurves2->Cell(3, 0).AsFloat(), 1.0L);
    EXPECT_EQ(tables.PYCurves2->Cell(1, 0).AsTable()->RowCount(), 2);
    EXPECT_EQ(project.StageCount, 1);
    EXPECT_TRUE(project.EIRecordsPresent);
    EXPECT_FALSE(project.TiebackRecordsPresent);

    const QList<QByteArray> lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines.at(1), "2 0\t1\t0\t2\t2 1 1 0 0");
    EXPECT_EQ(lines.at(6), "6\t1\t1\t10\t10\t1\t1\t0");
    EXPECT_EQ(lines.at(7), "0.1\t24\t500\t0\t0\t0");
    EXPECT_EQ(lines.at(8), "3");
    EXPECT_EQ(lines.at(9), "1\t500\t24\t0");
    EXPECT_EQ(lines.at(16), "12\t2\t1\t1");
}

TEST_F(OlderFormatTest, AZeroDistanceGivesNoSurchargeRows) {
    QByteArray text = kFormat3;
    text.replace("0.1\t24\t500", "0.1\t0\t500");
    ASSERT_TRUE(project.CreateFromFile(WriteFile("old.kvd", text), 3).Complete);
    EXPECT_FALSE(project.ApplySurcharges);
    EXPECT_EQ(project.PointLoad, 500.0L);
}

TEST_F(OlderFormatTest, Format4LayersGoByThicknessWithOnePropertyLine) {
    const TReadResult result = project.CreateFromFile(WriteFile("first.kvd", kFormat4), 4);
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    TGridTable& soils = *tables.NewSoil;
    ASSERT_EQ(soils.RowCount(), 3);
    EXPECT_EQ(soils.Cell(1, 0).AsFloat(), 10.0L);
    EXPECT_EQ(soils.Cell(1, 1).AsFloat(), 15.0L);
    EXPECT_EQ(soils.Cell(1, 2).AsFloat(), 35.0L);
    EXPECT_EQ(soils.Cell(0, 2).AsInteger(), 6);  // rock: strong rock

    // Soft clay: unit weight, cohesion, E50, k in both rows (friction angle dropped).
    TGridTable& clay = *soils.Cell(2, 0).AsTable();
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(clay.Cell(0, row).AsFloat(), 18.0L);
        EXPECT_EQ(clay.Cell(1, row).AsFloat(), 50.0L);
        EXPECT_EQ(clay.Cell(2, row).AsFloat(), 0.02L);
        EXPECT_EQ(clay.Cell(3, row).AsFloat(), 100.0L);
    }
    // Sand: unit weight, friction angle, k.
    TGridTable& sand = *soils.Cell(2, 1).AsTable();
    EXPECT_EQ(sand.Cell(0, 1).AsFloat(), 19.0L);
    EXPECT_EQ(sand.Cell(1, 1).AsFloat(), 32.0L);
    EXPECT_EQ(sand.Cell(2, 1).AsFloat(), 20000.0L);
    // Rock: unit weight and strength.
    TGridTable& rock = *soils.Cell(2, 2).AsTable();
    EXPECT_EQ(rock.Cell(0, 0).AsFloat(), 22.0L);
    EXPECT_EQ(rock.Cell(1, 1).AsFloat(), 5000.0L);

    EXPECT_EQ(project.StageCount, 1);
    EXPECT_FALSE(project.LongTermAnalysis);
    EXPECT_FALSE(project.TiebackRecordsPresent);

    const QList<QByteArray> lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines.at(1), "2 0\t1\t0\t2\t2 0 1 0 0");
    EXPECT_EQ(lines.at(9), "3");
    EXPECT_EQ(lines.at(10), "1 10 ");
    EXPECT_EQ(lines.at(11), "18 50 0.0  0.02 100 0 ");
    EXPECT_EQ(lines.at(12), "18 50 0.0  0.02 100 0 ");
    EXPECT_EQ(lines.at(13), "4 15 ");
    EXPECT_EQ(lines.at(16), "6 35 ");
    EXPECT_EQ(lines.at(17), "22 5000 0.0  0.0  0.0  0.0  ");
    EXPECT_EQ(lines.back(), "0");
}

TEST_F(OlderFormatTest, Format4ValuesAreTakenWithoutEnglishConversions) {
    QByteArray text = kFormat4;
    text.replace("2 0\t1\t0\t2\t2 0\n", "1 0\t1\t0\t2\t2 0\n");
    ASSERT_TRUE(project.CreateFromFile(WriteFile("first.kvd", text), 4).Complete);
    EXPECT_EQ(tables.NewSoil->Cell(1, 1).AsFloat(), 15.0L);
    EXPECT_EQ(tables.NewSoil->Cell(2, 0).AsTable()->Cell(0, 1).AsFloat(), 18.0L);
}

TEST_F(OlderFormatTest, AFormat4FileCutShortIsReported) {
    QByteArray text = kFormat4;
    text.chop(QByteArray("22 5000 1 2 3\n").size());
    const TReadResult result = project.CreateFromFile(WriteFile("first.kvd", text), 4);
    EXPECT_FALSE(result.Complete);
    EXPECT_EQ(result.Message, "This file either invalid or incomplete.");
    EXPECT_EQ(tables.NewSoil->RowCount(), 3);  // the layer begun is kept
}

}  // namespace
}  // namespace korvel
