#include "entry/table_definitions.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct TableCase {
    const char* name;
    int identifier;
    const char* caption;
    int min_rows;
    int max_rows;
    const char* top_left;
    // Header lines of every column in English units, columns separated by " | ".
    const char* headers;
};

QString Headers(const TGridTable& table) {
    QStringList columns;
    for (int c = 0; c < table.ColumnCount(); ++c) columns.append(table.HeaderLines(c).join("/"));
    return columns.join(" | ");
}

TEST(TableDefinitions, EveryTableOfTheProgram) {
    const TableCase cases[] = {
        {"Soillayer", 0, "Specify Deflection and Slope on Wall", 1, 10, "No",
         "Case | Nodal No. | Deflection (in)   | Slope"},
        {"PileSect", 15, "Wall Stiffness", 1, 10, "Section",
         "From Node No. (Start) | To Node No. (End) | Constant or Interpolate? | Flexural "
         "Stiffness (EI) (lbs-in^2)  "},
        {"BoundCond", 123, "Concentrated Loads on Wall", 1, 20, "",
         "Constant or Interpolate? | From Node No./(Start) | To Node No./(End) | Lateral Load "
         "(lbs)   | "
         "Moment (lbs-in)   | Axial Load (lbs)  "},
        {"SoilStrength", 4, "Lateral Spring and Rotation Spring", 1, 20, "Point",
         "Constant or Interpolate? | From Node No./(Start) | To Node No./(End) | "
         "Lateral Spring/Stiffness (lbs/in)   | Rotational Spr./Stiff. (lbs-in/RAD.)  "},
        {"TiebackTable1", 77, "Tieback (ground anchor) Table", 1, 20, "",
         "Depth from top/of wall, (ft)   | Cross sectional area/of steel rod, (in^2)   | "
         "Elastic modulus/of steel, (lbs/in^2)   | Unbonded anchor/length, (ft)   | "
         "Angle from/horizontal, (DEG.)   | Anchor spacing/in each row, (ft)  "},
        {"PYMod", 16, "p-y Modification Factors", 2, 30, "",
         "Depth (ft)   | p-Multiplier | y-Multiplier"},
        {"DistLoad", 22, "Distributed Loads", 2, 100, "",
         "Depth measured from the top of the wall, (ft)   | Lateral distributed line load, "
         "(lbs/ft)  "},
        {"LongDist", 104, "Distributed Load (Long-Term)", 1, 1200, "",
         "Depth measured from the top of the wall, (ft)   | Lateral distributed line load, "
         "(lbs/ft)  "},
        {"SurchargeTable", 23, "Surcharge Loads", 1, 20, "",
         "Load Types | Load Magnitude (SEE NOTES)   | Distance, X (in)   | Width of Strip Load, W "
         "(in)  "},
        {"NewSoil", 19, "Soil Layers", 1, 10, "",
         "Soil/Type | Depth at Bottom/of the Layer, (ft)   | Edit Soil/Parameters"},
        {"LongSoil", 44, "Soil Layers (Long-Term)", 1, 10, "",
         "Soil/Type | Depth at Bottom/of the Layer, (ft)   | Edit Soil/Parameters"},
        {"TblClay1", 18, "Clay", 2, 2, "",
         "Total Unit/Weight, (lbs/ft^3)   | Cohesive/Strength, (lbs/ft^2)   | E50 | k(py) "
         "(lbs/in^3)   | "
         "Optional Earth/Pressure Coefficient"},
        {"TblSand1", 17, "Sand", 2, 2, "",
         "Total Unit/Weight, (lbs/ft^3)   | Friction/Angle, deg. | k(py) (lbs/in^3)   | "
         "Optional Earth/Pressure Coefficient"},
        {"TblSilt1", 29, "Silt", 2, 2, "",
         "Total Unit/Weight, (lbs/ft^3)   | Friction/Angle, deg. | Cohesive/Strength, (lbs/ft^2)   "
         "| E50 | "
         "K(py) (lbs/in^3)   | Optional Earth/Pressure Coefficient"},
        {"TblRock1", 30, "Strong Rock", 2, 2, "",
         "Total Unit/Weight, (lbs/ft^3)   | Uniaxial Compressive/Strength, (lbs/in^2)  "},
        {"TblRock2", 31, "Weak Rock", 2, 2, "",
         "Total Unit/Weight, (lbs/ft^3)   | Uniaxial Compressive/Strength, (lbs/in^2)   | krm * | "
         "Elastic/Modulus, (lbs/in^2)   | RQD/%"},
        {"PYCurves2", 37, "Sets of Ext. p-y Curves", 2, 30, "",
         "Node # | p-y Curve | Multiplier for p-value | Multiplier for y-value"},
        {"PYCurve2", 38, "External p-y Curve", 2, 17, "Point",
         "Lateral Deflection, y (*) (in)   | Soil Resistance, p (lbs/in)  "},
        {"MEICurves2", 36, "Nonlinear Moment vs EI Curves", 1, 20, "Section",
         "From Node No. (Start) | To Node No. (End) | Moment vs EI Curve"},
        {"Rows2", 0, "Moment and EI data", 1, 100, "Point",
         "Bending moment (lbs-in)   | Flexural rigidity (lbs-in^2)  "},
    };
    TProgramTables tables;
    EXPECT_EQ(tables.AllTables().size(), std::size(cases));
    for (const TableCase& c : cases) {
        const TGridTable* table = tables.FindByName(c.name);
        ASSERT_NE(table, nullptr) << c.name;
        EXPECT_EQ(table->Identifier(), c.identifier) << c.name;
        EXPECT_EQ(table->Caption(), c.caption) << c.name;
        EXPECT_EQ(table->MinRows(), c.min_rows) << c.name;
        EXPECT_EQ(table->MaxRows(), c.max_rows) << c.name;
        EXPECT_EQ(table->TopLeft(), c.top_left) << c.name;
        EXPECT_EQ(Headers(*table), c.headers) << c.name;
        // A new project starts every table with MinRows rows of defaults.
        EXPECT_EQ(table->RowCount(), c.min_rows) << c.name;
        EXPECT_FALSE(table->Modified()) << c.name;
    }
}

TEST(TableDefinitions, DefaultsAndLimits) {
    TProgramTables tables;
    EXPECT_EQ(tables.PileSect->Cell(1, 0).AsInteger(), 1);  // To Node defaults to 1
    EXPECT_EQ(tables.PileSect->Cell(2, 0).AsInteger(), 1);  // constant value
    EXPECT_EQ(tables.PYMod->Cell(1, 1).AsFloat(), 1);       // p-multiplier
    EXPECT_EQ(tables.PYMod->Cell(2, 1).AsFloat(), 1);       // y-multiplier
    EXPECT_EQ(tables.PYCurves2->Cell(3, 0).AsFloat(), 1);
    const auto& to_node = static_cast<const TIntColumn&>(tables.SoilStrength->Column(2));
    EXPECT_EQ(to_node.Min, INT_MIN);
    EXPECT_EQ(to_node.Max, INT_MAX);
    const auto& soil_type = static_cast<const TEnumColumn&>(tables.LongSoil->Column(0));
    EXPECT_EQ(soil_type.Items.value(1), "Stiff Clay with Free water");
    EXPECT_EQ(static_cast<const TEnumColumn&>(tables.NewSoil->Column(0)).Items.value(1),
              "Stiff Clay with Free Water");
    EXPECT_EQ(static_cast<const TEnumColumn&>(tables.BoundCond->Column(0)).Items.value(0),
              "Use Constant Values for all Nodes on this Line");
    EXPECT_EQ(static_cast<const TEnumColumn&>(tables.PileSect->Column(2)).Items.value(0),
              "Use Constant Value for all Nodes on this Line");
}

TEST(TableDefinitions, CommentsAndPictures) {
    TProgramTables tables;
    EXPECT_TRUE(tables.PileSect->Comments().startsWith(
        "The nodal number at the top of the wall is set to be 0.\r"));
    EXPECT_TRUE(tables.SurchargeTable->Comments().endsWith(
        "\rThe unit for strip load is lbs/in^2 or kN/m^2 "));
    EXPECT_EQ(tables.TblClay1->Comments(), tables.TblSand1->Comments());
    EXPECT_EQ(tables.TblClay1->Comments(), tables.TblSilt1->Comments());
    EXPECT_EQ(tables.PYCurve2->Comments().count('\r'), 7);
    // Sub-tables carry the template's comments.
    EXPECT_EQ(tables.NewSoil->Cell(2, 0).AsTable()->Comments(), tables.TblClay1->Comments());
    EXPECT_EQ(tables.DistLoad->HelpPicture(), kEarthPressurePicture);
    EXPECT_EQ(tables.LongDist->HelpPicture(), kEarthPressurePicture);
    // The tieback drawing belongs to the tieback table, not the springs'.
    EXPECT_TRUE(tables.SoilStrength->HelpPicture().isEmpty());
    EXPECT_EQ(tables.TiebackTable1->HelpPicture(), kTiebackPicture);
    // A layer's parameters: its top and its bottom, also in the layer's own copy.
    EXPECT_EQ(tables.TblClay1->RowNames(), QStringList({"Top", "Bottom"}));
    tables.NewSoil->SetRowCount(1);
    ASSERT_NE(tables.NewSoil->Cell(2, 0).AsTable(), nullptr);
    EXPECT_EQ(tables.NewSoil->Cell(2, 0).AsTable()->RowNames(), QStringList({"Top", "Bottom"}));
}

TEST(TableDefinitions, ResetGoesBackToMinRowsOfDefaults) {
    TProgramTables tables;
    tables.NewSoil->SetRowCount(5);
    tables.NewSoil->Cell(1, 0).SetAsFloat(12);
    tables.NewSoil->SetModified(true);
    tables.ResetDataTables();
    EXPECT_EQ(tables.NewSoil->RowCount(), 1);
    EXPECT_EQ(tables.NewSoil->Cell(1, 0).AsFloat(), 0);
    EXPECT_FALSE(tables.NewSoil->Modified());
}

}  // namespace
}  // namespace korvel
