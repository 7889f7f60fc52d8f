#include "entry/grid_block.h"

#include <gtest/gtest.h>

#include <QObject>

#include "entry/entry_errors.h"
#include "entry/grid_table_state.h"
#include "entry/table_definitions.h"

namespace korvel {
namespace {

// The soil layer table's grid columns: type, bottom depth, parameters.
const std::vector<int> kSoilColumns{0, 1, 2};

std::string PasteError(TGridTable& table, int top, int left, const QString& text) {
    try {
        PasteBlock(table, kSoilColumns, top, left, ParseBlockText(text));
    } catch (const EKorvelError& error) {
        return error.what();
    }
    return "(pasted)";
}

class GridBlockTest : public ::testing::Test {
  protected:
    GridBlockTest() {
        tables.ResetDataTables();
        tables.NewSoil->SetEditor(&window);
    }
    TProgramTables tables;
    QObject window;  // stands for the open editing window
};

TEST(BlockText, LinesAndTabsMakeRowsAndCells) {
    struct Case {
        const char* text;
        QList<QStringList> cells;
    } cases[] = {
        {"1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
        {"1\t2\n3\t4", {{"1", "2"}, {"3", "4"}}},
        {"5\r6\r", {{"5"}, {"6"}}},
        {"x\t\ty\n", {{"x", "", "y"}}},
        {"only", {{"only"}}},
        {"", {}},
        {"\n", {}},
        {"a\n\nb\n", {{"a"}, {""}, {"b"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseBlockText(c.text), c.cells) << c.text;
}

TEST_F(GridBlockTest, AThreeByTwoBlockAddsRowsAndSelectsTheLayerKinds) {
    TGridTable& soil = *tables.NewSoil;
    ASSERT_EQ(soil.RowCount(), 1);
    // Types by number and by the name the grid shows; depths in the grid's units (ft).
    EXPECT_EQ(PasteError(soil, 0, 0, "1\t10\nSand\t22.5\n4\t30+5\n"), "(pasted)");
    ASSERT_EQ(soil.RowCount(), 3);
    const int types[] = {1, 4, 4};
    const long double depths[] = {10.0L, 22.5L, 35.0L};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(soil.Cell(0, row).AsInteger(), types[row]);
        EXPECT_EQ(soil.Cell(1, row).AsFloat(), depths[row]);
        ASSERT_NE(soil.Cell(2, row).AsTable(), nullptr);
    }
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->Caption(), "Clay");
    EXPECT_EQ(soil.Cell(2, 1).AsTable()->Caption(), "Sand");
}

TEST_F(GridBlockTest, ARefusedCellIsNamedAndNothingIsPasted) {
    TGridTable& soil = *tables.NewSoil;
    soil.Cell(1, 0).SetAsFloat(12.0L);
    const TTableState before = CaptureTableState(soil);
    struct Case {
        int top, left;
        const char* text;
        const char* message;
    } cases[] = {
        {0, 0, "1\t10\n4\tabc\n4\t30\n",
         "Row 2, column Depth at Bottom of the Layer, (ft): \"abc\" cannot be entered.\r"
         "abc is not a valid number."},
        {0, 0, "1\t10\n9\t20\n",
         "Row 2, column Soil Type: \"9\" cannot be entered.\rEntry must be between 1 and 7."},
        {0, 1, "10\tx\n",
         "Row 1, column Edit Soil Parameters: \"x\" cannot be entered.\r"
         "This cell holds a table of its own."},
        {0, 1, "10\t\t3\n", "The block has 3 columns: from column 2 the table has only 2."},
        {2, 0, "1\t1\n1\t2\n1\t3\n1\t4\n1\t5\n1\t6\n1\t7\n1\t8\n1\t9\n",
         "The block has 9 rows: from row 3 the table holds only 8."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PasteError(soil, c.top, c.left, c.text), c.message) << c.text;
        EXPECT_TRUE(CaptureTableState(soil) == before) << "a refused paste changed " << c.text;
    }
}

TEST_F(GridBlockTest, CopiedTextPastesBackToTheSameValues) {
    TGridTable& soil = *tables.NewSoil;
    ASSERT_EQ(PasteError(soil, 0, 0, "2\t7.25\n5\t1/3\n"), "(pasted)");
    const QString text = BlockText(soil, kSoilColumns, 0, 1, 0, 2);
    EXPECT_EQ(text, "2\t7.25\t\n5\t0.33333333\t\n");
    TGridTable& other = *tables.LongSoil;
    other.SetEditor(&window);
    PasteBlock(other, kSoilColumns, 0, 0, ParseBlockText(text));
    EXPECT_EQ(other.Cell(0, 1).AsInteger(), 5);
    EXPECT_EQ(other.Cell(1, 0).AsFloat(), 7.25L);
    EXPECT_EQ(BlockText(other, kSoilColumns, 0, 1, 0, 2), text);
}

TEST_F(GridBlockTest, ClearingSetsTypedCellsToTheirNewRowValue) {
    TGridTable& stiffness = *tables.PileSect;
    stiffness.SetEditor(&window);
    std::vector<int> columns;
    for (int c = 0; c < stiffness.ColumnCount(); ++c) columns.push_back(c);
    stiffness.Cell(3, 0).SetAsFloat(99.0L);
    ClearBlock(stiffness, columns, 0, 0, 3, 3);
    EXPECT_EQ(stiffness.Cell(3, 0).AsFloat(),
              static_cast<const TFloatColumn&>(stiffness.Column(3)).Default);
}

TEST_F(GridBlockTest, ARestoredStateHoldsTheRowsAndSubTablesAsCaptured) {
    TGridTable& soil = *tables.NewSoil;
    soil.Cell(1, 0).SetAsFloat(8.0L);
    soil.Cell(2, 0).AsTable()->Cell(1, 0).SetAsFloat(650.0L);
    const TTableState before = CaptureTableState(soil);
    ASSERT_EQ(PasteError(soil, 0, 0, "4\t3\n4\t9\n4\t15\n"), "(pasted)");
    soil.Cell(2, 2).AsTable()->Cell(1, 1).SetAsFloat(31.0L);
    const TTableState after = CaptureTableState(soil);
    EXPECT_FALSE(after == before);

    RestoreTableState(soil, before);
    EXPECT_TRUE(CaptureTableState(soil) == before);
    EXPECT_EQ(soil.RowCount(), 1);
    EXPECT_EQ(soil.Cell(0, 0).AsInteger(), 1);
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->Caption(), "Clay");
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->Cell(1, 0).AsFloat(), 650.0L);

    RestoreTableState(soil, after);
    EXPECT_TRUE(CaptureTableState(soil) == after);
    EXPECT_EQ(soil.Cell(2, 2).AsTable()->Cell(1, 1).AsFloat(), 31.0L);
}

}  // namespace
}  // namespace korvel
