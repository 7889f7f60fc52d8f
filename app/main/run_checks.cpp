#include "main/run_checks.h"

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "project/data_file_writer.h"

namespace korvel {
namespace {

// Any non-zero value in the given columns of the table's rows.
bool AnyNonZero(TGridTable& table, std::initializer_list<int> columns) {
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int column : columns) {
            if (table.Cell(column, row).AsFloat() != 0.0L) return true;
        }
    }
    return false;
}

// Columns of the tables read here, as table_definitions.cpp lays them out.
constexpr int kDistLoadColumn = 1;     // DistLoad, LongDist: lateral distributed load
constexpr int kLateralLoadColumn = 3;  // BoundCond: lateral load, then moment
constexpr int kMomentColumn = 4;
constexpr int kDeflectionColumn = 2;  // Soillayer: deflection, then slope
constexpr int kSlopeColumn = 3;

}  // namespace

bool WallCarriesLoad(const TProgramData& project) {
    TProgramTables& tables = project.Tables();
    // Judged by what the data file says, derived as the writer derives it.
    const TSectionOptions options = SectionOptions(project, TSectionKind::kFirst);
    // Triangular or trapezoidal pressure is generated from the soil layers, with
    // the additional surcharges (which load the wall only through that pressure).
    if (options.EarthPressureOption >= 2) return true;
    if (options.EarthPressureOption == 1) {
        if (AnyNonZero(*tables.DistLoad, {kDistLoadColumn})) return true;
        if (project.LongTermAnalysis && AnyNonZero(*tables.LongDist, {kDistLoadColumn}))
            return true;
    }
    if (project.ApplyConcentratedLoads &&
        AnyNonZero(*tables.BoundCond, {kLateralLoadColumn, kMomentColumn})) {
        return true;
    }
    return project.ApplyRestraints &&
           AnyNonZero(*tables.Soillayer, {kDeflectionColumn, kSlopeColumn});
}

}  // namespace korvel
