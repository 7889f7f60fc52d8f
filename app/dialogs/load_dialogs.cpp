#include "dialogs/load_dialogs.h"

#include "entry/table_definitions.h"

namespace korvel {
namespace {

constexpr TTableDialogLayout kConLoads{
    "Concentrated Loads",        "DlgConLoads",
    "Apply &Concentrated Loads", &TProjectFields::ApplyConcentratedLoads,
    "&Edit Concentrated Loads",  TDiagramKind::kConcentratedLoads};
constexpr TTableDialogLayout kSprings{
    "Lateral & Rotational Springs",    "DlgSpring",
    "&Lateral and Rotational Springs", &TProjectFields::ApplySprings,
    "&Edit Spring Stiffness",          TDiagramKind::kSprings};
constexpr TTableDialogLayout kTieback{
    "Tieback (Ground Anchor)", "DlgTieback",          nullptr, nullptr,
    "&Enter Tieback data",     TDiagramKind::kTieback};
constexpr TTableDialogLayout kSurcharge{
    "Additional Surcharge",  "DlgRebar", nullptr, nullptr, "&Edit Surcharge Loads",
    TDiagramKind::kSurcharge};

}  // namespace

TDlgConLoads::TDlgConLoads(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                           QWidget* parent)
    : TTableDialog(project, *tables.BoundCond, area, kConLoads, parent) {}

TDlgSpring::TDlgSpring(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                       QWidget* parent)
    : TTableDialog(project, *tables.SoilStrength, area, kSprings, parent) {}

TDlgTieback::TDlgTieback(TProgramData& project, TProgramTables& tables, QMdiArea* area,
                         QWidget* parent)
    : TTableDialog(project, *tables.TiebackTable1, area, kTieback, parent) {}

TDlgRebar::TDlgRebar(TProgramData& project, TProgramTables& tables, QMdiArea* area, QWidget* parent)
    : TTableDialog(project, *tables.SurchargeTable, area, kSurcharge, parent) {}

}  // namespace korvel
