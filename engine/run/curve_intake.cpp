#include <array>
#include <cmath>
#include <fstream>
#include <vector>

#include "run/control_file.h"
#include "run/errors.h"
#include "run/intake.h"
#include "run/report_text.h"
#include "soil/py_generator.h"
#include "text/layout.h"

namespace korvel::engine {
namespace {

constexpr int kMaxCurveCount = 400;   // the curve count a curve file may announce
constexpr int kGeneratedRows = 34;    // 17 excavation-side rows, then 17 backfill-side rows
constexpr int kGeneratedPoints = 33;  // the two halves joined at the backfill half's first row

// The PYSET records with their echo. Case user (`alone`): the curves stand
// alone above the free height and chain below it, and go to the plot data
// file; case user and generated: side flag 0, and the curves go to the generator.
std::vector<PYCurve> ReadUserCurves(InputContext& ctx, Problem& p, bool alone) {
    if (p.nPYSets > kMaxCurveCount) throw TooMuchData();
    if (alone) ctx.plot << text::FreeFormatLine({p.unitSystem, p.nPYSets});
    WriteBanner(ctx.report, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
    const text::UnitLabels& u = ctx.labels;
    std::vector<PYCurve> curves;
    int previousFlag = 0;
    for (int set = 0; set < p.nPYSets; ++set) {
        ctx.in.BeginRecord("PYSET");
        const int station = ctx.in.ReadInt();
        const int count = ctx.in.ReadInt();
        const double pMultiplier = ctx.in.ReadReal();
        const double yMultiplier = ctx.in.ReadReal();
        if (set >= kMaxPYCurves || count > kMaxPYPoints) throw TooMuchData();
        if (count < 0) throw DataError("     ERROR STOP -- NEGATIVE COUNT IN PYSET");

        PYCurve curve;
        curve.station = station;
        curve.sideFlag = alone && station * p.h >= p.freeHeight ? 1 : 0;
        const int code = alone ? 2 * previousFlag + curve.sideFlag + 1 : 3;
        previousFlag = curve.sideFlag;

        ctx.report << "\n     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \n\n";
        if (code == 2) {
            ctx.report << text::FormatLayout(
                "(/, 5X, I4, 4X, I3, 5X, 2E14.3, 1(10X, I3))",
                {station, curve.sideFlag, pMultiplier, yMultiplier, count});
        } else if (code >= 3) {
            ctx.report << text::FormatLayout(
                "(/, 9X, I4, I3, 5X, 2E14.3, 1(10X, I3))",
                {station, curve.sideFlag, pMultiplier, yMultiplier, count});
        } else {
            ctx.report << text::FormatLayout(
                "(/, 5X, 2I4, I3, 5X, 2E14.3, 1(8X, I4))",
                {station, station, curve.sideFlag, pMultiplier, yMultiplier, count});
        }
        ctx.report << "\n\n"
                   << std::string(18, ' ') << "    Y    " << std::string(12, ' ') << "   P    \n"
                   << std::string(20, ' ') << u.lengthLong << std::string(16, ' ') << u.forceLong
                   << "/" << u.lengthShort << '\n'
                   << std::string(18, ' ') << "---------" << std::string(12, ' ') << "--------\n";

        if (alone) ctx.plot << text::FreeFormatLine({station, count});
        for (int m = 0; m < count; ++m) {
            ctx.in.BeginRecord("PYPOINT");
            const double y = yMultiplier * ctx.in.ReadReal();
            const double pValue = pMultiplier * ctx.in.ReadReal();
            ctx.report << text::FormatLayout("(17X, E10.3, 10X, E10.3)", {y, pValue});
            if (alone) ctx.plot << text::FreeFormatLine({y, pValue});
            curve.y.push_back(y);
            curve.p.push_back(pValue);  // per unit length until stored
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

// A user curve as the curve file hands it back: station, count, rows (index, p, y).
PYCurve ReadFileUserCurve(InputContext& ctx, text::RecordReader& in, const Problem& p) {
    in.BeginRecord("SOILDATA");
    PYCurve curve;
    curve.station = in.ReadInt();
    const int count = in.ReadInt();
    if (count > kMaxPYPoints) throw TooMuchData();
    if (count < 0) throw DataError("     ERROR STOP -- NEGATIVE POINT COUNT IN THE CURVE FILE");
    curve.sideFlag = 0;
    ctx.plot << text::FreeFormatLine({curve.station, count});
    for (int m = 0; m < count; ++m) {
        in.BeginRecord("SOILDATA");
        in.ReadInt();
        const double pValue = in.ReadReal();
        const double y = in.ReadReal();
        ctx.plot << text::FreeFormatLine({y, pValue});
        curve.y.push_back(y);
        curve.p.push_back(pValue * p.h);
    }
    return curve;
}

// A generated curve: depth z, 34 rows; the 33-point curve runs from the
// deepest backfill-side deflection (y < 0) to the largest excavation-side one.
PYCurve ReadFileGeneratedCurve(InputContext& ctx, text::RecordReader& in, const Problem& p,
                               bool withUserCurves) {
    in.BeginRecord("SOILDATA");
    const double z = in.ReadReal();
    const int rows = in.ReadInt();
    if (rows != kGeneratedRows) {
        throw DataError("     ERROR STOP -- A GENERATED CURVE IN THE CURVE FILE NEEDS 34 POINTS");
    }
    PYCurve curve;
    curve.station = static_cast<int>(std::lround(z / p.h));
    curve.sideFlag = 1;
    curve.generated = true;
    if (withUserCurves) {
        ctx.plot << text::FreeFormatLine({curve.station, kGeneratedPoints});
    } else {
        ctx.plot << text::FormatLayout("(1X, F10.2, 1X, I5)", {z, kGeneratedPoints});
    }

    std::array<double, kGeneratedRows + 1> rowP{};  // 1-based as the file numbers them
    std::array<double, kGeneratedRows + 1> rowY{};
    for (int row = 1; row <= kGeneratedRows; ++row) {
        in.BeginRecord("SOILDATA");
        in.ReadInt();
        rowP[row] = in.ReadReal();
        rowY[row] = in.ReadReal();
    }
    // Backfill half reversed and mirrored (rows 34 to 18), then the excavation
    // half without its first row (rows 2 to 17).
    for (int m = 1; m <= kGeneratedPoints; ++m) {
        double y, pValue;
        if (m <= 17) {
            y = -rowY[35 - m];
            pValue = rowP[35 - m];
        } else {
            y = rowY[m - 16];
            pValue = -rowP[m - 16];
        }
        ctx.plot << text::FreeFormatLine({y, pValue});
        curve.y.push_back(y);
        curve.p.push_back(pValue * p.h);
    }
    return curve;
}

void TakeInCurveFile(InputContext& ctx, Problem& p) {
    std::ifstream file(FindIgnoringCase(ctx.folder, "soildata"), std::ios::binary);
    if (!file) throw DataError("     ERROR STOP -- CANNOT OPEN THE P-Y CURVE FILE SOILDATA");
    text::RecordReader in(file);
    in.BeginRecord("SOILDATA");
    const int count = in.ReadInt();
    ctx.err << text::FreeFormatLine({count});
    ctx.plot << text::FreeFormatLine({p.unitSystem, count});
    if (count > kMaxCurveCount || count > kMaxPYCurves) throw TooMuchData();
    if (count < p.nPYSets) {
        throw DataError("     ERROR STOP -- THE P-Y CURVE FILE SOILDATA LACKS THE USER CURVES");
    }
    if (count == 0) WriteEmptyTable(ctx.report);

    const bool withUserCurves = p.nPYSets > 0;
    for (int i = 0; i < count; ++i) {
        p.pyCurves.push_back(i < p.nPYSets ? ReadFileUserCurve(ctx, in, p)
                                           : ReadFileGeneratedCurve(ctx, in, p, withUserCurves));
    }
}

// p-y option 3: the user curves and the curves of every station, handed over
// in memory; the plot data file gets them as the curve file would have.
void TakeInStationCurves(InputContext& ctx, Problem& p) {
    const std::vector<soil::UserPYCurve>& user = p.soil.userCurves;
    const std::vector<soil::StationPYCurve>& stations = p.soil.stationCurves;
    const int count = static_cast<int>(user.size() + stations.size());
    ctx.err << text::FreeFormatLine({count});
    ctx.plot << text::FreeFormatLine({p.unitSystem, count});
    if (count == 0) WriteEmptyTable(ctx.report);
    for (const soil::UserPYCurve& u : user) {
        PYCurve curve;
        curve.station = u.station;
        ctx.plot << text::FreeFormatLine({curve.station, static_cast<int>(u.y.size())});
        for (size_t m = 0; m < u.y.size(); ++m) {
            ctx.plot << text::FreeFormatLine({u.y[m], u.p[m]});
            curve.y.push_back(u.y[m]);
            curve.p.push_back(u.p[m] * p.h);
        }
        p.pyCurves.push_back(std::move(curve));
    }
    for (const soil::StationPYCurve& s : stations) {
        PYCurve curve;
        curve.station = s.station;
        curve.sideFlag = 1;
        curve.generated = true;
        // Backfill side mirrored from its largest deflection to y = 0, then
        // the excavation side without its first point (y = 0), as the two
        // halves of a curve-file curve are joined.
        const size_t nb = s.yBackfill.size(), ne = s.yExcavation.size();
        for (size_t m = nb; m-- > 0;) {
            curve.y.push_back(-s.yBackfill[m]);
            curve.p.push_back(s.pBackfill[m]);
        }
        for (size_t m = 1; m < ne; ++m) {
            curve.y.push_back(s.yExcavation[m]);
            curve.p.push_back(-s.pExcavation[m]);
        }
        const int points = static_cast<int>(curve.y.size());
        if (user.empty()) {
            ctx.plot << text::FormatLayout("(1X, F10.2, 1X, I5)", {s.z, points});
        } else {
            ctx.plot << text::FreeFormatLine({curve.station, points});
        }
        for (int m = 0; m < points; ++m) {
            ctx.plot << text::FreeFormatLine({curve.y[m], curve.p[m]});
            curve.p[m] *= p.h;
        }
        p.pyCurves.push_back(std::move(curve));
    }
}

}  // namespace

void TakeInPYCurves(InputContext& ctx, Problem& p) {
    const bool generated = soil::GeneratesPYCurves(p.pyCurveOption);
    if (p.nPYSets == 0 && !generated) {
        ctx.plot << text::FreeFormatLine({p.unitSystem, 0});
        return;
    }
    if (!generated) {
        for (PYCurve& curve : ReadUserCurves(ctx, p, true)) {
            for (double& pValue : curve.p) pValue *= p.h;
            p.pyCurves.push_back(std::move(curve));
        }
        return;
    }

    if (p.nPYSets > 0) {
        for (const PYCurve& curve : ReadUserCurves(ctx, p, false)) {
            p.soil.userCurves.push_back({curve.station, curve.y, curve.p});
        }
    }
    soil::GenerateCurves(p.soil, ctx.SoilOutput());
    if (p.pyCurveOption == soil::kPYCurvesAtEveryStation) {
        TakeInStationCurves(ctx, p);
    } else {
        TakeInCurveFile(ctx, p);
    }
}

}  // namespace korvel::engine
