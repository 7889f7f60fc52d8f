#include "entry/table_definitions.h"

#include <climits>

namespace korvel {
namespace {

// Largest node number accepted in the "From" columns.
constexpr int kMaxFromNode = 2147483600;
// Node numbers of moment-EI curves: the wall has at most 300 increments; the
// curve table allows up to 1000.
constexpr int kMaxCurveNode = 1000;

const QStringList kInterpolationItems{
    QStringLiteral("Use Constant Values for all Nodes on this Line"),
    QStringLiteral("Linear Interpolate to End Node of Next Line")};

const QStringList kSoilTypes{QStringLiteral("Soft Clay"),
                             QStringLiteral("Stiff Clay with Free Water"),
                             QStringLiteral("Stiff Clay w/o Free Water"),
                             QStringLiteral("Sand"),
                             QStringLiteral("Silt (c-phi soil)"),
                             QStringLiteral("Strong Rock"),
                             QStringLiteral("Weak Rock")};

// Parameter templates of soil types 1 to 7: three clays, sand, silt, two rocks.
const QList<int> kSoilTemplates{18, 18, 18, 17, 29, 30, 31};

const char* const kOptionalKComment =
    "The user may optionally enter an earth pressure coefficient for generating \r"
    "lateral earth pressure that is equal to the vertical soil pressure multiplied \r"
    "by this user-specified coefficient. If the user does not intend to use this option, \r"
    "please leave the optional earth pressure coefficient as zero and the program will \r"
    "use the active earth pressure coefficient calculated internally.";

const char* const kInterpolationComment =
    "Linear interpolation (when selected) is performed from START node of previous line to END "
    "node of the following line.";

template <typename T>
std::unique_ptr<T> MakeTable(TTableRegistry& registry, int identifier, const char* name,
                             const char* caption, int min_rows, int max_rows,
                             const char* top_left = "") {
    auto table = std::make_unique<T>(registry);
    table->setObjectName(QString::fromLatin1(name));
    table->SetIdentifier(identifier);
    table->SetCaption(QString::fromLatin1(caption));
    table->SetMinRows(min_rows);
    table->SetMaxRows(max_rows);
    table->SetTopLeft(QString::fromLatin1(top_left));
    return table;
}

QStringList Lines(std::initializer_list<const char*> lines) {
    QStringList list;
    for (const char* line : lines) list.append(QString::fromLatin1(line));
    return list;
}

void AddDistributedLoadColumns(TGridTable& table) {
    table.AddFloatColumn(Lines({"Depth measured from the top of the wall,"}), "L2");
    table.AddFloatColumn(Lines({"Lateral distributed line load,"}), "F/L2");
    table.SetHelpPicture(kEarthPressurePicture);
}

void AddSoilLayerColumns(TGridTable& table, const QStringList& soil_types) {
    table.AddEnumColumn(Lines({"Soil", "Type"}), soil_types);
    table.AddFloatColumn(Lines({"Depth at Bottom", "of the Layer,"}), "L2");
    table.AddTableColumn(Lines({"Edit Soil", "Parameters"}), kSoilTemplates);
}

void AddUnitWeightColumn(TGridTable& table) {
    table.AddFloatColumn(Lines({"Total Unit", "Weight,"}), "F/L2^3");
}

void AddOptionalKColumn(TGridTable& table) {
    table.AddFloatColumn(Lines({"Optional Earth", "Pressure Coefficient"}));
    table.SetComments(kOptionalKComment);
}

}  // namespace

TProgramTables::TProgramTables() {
    // --- Soil parameter templates: two rows, top and bottom of the layer.
    TblClay1 = MakeTable<TGridTable>(GridRegistry, 18, "TblClay1", "Clay", 2, 2);
    AddUnitWeightColumn(*TblClay1);
    TblClay1->AddFloatColumn(Lines({"Cohesive", "Strength,"}), "F/L2^2");
    TblClay1->AddFloatColumn(Lines({"E50"}));
    TblClay1->AddFloatColumn(Lines({"k(py)"}), "F/L^3");
    AddOptionalKColumn(*TblClay1);

    TblSand1 = MakeTable<TGridTable>(GridRegistry, 17, "TblSand1", "Sand", 2, 2);
    AddUnitWeightColumn(*TblSand1);
    TblSand1->AddFloatColumn(Lines({"Friction", "Angle, deg."}));
    TblSand1->AddFloatColumn(Lines({"k(py)"}), "F/L^3");
    AddOptionalKColumn(*TblSand1);

    TblSilt1 = MakeTable<TGridTable>(GridRegistry, 29, "TblSilt1", "Silt", 2, 2);
    AddUnitWeightColumn(*TblSilt1);
    TblSilt1->AddFloatColumn(Lines({"Friction", "Angle, deg."}));
    TblSilt1->AddFloatColumn(Lines({"Cohesive", "Strength,"}), "F/L2^2");
    TblSilt1->AddFloatColumn(Lines({"E50"}));
    TblSilt1->AddFloatColumn(Lines({"K(py)"}), "F/L^3");
    AddOptionalKColumn(*TblSilt1);

    TblRock1 = MakeTable<TGridTable>(GridRegistry, 30, "TblRock1", "Strong Rock", 2, 2);
    AddUnitWeightColumn(*TblRock1);
    TblRock1->AddFloatColumn(Lines({"Uniaxial Compressive", "Strength,"}), "F/L^2");

    TblRock2 = MakeTable<TGridTable>(GridRegistry, 31, "TblRock2", "Weak Rock", 2, 2);
    AddUnitWeightColumn(*TblRock2);
    TblRock2->AddFloatColumn(Lines({"Uniaxial Compressive", "Strength,"}), "F/L^2");
    TblRock2->AddFloatColumn(Lines({"krm *"}));
    TblRock2->AddFloatColumn(Lines({"Elastic", "Modulus,"}), "F/L^2");
    TblRock2->AddFloatColumn(Lines({"RQD", "%"}));
    TblRock2->SetComments(
        "* krm is a strain constant that seve to establish the overall stiffness of the curves");

    // --- Data tables.
    Soillayer = MakeTable<TGridTable>(GridRegistry, 0, "Soillayer",
                                      "Specify Deflection and Slope on Wall", 1, 10, "No");
    Soillayer->AddEnumColumn(Lines({"Case"}), Lines({"Specify Deflection", "Specify Slope"}));
    Soillayer->AddIntColumn(Lines({"Nodal No."}), 0, 0, kMaxFromNode);
    Soillayer->AddFloatColumn(Lines({"Deflection"}), "L");
    Soillayer->AddFloatColumn(Lines({"Slope"}));

    PileSect =
        MakeTable<TGridTable>(GridRegistry, 15, "PileSect", "Wall Stiffness", 1, 10, "Section");
    PileSect->AddIntColumn(Lines({"From Node No. (Start)"}), 0, 0, kMaxFromNode);
    PileSect->AddIntColumn(Lines({"To Node No. (End)"}), 1, 0, INT_MAX);
    PileSect->AddEnumColumn(Lines({"Constant or Interpolate?"}),
                            Lines({"Use Constant Value for all Nodes on this Line",
                                   "Linear Interpolate to End Node of Next Line"}));
    PileSect->AddFloatColumn(Lines({"Flexural Stiffness (EI)"}), "F-L^2");
    PileSect->SetComments(
        QStringLiteral(
            "The nodal number at the top of the wall is set to be 0.\r"
            "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\r") +
        kInterpolationComment);

    BoundCond =
        MakeTable<TGridTable>(GridRegistry, 123, "BoundCond", "Concentrated Loads on Wall", 1, 20);
    BoundCond->AddEnumColumn(Lines({"Constant or Interpolate?"}), kInterpolationItems);
    BoundCond->AddIntColumn(Lines({"From Node No.", "(Start)"}), 0, 0, kMaxFromNode);
    BoundCond->AddIntColumn(Lines({"To Node No.", "(End)"}), 1, 0, INT_MAX);
    BoundCond->AddFloatColumn(Lines({"Lateral Load"}), "F");
    BoundCond->AddFloatColumn(Lines({"Moment"}), "F-L");
    BoundCond->AddFloatColumn(Lines({"Axial Load"}), "F");
    BoundCond->SetComments(QStringLiteral("The concentrated loads are applied at nodal points only "
                                          "(including the specified START and END "
                                          "nodes).\r") +
                           kInterpolationComment);

    SoilStrength = MakeTable<TGridTable>(GridRegistry, 4, "SoilStrength",
                                         "Lateral Spring and Rotation Spring", 1, 20, "Point");
    SoilStrength->AddEnumColumn(Lines({"Constant or Interpolate?"}), kInterpolationItems);
    SoilStrength->AddIntColumn(Lines({"From Node No.", "(Start)"}), 0, 0, INT_MAX);
    SoilStrength->AddIntColumn(Lines({"To Node No.", "(End)"}), 0, INT_MIN, INT_MAX);
    SoilStrength->AddFloatColumn(Lines({"Lateral Spring", "Stiffness"}), "F/L");
    SoilStrength->AddFloatColumn(Lines({"Rotational Spr.", "Stiff."}), "F-L/RAD.");
    SoilStrength->SetComments(QStringLiteral("The spring stiffnesses are applied at nodal points "
                                             "only (including the specified START and END "
                                             "nodes).\r") +
                              kInterpolationComment);

    TiebackTable1 = MakeTable<TGridTable>(GridRegistry, 77, "TiebackTable1",
                                          "Tieback (ground anchor) Table", 1, 20);
    TiebackTable1->AddFloatColumn(Lines({"Depth from top", "of wall,"}), "L2");
    TiebackTable1->AddFloatColumn(Lines({"Cross sectional area", "of steel rod,"}), "L^2");
    TiebackTable1->AddFloatColumn(Lines({"Elastic modulus", "of steel,"}), "F/L^2");
    TiebackTable1->AddFloatColumn(Lines({"Unbonded anchor", "length,"}), "L2");
    TiebackTable1->AddFloatColumn(Lines({"Angle from", "horizontal,"}), "DEG.");
    TiebackTable1->AddFloatColumn(Lines({"Anchor spacing", "in each row,"}), "L2");
    TiebackTable1->SetHelpPicture(kTiebackPicture);

    PYMod = MakeTable<TGridTable>(GridRegistry, 16, "PYMod", "p-y Modification Factors", 2, 30);
    PYMod->AddFloatColumn(Lines({"Depth"}), "L2");
    PYMod->AddFloatColumn(Lines({"p-Multiplier"}), "", 1.0L);
    PYMod->AddFloatColumn(Lines({"y-Multiplier"}), "", 1.0L);

    DistLoad = MakeTable<TGridTable>(GridRegistry, 22, "DistLoad", "Distributed Loads", 2, 100);
    AddDistributedLoadColumns(*DistLoad);
    LongDist = MakeTable<TGridTable>(GridRegistry, 104, "LongDist", "Distributed Load (Long-Term)",
                                     1, kMaxLongTermPressureRows);
    AddDistributedLoadColumns(*LongDist);

    SurchargeTable =
        MakeTable<TGridTable>(GridRegistry, 23, "SurchargeTable", "Surcharge Loads", 1, 20);
    SurchargeTable->AddEnumColumn(Lines({"Load Types"}),
                                  Lines({"Point Load", "Line Load", "Strip Load"}));
    SurchargeTable->AddFloatColumn(Lines({"Load Magnitude"}), "SEE NOTES");
    SurchargeTable->AddFloatColumn(Lines({"Distance, X"}), "L1");
    SurchargeTable->AddFloatColumn(Lines({"Width of Strip Load, W"}), "L1");
    SurchargeTable->SetComments(
        "The unit for point load is lbs or kN \rThe unit for line load is lbs/in. or kN/m \r"
        "The unit for strip load is lbs/in^2 or kN/m^2 ");

    NewSoil = MakeTable<TGridTable>(GridRegistry, 19, "NewSoil", "Soil Layers", 1, 10);
    AddSoilLayerColumns(*NewSoil, kSoilTypes);
    QStringList long_term_types = kSoilTypes;
    long_term_types[1] = QStringLiteral("Stiff Clay with Free water");
    LongSoil =
        MakeTable<TGridTable>(GridRegistry, 44, "LongSoil", "Soil Layers (Long-Term)", 1, 10);
    AddSoilLayerColumns(*LongSoil, long_term_types);

    // --- Chart tables (their own Identifier space).
    PYCurve2 = MakeTable<TGridTableChart>(ChartRegistry, 38, "PYCurve2", "External p-y Curve", 2,
                                          17, "Point");
    PYCurve2->AddFloatColumn(Lines({"Lateral Deflection, y (*)"}), "L");
    PYCurve2->AddFloatColumn(Lines({"Soil Resistance, p"}), "F/L");
    PYCurve2->Chart.ShowChart = true;
    PYCurve2->GetDataFromFile = true;
    PYCurve2->SetComments(
        "* Use negative (-) values for deflections to the left (to backfill)\r"
        "     and positive (+) to the right (to excavation).\r"
        "Lateral movement (y) should start from negative deflection\r"
        "     (towards backfill) and gradually increase to positive\r"
        "     deflection (towards excavation) for the range of the response.\r"
        "Positive soil resistance (p) should correspond to the negative\r"
        "     soil movement (-y) and negative soil resistance (-p) should\r"
        "     correspond to the positive soil movement (y).");

    Rows2 = MakeTable<TGridTableChart>(ChartRegistry, 0, "Rows2", "Moment and EI data", 1, 100,
                                       "Point");
    Rows2->AddFloatColumn(Lines({"Bending moment"}), "F-L");
    Rows2->AddFloatColumn(Lines({"Flexural rigidity"}), "F-L^2");
    Rows2->Chart.ShowChart = true;
    Rows2->GetDataFromFile = true;

    PYCurves2 = MakeTable<TGridTableChart>(ChartRegistry, 37, "PYCurves2",
                                           "Sets of Ext. p-y Curves", 2, 30);
    PYCurves2->AddIntColumn(Lines({"Node #"}), 0, INT_MIN, INT_MAX);
    PYCurves2->AddTableColumn(Lines({"p-y Curve"}), {38});
    PYCurves2->AddFloatColumn(Lines({"Multiplier for p-value"}), "", 1.0L);
    PYCurves2->AddFloatColumn(Lines({"Multiplier for y-value"}), "", 1.0L);

    MEICurves2 = MakeTable<TGridTableChart>(ChartRegistry, 36, "MEICurves2",
                                            "Nonlinear Moment vs EI Curves", 1, 20, "Section");
    MEICurves2->AddIntColumn(Lines({"From Node No. (Start)"}), 0, 0, kMaxCurveNode);
    MEICurves2->AddIntColumn(Lines({"To Node No. (End)"}), 0, 0, kMaxCurveNode);
    MEICurves2->AddTableColumn(Lines({"Moment vs EI Curve"}), {0});

    // The soil parameter tables hold the values at the layer's top and bottom.
    for (TGridTable* table :
         {TblClay1.get(), TblSand1.get(), TblSilt1.get(), TblRock1.get(), TblRock2.get()}) {
        table->SetRowNames({QStringLiteral("Top"), QStringLiteral("Bottom")});
    }
    for (TGridTable* table : TemplateTables()) table->SetRowCount(table->MinRows());
    ResetDataTables();
}

TProgramTables::~TProgramTables() = default;

std::vector<TGridTable*> TProgramTables::DataTables() const {
    return {PileSect.get(),       BoundCond.get(), SoilStrength.get(), Soillayer.get(),
            TiebackTable1.get(),  PYMod.get(),     DistLoad.get(),     LongDist.get(),
            SurchargeTable.get(), NewSoil.get(),   LongSoil.get(),     PYCurves2.get(),
            MEICurves2.get()};
}

std::vector<TGridTable*> TProgramTables::TemplateTables() const {
    return {TblClay1.get(), TblSand1.get(), TblSilt1.get(), TblRock1.get(),
            TblRock2.get(), PYCurve2.get(), Rows2.get()};
}

std::vector<TGridTable*> TProgramTables::AllTables() const {
    std::vector<TGridTable*> all = DataTables();
    for (TGridTable* table : TemplateTables()) all.push_back(table);
    return all;
}

TGridTable* TProgramTables::FindByName(const QString& name) const {
    for (TGridTable* table : AllTables()) {
        if (table->objectName() == name) return table;
    }
    return nullptr;
}

void TProgramTables::ResetDataTables() {
    for (TGridTable* table : DataTables()) {
        table->SetRowCount(0);
        table->SetRowCount(table->MinRows());
        table->SetModified(false);
    }
}

}  // namespace korvel
