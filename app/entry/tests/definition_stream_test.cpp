#include "entry/definition_stream.h"

#include <gtest/gtest.h>

#include "entry/entry_errors.h"
#include "entry/grid_table.h"
#include "entry/table_definitions.h"

namespace korvel {
namespace {

std::string ReadError(TGridTable& table, TDefinitionStream stream) {
    try {
        table.ReadColumns(stream);
    } catch (const EGridError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(DefinitionStream, EveryProgramTableSurvivesTheByteForm) {
    TProgramTables tables;
    for (TGridTable* table : tables.AllTables()) {
        TDefinitionStream out;
        table->WriteColumns(out);
        TDefinitionStream in = TDefinitionStream::FromBytes(out.ToBytes());
        TTableRegistry registry;
        std::unique_ptr<TGridTable> copy;
        if (dynamic_cast<TGridTableChart*>(table)) {
            copy = std::make_unique<TGridTableChart>(registry);
        } else {
            copy = std::make_unique<TGridTable>(registry);
        }
        ASSERT_NO_THROW(copy->ReadColumns(in)) << table->objectName().toStdString();
        TDefinitionStream again;
        copy->WriteColumns(again);
        EXPECT_EQ(again.ToBytes(), out.ToBytes()) << table->objectName().toStdString();
        ASSERT_EQ(copy->ColumnCount(), table->ColumnCount());
        for (int c = 0; c < table->ColumnCount(); ++c) {
            EXPECT_EQ(copy->HeaderLines(c), table->HeaderLines(c));
        }
    }
}

TEST(DefinitionStream, ExtendedRealsKeepEveryBit) {
    TDefinitionStream out;
    for (long double v : {0.1L, -1.0L / 3.0L, 1e-4000L, 0.0L, 2147483600.5L}) out.WriteFloat(v);
    TDefinitionStream in = TDefinitionStream::FromBytes(out.ToBytes());
    for (long double v : {0.1L, -1.0L / 3.0L, 1e-4000L, 0.0L, 2147483600.5L})
        EXPECT_EQ(in.ReadFloat(), v);
}

TEST(DefinitionStream, ReadingErrors) {
    TTableRegistry registry;
    TGridTable table(registry);

    EXPECT_EQ(ReadError(table, TDefinitionStream()), "Error reading column count");

    TDefinitionStream wrong_count;
    wrong_count.WriteString("two");
    EXPECT_EQ(ReadError(table, wrong_count), "Error reading column count");

    TDefinitionStream bad_kind;
    bad_kind.WriteInteger(1);
    bad_kind.WriteInteger(7);
    EXPECT_EQ(ReadError(table, bad_kind), "Error Column Class not defined");

    TDefinitionStream bad_marker;
    bad_marker.WriteInteger(2);
    bad_marker.WriteInteger(1);  // integer column
    bad_marker.WriteStringList({"Node"});
    bad_marker.WriteBoolean(true);
    bad_marker.WriteBoolean(false);
    for (int v : {0, 0, 10}) bad_marker.WriteInteger(v);
    bad_marker.WriteInteger(2);  // real column without its marker
    bad_marker.WriteStringList({"Depth"});
    bad_marker.WriteBoolean(true);
    bad_marker.WriteBoolean(false);
    bad_marker.WriteBoolean(false);
    bad_marker.WriteString("FLOATCOLUMN");
    EXPECT_EQ(ReadError(table, bad_marker),
              "Error occurred when creating column 1: Invalid property value");

    TDefinitionStream cut_short;
    cut_short.WriteInteger(1);
    cut_short.WriteInteger(4);
    cut_short.WriteStringList({"Name"});
    EXPECT_EQ(ReadError(table, cut_short),
              "Error occurred when creating column 0: Stream read error");

    TDefinitionStream lone_top;
    lone_top.WriteInteger(1);
    lone_top.WriteInteger(2);
    lone_top.WriteStringList({"Top"});
    lone_top.WriteBoolean(true);
    lone_top.WriteBoolean(false);
    lone_top.WriteBoolean(true);  // top-depth without a real column after it
    lone_top.WriteString("FLOATCOLUMN2");
    lone_top.WriteString("L2");
    lone_top.WriteFloat(0);
    EXPECT_EQ(ReadError(table, lone_top),
              "If column if a topdepth then the next column must be a float column");
}

TEST(DefinitionStream, ChartTablesNeedTheirGraphicParameters) {
    TTableRegistry registry;
    TGridTableChart source(registry);
    source.AddFloatColumn({"y"}, "L");
    source.AddFloatColumn({"p"}, "F/L");
    TDefinitionStream columns_only;
    source.TGridTable::WriteColumns(columns_only);
    TGridTableChart copy(registry);
    EXPECT_EQ(ReadError(copy, columns_only), "Error reading graphic parameters");

    source.Chart.ShowChart = true;
    source.Chart.YColumn = 1;
    TDefinitionStream full;
    source.WriteColumns(full);
    copy.ReadColumns(full);
    EXPECT_TRUE(copy.Chart.ShowChart);
    EXPECT_EQ(copy.Chart.YColumn, 1);
}

}  // namespace
}  // namespace korvel
