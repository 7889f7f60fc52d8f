// Stage files: names, writing and loading, switching, copying, the data file
// assembled from the stages and split into them, Save As with the moves, and
// the stage count of the staged construction options.
#include "project/stage_files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "entry/entry_errors.h"
#include "project_fixture.h"

namespace korvel {
namespace {

class StageTest : public ProjectTest {
  protected:
    StageTest() {
        // A home of its own: test cases run in parallel and must not share the
        // folder of never-saved projects.
        qputenv("HOME", Path("home").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        project.FileName = Path("a.kv5d");
    }

    bool Exists(const QString& name) const { return QFileInfo::exists(Path(name)); }

    // A three-stage project whose stages differ in their free height (in).
    void MakeThreeStages() {
        project.FreeHeight = 100.0L;
        ASSERT_TRUE(ChangeStageCount(project, 3).Complete);
        ASSERT_EQ(project.CurrentStage, 1);
        ASSERT_TRUE(SwitchToStage(project, 2).Complete);
        project.FreeHeight = 200.0L;
        ASSERT_TRUE(SwitchToStage(project, 3).Complete);
        project.FreeHeight = 300.0L;
    }

    // Free height of a stage as its file holds it (WALL, fifth value).
    QByteArray FileWall(const QString& name) const { return LinesOf(ReadBytes(Path(name))).at(2); }
};

TEST_F(StageTest, StageFileNamesReplaceTheExtension) {
    EXPECT_EQ(StageFileName(QStringLiteral("/x/pit.kv5d"), 1), "/x/pit.st1");
    EXPECT_EQ(StageFileName(QStringLiteral("/x/pit.old.kvd"), 5), "/x/pit.old.st5");
    EXPECT_EQ(StageFileName(QStringLiteral("/x.d/pit"), 2), "/x.d/pit.st2");
    // A project never saved keeps its stages in a folder of this process's own
    // in the user's data folder, which no other program window uses.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString folder = data + "/unsaved-" + QString::number(QCoreApplication::applicationPid());
    EXPECT_EQ(StageFileName(QStringLiteral("NewWall.kv5d"), 3), folder + "/NewWall.st3");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions());
}

TEST_F(StageTest, AStageFileHasTheStageTitleAndNumber) {
    project.StageCount = 3;
    project.CurrentStage = 2;
    WriteStageFile(project);
    const QList<QByteArray> lines = LinesOf(ReadBytes(Path("a.st2")));
    EXPECT_EQ(lines.front(), " Stage No : 2");
    // No earth pressure chosen yet: the stage says none, as the menu shows none;
    // the p-y curves are generated.
    EXPECT_EQ(lines.at(1), "1 0\t1\t0\t0\t2 0 3 0 0");
    EXPECT_EQ(lines.back(), "2");
    project.CurrentStage = 1;
    WriteStageFile(project);
    EXPECT_EQ(LinesOf(ReadBytes(Path("a.st1"))).front(), "New Wall");
}

TEST_F(StageTest, AGeneratedDistributionIsWrittenAsTriangularInStageFiles) {
    project.StageCount = 2;
    project.EarthPressureType = 3;
    WriteStageFile(project);
    EXPECT_EQ(LinesOf(ReadBytes(Path("a.st1"))).at(1), "1 0\t1\t0\t2\t2 0 2 0 0");
    EXPECT_EQ(project.EarthPressureType, 3);  // the project's own choice stays
}

TEST_F(StageTest, ThreeStagesSavedGiveStageFilesAndTheirConcatenation) {
    MakeThreeStages();
    SaveStagedProjectAs(project, Path("a.kv5d"));
    ASSERT_TRUE(Exists("a.st1") && Exists("a.st2") && Exists("a.st3"));
    EXPECT_FALSE(Exists("a.st4"));
    const QByteArray data = ReadBytes(Path("a.kv5d"));
    EXPECT_EQ(data, ReadBytes(Path("a.st1")) + ReadBytes(Path("a.st2")) + ReadBytes(Path("a.st3")));

    const QList<QByteArray> lines = LinesOf(data);
    QList<int> starts;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(" Stage No :")) starts << i;
    }
    ASSERT_EQ(starts.size(), 2);
    EXPECT_EQ(lines[starts[0]], " Stage No : 2");
    EXPECT_EQ(lines[starts[1]], " Stage No : 3");
    EXPECT_EQ(lines[starts[0] - 1], "1");
    EXPECT_EQ(lines[starts[1] - 1], "2");
    EXPECT_EQ(lines.back(), "3");
    EXPECT_EQ(lines.front(), "New Wall");
    // Each stage carries its own data and the stage count.
    EXPECT_EQ(FileWall("a.st1"), "0 0\t100\t1E-5\t100\t0");
    EXPECT_EQ(FileWall("a.st2"), "0 0\t100\t1E-5\t200\t0");
    EXPECT_EQ(FileWall("a.st3"), "0 0\t100\t1E-5\t300\t0");
    EXPECT_TRUE(lines[starts[1] + 1].endsWith(" 0 3 0 0"));
    EXPECT_FALSE(project.Modified());
}

TEST_F(StageTest, SwitchingLoadsEachStageAndKeepsTheModifiedState) {
    MakeThreeStages();
    project.SetModified(true);
    ASSERT_TRUE(SwitchToStage(project, 1).Complete);
    EXPECT_EQ(project.FreeHeight, 100.0L);
    EXPECT_EQ(project.Title, "New Wall");
    EXPECT_TRUE(project.Modified());
    project.SetModified(false);
    ASSERT_TRUE(SwitchToStage(project, 3).Complete);
    EXPECT_EQ(project.FreeHeight, 300.0L);
    EXPECT_EQ(project.Title, " Stage No : 3");
    EXPECT_EQ(project.CurrentStage, 3);
    EXPECT_FALSE(project.Modified());
    // The same stage: nothing happens.
    project.FreeHeight = 333.0L;
    ASSERT_TRUE(SwitchToStage(project, 3).Complete);
    EXPECT_EQ(project.FreeHeight, 333.0L);
}

TEST_F(StageTest, AStageWithoutAFileTakesTheDataOfTheStageBefore) {
    project.StageCount = 4;
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    project.FreeHeight = 222.0L;
    project.ApplySprings = true;
    ASSERT_FALSE(Exists("a.st4"));
    ASSERT_TRUE(SwitchToStage(project, 4).Complete);
    EXPECT_EQ(project.FreeHeight, 222.0L);
    EXPECT_TRUE(project.ApplySprings);
    EXPECT_EQ(FileWall("a.st2"), "0 0\t100\t1E-5\t222\t0");
    ASSERT_TRUE(SwitchToStage(project, 1).Complete);
    EXPECT_EQ(project.FreeHeight, 0.0L);
    ASSERT_TRUE(SwitchToStage(project, 4).Complete);
    EXPECT_EQ(project.FreeHeight, 222.0L);
}

TEST_F(StageTest, AFailedWriteKeepsTheCurrentStage) {
    project.StageCount = 2;
    project.FreeHeight = 50.0L;
    ASSERT_TRUE(QDir().mkpath(Path("a.st1")));  // a folder in the stage file's place
    EXPECT_THROW(SwitchToStage(project, 2), EInOutError);
    EXPECT_EQ(project.CurrentStage, 1);
    EXPECT_EQ(project.FreeHeight, 50.0L);
}

TEST_F(StageTest, UpdatingTheCurrentStageKeepsTheModifiedState) {
    project.StageCount = 2;
    project.ApplySprings = false;
    project.SetModified(true);
    WriteStageFile(project);
    EXPECT_TRUE(project.Modified());
    project.SetModified(false);
    WriteStageFile(project);
    EXPECT_FALSE(project.Modified());
    EXPECT_TRUE(Exists("a.st1"));
}

TEST_F(StageTest, CopyingThePreviousStageKeepsTheCurrentStage) {
    MakeThreeStages();
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    project.SetModified(false);
    ASSERT_TRUE(CopyPreviousStage(project).Complete);
    EXPECT_EQ(project.CurrentStage, 2);
    EXPECT_EQ(project.FreeHeight, 100.0L);
    EXPECT_TRUE(project.Modified());
    const QList<QByteArray> lines = LinesOf(ReadBytes(Path("a.st2")));
    EXPECT_EQ(lines.front(), " Stage No : 2");
    EXPECT_EQ(lines.at(2), "0 0\t100\t1E-5\t100\t0");
    EXPECT_EQ(lines.back(), "2");
    // Stage 1 has nothing before it.
    ASSERT_TRUE(SwitchToStage(project, 1).Complete);
    EXPECT_TRUE(CopyPreviousStage(project).Complete);
    EXPECT_EQ(project.CurrentStage, 1);
}

TEST_F(StageTest, CopyingAMissingStageIsReportedAndChangesNothing) {
    project.StageCount = 3;
    project.CurrentStage = 3;
    project.FreeHeight = 30.0L;
    const TReadResult result = CopyPreviousStage(project);
    EXPECT_FALSE(result.Complete);
    EXPECT_TRUE(result.Message.contains("a.st2")) << result.Message.toStdString();
    EXPECT_EQ(project.FreeHeight, 30.0L);
    EXPECT_FALSE(Exists("a.st3"));
}

TEST_F(StageTest, LoweringTheCountDeletesTheStagesAboveAndReturnsToStageOne) {
    project.FreeHeight = 100.0L;
    ASSERT_TRUE(ChangeStageCount(project, 4).Complete);
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    project.FreeHeight = 200.0L;  // not yet in its file
    ASSERT_TRUE(Exists("a.st3") && Exists("a.st4"));
    project.SetModified(false);
    ASSERT_TRUE(ChangeStageCount(project, 2).Complete);
    EXPECT_EQ(project.StageCount, 2);
    EXPECT_EQ(project.CurrentStage, 1);
    EXPECT_FALSE(Exists("a.st3"));
    EXPECT_FALSE(Exists("a.st4"));
    EXPECT_EQ(project.FreeHeight, 100.0L);
    EXPECT_TRUE(project.Modified());
    // Every stage file carries the new count, and stage 2 its edits.
    EXPECT_TRUE(LinesOf(ReadBytes(Path("a.st1"))).at(1).endsWith(" 0 2 0 0"));
    EXPECT_TRUE(LinesOf(ReadBytes(Path("a.st2"))).at(1).endsWith(" 0 2 0 0"));
    EXPECT_EQ(FileWall("a.st2"), "0 0\t100\t1E-5\t200\t0");
}

TEST_F(StageTest, RaisingTheCountKeepsTheCurrentStage) {
    MakeThreeStages();
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    project.FreeHeight = 250.0L;
    ASSERT_TRUE(ChangeStageCount(project, 5).Complete);
    EXPECT_EQ(project.CurrentStage, 2);
    EXPECT_EQ(project.FreeHeight, 250.0L);
    EXPECT_EQ(FileWall("a.st4"), "0 0\t100\t1E-5\t300\t0");  // a copy of stage 3
    EXPECT_EQ(FileWall("a.st5"), "0 0\t100\t1E-5\t300\t0");
    EXPECT_TRUE(LinesOf(ReadBytes(Path("a.st3"))).at(1).endsWith(" 0 5 0 0"));
}

TEST_F(StageTest, OneStageDeletesEveryStageFile) {
    MakeThreeStages();
    ASSERT_TRUE(ChangeStageCount(project, 1).Complete);
    EXPECT_EQ(project.StageCount, 1);
    EXPECT_EQ(project.CurrentStage, 1);
    EXPECT_FALSE(Exists("a.st1") || Exists("a.st2") || Exists("a.st3"));
}

TEST_F(StageTest, BecomingStagedIgnoresStageFilesOfAnEarlierProject) {
    project.FileName = TProjectFields::kNewFileName;
    WriteFile("old.st2", "not a stage\r\n");
    ASSERT_TRUE(QFile::copy(Path("old.st2"), StageFileName(project.FileName, 2)) ||
                QFileInfo::exists(StageFileName(project.FileName, 2)));
    project.FreeHeight = 42.0L;
    ASSERT_TRUE(ChangeStageCount(project, 2).Complete);
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    EXPECT_EQ(project.FreeHeight, 42.0L);
    DeleteStageFiles(project.FileName);
}

TEST_F(StageTest, ANeverSavedProjectMovesItsStagesOnItsFirstSave) {
    project.FileName = TProjectFields::kNewFileName;
    ASSERT_TRUE(ChangeStageCount(project, 2).Complete);
    const QString first = StageFileName(project.FileName, 1);
    ASSERT_TRUE(QFileInfo::exists(first));
    SaveStagedProjectAs(project, Path("pit.kv5d"));
    EXPECT_EQ(project.FileName, Path("pit.kv5d"));
    EXPECT_TRUE(Exists("pit.st1") && Exists("pit.st2") && Exists("pit.kv5d"));
    EXPECT_FALSE(QFileInfo::exists(first));
}

TEST_F(StageTest, SaveAsMovesTheStageFilesToTheNewName) {
    MakeThreeStages();
    SaveStagedProjectAs(project, Path("a.kv5d"));
    const QByteArray saved = ReadBytes(Path("a.kv5d"));
    WriteFile("b.st3", "older b\r\n");
    WriteFile("b.st5", "stale b\r\n");
    SaveStagedProjectAs(project, Path("b.kv5d"));
    EXPECT_EQ(project.FileName, Path("b.kv5d"));
    EXPECT_EQ(ReadBytes(Path("b.kv5d")), saved);
    EXPECT_TRUE(Exists("b.st1") && Exists("b.st2") && Exists("b.st3"));
    EXPECT_FALSE(Exists("a.st1") || Exists("a.st2") || Exists("a.st3"));
    EXPECT_FALSE(Exists("b.st5"));
    EXPECT_EQ(FileWall("b.st3"), "0 0\t100\t1E-5\t300\t0");
}

TEST_F(StageTest, AFailedMoveIsReportedAndNoStageIsLost) {
    MakeThreeStages();
    SaveStagedProjectAs(project, Path("a.kv5d"));
    ASSERT_TRUE(QDir().mkpath(Path("b.st2")));
    try {
        SaveStagedProjectAs(project, Path("b.kv5d"));
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_TRUE(error.Message().contains("b.st2")) << error.Message().toStdString();
    }
    EXPECT_EQ(project.FileName, Path("a.kv5d"));
    EXPECT_TRUE(Exists("a.st1") && Exists("a.st2") && Exists("a.st3"));
    EXPECT_FALSE(Exists("b.st1"));
}

TEST_F(StageTest, AStageWithoutItsFileStopsTheAssembly) {
    MakeThreeStages();
    SaveStagedProjectAs(project, Path("a.kv5d"));
    const QByteArray saved = ReadBytes(Path("a.kv5d"));
    QFile::remove(Path("a.st2"));
    project.CurrentStage = 1;
    EXPECT_THROW(AssembleDataFile(project, Path("a.kv5d"), Path("a.kv5d")), EInOutError);
    EXPECT_EQ(ReadBytes(Path("a.kv5d")), saved);
}

TEST_F(StageTest, OpeningAStagedFileSplitsItAndDeletesStaleStages) {
    const QString path = Path("a.kv5d");
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/three_stages_english.kv5d"), path));
    WriteFile("a.st5", "stale\r\n");
    WriteFile("a.st4", "stale\r\n");
    ASSERT_TRUE(project.CreateFromFile(path, 1).Complete);
    ASSERT_EQ(project.StageCount, 3);
    ASSERT_TRUE(OpenStagedProject(project, 1).Complete);
    EXPECT_EQ(project.CurrentStage, 1);
    EXPECT_FALSE(Exists("a.st5") || Exists("a.st4"));
    ASSERT_TRUE(Exists("a.st1") && Exists("a.st2") && Exists("a.st3"));
    EXPECT_EQ(ReadBytes(Path("a.st1")) + ReadBytes(Path("a.st2")) + ReadBytes(Path("a.st3")),
              ReadBytes(path));
    EXPECT_TRUE(ReadBytes(Path("a.st2")).startsWith(" Stage No : 2"));
    // Stage 3 loads as the file has it.
    ASSERT_TRUE(SwitchToStage(project, 3).Complete);
    EXPECT_EQ(project.FreeHeight, 240.0L);
    EXPECT_TRUE(project.ApplyTiebacks);
    EXPECT_FALSE(project.Modified());
}

// A staged file of the ".kvd" kind that has StageCount: no nEICurves and
// nTiebacks, no Wa in WALL, the single surcharge only, no multipliers.
const QByteArray kStagedKvd =
    "Old staged pit\r\n"
    "2 0\t1\t0\t2\t2 1 2\r\n"
    "20 0.5\t1\t1E-5\t3\r\n"
    "0\t20\t1\t50000\r\n"
    "0\r\n"
    "0\r\n"
    "3\t1\t1\t10\t10\t1\t1\t0\r\n"
    "0\t2\t50\t0\t0\t0\r\n"
    "1\r\n"
    "4 10 \r\n"
    "18 0.0  30 0.0  20000 0.5 \r\n"
    "18 0.0  30 0.0  20000 0.5 \r\n"
    "10\t3\r\n"
    "0\t0\r\n"
    "0.1\t10\r\n"
    "1\t20\r\n"
    "1\r\n"
    " Stage No : 2\r\n"
    "2 0\t1\t0\t2\t2 0 2\r\n"
    "20 0.5\t1\t1E-5\t5\r\n"
    "0\t20\t1\t50000\r\n"
    "0\r\n"
    "0\r\n"
    "5\t1.2\t1\t10\t10\t1\t1\t0\r\n"
    "0\t3\t60\t0\t0\t0\r\n"
    "1\r\n"
    "4 10 \r\n"
    "18 0.0  30 0.0  20000 0.5 \r\n"
    "18 0.0  30 0.0  20000 0.5 \r\n"
    "2\r\n";

TEST_F(StageTest, OlderStagedFilesBecomeCurrentStageFiles) {
    const QString path = WriteFile("old.kvd", kStagedKvd);
    project.FileName = path;
    ASSERT_TRUE(project.CreateFromFile(path, 3).Complete);
    ASSERT_EQ(project.StageCount, 2);
    const TReadResult result = OpenStagedProject(project, 3);
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    EXPECT_TRUE(project.EIRecordsPresent);
    EXPECT_TRUE(project.TiebackRecordsPresent);
    EXPECT_EQ(project.CurrentStage, 1);
    EXPECT_EQ(project.Title, "Old staged pit");
    EXPECT_EQ(project.FreeHeight, 3.0L);
    EXPECT_EQ(tables.SurchargeTable->RowCount(), 3);

    const QList<QByteArray> first = LinesOf(ReadBytes(Path("old.st1")));
    EXPECT_EQ(first.at(1), "2 0\t1\t0\t2\t2 1 2 0 0");
    EXPECT_EQ(first.at(2), "20 0.5\t1\t1E-5\t3\t1");
    EXPECT_EQ(first.at(8), "3");  // the single surcharge as three rows
    EXPECT_EQ(first.at(9), "1\t50\t2\t0");
    EXPECT_EQ(first.back(), "1");
    const QList<QByteArray> second = LinesOf(ReadBytes(Path("old.st2")));
    EXPECT_EQ(second.front(), " Stage No : 2");
    EXPECT_EQ(second.at(1), "2 0\t1\t0\t2\t2 0 2 0 0");
    EXPECT_EQ(second.back(), "2");

    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    EXPECT_EQ(project.FreeHeight, 5.0L);
    EXPECT_EQ(project.Wa, 1.2L);
    EXPECT_EQ(tables.SurchargeTable->Cell(2, 0).AsFloat(), 3.0L);

    // Saving goes to the current format under a new name.
    SaveStagedProjectAs(project, Path("new.kv5d"));
    EXPECT_TRUE(Exists("new.st1") && Exists("new.st2"));
    EXPECT_FALSE(Exists("old.st1"));
    EXPECT_TRUE(Exists("old.kvd"));
}

}  // namespace
}  // namespace korvel
