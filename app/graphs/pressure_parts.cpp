#include "graphs/pressure_parts.h"

#include <algorithm>
#include <cmath>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/units.h"
#include "graphs/graph_plot.h"
#include "project/program_data.h"
#include "project/soil_slots.h"

namespace korvel {
namespace {

constexpr double kInchesPerFoot = 12.0;
constexpr double kDepthTolerance = 1.0e-5;
constexpr double kWaterEnglish = 0.036;  // lbs/in^3, as the module takes it
constexpr double kWaterSI = 9.81;        // kN/m^3
constexpr double kDegreesPerRadian = 57.2958;
constexpr double kUserCoefficientMin = 1.0e-7;

// The sub-layer holding a point at depth z: points lie below a layer's top down
// to its bottom.
const TPressureLayer* LayerAt(const TPressureProfile& p, double z) {
    for (const TPressureLayer& l : p.Layers) {
        if (z > l.Top + kDepthTolerance && z <= l.Bottom + kDepthTolerance) return &l;
    }
    return p.Layers.empty() || z <= 0.0 ? nullptr : &p.Layers.back();
}

bool Wet(const TPressureProfile& p, const TPressureLayer& l) {
    return std::abs(l.Top - p.WaterBackfill) < kDepthTolerance || p.WaterBackfill < l.Top;
}

bool Above(const TPressureProfile& p, const TPressureLayer& l) {
    return l.Top < p.FreeHeight - kDepthTolerance;
}

double Width(const TPressureProfile& p, double z) {
    return z > p.FreeHeight ? p.Wp : p.Wa;
}

// The backfill head the module adds in drained layers below the water table.
double BackfillHead(const TPressureProfile& p, const TPressureLayer& l) {
    return Wet(p, l) && l.Drained && p.WaterCounted ? p.UnitWeightOfWater : 0.0;
}

}  // namespace

TPressureProfile PressureProfile(const TProgramData& project) {
    TPressureProfile p;
    const bool english = project.UnitSystem() == kEnglishUnits;
    p.FreeHeight = static_cast<double>(project.FreeHeight);
    p.WaterBackfill = static_cast<double>(project.WaterDepthBackfill);
    p.WaterExcavation = static_cast<double>(project.WaterDepthExcavation);
    p.UnitWeightOfWater = english ? kWaterEnglish : kWaterSI;
    p.Factor = static_cast<double>(project.ActivePressureFactor);
    p.Wa = static_cast<double>(project.Wa);
    p.Wp = static_cast<double>(project.Wp);
    p.Surcharges = project.UniformSurcharge != 0.0L ||
                   (project.ApplySurcharges && project.Tables().SurchargeTable->RowCount() > 0);
    // The module counts water when the file's flag says so, and always when the
    // backfill water table lies above the excavation level.
    p.WaterCounted = project.WaterFlag == 1 || p.WaterBackfill < p.FreeHeight - kDepthTolerance;

    const double slope = static_cast<double>(project.BackfillSlope);
    TGridTable& soils = *project.Tables().NewSoil;
    double top = 0.0;
    for (int r = 0; r < soils.RowCount(); ++r) {
        const int type = soils.Cell(0, r).AsInteger();
        const double bottom =
            static_cast<double>(soils.Cell(1, r).AsFloat()) * (english ? kInchesPerFoot : 1.0);
        if (bottom <= top) continue;
        TPressureLayer layer;
        layer.Drained = type >= 4;
        // The module takes the values at the layer's top.
        const auto layer_slots = SoilSlots(type);
        TGridTable* params = soils.Cell(2, r).AsTable();
        const auto slot = [&](int i) {
            const TSoilSlot& s = layer_slots[static_cast<size_t>(i)];
            if (s.Column < 0 || !params || params->RowCount() == 0) return 0.0;
            long double v = params->Cell(s.Column, 0).AsFloat();
            if (english) v /= SlotReadFactor(s.Conversion);
            return static_cast<double>(v);
        };
        layer.Cohesion = slot(1);
        const double phi = slot(2);
        layer.Tana = std::tan((45.0 - phi / 2.0) / kDegreesPerRadian);
        // Cut at the excavation level and at the water table, as the module does.
        std::vector<double> cuts{top};
        for (const double d : {p.FreeHeight, p.WaterBackfill}) {
            if (d > top + kDepthTolerance && d < bottom - kDepthTolerance) cuts.push_back(d);
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.push_back(bottom);
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            TPressureLayer part = layer;
            part.Top = cuts[i];
            part.Bottom = cuts[i + 1];
            // Above the excavation a sloping backfill changes the coefficient.
            const double beta = std::abs(slope);
            if (Above(p, part) && beta > 0.0 && beta < phi) {
                const double b = slope / kDegreesPerRadian, f = phi / kDegreesPerRadian;
                const double d = std::cos(b) * std::cos(b) - std::cos(f) * std::cos(f);
                const double ka =
                    std::cos(b) * (std::cos(b) - std::sqrt(d)) / (std::cos(b) + std::sqrt(d));
                part.Tana = std::sqrt(ka);
            }
            if (slot(5) > kUserCoefficientMin) part.Tana = 0.0;
            p.Layers.push_back(part);
        }
        top = bottom;
    }
    return p;
}

double WaterPressureAt(const TPressureProfile& p, double z) {
    const TPressureLayer* l = LayerAt(p, z);
    if (!l) return 0.0;
    // Above the excavation the head grows with the depth; below it the module
    // holds it at the layer's top.
    const double head_depth = Above(p, *l) ? z : l->Top;
    double water = BackfillHead(p, *l) * (head_depth - p.WaterBackfill);
    if (Wet(p, *l) && z > p.WaterExcavation) water -= (z - p.WaterExcavation) * p.UnitWeightOfWater;
    return water * Width(p, z);
}

double UniformShareNotSurchargeAt(const TPressureProfile& p, double z) {
    const TPressureLayer* l = LayerAt(p, z);
    if (!l) return 0.0;
    const double head = BackfillHead(p, *l) * (l->Top - p.WaterBackfill);
    const double cohesion = -2.0 * l->Cohesion * l->Tana * p.Factor;
    return (head + cohesion) * Width(p, z);
}

void SplitCombinedPressure(TGraphPlot& combine, const TPressureProfile& profile,
                           double depth_per_held) {
    TCurveList& lines = combine.Lines;
    if (lines.CurveCount() < 3 || depth_per_held <= 0.0) return;
    const int points = lines.PointCount();
    std::vector<TFloatPoint> total(static_cast<size_t>(points));
    std::vector<TFloatPoint> surcharge(static_cast<size_t>(points));
    for (int r = 0; r < points; ++r) {
        total[static_cast<size_t>(r)] = lines.Point(0, r);
        surcharge[static_cast<size_t>(r)] = lines.Point(2, r);
    }
    const int curves = profile.Surcharges ? 4 : 3;
    lines.SetCurveCount(curves);
    lines.Curve(0).Name = QStringLiteral("Total Earth Pressure");
    lines.Curve(1).Name = QStringLiteral("from Soils ");
    lines.Curve(2).Name = QStringLiteral("from Water");
    if (profile.Surcharges) lines.Curve(3).Name = QStringLiteral("from Surcharge Loads");
    for (int r = 0; r < points; ++r) {
        const long double y = total[static_cast<size_t>(r)].Y;
        const double z = static_cast<double>(y) / depth_per_held;
        const long double t = total[static_cast<size_t>(r)].X;
        const long double water = WaterPressureAt(profile, z);
        const long double loads = profile.Surcharges ? surcharge[static_cast<size_t>(r)].X -
                                                           UniformShareNotSurchargeAt(profile, z)
                                                     : 0.0L;
        lines.Point(0, r) = {t, y};
        lines.Point(1, r) = {t - water - loads, y};
        lines.Point(2, r) = {water, y};
        if (profile.Surcharges) lines.Point(3, r) = {loads, y};
    }
}

void ShowPressureParts(TGraphPlot& combine, const TProgramData& project) {
    if (combine.Lines.CurveCount() < 3) return;
    const TPressureProfile profile = PressureProfile(project);
    const bool generated = GeneratesEarthPressure(project);
    const bool first_set = project.StageCount <= 1 || project.CurrentStage == 1;
    if (generated && first_set) {
        SplitCombinedPressure(combine, profile,
                              project.UnitSystem() == kEnglishUnits ? 1.0 / kInchesPerFoot : 1.0);
    } else if (!profile.Surcharges) {
        combine.Lines.SetCurveCount(2);
    }
}

}  // namespace korvel
