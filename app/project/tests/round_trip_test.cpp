#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <functional>
#include <map>

#include "project_fixture.h"

namespace korvel {
namespace {

// A project that uses every record of a section, in the given unit system.
void FillEveryRecord(TProgramData& p, TProgramTables& t, int system) {
    p.SetUnitSystem(system);
    p.Title = "Every record";
    p.Increments = 80;
    p.IncrementLength = 3.0L;
    p.FreeHeight = 120.0L;
    p.Wa = 12.0L;
    p.Wp = 24.0L;
    p.WaterDepthBackfill = 60.0L;
    p.WaterDepthExcavation = 130.5L;
    p.ActivePressureFactor = 0.9L;
    p.BackfillSlope = -12.5L;
    p.UniformSurcharge = 1.25L;
    p.EarthPressureType = 3;
    p.LongTermAnalysis = true;
    p.ApplyRestraints = p.ApplyConcentratedLoads = p.ApplySprings = p.ApplyTiebacks = true;
    p.ApplyPYModification = p.ApplyExternalPYCurves = p.ApplyEICurves = p.ApplySurcharges = true;
    t.Soillayer->Cell(1, 0).SetAsInteger(80);
    t.PileSect->SetRowCount(2);
    t.PileSect->Cell(1, 0).SetAsInteger(40);
    t.PileSect->Cell(2, 0).SetAsInteger(2);
    t.PileSect->Cell(3, 0).SetAsFloat(5.336e9L);
    t.PileSect->Cell(0, 1).SetAsInteger(41);
    t.PileSect->Cell(1, 1).SetAsInteger(80);
    t.PileSect->Cell(3, 1).SetAsFloat(4.1e9L);
    t.BoundCond->Cell(3, 0).SetAsFloat(-1234.5L);
    t.SoilStrength->Cell(3, 0).SetAsFloat(1e6L);
    for (int c = 0; c < 6; ++c) t.TiebackTable1->Cell(c, 0).SetAsFloat(1.5L * (c + 1));
    t.PYMod->Cell(0, 1).SetAsFloat(12.25L);
    t.PYMod->Cell(1, 1).SetAsFloat(0.75L);
    t.SurchargeTable->Cell(0, 0).SetAsInteger(3);
    t.SurchargeTable->Cell(1, 0).SetAsFloat(2.5L);
    t.SurchargeTable->Cell(3, 0).SetAsFloat(36.0L);
    t.NewSoil->SetRowCount(3);
    t.LongSoil->SetRowCount(2);
    const int types[] = {5, 7, 4};
    for (int layer = 0; layer < 3; ++layer) {
        t.NewSoil->Cell(0, layer).SetAsInteger(types[layer]);
        t.NewSoil->Cell(1, layer).SetAsFloat(10.0L * (layer + 1) + 0.5L);
        TGridTable& params = *t.NewSoil->Cell(2, layer).AsTable();
        for (int c = 0; c < params.ColumnCount(); ++c) {
            params.Cell(c, 0).SetAsFloat(100.0L + 10 * c + layer);
            params.Cell(c, 1).SetAsFloat(101.0L + 10 * c + layer);
        }
        if (layer < 2) {
            t.LongSoil->Cell(0, layer).SetAsInteger(layer + 2);
            t.LongSoil->Cell(1, layer).SetAsFloat(15.0L * (layer + 1));
            t.LongSoil->Cell(2, layer).AsTable()->Cell(0, 1).SetAsFloat(110.0L + layer);
        }
    }
    TGridTable& py = *t.PYCurves2->Cell(1, 1).AsTable();
    py.SetRowCount(4);
    for (int r = 0; r < 4; ++r) {
        py.Cell(0, r).SetAsFloat(r * 0.1L - 0.15L);
        py.Cell(1, r).SetAsFloat(-1000.0L * (r - 1.5L));
    }
    t.PYCurves2->Cell(0, 1).SetAsInteger(60);
    t.PYCurves2->Cell(3, 1).SetAsFloat(0.5L);
    t.MEICurves2->Cell(1, 0).SetAsInteger(80);
    TGridTable& ei = *t.MEICurves2->Cell(2, 0).AsTable();
    ei.SetRowCount(2);
    ei.Cell(0, 1).SetAsFloat(3e5L);
    ei.Cell(1, 1).SetAsFloat(2.5e9L);
    t.LongDist->Cell(0, 0).SetAsFloat(4.0L);
}

class RoundTripTest : public ProjectTest, public ::testing::WithParamInterface<int> {};

TEST_P(RoundTripTest, AProjectWithEveryRecordReadsBackToTheSameFile) {
    FillEveryRecord(project, tables, GetParam());
    project.FileName = Path("every.kv5d");
    project.WriteDataFile();
    const QByteArray first = ReadBytes(project.FileName);

    ASSERT_TRUE(project.CreateFromFile(project.FileName).Complete);
    EXPECT_EQ(project.UnitSystem(), GetParam());
    EXPECT_TRUE(project.LongTermAnalysis);
    EXPECT_EQ(project.EarthPressureType, 3);  // the long-term section's 2 does not override it
    EXPECT_EQ(tables.NewSoil->RowCount(), 3);
    EXPECT_EQ(tables.LongSoil->RowCount(), 2);
    EXPECT_EQ(tables.PYCurves2->Cell(1, 1).AsTable()->RowCount(), 4);
    EXPECT_EQ(project.Wp, 24.0L);

    project.WriteDataFile();
    EXPECT_EQ(ReadBytes(project.FileName), first);
    EXPECT_TRUE(first.contains("\r\n9\r\nEvery record\r\n"));
    EXPECT_TRUE(first.endsWith("\r\n0\r\n"));
}

INSTANTIATE_TEST_SUITE_P(UnitSystems, RoundTripTest,
                         ::testing::Values(kEnglishUnits, kSIUnits, kOtherUnits));

// Fills rows from..count-1 with values that differ from row to row: reals by
// row and column, integers (node numbers) by row; choices and curves keep their
// defaults.
void FillRows(TGridTable& table, int count) {
    const int from = table.RowCount();
    table.SetRowCount(count);
    for (int row = from; row < count; ++row) {
        for (int column = 0; column < table.ColumnCount(); ++column) {
            switch (table.Column(column).Kind()) {
                case TColumnKind::kFloat:
                    table.Cell(column, row).SetAsFloat(row + 0.25L * (column + 1));
                    break;
                case TColumnKind::kInt:
                    table.Cell(column, row).SetAsInteger(row);
                    break;
                default:
                    break;
            }
        }
    }
}

// Every table the data file carries, filled to its own row limit, is written
// and read back to the same project: the reader accepts what the program lets
// the user enter, and the user cannot enter more.
struct LimitCase {
    const char* name;
    std::function<TGridTable&(TProgramTables&)> table;
};

class TableLimitTest : public ProjectTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TableLimitTest, ATableFilledToItsLimitReadsBackTheSame) {
    FillEveryRecord(project, tables, kEnglishUnits);
    project.EarthPressureType = 1;  // EPUSER from both pressure tables
    TGridTable& table = GetParam().table(tables);
    ASSERT_GT(table.MaxRows(), 0) << "a table without a limit can outgrow the reader";
    FillRows(table, table.MaxRows());
    EXPECT_FALSE(table.CanAddRows());
    project.FileName = Path("full.kv5d");
    project.WriteDataFile();
    const QByteArray written = ReadBytes(project.FileName);

    const TReadResult read = project.CreateFromFile(project.FileName);
    ASSERT_TRUE(read.Complete) << read.Message.toStdString();
    EXPECT_EQ(GetParam().table(tables).RowCount(), GetParam().table(tables).MaxRows());
    EXPECT_EQ(project.DataFileText(), written);
}

INSTANTIATE_TEST_SUITE_P(
    EveryTable, TableLimitTest,
    ::testing::Values(
        LimitCase{"Restraints", [](TProgramTables& t) -> TGridTable& { return *t.Soillayer; }},
        LimitCase{"Stiffness", [](TProgramTables& t) -> TGridTable& { return *t.PileSect; }},
        LimitCase{"ConcentratedLoads",
                  [](TProgramTables& t) -> TGridTable& { return *t.BoundCond; }},
        LimitCase{"Springs", [](TProgramTables& t) -> TGridTable& { return *t.SoilStrength; }},
        LimitCase{"Tiebacks", [](TProgramTables& t) -> TGridTable& { return *t.TiebackTable1; }},
        LimitCase{"PYModification", [](TProgramTables& t) -> TGridTable& { return *t.PYMod; }},
        LimitCase{"ShortTermPressure",
                  [](TProgramTables& t) -> TGridTable& { return *t.DistLoad; }},
        LimitCase{"LongTermPressure", [](TProgramTables& t) -> TGridTable& { return *t.LongDist; }},
        LimitCase{"Surcharges", [](TProgramTables& t) -> TGridTable& { return *t.SurchargeTable; }},
        LimitCase{"ShortTermSoils", [](TProgramTables& t) -> TGridTable& { return *t.NewSoil; }},
        LimitCase{"LongTermSoils", [](TProgramTables& t) -> TGridTable& { return *t.LongSoil; }},
        LimitCase{"PYCurveSets", [](TProgramTables& t) -> TGridTable& { return *t.PYCurves2; }},
        LimitCase{
            "PYCurvePoints",
            [](TProgramTables& t) -> TGridTable& { return *t.PYCurves2->Cell(1, 1).AsTable(); }},
        LimitCase{"MomentEICurves", [](TProgramTables& t) -> TGridTable& { return *t.MEICurves2; }},
        LimitCase{
            "MomentEIPoints",
            [](TProgramTables& t) -> TGridTable& { return *t.MEICurves2->Cell(2, 0).AsTable(); }}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(ExampleFilesTest, EveryExampleReadsIntoTheModelAndWritesBackIdentical) {
    const QDir examples(QStringLiteral(KORVEL_EXAMPLES_DIR));
    const QStringList files = examples.entryList({"*.kv5d"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QProcess check;
        check.start(QStringLiteral(KORVEL_DATACHECK), {examples.filePath(name)});
        ASSERT_TRUE(check.waitForFinished(30000));
        const QString output = QString::fromUtf8(check.readAllStandardOutput());
        EXPECT_EQ(check.exitCode(), 0) << output.toStdString();
        EXPECT_EQ(output, examples.filePath(name) + ": identical\n");
    }
}

TEST(DataCheckToolTest, ReportsWhereAFileDiffers) {
    QTemporaryDir dir;
    const QString path = dir.filePath("w.kv5d");
    QProcess tool;
    tool.start(QStringLiteral(KORVEL_DATACHECK), {"--new", path});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray text = file.readAll();
    text.replace("\t100\t", "\t100.0\t");  // not how the writer formats 100
    file.seek(0);
    file.write(text);
    file.close();
    // And once more through the model's writer.
    tool.start(QStringLiteral(KORVEL_DATACHECK), {"--write", path, path});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    text = file.readAll();
    text.replace("\t100\t", "\t100.0\t");
    file.seek(0);
    file.write(text);
    file.close();
    tool.start(QStringLiteral(KORVEL_DATACHECK), {path});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()),
              path +
                  ": differs\n  line 3\n    file:    0 0<TAB>100.0<TAB>1E-5<TAB>0<TAB>0<CR>\n"
                  "    written: 0 0<TAB>100<TAB>1E-5<TAB>0<TAB>0<CR>\n");
}

TEST(DataCheckToolTest, ANewProjectReadsBackAsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("n.kv5d");
    QProcess tool;
    tool.start(QStringLiteral(KORVEL_DATACHECK), {"--new", path});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0);
    tool.start(QStringLiteral(KORVEL_DATACHECK), {path});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()), path + ": identical\n");
    EXPECT_EQ(tool.exitCode(), 0);
}

TEST(DataCheckToolTest, WritingAStagedFileWritesEveryStageOrRefuses) {
    QTemporaryDir dir;
    const QString example = QStringLiteral(KORVEL_EXAMPLES_DIR "/three_stages_english.kv5d");
    QFile source(example);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray original = source.readAll();
    const QString out = dir.filePath("out.kv5d");
    QProcess tool;
    tool.start(QStringLiteral(KORVEL_DATACHECK), {"--write", out, example});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()), out + ": written (3 stages)\n");
    EXPECT_EQ(tool.exitCode(), 0);
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), original);

    // A file that says three stages but holds two is refused, and nothing is written.
    const QString cut = dir.filePath("cut.kv5d");
    QFile two(cut);
    ASSERT_TRUE(two.open(QIODevice::WriteOnly));
    two.write(original.left(original.indexOf(" Stage No : 3")));
    two.close();
    const QString refused = dir.filePath("refused.kv5d");
    tool.start(QStringLiteral(KORVEL_DATACHECK), {"--write", refused, cut});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardOutput()).startsWith(cut + ": not written"));
    EXPECT_FALSE(QFileInfo::exists(refused));
}

}  // namespace
}  // namespace korvel
