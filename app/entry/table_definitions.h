// Every grid table of the program, defined once with its captions, units, limits,
// defaults and comments. The main window owns one TProgramTables; the project
// model reads and writes the tables' cells, the table windows edit them.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "entry/grid_table.h"
#include "entry/grid_table_chart.h"
#include "entry/table_registry.h"

namespace korvel {

// Names of the help pictures that table windows show under their comments.
inline constexpr const char* kEarthPressurePicture = "EarthPressureDiagram";
inline constexpr const char* kTiebackPicture = "TiebackDiagram";
// Rows of the long-term pressure table: what the engine stores of a pressure
// table, and so what the data-file reader accepts.
inline constexpr int kMaxLongTermPressureRows = 1200;

struct TProgramTables {
    TProgramTables();
    ~TProgramTables();
    TProgramTables(const TProgramTables&) = delete;
    TProgramTables& operator=(const TProgramTables&) = delete;

    // Declared first so that they outlive the tables registered in them.
    TTableRegistry GridRegistry;
    TTableRegistry ChartRegistry;

    std::unique_ptr<TGridTable> Soillayer;       // specified deflections and slopes (RESTRAINT)
    std::unique_ptr<TGridTable> PileSect;        // wall stiffness (STIFFNESS)
    std::unique_ptr<TGridTable> BoundCond;       // concentrated loads (CONCLOADS)
    std::unique_ptr<TGridTable> SoilStrength;    // lateral and rotational springs (SPRINGS)
    std::unique_ptr<TGridTable> TiebackTable1;   // tiebacks (TIEBACK)
    std::unique_ptr<TGridTable> PYMod;           // p-y modification factors (PYMOD)
    std::unique_ptr<TGridTable> DistLoad;        // user pressure, short term (EPUSER)
    std::unique_ptr<TGridTable> LongDist;        // user pressure, long term (EPUSER)
    std::unique_ptr<TGridTable> SurchargeTable;  // additional surcharges (SURCHARGES)
    std::unique_ptr<TGridTable> NewSoil;         // soil layers, short term (SOILS)
    std::unique_ptr<TGridTable> LongSoil;        // soil layers, long term (SOILS)
    // Templates of the soil parameter sub-tables (row 1 top, row 2 bottom of a layer).
    std::unique_ptr<TGridTable> TblClay1;
    std::unique_ptr<TGridTable> TblSand1;
    std::unique_ptr<TGridTable> TblSilt1;
    std::unique_ptr<TGridTable> TblRock1;
    std::unique_ptr<TGridTable> TblRock2;
    std::unique_ptr<TGridTableChart> PYCurves2;   // sets of external p-y curves (PYSET)
    std::unique_ptr<TGridTableChart> PYCurve2;    // template: the points of one p-y curve
    std::unique_ptr<TGridTableChart> MEICurves2;  // moment-EI curves (EICURVE)
    std::unique_ptr<TGridTableChart> Rows2;       // template: the points of one moment-EI curve

    // Tables that hold project data (chart tables included), in menu order.
    std::vector<TGridTable*> DataTables() const;
    // Sub-table templates.
    std::vector<TGridTable*> TemplateTables() const;
    std::vector<TGridTable*> AllTables() const;
    // The table with this object name ("PileSect"), or nullptr.
    TGridTable* FindByName(const QString& name) const;

    // New project: every data table to zero rows, then MinRows rows of defaults.
    void ResetDataTables();
};

}  // namespace korvel
