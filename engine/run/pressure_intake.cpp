#include <cmath>
#include <fstream>

#include "run/control_file.h"
#include "run/errors.h"
#include "run/intake.h"
#include "run/report_text.h"
#include "soil/earth_pressure.h"
#include "soil/layer_checks.h"
#include "soil/surcharge.h"
#include "text/layout.h"
#include "text/unit_labels.h"

namespace korvel::engine {
namespace {

constexpr double kZeroSoilPressure = 1.0e-7;  // keeps the plot's pressure graph off an exact 0
constexpr double kMillimetresPerMetre = 1000.0;
constexpr int kPrintAllRows = 50;     // longer generated tables are echoed with a step
constexpr int kPrintStepEnglish = 6;  // rows of one inch: every sixth
constexpr int kPrintStepSI = 4;       // rows of 5 cm: every fourth

void WritePressureHeader(const InputContext& ctx) {
    const text::UnitLabels& u = ctx.labels;
    ctx.report << "\n\n"
               << "        "
               << " DEPTH         ACTIVE EARTH PRESSURE\n"
               << std::string(9, ' ') << u.lengthLong << std::string(17, ' ') << u.forceLong << "/"
               << u.lengthShort << '\n'
               << "        "
               << "--------       ------------------------\n";
}

void WritePressurePlot(const InputContext& ctx, Problem& p, const std::vector<int>& printed) {
    ctx.plot << text::FreeFormatLine({static_cast<int>(printed.size())});
    for (int i : printed) {
        PressureRow& row = p.pressure[i];
        if (row.soils == 0.0) row.soils = kZeroSoilPressure;
        ctx.plot << text::FormatLayout("(4(2X, E10.3))",
                                       {row.depth, row.total / p.h, row.soils, row.surcharges});
    }
}

void TakeInUserPressure(InputContext& ctx, Problem& p) {
    WriteBanner(ctx.report, "*        SPECIFIED ACTIVE EARTH PRESSURE         *");
    WritePressureHeader(ctx);
    ctx.in.BeginRecord("EPUSER");
    const int n = ctx.in.ReadInt();
    if (n < 0) throw DataError("     ERROR STOP -- NEGATIVE COUNT IN EPUSER");
    if (n > kMaxPressureRows) throw TooMuchData();
    for (int i = 0; i < n; ++i) {
        ctx.in.BeginRecord("EPUSER");
        PressureRow row;
        row.depth = ctx.in.ReadReal();
        const double pressure = ctx.in.ReadReal();
        row.soils = pressure;
        row.total = pressure * p.h;
        ctx.report << text::FormatLayout("(6X, E10.3, 10X, E10.3)", {row.depth, pressure});
        p.pressure.push_back(row);
    }
    p.soil.basePressure = 0.0;
    p.pressurePrintStep = 1;
    p.printedPressureRows = n;
}

// Runs the earth-pressure module and reads its pressure file back: the
// rows times the width multiplier (Wa, then Wp from the first row below the
// free height on), the echo with the print step, and the totals times h.
// Returns the indices of the printed rows.
std::vector<int> TakeInGeneratedPressure(InputContext& ctx, Problem& p) {
    soil::RunEarthPressure(p.soil, ctx.SoilOutput());
    WritePressureHeader(ctx);

    p.pressure = ReadPressureFile(FindIgnoringCase(ctx.folder, "bmwall.001"));
    const int n = static_cast<int>(p.pressure.size());
    double width = p.soil.geometry.Wa;
    for (PressureRow& row : p.pressure) {
        if (row.depth > p.freeHeight) width = p.soil.geometry.Wp;
        row.total *= width;
        row.soils *= width;
        row.surcharges *= width;
    }

    int step = 1;
    if (n > kPrintAllRows) step = text::IsSI(p.unitSystem) ? kPrintStepSI : kPrintStepEnglish;
    std::vector<int> printed;
    for (int i = 0; i < n; i += step) printed.push_back(i);
    if (printed.back() != n - 1) printed.push_back(n - 1);
    for (int i : printed) {
        ctx.report << text::FormatLayout("(6X, E10.3, 10X, E10.3)",
                                         {p.pressure[i].depth, p.pressure[i].total});
    }
    p.pressurePrintStep = step;
    p.printedPressureRows = static_cast<int>(printed.size());
    p.soil.basePressure = p.pressure.back().total;
    for (PressureRow& row : p.pressure) row.total *= p.h;
    return printed;
}

// A user pressure table with additional surcharges: each row gains the
// surcharge pressure at its depth, times Wa, in its surcharge column and total.
void AddSurchargeColumn(InputContext& ctx, Problem& p) {
    const soil::SurchargeField field(p.soil);
    if (field.Ignored()) ctx.report << "\n" << soil::kSurchargesIgnoredWarning << '\n';
    for (PressureRow& row : p.pressure) {
        row.surcharges = p.soil.geometry.Wa * field.PressureAt(row.depth);
        row.total = (row.soils + row.surcharges) * p.h;
    }
}

}  // namespace

std::vector<PressureRow> ReadPressureFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw DataError("     ERROR STOP -- CANNOT OPEN THE PRESSURE FILE BMWALL.001");
    text::RecordReader in(file);
    in.BeginRecord("BMWALL.001");
    const int n = in.ReadInt();
    if (n < 1) throw DataError("     ERROR STOP -- NO ROWS IN THE PRESSURE FILE BMWALL.001");
    if (n > kMaxPressureRows) throw TooMuchData();
    std::vector<PressureRow> rows(static_cast<size_t>(n));
    for (PressureRow& row : rows) {
        in.BeginRecord("BMWALL.001");
        row.depth = in.ReadReal();
        row.total = in.ReadReal();
        row.soils = in.ReadReal();
        row.surcharges = in.ReadReal();
    }
    return rows;
}

void ReadSoilRecords(text::RecordReader& in, Problem& p) {
    soil::SoilProblem& s = p.soil;
    in.BeginRecord("GEOMETRY");
    s.geometry.freeHeight = in.ReadReal();
    s.geometry.Wa = in.ReadReal();
    s.geometry.Wp = in.ReadReal();
    s.geometry.waterDepthBackfill = in.ReadReal();
    s.geometry.waterDepthExcavation = in.ReadReal();
    s.geometry.activePressureFactor = in.ReadReal();
    s.geometry.waterFlag = in.ReadInt();
    s.geometry.backfillSlope = in.ReadReal();

    in.BeginRecord("SURCHARGE");
    s.surcharge.uniform = in.ReadReal();
    s.surcharge.distance = in.ReadReal();
    s.surcharge.pointLoad = in.ReadReal();
    s.surcharge.lineLoad = in.ReadReal();
    s.surcharge.stripLoad = in.ReadReal();
    s.surcharge.stripWidth = in.ReadReal();

    in.BeginRecord("SURCHARGES");
    const int nSurcharges = in.ReadInt();
    if (nSurcharges < 0) throw DataError("     ERROR STOP -- NEGATIVE COUNT IN SURCHARGES");
    if (nSurcharges > soil::kMaxSurcharges) throw TooMuchData();
    for (int i = 0; i < nSurcharges; ++i) {
        in.BeginRecord("SURCHARGES");
        soil::AdditionalSurcharge a;
        a.type = in.ReadInt();
        a.magnitude = in.ReadReal();
        a.distance = in.ReadReal();
        a.width = in.ReadReal();
        if (text::IsSI(p.unitSystem)) {  // entered in millimetres
            a.distance /= kMillimetresPerMetre;
            a.width /= kMillimetresPerMetre;
        }
        s.surcharges.push_back(a);
    }

    in.BeginRecord("SOILS");
    const int nLayers = in.ReadInt();
    if (nLayers < 0) throw DataError("     ERROR STOP -- NEGATIVE COUNT IN SOILS");
    if (nLayers > soil::kMaxSoilLayers) throw TooMuchData();
    double previousBottom = 0.0;
    for (int i = 0; i < nLayers; ++i) {
        in.BeginRecord("LAYER");
        soil::SoilLayer layer;
        layer.type = in.ReadInt();
        layer.bottomDepth = in.ReadReal();
        layer.thickness = layer.bottomDepth - previousBottom;
        previousBottom = layer.bottomDepth;
        in.BeginRecord("LAYERPROPS");
        for (soil::LayerProps* props : {&layer.top, &layer.bottom}) {
            props->gamma = in.ReadReal();
            props->cohesion = in.ReadReal();
            props->phi = in.ReadReal();
            props->e50 = in.ReadReal();
            props->k = in.ReadReal();
            props->K = in.ReadReal();
        }
        s.layers.push_back(layer);
    }
    soil::CheckLayerDepths(s);
    s.hasSoilRecords = true;
}

void ApplyPressureLoads(Problem& p, double depth) {
    if (p.pressure.empty()) return;
    const long last = std::lround(depth / p.h);
    if (last > kStationPositions) throw TooMuchData();
    double load = 0.0;
    for (int k = 1; k <= last; ++k) {
        const double x = k * p.h;
        size_t i = 0;
        while (i < p.pressure.size() && !(x <= p.pressure[i].depth)) ++i;
        if (i == 0) {
            // Above the table's first row: that row's load.
            load = p.pressure[0].total;
        } else if (i < p.pressure.size()) {
            const PressureRow& a = p.pressure[i - 1];
            const PressureRow& b = p.pressure[i];
            load = a.total + (x - a.depth) * (b.total - a.total) / (b.depth - a.depth);
        }  // below the last row: the load of the station above
        p.Q[StationIndex(k)] += load;
    }
}

void TakeInEarthPressure(InputContext& ctx, Problem& p) {
    const bool soilRecords = p.earthPressureOption >= 2 || soil::GeneratesPYCurves(p.pyCurveOption);
    if (p.earthPressureOption == 1) TakeInUserPressure(ctx, p);
    if (soilRecords) ReadSoilRecords(ctx.in, p);

    if (p.earthPressureOption >= 2) {
        const std::vector<int> printed = TakeInGeneratedPressure(ctx, p);
        WritePressurePlot(ctx, p, printed);
        ApplyPressureLoads(p, p.freeHeight);
    } else if (p.earthPressureOption == 1) {
        if (!p.soil.surcharges.empty()) AddSurchargeColumn(ctx, p);
        std::vector<int> printed(p.pressure.size());
        for (size_t i = 0; i < printed.size(); ++i) printed[i] = static_cast<int>(i);
        WritePressurePlot(ctx, p, printed);
        if (!p.pressure.empty()) ApplyPressureLoads(p, p.pressure.back().depth);
    } else {
        ctx.plot << text::FreeFormatLine({0});
    }
}

void SkipEarthPressure(InputContext& ctx, Problem& p) {
    if (p.earthPressureOption == 1) TakeInUserPressure(ctx, p);
    if (p.earthPressureOption >= 2 || soil::GeneratesPYCurves(p.pyCurveOption)) {
        ReadSoilRecords(ctx.in, p);
    }
    p.pressure.clear();
    p.printedPressureRows = 0;
}

}  // namespace korvel::engine
