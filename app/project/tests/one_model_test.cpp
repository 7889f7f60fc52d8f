// The project as one model: what the project holds is what a save writes and a
// reading gives back. The earth-pressure choice decides the written option by
// itself; a switched-off option's rows stay in the project; a unit switch
// converts every stage and comes back exactly; a new project reads back as
// saved; a deleted stage file is restored from the data file, never made up;
// and random sequences of the model's operations on the bundled examples keep
// "save, read back, save" byte for byte.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <random>

#include "entry/entry_errors.h"
#include "entry/grid_table.h"
#include "main/run_checks.h"
#include "project/data_file_writer.h"
#include "project/stage_files.h"
#include "project/stage_units.h"
#include "project_fixture.h"

namespace korvel {
namespace {

class OneModelTest : public ProjectTest {
  protected:
    OneModelTest() {
        qputenv("HOME", Path("home").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
    }

    // A bundled example copied into the scratch folder under name.
    QString Example(const QString& example, const QString& name) const {
        const QString target = Path(name);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + example, target));
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    static QByteArray ExampleBytes(const QString& example) {
        return ReadBytes(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + example);
    }

    // Opens path as the program does: the first section, then the stage files.
    static void Open(TProgramData& into, const QString& path) {
        ASSERT_TRUE(into.CreateFromFile(path).Complete) << path.toStdString();
        if (into.StageCount > 1) {
            ASSERT_TRUE(OpenStagedProject(into, 1).Complete);
        }
    }
    // Saves as the program does: a staged project from its stage files.
    static void Save(TProgramData& p) {
        if (p.StageCount > 1) {
            SaveStagedProjectAs(p, p.FileName);
        } else {
            p.WriteDataFile();
        }
    }

    // The CONTROL field of a section's second line, by its position (0: unit system).
    static int ControlField(const QByteArray& control, int field) {
        return control.simplified().split(' ').at(field).toInt();
    }
};

TEST_F(OneModelTest, TheEarthPressureChoiceAloneDecidesTheWrittenOption) {
    Open(project, Example("clay_over_sand_py_english.kv5d", "clay.kv5d"));
    ASSERT_EQ(project.EarthPressureType, 1);
    // The menu's radio items set the type and nothing else; the file follows it.
    const struct {
        int type;
        int written;
        bool user_table;
    } cases[] = {{2, 2, false}, {3, 3, false}, {1, 1, true}, {0, 0, false}};
    for (const auto& c : cases) {
        project.EarthPressureType = c.type;
        const QByteArray text = project.DataFileText();
        const QList<QByteArray> lines = LinesOf(text);
        EXPECT_EQ(ControlField(lines[1], 4), c.written) << c.type;
        EXPECT_EQ(SectionOptions(project, TSectionKind::kFirst).EarthPressureOption, c.written);
        // A generated distribution says 2 outside the first section.
        EXPECT_EQ(SectionOptions(project, TSectionKind::kStage).EarthPressureOption,
                  c.written >= 2 ? 2 : c.written);
        // What is saved reads back as the same choice.
        TProgramTables other_tables;
        TProgramData other(other_tables);
        ASSERT_TRUE(other.CreateFromFile(WriteFile("again.kv5d", text)).Complete);
        EXPECT_EQ(other.EarthPressureType, c.written);
        EXPECT_EQ(UsesUserEarthPressure(other), c.user_table);
        EXPECT_EQ(other.DataFileText(), text) << c.type;
    }
}

TEST_F(OneModelTest, ANewProjectSavedUnchangedReadsBackAsSaved) {
    project.FileName = Path("n.kv5d");
    project.WriteDataFile();
    const QByteArray saved = ReadBytes(project.FileName);
    ASSERT_EQ(LinesOf(saved).size(), 14);
    TProgramTables other_tables;
    TProgramData other(other_tables);
    ASSERT_TRUE(other.CreateFromFile(Path("n.kv5d")).Complete);
    EXPECT_TRUE(other.GeneratePYCurves);
    EXPECT_EQ(other.EarthPressureType, 0);
    EXPECT_EQ(other.DataFileText(), saved);
}

TEST_F(OneModelTest, ASwitchedOffOptionKeepsItsRowsUntilSwitchedOnAgain) {
    Open(project, Example("tieback_restraint_english.kv5d", "t.kv5d"));
    const QByteArray original = ExampleBytes("tieback_restraint_english.kv5d");
    ASSERT_TRUE(project.ApplyTiebacks && project.ApplyRestraints);
    const int tiebacks = tables.TiebackTable1->RowCount();
    const int restraints = tables.Soillayer->RowCount();
    ASSERT_GT(tiebacks, 0);
    project.ApplyTiebacks = false;
    project.ApplyRestraints = false;
    project.WriteDataFile();
    const QList<QByteArray> lines = LinesOf(ReadBytes(project.FileName));
    EXPECT_EQ(ControlField(lines[1], 1), 0);  // nRestraints
    EXPECT_EQ(ControlField(lines[1], 9), 0);  // nTiebacks
    EXPECT_EQ(tables.TiebackTable1->RowCount(), tiebacks);
    EXPECT_EQ(tables.Soillayer->RowCount(), restraints);
    project.ApplyTiebacks = true;
    project.ApplyRestraints = true;
    EXPECT_EQ(project.DataFileText(), original);
}

TEST_F(OneModelTest, AUnitSwitchConvertsEveryStageOfTheProject) {
    Open(project, Example("three_stages_english.kv5d", "s.kv5d"));
    ASSERT_EQ(project.StageCount, 3);
    // Free heights of the stages as the example holds them (in).
    std::vector<double> english;
    for (int stage = 1; stage <= 3; ++stage)
        english.push_back(
            LinesOf(ReadBytes(Path("s.st%1").arg(stage)))[2].split('\t')[3].toDouble());
    ASSERT_TRUE(SwitchProjectUnitSystem(project, kSIUnits).Complete);
    EXPECT_EQ(project.UnitSystem(), kSIUnits);
    EXPECT_EQ(project.CurrentStage, 1);
    for (int stage = 1; stage <= 3; ++stage) {
        const QList<QByteArray> lines = LinesOf(ReadBytes(Path("s.st%1").arg(stage)));
        EXPECT_EQ(ControlField(lines[1], 0), kSIUnits) << stage;
        // 0.0254 m to the inch: the project's own length factor.
        EXPECT_NEAR(lines[2].split('\t')[3].toDouble(), english[stage - 1] * 0.0254, 1e-7) << stage;
    }
    Save(project);
    const QByteArray data = ReadBytes(Path("s.kv5d"));
    const QList<QByteArray> lines = LinesOf(data);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (i == 0 || lines[i].contains("Stage No :")) {
            EXPECT_EQ(ControlField(lines[i + 1], 0), kSIUnits) << i;
        }
    }
}

TEST_F(OneModelTest, UnitRoundTripsAreExactAcrossStageSwitchesAndSaves) {
    Open(project, Example("three_stages_english.kv5d", "r.kv5d"));
    const QByteArray original = ExampleBytes("three_stages_english.kv5d");
    ASSERT_TRUE(SwitchProjectUnitSystem(project, kSIUnits).Complete);
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    Save(project);
    ASSERT_TRUE(SwitchToStage(project, 3).Complete);
    ASSERT_TRUE(SwitchProjectUnitSystem(project, kEnglishUnits).Complete);
    EXPECT_EQ(project.CurrentStage, 3);
    Save(project);
    EXPECT_EQ(ReadBytes(Path("r.kv5d")), original);
    // And there and back once more from another stage.
    ASSERT_TRUE(SwitchProjectUnitSystem(project, kSIUnits).Complete);
    ASSERT_TRUE(SwitchToStage(project, 1).Complete);
    ASSERT_TRUE(SwitchProjectUnitSystem(project, kEnglishUnits).Complete);
    Save(project);
    EXPECT_EQ(ReadBytes(Path("r.kv5d")), original);

    // Unstaged: the project's memory of entered values survives a save.
    TProgramTables other_tables;
    TProgramData other(other_tables);
    Open(other, Example("cantilever_english.kv5d", "c.kv5d"));
    ASSERT_TRUE(SwitchProjectUnitSystem(other, kSIUnits).Complete);
    Save(other);
    ASSERT_TRUE(SwitchProjectUnitSystem(other, kEnglishUnits).Complete);
    EXPECT_EQ(other.DataFileText(), ExampleBytes("cantilever_english.kv5d"));
}

TEST_F(OneModelTest, AStageFileThatCannotBeConvertedKeepsTheCurrentStage) {
    Open(project, Example("three_stages_english.kv5d", "f.kv5d"));
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    ASSERT_TRUE(QFile::remove(Path("f.st3")));
    ASSERT_TRUE(QDir().mkpath(Path("f.st3")));  // a folder in the stage file's place
    EXPECT_THROW(SwitchProjectUnitSystem(project, kSIUnits), EInOutError);
    EXPECT_EQ(project.CurrentStage, 2);
    EXPECT_TRUE(project.ApplyTiebacks);  // stage 2 as it was, whatever its units now
}

TEST_F(OneModelTest, ADeletedStageFileIsRestoredFromTheDataFileNeverMadeUp) {
    Open(project, Example("three_stages_english.kv5d", "d.kv5d"));
    const QByteArray stage2 = ReadBytes(Path("d.st2"));
    ASSERT_TRUE(QFile::remove(Path("d.st2")));
    EXPECT_EQ(MissingStageFiles(project), QList<int>{2});
    // The assembly refuses rather than writing a data file without stage 2.
    EXPECT_THROW(SaveStagedProjectAs(project, project.FileName), EInOutError);
    EXPECT_EQ(ReadBytes(Path("d.kv5d")), ExampleBytes("three_stages_english.kv5d"));
    ASSERT_TRUE(RestoreStageFile(project, 2));
    EXPECT_EQ(ReadBytes(Path("d.st2")), stage2);
    EXPECT_TRUE(MissingStageFiles(project).isEmpty());
    ASSERT_TRUE(SwitchToStage(project, 2).Complete);
    EXPECT_TRUE(project.ApplyTiebacks);  // stage 2's own data, not a copy of stage 1
    // A stage the data file does not hold cannot be restored.
    project.StageCount = 4;
    EXPECT_EQ(MissingStageFiles(project), QList<int>{4});
    EXPECT_FALSE(RestoreStageFile(project, 4));
    EXPECT_FALSE(QFileInfo::exists(Path("d.st4")));
}

// --- Random sequences of the model's operations ----------------------------------

class ModelPropertyTest : public OneModelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ModelPropertyTest, SavingAndReadingBackGivesTheSameProjectAfterEveryStep) {
    const QString example = QString::fromLatin1(GetParam());
    Open(project, Example(example, "p.kv5d"));
    std::mt19937 random(static_cast<unsigned>(qHash(example)));
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    bool TProjectFields::*const toggles[] = {
        &TProjectFields::ApplyConcentratedLoads, &TProjectFields::ApplySprings,
        &TProjectFields::ApplyTiebacks,          &TProjectFields::ApplyRestraints,
        &TProjectFields::ApplyPYModification,    &TProjectFields::ApplySurcharges,
        &TProjectFields::GeneratePYCurves};
    constexpr int kSteps = 24;
    for (int step = 0; step < kSteps; ++step) {
        const int op = pick(6);
        std::string done;
        switch (op) {
            case 0:  // stage switch
                if (project.StageCount > 1) {
                    const int stage = 1 + pick(project.StageCount);
                    ASSERT_TRUE(SwitchToStage(project, stage).Complete);
                    done = "stage " + std::to_string(stage);
                }
                break;
            case 1: {  // unit switch
                const int system = 1 + pick(3);
                ASSERT_TRUE(SwitchProjectUnitSystem(project, system).Complete);
                done = "units " + std::to_string(system);
                break;
            }
            case 2: {  // option toggle; one switched on gets its default rows if it has none
                bool TProjectFields::*flag = toggles[pick(std::size(toggles))];
                project.*flag = !(project.*flag);
                if (project.*flag) project.FillUpTables(false);
                done = "toggle";
                break;
            }
            case 3:  // the earth-pressure choice
                project.EarthPressureType = pick(4);
                done = "pressure " + std::to_string(project.EarthPressureType);
                break;
            case 4: {  // edits
                project.FreeHeight = 1.0L + pick(5000) / 7.0L;
                TGridTable& stiffness = *tables.PileSect;
                stiffness.Cell(3, 0).SetAsFloat(1.0e6L + pick(100000) * 12345.678L);
                done = "edit";
                break;
            }
            case 5:  // save and open again
                Save(project);
                Open(project, project.FileName);
                done = "reopen";
                break;
        }
        // Save, read back into a second project, save that: the same bytes.
        Save(project);
        const QByteArray saved = ReadBytes(project.FileName);
        const QString copy = Path("copy.kv5d");
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(project.FileName, copy));
        TProgramTables other_tables;
        TProgramData other(other_tables);
        Open(other, copy);
        EXPECT_EQ(other.UnitSystem(), project.UnitSystem()) << "step " << step << " " << done;
        // The choice the project holds is the one the file says (the reading stands
        // on stage 1; a stage file says 2 for any generated distribution).
        if (project.CurrentStage == 1) {
            const TSectionKind kind =
                project.StageCount > 1 ? TSectionKind::kStage : TSectionKind::kFirst;
            EXPECT_EQ(other.EarthPressureType, SectionOptions(project, kind).EarthPressureOption)
                << "step " << step << " " << done;
            // The run's no-load check judges the project as the saved file has it.
            EXPECT_EQ(WallCarriesLoad(other), WallCarriesLoad(project))
                << "step " << step << " " << done;
        }
        Save(other);
        ASSERT_EQ(ReadBytes(copy), saved)
            << example.toStdString() << " step " << step << " " << done;
        // Every stage of the data file is in the project's unit system.
        const QList<QByteArray> lines = LinesOf(saved);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (i == 0 || lines[i].contains("Stage No :")) {
                ASSERT_EQ(ControlField(lines[i + 1], 0), project.UnitSystem())
                    << "step " << step << " " << done;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BundledExamples, ModelPropertyTest,
                         ::testing::Values("three_stages_english.kv5d", "cantilever_english.kv5d",
                                           "tieback_restraint_english.kv5d",
                                           "anchored_trapezoidal_si.kv5d",
                                           "short_long_term_si.kv5d", "surcharges_english.kv5d",
                                           "user_py_curves_english.kv5d", "pymod_sand_english.kv5d",
                                           "moment_ei_english.kv5d"));

}  // namespace
}  // namespace korvel
