#include "project/project_history.h"

#include <gtest/gtest.h>

#include "project/stage_files.h"
#include "project_fixture.h"

namespace korvel {
namespace {

class ProjectHistoryTest : public ProjectTest {
  protected:
    ProjectHistoryTest() {
        project.FreeHeight = 180.0L;  // 15 ft
        history.Reset();
    }
    // An edit as a dialog makes it: the value goes in and the project is modified.
    template <typename T>
    void Edit(T TProjectFields::*field, T value) {
        project.*field = value;
        project.SetModified(true);
    }
    TProjectHistory history{project};
};

TEST_F(ProjectHistoryTest, UndoAndRedoNameTheFieldAndTheModifiedStateFollows) {
    EXPECT_EQ(history.UndoText(), "Undo");
    EXPECT_FALSE(history.CanUndo());
    Edit(&TProjectFields::FreeHeight, 144.0L);
    history.Checkpoint();
    EXPECT_EQ(history.UndoText(), "Undo Free Height of Wall");
    EXPECT_EQ(history.RedoText(), "Redo");

    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(project.FreeHeight, 180.0L);
    EXPECT_FALSE(project.Modified()) << "back at the saved values";
    EXPECT_EQ(history.RedoText(), "Redo Free Height of Wall");
    EXPECT_FALSE(history.Undo());

    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(project.FreeHeight, 144.0L);
    EXPECT_TRUE(project.Modified());
    EXPECT_FALSE(history.Redo());
}

TEST_F(ProjectHistoryTest, ACheckpointWithoutChangeOrAfterASaveAddsNoStep) {
    history.Checkpoint();
    EXPECT_EQ(history.Count(), 0);
    Edit(&TProjectFields::Wa, 24.0L);
    history.Checkpoint(QStringLiteral("Wall Configuration"));
    history.Checkpoint();
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.UndoText(), "Undo Wall Configuration");

    // A save: the project is unmodified (and its switched-off tables emptied).
    tables.TiebackTable1->SetRowCount(0);
    project.SetModified(false);
    history.Checkpoint();
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.CleanPosition(), 1);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(project.Wa, 0.0L);
    EXPECT_TRUE(project.Modified()) << "the saved file holds 24";
    ASSERT_TRUE(history.Redo());
    EXPECT_FALSE(project.Modified());
}

TEST_F(ProjectHistoryTest, ANewEditAfterUndoDropsTheRedoAndTheCleanPosition) {
    Edit(&TProjectFields::FreeHeight, 144.0L);
    history.Checkpoint();
    project.SetModified(false);  // saved with 144
    history.Checkpoint();
    ASSERT_TRUE(history.Undo());
    Edit(&TProjectFields::FreeHeight, 120.0L);
    history.Checkpoint();
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.CleanPosition(), -1);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(project.FreeHeight, 180.0L);
    EXPECT_TRUE(project.Modified()) << "the file holds 144, which no position holds now";
}

TEST_F(ProjectHistoryTest, TableStepsPutRowsAndSubTablesBack) {
    TGridTable& soil = *tables.NewSoil;
    soil.Cell(1, 0).SetAsFloat(10.0L);
    soil.Cell(2, 0).AsTable()->Cell(1, 0).SetAsFloat(500.0L);
    project.SetModified(false);
    history.Reset();

    soil.SetRowCount(3);
    soil.Cell(0, 2).SetAsInteger(4);  // sand: a sub-table of another kind
    soil.Cell(1, 2).SetAsFloat(40.0L);
    soil.SetModified(true);
    history.Checkpoint(QStringLiteral("Paste in Soil Layers"));
    soil.Cell(2, 0).AsTable()->Cell(1, 0).SetAsFloat(750.0L);
    soil.Cell(2, 0).AsTable()->SetModified(true);
    history.Checkpoint();
    EXPECT_EQ(history.UndoText(), "Undo Soil Layers");

    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->Cell(1, 0).AsFloat(), 500.0L);
    EXPECT_EQ(soil.RowCount(), 3);
    EXPECT_EQ(history.UndoText(), "Undo Paste in Soil Layers");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(soil.RowCount(), 1);
    EXPECT_EQ(soil.Cell(1, 0).AsFloat(), 10.0L);
    EXPECT_FALSE(project.Modified());

    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(soil.RowCount(), 3);
    EXPECT_EQ(soil.Cell(2, 2).AsTable()->Caption(), "Sand");
    EXPECT_EQ(soil.Cell(1, 2).AsFloat(), 40.0L);
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->Cell(1, 0).AsFloat(), 750.0L);
}

TEST_F(ProjectHistoryTest, AUnitSwitchIsUndoneExactly) {
    tables.NewSoil->Cell(1, 0).SetAsFloat(17.3L);  // ft
    project.SetModified(false);
    history.Reset();
    project.SetUnitSystem(kSIUnits);
    project.SetModified(true);
    history.Checkpoint(QStringLiteral("SI Units (kN, m)"));
    EXPECT_NEAR(static_cast<double>(project.FreeHeight), 180.0 * 0.0254, 1e-12);
    int switched_to = 0;
    history.SwitchUnits = [&](int system) {
        switched_to = system;
        project.SetUnitSystem(system);
    };

    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(switched_to, kEnglishUnits) << "the other stages convert through the Units menu";
    EXPECT_EQ(project.UnitSystem(), kEnglishUnits);
    EXPECT_EQ(project.FreeHeight, 180.0L);
    EXPECT_EQ(tables.NewSoil->UnitSystem(), kEnglishUnits);
    EXPECT_EQ(tables.NewSoil->Cell(1, 0).AsFloat(), 17.3L);
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(project.UnitSystem(), kSIUnits);
    EXPECT_NEAR(static_cast<double>(project.FreeHeight), 4.572, 1e-12);
}

TEST_F(ProjectHistoryTest, AStepOfAnotherStageIsUndoneOnItsOwnStage) {
    project.FileName = Path("staged.kv5d");
    ChangeStageCount(project, 3);
    project.SetModified(false);
    history.Reset();
    std::vector<int> switches;
    history.SwitchStage = [&](int stage) {
        switches.push_back(stage);
        SwitchToStage(project, stage);
        return true;
    };

    SwitchToStage(project, 2);
    history.Checkpoint();  // a stage switch is no step
    EXPECT_EQ(history.Count(), 0);
    Edit(&TProjectFields::FreeHeight, 150.0L);
    history.Checkpoint();
    SwitchToStage(project, 3);
    history.Checkpoint();
    Edit(&TProjectFields::FreeHeight, 210.0L);
    history.Checkpoint();
    ASSERT_EQ(history.Count(), 2);

    ASSERT_TRUE(history.Undo());  // stage 3's edit, on stage 3
    EXPECT_TRUE(switches.empty());
    EXPECT_EQ(project.FreeHeight, 180.0L);
    ASSERT_TRUE(history.Undo());  // stage 2's edit: stage 2 is made current first
    EXPECT_EQ(switches, std::vector<int>{2});
    EXPECT_EQ(project.CurrentStage, 2);
    EXPECT_EQ(project.FreeHeight, 180.0L);
    SwitchToStage(project, 3);
    EXPECT_EQ(project.FreeHeight, 180.0L) << "stage 3 kept its own value";

    ASSERT_TRUE(history.Redo());  // stage 2's edit again, on stage 2
    EXPECT_EQ(project.CurrentStage, 2);
    EXPECT_EQ(project.FreeHeight, 150.0L);
    SwitchToStage(project, 3);
    EXPECT_EQ(project.FreeHeight, 180.0L);
    SwitchToStage(project, 1);
    EXPECT_EQ(project.FreeHeight, 180.0L);
}

TEST_F(ProjectHistoryTest, AChangeOfEveryStageIsAStepOnlyWithoutStages) {
    Edit(&TProjectFields::Increments, 48);
    history.CheckpointEveryStage(QStringLiteral("Set Wall Length"));
    EXPECT_EQ(history.UndoText(), "Undo Set Wall Length");

    project.FileName = Path("every.kv5d");
    ChangeStageCount(project, 2);
    history.Checkpoint();  // a new stage count: a fresh history
    Edit(&TProjectFields::FreeHeight, 150.0L);
    history.Checkpoint();
    ASSERT_TRUE(history.CanUndo());
    Edit(&TProjectFields::Increments, 50);
    history.CheckpointEveryStage(QStringLiteral("Set Wall Length"));
    EXPECT_FALSE(history.CanUndo()) << "undoing one stage would leave the others changed";
    EXPECT_EQ(project.Increments, 50);
}

TEST_F(ProjectHistoryTest, ANewProjectStartsAFreshHistory) {
    Edit(&TProjectFields::FreeHeight, 144.0L);
    history.Checkpoint();
    project.CreateNew();
    history.Checkpoint();
    EXPECT_EQ(history.Count(), 0);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.CleanPosition(), 0);
}

}  // namespace
}  // namespace korvel
