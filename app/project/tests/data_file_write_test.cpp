#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <csignal>
#include <vector>

#include "entry/entry_errors.h"
#include "project/data_file_writer.h"
#include "project_fixture.h"

namespace korvel {
namespace {

using WriteTest = ProjectTest;

TEST_F(WriteTest, NewProjectSavedAtOnceGivesTheFourteenLines) {
    project.FileName = Path("new.kv5d");
    project.WriteDataFile();
    const QByteArray expected =
        "New Wall\r\n"
        "1 0\t1\t0\t0\t2 0 1 0 0\r\n"
        "0 0\t100\t1E-5\t0\t0\r\n"
        "0\t1\t1\t0\r\n"
        "0\r\n"
        "0\r\n"
        "0\t0\t0\t0\t0\t1\t1\t0\r\n"
        "0\t0\t0\t0\t0\t0\r\n"
        "0\r\n"
        "1\r\n"
        "1 0 \r\n"
        "0 0 0.0  0 0 0 \r\n"
        "0 0 0.0  0 0 0 \r\n"
        "0\r\n";
    EXPECT_EQ(ReadBytes(project.FileName), expected);
    EXPECT_FALSE(project.Modified());
}

TEST_F(WriteTest, RealsHaveEightSignificantDigitsAndAPoint) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {{0.00001L, "1E-5"},
                 {123456789.0L, "1.2345679E8"},
                 {0.5L, "0.5"},
                 {100.0L, "100"},
                 {0.0L, "0"},
                 {0.0001L, "0.0001"},
                 {12.5L, "12.5"},
                 {12345678.0L, "12345678"},
                 {-3.0L, "-3"},
                 {2.9e7L, "29000000"},
                 {2.9e8L, "2.9E8"},
                 {-0.00012345678L, "-0.00012345678"},
                 {1.0L / 3.0L, "0.33333333"}};
    for (const auto& c : cases)
        EXPECT_EQ(FileReal(c.value).toStdString(), c.text) << static_cast<double>(c.value);
}

TEST_F(WriteTest, EnglishDepthsUnitWeightsAndCohesionsAreConvertedToInches) {
    project.EarthPressureType = 2;
    TGridTable& soils = *tables.NewSoil;
    soils.Cell(1, 0).SetAsFloat(10.0L);  // ft
    TGridTable& clay = *soils.Cell(2, 0).AsTable();
    clay.Cell(0, 0).SetAsFloat(115.2L);   // pcf
    clay.Cell(1, 0).SetAsFloat(1440.0L);  // psf
    clay.Cell(2, 0).SetAsFloat(0.007L);   // E50
    clay.Cell(3, 0).SetAsFloat(500.0L);   // pci, as held
    clay.Cell(4, 0).SetAsFloat(0.45L);    // K
    const auto lines = LinesOf(project.DataFileText());
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 1 0 0");
    EXPECT_EQ(lines[10], "1 120 ");
    EXPECT_EQ(lines[11], "0.066666667 10 0.0  0.007 500 0.45 ");
    EXPECT_EQ(lines[12], "0 0 0.0  0 0 0 ");
}

TEST_F(WriteTest, SIValuesAreWrittenAsHeld) {
    project.SetUnitSystem(kSIUnits);
    project.ApplyPYModification = true;
    tables.PYMod->Cell(0, 0).SetAsFloat(3.5L);
    tables.NewSoil->Cell(1, 0).SetAsFloat(4.0L);
    tables.NewSoil->Cell(2, 0).AsTable()->Cell(0, 0).SetAsFloat(18.0L);
    const auto lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines[1], "2 0\t1\t2\t0\t2 0 1 0 0");
    EXPECT_EQ(lines[6], "3.5\t1\t1");
    EXPECT_EQ(lines[12], "1 4 ");
    EXPECT_EQ(lines[13], "18 0 0.0  0 0 0 ");
}

// Every soil type puts its parameter columns into the six slots its own way.
TEST_F(WriteTest, SoilTypesFillTheirSlots) {
    project.SetUnitSystem(kOtherUnits);  // no conversion: the slot order alone
    TGridTable& soils = *tables.NewSoil;
    soils.SetRowCount(7);
    for (int layer = 0; layer < 7; ++layer) {
        soils.Cell(0, layer).SetAsInteger(layer + 1);
        TGridTable& params = *soils.Cell(2, layer).AsTable();
        for (int column = 0; column < params.ColumnCount(); ++column) {
            params.Cell(column, 0).SetAsFloat(column + 1);  // column n holds n+1
        }
    }
    const auto lines = LinesOf(project.DataFileText());
    const char* expected[] = {"1 2 0.0  3 4 5 ",    "1 2 0.0  3 4 5 ", "1 2 0.0  3 4 5 ",
                              "1 0.0  2 0.0  3 4 ", "1 3 2 4 5 6 ",    "1 2 0.0  0.0  0.0  0.0  ",
                              "1 2 0.0  3 4 5 "};
    for (int layer = 0; layer < 7; ++layer) {
        EXPECT_EQ(lines[10 + 3 * layer].toStdString(), std::to_string(layer + 1) + " 0 ");
        EXPECT_EQ(lines[11 + 3 * layer].toStdString(), expected[layer]) << "type " << layer + 1;
    }
}

TEST_F(WriteTest, TablesAreWrittenInTheirRecordColumnOrder) {
    project.GeneratePYCurves = false;
    project.ApplyRestraints = true;
    project.ApplyConcentratedLoads = true;
    project.ApplySprings = true;
    project.ApplyTiebacks = true;
    tables.Soillayer->Cell(0, 0).SetAsInteger(2);
    tables.Soillayer->Cell(1, 0).SetAsInteger(40);
    tables.Soillayer->Cell(3, 0).SetAsFloat(0.001L);
    tables.PileSect->SetRowCount(2);
    tables.PileSect->Cell(2, 0).SetAsInteger(2);
    tables.PileSect->Cell(2, 1).SetAsInteger(2);  // the last row is made constant
    tables.BoundCond->Cell(3, 0).SetAsFloat(5000.0L);
    tables.SoilStrength->Cell(0, 0).SetAsInteger(2);
    tables.SoilStrength->Cell(1, 0).SetAsInteger(7);
    tables.SoilStrength->Cell(2, 0).SetAsInteger(9);
    tables.SoilStrength->Cell(3, 0).SetAsFloat(250.0L);
    for (int column = 0; column < 6; ++column)
        tables.TiebackTable1->Cell(column, 0).SetAsFloat(column + 0.5L);
    const auto lines = LinesOf(project.DataFileText());
    const QList<QByteArray> expected = {"New Wall",
                                        "1 1\t2\t0\t0\t0 0 1 0 1",
                                        "0 0\t100\t1E-5\t0\t0",
                                        "2\t40\t0\t0.001",
                                        "0\t1\t2\t0",
                                        "0\t1\t1\t0",
                                        "1",
                                        "1\t0\t1\t5000\t0\t0",
                                        "1",
                                        "7\t9\t2\t250\t0",
                                        "0.5\t1.5\t2.5\t3.5\t4.5\t5.5",
                                        "0"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(tables.PileSect->Cell(2, 1).AsInteger(), 1);
}

TEST_F(WriteTest, CurveSetsCarryTheirPointCounts) {
    project.GeneratePYCurves = false;
    project.ApplyExternalPYCurves = true;
    project.ApplyEICurves = true;
    tables.PYCurves2->SetRowCount(1);
    tables.PYCurves2->Cell(0, 0).SetAsInteger(30);
    tables.PYCurves2->Cell(2, 0).SetAsFloat(0.8L);
    TGridTable& py = *tables.PYCurves2->Cell(1, 0).AsTable();
    py.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        py.Cell(0, row).SetAsFloat(row - 1.0L);
        py.Cell(1, row).SetAsFloat(100.0L * (1 - row));
    }
    tables.MEICurves2->Cell(0, 0).SetAsInteger(0);
    tables.MEICurves2->Cell(1, 0).SetAsInteger(60);
    tables.MEICurves2->Cell(2, 0).AsTable()->Cell(1, 0).SetAsFloat(8e9L);
    const auto lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines[1], "1 0\t1\t0\t0\t1 1 1 1 0");
    const QList<QByteArray> tail = lines.mid(6);
    const QList<QByteArray> expected = {"30\t3\t0.8\t1", "-1\t100", "0\t0", "1\t-100",
                                        "0\t60\t1",      "0\t8E9",  "0"};
    EXPECT_EQ(tail, expected);
}

TEST_F(WriteTest, LongTermSectionUsesTheLongTermTablesAndSaysTwo) {
    project.EarthPressureType = 3;
    project.LongTermAnalysis = true;
    tables.NewSoil->Cell(0, 0).SetAsInteger(4);  // sand
    TGridTable& sand = *tables.NewSoil->Cell(2, 0).AsTable();
    sand.Cell(0, 0).SetAsFloat(1728.0L);
    sand.Cell(1, 0).SetAsFloat(32.0L);
    sand.Cell(2, 0).SetAsFloat(90.0L);
    sand.Cell(3, 0).SetAsFloat(0.4L);
    tables.LongSoil->Cell(0, 0).SetAsInteger(4);
    TGridTable& long_sand = *tables.LongSoil->Cell(2, 0).AsTable();
    long_sand.Cell(0, 0).SetAsFloat(3456.0L);
    long_sand.Cell(1, 0).SetAsFloat(28.0L);
    long_sand.Cell(2, 0).SetAsFloat(60.0L);
    long_sand.Cell(3, 0).SetAsFloat(0.5L);
    long_sand.Cell(3, 1).SetAsFloat(0.5L);
    const auto lines = LinesOf(project.DataFileText());
    ASSERT_EQ(lines.size(), 28);
    EXPECT_EQ(lines[1], "1 0\t1\t0\t3\t2 0 1 0 0");
    EXPECT_EQ(lines[11], "1 0.0  32 0.0  90 0.4 ");
    EXPECT_EQ(lines[13], "9");
    EXPECT_EQ(lines[14], "New Wall");
    EXPECT_EQ(lines[15], "1 0\t1\t0\t2\t2 0 1 0 0");
    EXPECT_EQ(lines[25], "2 0.0  28 0.0  60 0.0  ");
    EXPECT_EQ(lines[26], "0 0.0  0 0.0  0 0.0  ");
    EXPECT_EQ(lines[27], "0");
    EXPECT_EQ(project.LongTermMarker, 9);
}

TEST_F(WriteTest, UserPressureIsWrittenPerInchInEnglishUnits) {
    project.EarthPressureType = 1;
    project.GeneratePYCurves = false;
    tables.DistLoad->Cell(0, 1).SetAsFloat(15.0L);   // ft
    tables.DistLoad->Cell(1, 1).SetAsFloat(525.0L);  // lbs/ft
    const auto lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines[1], "1 0\t1\t0\t1\t0 0 1 0 0");
    EXPECT_EQ(lines[6], "2");
    EXPECT_EQ(lines[7], "0\t0");
    EXPECT_EQ(lines[8], "180\t43.75");
}

TEST_F(WriteTest, SwitchingAnOptionOffLeavesItsRowsOutOfTheFileButKeepsThem) {
    project.FileName = Path("opt.kv5d");
    project.ApplyRestraints = true;
    project.ApplyConcentratedLoads = true;
    project.ApplySprings = true;
    project.ApplyTiebacks = true;
    project.ApplyPYModification = true;
    project.ApplySurcharges = true;
    project.ApplyExternalPYCurves = true;
    tables.Soillayer->SetRowCount(3);
    tables.Soillayer->Cell(1, 2).SetAsInteger(12);
    project.WriteDataFile();
    EXPECT_TRUE(ReadBytes(project.FileName).contains("1\t12\t0\t0\r\n"));
    EXPECT_EQ(tables.Soillayer->RowCount(), 3);

    project.ApplyRestraints = project.ApplyConcentratedLoads = project.ApplySprings = false;
    project.ApplyTiebacks = project.ApplyPYModification = project.ApplySurcharges = false;
    project.ApplyExternalPYCurves = false;
    std::vector<int> rows_before;
    const std::initializer_list<TGridTable*> switched_off = {
        tables.Soillayer.get(),     tables.BoundCond.get(), tables.SoilStrength.get(),
        tables.TiebackTable1.get(), tables.PYMod.get(),     tables.SurchargeTable.get(),
        tables.PYCurves2.get()};
    for (TGridTable* table : switched_off) rows_before.push_back(table->RowCount());
    project.WriteDataFile();
    // The file says nothing of them: a new project's 14 lines.
    const auto lines = LinesOf(ReadBytes(project.FileName));
    EXPECT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[1], "1 0\t1\t0\t0\t2 0 1 0 0");
    // The project keeps every row, and switched on again writes them as before.
    size_t i = 0;
    for (TGridTable* table : switched_off) {
        EXPECT_EQ(table->RowCount(), rows_before[i++]) << table->objectName().toStdString();
        EXPECT_GT(table->RowCount(), 0) << table->objectName().toStdString();
    }
    EXPECT_EQ(tables.Soillayer->Cell(1, 2).AsInteger(), 12);
    project.ApplyRestraints = true;
    project.WriteDataFile();
    EXPECT_TRUE(ReadBytes(project.FileName).contains("1\t12\t0\t0\r\n"));
}

TEST_F(WriteTest, ATitleStaysOnItsLine) {
    project.Title = QStringLiteral("Pit \u00e9\r\nnorth");
    const auto lines = LinesOf(project.DataFileText());
    EXPECT_EQ(lines[0], QStringLiteral("Pit \u00e9  north").toUtf8());
    EXPECT_EQ(lines.size(), 14);
}

TEST_F(WriteTest, StageFileTitleAndNextCarryTheStageNumber) {
    project.StageCount = 3;
    project.CurrentStage = 2;
    project.EarthPressureType = 3;
    TDataFileWriter writer(project);
    writer.WriteSection(TSectionKind::kStage);
    const auto lines = LinesOf(writer.Text());
    EXPECT_EQ(lines[0], " Stage No : 2");
    EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 3 0 0");
    EXPECT_EQ(lines.back(), "2");
}

TEST_F(WriteTest, SavingIsAtomicAndAFailedSaveKeepsTheOldFileAndTheModifiedState) {
    project.FileName = WriteFile("keep.kv5d", "previous contents\r\n");
    project.Title = QString(400, u'x');  // more than the size limit below
    project.SetModified(true);

    // Limit the size of files this process writes, so that the write fails half
    // way as on a full disk.
    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        project.WriteDataFile();
    } catch (const EInOutError& error) {
        message = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_NE(message, "");
    EXPECT_EQ(ReadBytes(project.FileName), "previous contents\r\n");
    EXPECT_TRUE(project.Modified());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{"keep.kv5d"});  // no temporary left

    project.WriteDataFile();  // without the limit it succeeds
    EXPECT_TRUE(ReadBytes(project.FileName).startsWith(QByteArray(400, 'x') + "\r\n"));
    EXPECT_FALSE(project.Modified());
}

TEST_F(WriteTest, ASaveIntoAMissingFolderFailsWithTheFileName) {
    project.FileName = Path("missing/a.kv5d");
    project.SetModified(true);
    try {
        project.WriteDataFile();
        FAIL() << "saved into a missing folder";
    } catch (const EInOutError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains("missing/a.kv5d"));
    }
    EXPECT_TRUE(project.Modified());
}

}  // namespace
}  // namespace korvel
