// Enabled, visible and checked states of the main window's menus and tool
// buttons, computed from the project and the files beside its data file. Model
// code: the window copies these states into its actions when a menu opens.
#pragma once

#include <QString>
#include <array>

#include "graphs/graph_kind.h"
#include "project/program_data.h"

namespace korvel {

inline constexpr int kMaxStages = 5;

// Which files exist beside the data file, and what the last plot reading gave.
struct TResultState {
    bool DataFileExists = false;
    bool OutputReportExists = false;  // .kv5o
    bool PlotFileExists = false;      // .kv5p
    bool RunNotesExist = false;       // .kv5r
    bool PlotDataLoaded = false;
    // Per graph: at least one curve, and the first curve of its first list has
    // more than one point.
    std::array<bool, kGraphCount> GraphHasCurve{};
};

// Looks at the files beside data_file; PlotDataLoaded and the graphs are the caller's.
TResultState ResultFilesOf(const QString& data_file);

struct TDataMenuState {
    bool WallProperties = false;
    bool WallConfiguration = false;
    bool SoilLayers = false;            // plain item and submenu
    bool DistributedPressure = false;   // plain item and submenu
    bool LongTermItemsVisible = false;  // Short-Term / Long-Term inside the submenus
    bool Restraints = false;
    bool ConcentratedLoads = false;
    bool Springs = false;
    bool Tiebacks = false;
    bool ExternalPYCurves = false;
    bool EICurves = false;
    bool PYModification = false;
    bool Surcharges = false;
};
TDataMenuState DataMenuRules(const TProjectFields& project);

// Whether a table's data apply to the project as it stands: its Data menu item
// is enabled (the long-term tables also need long-term analysis on). A sub-table
// (a layer's parameters, a curve) follows the table that holds it; tables without
// a rule (the wall stiffness) always apply.
bool TableApplies(const TProgramData& project, const TGridTable& table);

// The long-term swap: submenus or plain items, and the staged options.
struct TLongTermMenus {
    bool PlainItemsVisible = true;
    bool SubmenusVisible = false;
    bool StagedOptionEnabled = true;  // menu item and the "Stage Construction Option" button
};
TLongTermMenus LongTermMenuRules(const TProjectFields& project);

struct TOptionsMenuState {
    bool GeneratePYCurves = false;
    bool ConcentratedLoads = false;
    bool Tiebacks = false;
    bool Restraints = false;
    bool ExternalPYCurves = false;
    bool Springs = false;
    bool PYModification = false;
    bool Surcharges = false;
    bool EICurves = false;
    bool LongTermEnabled = false;
    bool LongTermChecked = false;
    bool StagedEnabled = false;
    bool StagedChecked = false;
    int UnitSystem = 1;         // radio mark
    int EarthPressureType = 0;  // radio mark; 0: none chosen yet, no mark
};
// Only what the menu shows: opening it changes nothing in the project.
TOptionsMenuState OptionsMenuRules(const TProjectFields& project, int unit_system);

struct TStageMenuState {
    std::array<bool, kMaxStages> StageEnabled{};
    std::array<bool, kMaxStages> StageChecked{};
    bool UpdateCurrentStage = false;
    bool CopyPreviousStage = false;
};
TStageMenuState StageMenuRules(const TProjectFields& project);

struct TStageButtonState {
    bool Visible = false;
    std::array<bool, kMaxStages> Enabled{};
    std::array<bool, kMaxStages> Down{};
};
TStageButtonState StageButtonRules(const TProjectFields& project);
// "Construction Stage Number: n" for a staged project, else empty.
QString StageStatusText(const TProjectFields& project);
inline bool IsStaged(const TProjectFields& project) {
    return project.StageCount > 1;
}

struct TComputationMenuState {
    bool EditInput = false;
    bool EditRunNotes = false;
    bool EditOutput = false;
    bool ViewWallGeometry = false;
};
TComputationMenuState ComputationMenuRules(const TResultState& results);

struct TGraphicsMenuState {
    std::array<bool, kGraphCount> Graph{};  // by TGraphKind
    bool Export = false;
};
// Graph items need results and their graph; Combined and the export only results;
// "Deflection, Moment and Shear" the three graphs it joins.
TGraphicsMenuState GraphicsMenuRules(const TResultState& results);

struct TToolBarState {
    // The result buttons of pltPY, pltDef, pltMom, pltShear, pltSoil, pltLD and pltDMS.
    std::array<bool, kGraphCount> Graph{};
    bool ViewOutput = false;
    bool StageOption = true;
};
TToolBarState ToolBarRules(const TProjectFields& project, const TResultState& results);

// The child to bring to the front for a Window-menu item: the first caption equal
// to the item's caption with its first "&" removed; -1 when none.
int WindowListTarget(const QStringList& child_captions, const QString& item_caption);

}  // namespace korvel
