#include "project/project_snapshot.h"

#include <QStringList>

namespace korvel {
namespace {

// Every value the user sets, with the caption the Edit menu names it by.
template <typename T>
struct TNamedField {
    T TProjectFields::*Field;
    const char* Caption;
};

constexpr TNamedField<long double> kRealFields[] = {
    {&TProjectFields::IncrementLength, "Increment Length"},
    {&TProjectFields::MaxDeflection, "Maximum Allowable Deflection"},
    {&TProjectFields::ClosureTolerance, "Deflection Closure Tolerance"},
    {&TProjectFields::FreeHeight, "Free Height of Wall"},
    {&TProjectFields::Wa, "Width for Active Earth Pressure"},
    {&TProjectFields::Wp, "Width for p-y Soil Resistance"},
    {&TProjectFields::WaterDepthBackfill, "Depth to the Water Table in Backfill Side"},
    {&TProjectFields::WaterDepthExcavation, "Depth to the Water Table in Excavation Side"},
    {&TProjectFields::ActivePressureFactor, "Modification Factor for Active Earth Pressure"},
    {&TProjectFields::BackfillSlope, "Slope of the Backfill"},
    {&TProjectFields::UniformSurcharge, "Uniform Distributed Load"},
    {&TProjectFields::SurchargeDistance, "Surcharge Distance"},
    {&TProjectFields::PointLoad, "Point Load"},
    {&TProjectFields::LineLoad, "Line Load"},
    {&TProjectFields::StripLoad, "Strip Load"},
    {&TProjectFields::StripWidth, "Strip Width"},
};

constexpr TNamedField<int> kIntegerFields[] = {
    {&TProjectFields::Increments, "Increments"},
    {&TProjectFields::WaterFlag, "Water Pressure"},
    {&TProjectFields::EarthPressureType, "Earth-Pressure Option"},
};

constexpr TNamedField<bool> kFlagFields[] = {
    {&TProjectFields::ApplyRestraints, "Apply Restraints"},
    {&TProjectFields::ApplyConcentratedLoads, "Apply Concentrated Loads"},
    {&TProjectFields::ApplySprings, "Apply Lateral Springs"},
    {&TProjectFields::ApplyTiebacks, "Apply Tieback"},
    {&TProjectFields::ApplyPYModification, "Apply p-y Modification Factors"},
    {&TProjectFields::ApplyExternalPYCurves, "Apply External p-y Curves"},
    {&TProjectFields::ApplyEICurves, "Apply Nonlinear Moment vs EI Curves"},
    {&TProjectFields::ApplySurcharges, "Apply Additional Surcharge Loads"},
    {&TProjectFields::GeneratePYCurves, "Generate p-y Curves"},
    {&TProjectFields::PYCurvesAtEveryStation, "Generate p-y Curves at Every Station"},
    {&TProjectFields::LongTermAnalysis, "Short-Term and Long-Term Analyses"},
};

constexpr TNamedField<QString> kTextFields[] = {
    {&TProjectFields::Title, "Title"},
};

template <typename T, size_t N>
void Take(const TNamedField<T> (&fields)[N], const TProjectFields& from, std::vector<T>& to) {
    to.clear();
    for (const auto& f : fields) to.push_back(from.*f.Field);
}

template <typename T, size_t N>
void Put(const TNamedField<T> (&fields)[N], const std::vector<T>& from, TProjectFields& to) {
    for (size_t i = 0; i < N && i < from.size(); ++i) to.*fields[i].Field = from[i];
}

// Captions of the fields whose values differ.
template <typename T, size_t N>
void Differences(const TNamedField<T> (&fields)[N], const std::vector<T>& a,
                 const std::vector<T>& b, QStringList& changed) {
    for (size_t i = 0; i < N && i < a.size() && i < b.size(); ++i) {
        if (!(a[i] == b[i])) changed.append(QLatin1String(fields[i].Caption));
    }
}

}  // namespace

TProjectSnapshot TProjectSnapshot::Capture(const TProgramData& project) {
    TProjectSnapshot snapshot;
    Take(kRealFields, project, snapshot.Reals);
    Take(kIntegerFields, project, snapshot.Integers);
    Take(kFlagFields, project, snapshot.Flags);
    Take(kTextFields, project, snapshot.Texts);
    snapshot.FileName = project.FileName;
    snapshot.StageCount = project.StageCount;
    snapshot.CurrentStage = project.CurrentStage;
    snapshot.UnitSystem = project.UnitSystem();
    for (const TGridTable* table : project.Tables().DataTables())
        snapshot.Tables.push_back(CaptureTableState(*table));
    return snapshot;
}

void TProjectSnapshot::Restore(TProgramData& project) const {
    Put(kRealFields, Reals, project);
    Put(kIntegerFields, Integers, project);
    Put(kFlagFields, Flags, project);
    Put(kTextFields, Texts, project);
    // The switch converts every table; the values then come back exactly as held.
    project.SetUnitSystem(UnitSystem);
    const std::vector<TGridTable*> tables = project.Tables().DataTables();
    for (size_t i = 0; i < tables.size() && i < Tables.size(); ++i)
        RestoreTableState(*tables[i], Tables[i]);
}

bool TProjectSnapshot::SameValues(const TProjectSnapshot& other) const {
    return UnitSystem == other.UnitSystem && Reals == other.Reals && Integers == other.Integers &&
           Flags == other.Flags && Texts == other.Texts && Tables == other.Tables;
}

QString TProjectSnapshot::ChangeName(const TProjectSnapshot& later,
                                     const TProgramTables& tables) const {
    if (UnitSystem != later.UnitSystem) return QStringLiteral("Units");
    QStringList changed;
    Differences(kRealFields, Reals, later.Reals, changed);
    Differences(kIntegerFields, Integers, later.Integers, changed);
    Differences(kFlagFields, Flags, later.Flags, changed);
    Differences(kTextFields, Texts, later.Texts, changed);
    const std::vector<TGridTable*> data = tables.DataTables();
    for (size_t i = 0; i < Tables.size() && i < later.Tables.size() && i < data.size(); ++i) {
        if (!(Tables[i] == later.Tables[i])) changed.append(data[i]->Caption());
    }
    return changed.size() == 1 ? changed.front() : QStringLiteral("Changes");
}

}  // namespace korvel
