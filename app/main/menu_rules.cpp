#include "main/menu_rules.h"

#include <QFileInfo>
#include <QStringList>
#include <utility>

#include "entry/grid_table.h"
#include "main/file_names.h"

namespace korvel {

TResultState ResultFilesOf(const QString& data_file) {
    TResultState state;
    state.DataFileExists = QFileInfo::exists(data_file);
    state.OutputReportExists = QFileInfo::exists(OutputReportPath(data_file));
    state.PlotFileExists = QFileInfo::exists(PlotDataPath(data_file));
    state.RunNotesExist = QFileInfo::exists(RunNotesPath(data_file));
    return state;
}

TDataMenuState DataMenuRules(const TProjectFields& project) {
    // Every project this program makes has analysis type 1; the rule that asks
    // for a non-zero type is then always met.
    TDataMenuState state;
    state.WallProperties = true;
    state.Restraints = project.ApplyRestraints;
    state.ConcentratedLoads = project.ApplyConcentratedLoads;
    state.Springs = project.ApplySprings;
    state.Tiebacks = project.ApplyTiebacks;
    state.ExternalPYCurves = project.ApplyExternalPYCurves;
    state.EICurves = project.ApplyEICurves;
    state.PYModification = project.ApplyPYModification;
    state.Surcharges = project.ApplySurcharges;
    const bool soils = GeneratesEarthPressure(project) || project.GeneratePYCurves;
    state.SoilLayers = soils;
    state.WallConfiguration = soils;
    state.LongTermItemsVisible = project.LongTermAnalysis && !IsStaged(project);
    state.DistributedPressure = UsesUserEarthPressure(project);
    return state;
}

bool TableApplies(const TProgramData& project, const TGridTable& table) {
    const TGridTable* top = &table;
    while (top->ParentTable()) top = top->ParentTable();
    const TProgramTables& t = project.Tables();
    const TDataMenuState s = DataMenuRules(project);
    const bool long_term = project.LongTermAnalysis;
    const std::pair<const TGridTable*, bool> rules[] = {
        {t.NewSoil.get(), s.SoilLayers},
        {t.LongSoil.get(), s.SoilLayers && long_term},
        {t.DistLoad.get(), s.DistributedPressure},
        {t.LongDist.get(), s.DistributedPressure && long_term},
        {t.Soillayer.get(), s.Restraints},
        {t.BoundCond.get(), s.ConcentratedLoads},
        {t.SoilStrength.get(), s.Springs},
        {t.TiebackTable1.get(), s.Tiebacks},
        {t.PYMod.get(), s.PYModification},
        {t.PYCurves2.get(), s.ExternalPYCurves},
        {t.MEICurves2.get(), s.EICurves},
        {t.SurchargeTable.get(), s.Surcharges},
    };
    for (const auto& [rule_table, applies] : rules) {
        if (rule_table == top) return applies;
    }
    return true;
}

TLongTermMenus LongTermMenuRules(const TProjectFields& project) {
    TLongTermMenus menus;
    menus.PlainItemsVisible = !project.LongTermAnalysis;
    menus.SubmenusVisible = project.LongTermAnalysis;
    menus.StagedOptionEnabled = !project.LongTermAnalysis;
    return menus;
}

TOptionsMenuState OptionsMenuRules(const TProjectFields& project, int unit_system) {
    TOptionsMenuState state;
    state.GeneratePYCurves = project.GeneratePYCurves;
    state.ConcentratedLoads = project.ApplyConcentratedLoads;
    state.Tiebacks = project.ApplyTiebacks;
    state.Restraints = project.ApplyRestraints;
    state.ExternalPYCurves = project.ApplyExternalPYCurves;
    state.Springs = project.ApplySprings;
    state.PYModification = project.ApplyPYModification;
    state.Surcharges = project.ApplySurcharges;
    state.EICurves = project.ApplyEICurves;
    state.LongTermEnabled = !IsStaged(project);
    state.LongTermChecked = project.LongTermAnalysis;
    state.StagedEnabled = !project.LongTermAnalysis;
    state.StagedChecked = IsStaged(project);
    state.UnitSystem = unit_system;
    // A project whose pressure was never chosen is saved without one: no mark.
    state.EarthPressureType = project.EarthPressureType >= 1 && project.EarthPressureType <= 3
                                  ? project.EarthPressureType
                                  : 0;
    return state;
}

TStageMenuState StageMenuRules(const TProjectFields& project) {
    TStageMenuState state;
    const bool staged = IsStaged(project);
    for (int n = 1; n <= kMaxStages; ++n) {
        state.StageEnabled[n - 1] = n == 1 ? staged : n <= project.StageCount;
        state.StageChecked[n - 1] = staged && n == project.CurrentStage;
    }
    state.UpdateCurrentStage = staged;
    state.CopyPreviousStage = staged && project.CurrentStage > 1;
    return state;
}

TStageButtonState StageButtonRules(const TProjectFields& project) {
    TStageButtonState state;
    state.Visible = IsStaged(project);
    for (int n = 1; n <= kMaxStages; ++n) {
        state.Enabled[n - 1] = project.StageCount > std::max(1, n - 1);
        state.Down[n - 1] = n == project.CurrentStage;
    }
    return state;
}

QString StageStatusText(const TProjectFields& project) {
    if (!IsStaged(project)) return {};
    return QStringLiteral("Construction Stage Number: ") + QString::number(project.CurrentStage);
}

TComputationMenuState ComputationMenuRules(const TResultState& results) {
    TComputationMenuState state;
    state.EditInput = results.DataFileExists;
    state.EditRunNotes = results.RunNotesExist;
    state.EditOutput = results.OutputReportExists;
    state.ViewWallGeometry = results.PlotDataLoaded && results.PlotFileExists;
    return state;
}

TGraphicsMenuState GraphicsMenuRules(const TResultState& results) {
    TGraphicsMenuState state;
    const bool loaded = results.PlotDataLoaded && results.PlotFileExists;
    for (int i = 0; i < kGraphCount; ++i) state.Graph[i] = loaded && results.GraphHasCurve[i];
    state.Graph[GraphIndex(TGraphKind::kCombine)] = loaded;
    state.Graph[GraphIndex(TGraphKind::kDMS)] = state.Graph[GraphIndex(TGraphKind::kDef)] &&
                                                state.Graph[GraphIndex(TGraphKind::kMom)] &&
                                                state.Graph[GraphIndex(TGraphKind::kShear)];
    state.Export = loaded;
    return state;
}

TToolBarState ToolBarRules(const TProjectFields& project, const TResultState& results) {
    TToolBarState state;
    const bool loaded = results.PlotDataLoaded && results.PlotFileExists;
    for (int i = 0; i < kGraphCount; ++i) state.Graph[i] = loaded && results.GraphHasCurve[i];
    state.Graph[GraphIndex(TGraphKind::kDMS)] = state.Graph[GraphIndex(TGraphKind::kDef)] &&
                                                state.Graph[GraphIndex(TGraphKind::kMom)] &&
                                                state.Graph[GraphIndex(TGraphKind::kShear)];
    state.ViewOutput = results.OutputReportExists;
    state.StageOption = !project.LongTermAnalysis;
    return state;
}

int WindowListTarget(const QStringList& child_captions, const QString& item_caption) {
    QString caption = item_caption;
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    if (amp >= 0) caption.remove(amp, 1);
    return static_cast<int>(child_captions.indexOf(caption));
}

}  // namespace korvel
