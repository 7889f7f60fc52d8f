#include "entry/grid_table.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QSignalSpy>

#include "entry/entry_errors.h"
#include "entry/table_definitions.h"

namespace korvel {
namespace {

std::string CommitError(TGridTable& table, int column, int row, const QString& text) {
    try {
        table.Cell(column, row).SetAsString(text);
    } catch (const EKorvelError& error) {
        return error.what();
    }
    return "(accepted)";
}

class ProgramTablesTest : public ::testing::Test {
  protected:
    TProgramTables tables;
    QObject window;  // stands for an open editing window
};

struct ValidationCase {
    const char* table;
    int column;
    const char* entry;
    const char* message;
};

TEST_F(ProgramTablesTest, TypedEntriesAreValidatedByTheirColumn) {
    const ValidationCase cases[] = {
        {"PileSect", 0, "2.5", "Entry must be an integer."},
        {"PileSect", 0, "2147483601", "Entry must be between 0 and 2147483600."},
        {"PileSect", 0, "-1", "Entry must be between 0 and 2147483600."},
        {"BoundCond", 1, "2147483647", "Entry must be between 0 and 2147483600."},
        {"MEICurves2", 1, "1001", "Entry must be between 0 and 1000."},
        {"PileSect", 3, "", "Entry cannot be blank."},
        {"PileSect", 3, "  ", "Entry cannot be blank."},
        {"PileSect", 3, "abc", "abc is not a valid number."},
        {"PileSect", 3, "1/0", "1/0 is not a valid number."},
        {"PileSect", 2, "1.5", "Value must be an integer."},
        {"PileSect", 2, "3", "Entry must be between 1 and 2."},
        {"NewSoil", 0, "x", "x is not a valid number."},
    };
    for (const ValidationCase& c : cases) {
        TGridTable& table = *tables.FindByName(c.table);
        table.SetEditor(&window);
        const QString before = table.Cell(c.column, 0).AsString();
        EXPECT_EQ(CommitError(table, c.column, 0, c.entry), c.message) << c.table << " " << c.entry;
        EXPECT_EQ(table.Cell(c.column, 0).AsString(), before)
            << "refused entry changed " << c.table;
    }
}

TEST_F(ProgramTablesTest, AcceptedEntriesAreStoredAsValues) {
    TGridTable& pile = *tables.PileSect;
    pile.SetEditor(&window);
    pile.Cell(0, 0).SetAsString("2147483600");
    EXPECT_EQ(pile.Cell(0, 0).AsInteger(), 2147483600);
    pile.Cell(1, 0).SetAsString("3*4");
    EXPECT_EQ(pile.Cell(1, 0).AsInteger(), 12);
    pile.Cell(3, 0).SetAsString("2.9e7*1000");
    EXPECT_EQ(pile.Cell(3, 0).AsFloat(), 2.9e10L);
    EXPECT_EQ(pile.Cell(3, 0).AsString(), "2.9E10");
    pile.Cell(3, 0).SetAsString("1/3");
    EXPECT_EQ(pile.Cell(3, 0).AsString(), "0.33333333");
    pile.Cell(2, 0).SetAsString("2");
    EXPECT_EQ(pile.Cell(2, 0).AsInteger(), 2);
    // Without a window (reading a file) a fraction is rounded, not refused.
    pile.SetEditor(nullptr);
    pile.Cell(0, 0).SetAsString("2.4");
    EXPECT_EQ(pile.Cell(0, 0).AsInteger(), 2);
}

TEST_F(ProgramTablesTest, AccessorsRefuseOtherKinds) {
    TGridTable& soil = *tables.NewSoil;
    const auto wrong = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const EGridError& e) {
            return std::string(e.what());
        }
        return std::string("(accepted)");
    };
    EXPECT_EQ(wrong([&] { soil.Cell(1, 0).AsInteger(); }), "Data of wrong type");
    EXPECT_EQ(wrong([&] { soil.Cell(0, 0).AsFloat(); }), "Data of wrong type");
    EXPECT_EQ(wrong([&] { soil.Cell(2, 0).AsString(); }), "Data of wrong type");
    EXPECT_EQ(wrong([&] { soil.Cell(2, 0).SetAsString("1"); }), "Data of wrong type");
    EXPECT_EQ(wrong([&] { soil.Cell(1, 0).AsTable(); }), "Data of wrong type");
    EXPECT_THROW(soil.Cell(0, 5), EGridError);
    EXPECT_EQ(soil.Cell(0, 0).AsString(), "1");
}

TEST_F(ProgramTablesTest, ChangingTheSoilTypeReplacesTheParameterTable) {
    TGridTable& soil = *tables.NewSoil;
    soil.SetRowCount(3);
    TGridTable* clay = soil.Cell(2, 1).AsTable();
    ASSERT_NE(clay, nullptr);
    EXPECT_EQ(clay->Caption(), "Clay");
    clay->Cell(0, 0).SetAsFloat(120);

    QSignalSpy replaced(&soil, &TGridTable::subTableReplaced);
    soil.Cell(0, 1).SetAsInteger(1);  // same choice: the data stay
    EXPECT_EQ(soil.Cell(2, 1).AsTable(), clay);
    EXPECT_EQ(replaced.count(), 0);

    soil.Cell(0, 1).SetAsString("4");  // Sand
    TGridTable* sand = soil.Cell(2, 1).AsTable();
    ASSERT_NE(sand, nullptr);
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(sand->Caption(), "Sand");
    EXPECT_EQ(sand->RowCount(), 2);
    EXPECT_EQ(sand->ColumnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 2; ++r) EXPECT_EQ(sand->Cell(c, r).AsFloat(), 0) << c << "," << r;
    }
    EXPECT_EQ(sand->RowNumber(), 2);
    EXPECT_EQ(sand->ParentTable(), &soil);
    // Other rows keep their tables.
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->Caption(), "Clay");
    // Each soil type gets its own template.
    const char* captions[] = {"Clay", "Clay", "Clay", "Sand", "Silt", "Strong Rock", "Weak Rock"};
    for (int type = 1; type <= 7; ++type) {
        soil.Cell(0, 2).SetAsInteger(type);
        EXPECT_EQ(soil.Cell(2, 2).AsTable()->Caption(), captions[type - 1]);
    }
}

TEST_F(ProgramTablesTest, DeletingALayerRenumbersTheParameterTables) {
    TGridTable& soil = *tables.NewSoil;
    soil.SetRowCount(3);
    TGridTable* second = soil.Cell(2, 1).AsTable();
    TGridTable* third = soil.Cell(2, 2).AsTable();
    QSignalSpy renumbered(third, &TGridTable::rowNumberChanged);
    soil.DeleteRowGroup(0);
    ASSERT_EQ(soil.RowCount(), 2);
    EXPECT_EQ(soil.Cell(2, 0).AsTable(), second);
    EXPECT_EQ(soil.Cell(2, 1).AsTable(), third);
    EXPECT_EQ(second->RowNumber(), 1);
    EXPECT_EQ(third->RowNumber(), 2);
    EXPECT_EQ(renumbered.count(), 1);
    EXPECT_EQ(third->WindowTitle(), "Clay  2");

    soil.InsertRowGroup(0);
    EXPECT_EQ(soil.Cell(2, 0).AsTable()->RowNumber(), 1);
    EXPECT_EQ(second->RowNumber(), 2);
    EXPECT_EQ(third->RowNumber(), 3);
    EXPECT_EQ(soil.WindowTitle(), "Soil Layers ");
}

TEST_F(ProgramTablesTest, UnitSwitchConvertsRealColumnsAndSubTables) {
    TGridTable& soil = *tables.NewSoil;
    soil.Cell(0, 0).SetAsInteger(2);
    soil.Cell(1, 0).SetAsFloat(10);  // ft
    TGridTable* clay = soil.Cell(2, 0).AsTable();
    clay->Cell(0, 0).SetAsFloat(120);   // pcf
    clay->Cell(4, 0).SetAsFloat(0.4L);  // dimensionless
    TGridTable& surcharge = *tables.SurchargeTable;
    surcharge.Cell(1, 0).SetAsFloat(5);   // SEE NOTES: converted by the project, not the table
    surcharge.Cell(2, 0).SetAsFloat(12);  // in

    QSignalSpy switched(&soil, &TGridTable::unitSystemChanged);
    for (TGridTable* table : tables.DataTables()) table->SetUnitSystem(2);
    EXPECT_EQ(switched.count(), 1);
    EXPECT_EQ(soil.Cell(1, 0).AsString(), "3.048");  // as the grid shows it
    EXPECT_EQ(clay->Cell(0, 0).AsString().left(5), "18.85");
    EXPECT_EQ(clay->Cell(4, 0).AsFloat(), 0.4L);
    EXPECT_EQ(clay->UnitSystem(), 2);
    EXPECT_EQ(soil.Cell(0, 0).AsInteger(), 2);
    EXPECT_EQ(surcharge.Cell(1, 0).AsFloat(), 5);
    EXPECT_EQ(surcharge.Cell(2, 0).AsString(), "304.8");
    EXPECT_EQ(soil.HeaderLines(1), QStringList({"Depth at Bottom", "of the Layer, (m)  "}));

    soil.SetUnitSystem(2);  // same system: nothing happens
    EXPECT_EQ(switched.count(), 1);
    soil.AddRowGroup();  // a new sub-table inherits the system
    EXPECT_EQ(soil.Cell(2, 1).AsTable()->UnitSystem(), 2);

    soil.SetUnitSystem(1);
    EXPECT_NEAR(double(soil.Cell(1, 0).AsFloat()), 10, 1e-12);
    EXPECT_NEAR(double(clay->Cell(0, 0).AsFloat()), 120, 1e-12);
}

TEST_F(ProgramTablesTest, OtherUnitsConvertNothing) {
    TGridTable& soil = *tables.NewSoil;
    soil.Cell(1, 0).SetAsFloat(10);
    soil.SetUnitSystem(3);
    soil.SetUnitSystem(2);
    EXPECT_EQ(soil.Cell(1, 0).AsFloat(), 10);
    soil.SetUnitSystem(9);  // clamped to Other
    EXPECT_EQ(soil.UnitSystem(), 3);
}

TEST_F(ProgramTablesTest, ModifiedIncludesSubTables) {
    TGridTable& soil = *tables.NewSoil;
    EXPECT_FALSE(soil.Modified());
    TGridTable* clay = soil.Cell(2, 0).AsTable();
    clay->SetModified(true);
    EXPECT_TRUE(soil.Modified());
    soil.SetModified(false);
    EXPECT_FALSE(clay->Modified());
    EXPECT_FALSE(soil.Modified());
}

TEST_F(ProgramTablesTest, ChartTablesFindTemplatesAmongChartTablesOnly) {
    // Identifier 0 is both Soillayer (plain) and Rows2 (chart).
    TGridTable* curve = tables.MEICurves2->Cell(2, 0).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Caption(), "Moment and EI data");
    EXPECT_NE(dynamic_cast<TGridTableChart*>(curve), nullptr);
    EXPECT_TRUE(static_cast<TGridTableChart*>(curve)->Chart.ShowChart);
    EXPECT_EQ(tables.PYCurves2->RowCount(), 2);
    TGridTable* py = tables.PYCurves2->Cell(1, 1).AsTable();
    ASSERT_NE(py, nullptr);
    EXPECT_EQ(py->Caption(), "External p-y Curve");
    EXPECT_EQ(py->RowCount(), 2);
    EXPECT_EQ(py->MaxRows(), 17);
    EXPECT_EQ(py->TopLeft(), "Point");
    EXPECT_EQ(tables.PYCurves2->Cell(2, 0).AsFloat(), 1);
}

TEST(GridTable, RowGroupsShareANumberAndMoveTogether) {
    TTableRegistry registry;
    TGridTable table(registry);
    table.SetRowGroup(2);
    table.AddIntColumn({"Node"}, 7, 0, 100).GroupWide = true;
    table.AddFloatColumn({"Value"});
    table.SetRowCount(3);  // whole groups
    ASSERT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.GroupNumber(0), 1);
    EXPECT_EQ(table.GroupNumber(1), 1);
    EXPECT_EQ(table.GroupNumber(3), 2);
    table.Cell(0, 3).SetAsInteger(5);  // group-wide: rows 2 and 3
    EXPECT_EQ(table.Cell(0, 2).AsInteger(), 5);
    EXPECT_EQ(table.Cell(0, 1).AsInteger(), 7);
    table.Cell(1, 2).SetAsFloat(2.5L);  // not group-wide
    EXPECT_EQ(table.Cell(1, 3).AsFloat(), 0);

    table.InsertRowGroup(3);  // before the group of row 3, i.e. at row 2
    ASSERT_EQ(table.RowCount(), 6);
    EXPECT_EQ(table.Cell(0, 2).AsInteger(), 7);
    EXPECT_EQ(table.Cell(1, 4).AsFloat(), 2.5L);
    table.DeleteRowGroup(1);
    ASSERT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.Cell(1, 2).AsFloat(), 2.5L);
    table.SetRowCount(-3);
    EXPECT_EQ(table.RowCount(), 0);
}

TEST(GridTable, LimitsAndTheirMessages) {
    TTableRegistry registry;
    TGridTable table(registry);
    table.AddFloatColumn({"x"});
    try {
        table.SetMinRows(0);
        ADD_FAILURE();
    } catch (const EGridError& e) {
        EXPECT_STREQ(e.what(), "Value must be greater than 0");
    }
    table.SetRowCount(2);
    for (int row : {-1, 2}) {
        try {
            table.DeleteRowGroup(row);
            ADD_FAILURE();
        } catch (const EGridError& e) {
            EXPECT_STREQ(e.what(), "Grid.Row not in valid range");
        }
    }
    table.SetMinRows(2);
    table.SetMaxRows(2);
    EXPECT_FALSE(table.ShowsRowButtons());
    EXPECT_FALSE(table.CanAddRows());
    EXPECT_FALSE(table.CanDeleteRows());
    table.SetMinRows(1);
    table.SetMaxRows(0);  // no limit: Add is never disabled
    for (int rows : {0, 1, 50}) {
        table.SetRowCount(rows);
        EXPECT_TRUE(table.CanAddRows()) << rows;
    }
    EXPECT_TRUE(table.CanDeleteRows());
}

TEST(GridTable, TopDepthFollowsThePreviousBottom) {
    TTableRegistry registry;
    TGridTable table(registry);
    table.AddFloatColumn({"Top"}, "L2").TopDepth = true;
    table.AddFloatColumn({"Bottom"}, "L2", 5);
    table.SetRowCount(3);
    EXPECT_EQ(table.Cell(0, 1).AsFloat(), 5);  // previous bottom
    table.Cell(1, 0).SetAsFloat(10);
    EXPECT_EQ(table.Cell(0, 1).AsFloat(), 10);
    table.Cell(0, 2).SetAsFloat(20);
    EXPECT_EQ(table.Cell(1, 1).AsFloat(), 20);
    table.InsertRowGroup(1);  // the new row starts at the bottom of row 0
    EXPECT_EQ(table.Cell(0, 1).AsFloat(), 10);
    EXPECT_EQ(table.Cell(0, 2).AsFloat(), 5);
    table.DeleteRowGroup(1);
    EXPECT_EQ(table.Cell(0, 1).AsFloat(), 10);
}

TEST(GridTable, IdentifiersSwapWhenTaken) {
    TTableRegistry registry;
    TGridTable a(registry);
    TGridTable b(registry);
    EXPECT_EQ(a.Identifier(), 0);
    EXPECT_EQ(b.Identifier(), 1);
    b.SetIdentifier(0);
    EXPECT_EQ(b.Identifier(), 0);
    EXPECT_EQ(a.Identifier(), 1);
    a.SetIdentifier(-4);
    EXPECT_EQ(a.Identifier(), 1);
    EXPECT_EQ(registry.Find(0), &b);
}

TEST(GridTable, TemplateListFollowsTheChoiceItems) {
    TTableRegistry registry;
    TGridTable sub(registry);
    sub.SetIdentifier(50);
    sub.SetCaption("Detail");
    sub.AddFloatColumn({"v"});
    TGridTable table(registry);
    table.AddEnumColumn({"Kind"}, {"A", "B", "C"});
    TTableColumn& flex = table.AddTableColumn({"Edit"}, {50});
    EXPECT_EQ(flex.TemplateIds, QList<int>({50, -1, -1}));
    table.SetRowCount(1);
    EXPECT_EQ(table.Cell(1, 0).AsTable()->Caption(), "Detail");
    table.Cell(0, 0).SetAsInteger(2);  // no template: no sub-table
    EXPECT_EQ(table.Cell(1, 0).AsTable(), nullptr);
}

}  // namespace
}  // namespace korvel
