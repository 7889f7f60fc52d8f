#include "run/intake.h"

#include <cmath>

#include "run/errors.h"
#include "run/report_text.h"
#include "text/layout.h"

namespace korvel::engine {
namespace {

constexpr int kMaxCurveCount = 400;  // the curve count a curve file may announce

}  // namespace

void TakeInPYCurves(InputContext& ctx, Problem& p) {
    const bool generated = p.pyCurveOption == 2;
    if (p.nPYSets == 0 && !generated) {
        ctx.plot << text::FreeFormatLine({p.unitSystem, 0});
        return;
    }
    if (generated) {
        throw DataError("     ERROR STOP -- GENERATED P-Y CURVES ARE NOT AVAILABLE IN THIS VERSION");
    }

    // User curves only.
    if (p.nPYSets > kMaxCurveCount) throw TooMuchData();
    ctx.plot << text::FreeFormatLine({p.unitSystem, p.nPYSets});
    WriteBanner(ctx.report, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
    const text::UnitLabels& u = ctx.labels;
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
        curve.sideFlag = station * p.h >= p.freeHeight ? 1 : 0;
        const int code = 2 * previousFlag + curve.sideFlag + 1;
        previousFlag = curve.sideFlag;

        ctx.report << "\n     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \n\n";
        if (code == 2) {
            ctx.report << text::FormatLayout("(/, 5X, I4, 4X, I3, 5X, 2E14.3, 1(10X, I3))",
                                             {station, curve.sideFlag, pMultiplier, yMultiplier,
                                              count});
        } else if (code >= 3) {
            ctx.report << text::FormatLayout("(/, 9X, I4, I3, 5X, 2E14.3, 1(10X, I3))",
                                             {station, curve.sideFlag, pMultiplier, yMultiplier,
                                              count});
        } else {
            ctx.report << text::FormatLayout("(/, 5X, 2I4, I3, 5X, 2E14.3, 1(8X, I4))",
                                             {station, station, curve.sideFlag, pMultiplier,
                                              yMultiplier, count});
        }
        ctx.report << "\n\n"
                   << std::string(18, ' ') << "    Y    " << std::string(12, ' ') << "   P    \n"
                   << std::string(20, ' ') << u.lengthLong << std::string(16, ' ') << u.forceLong
                   << "/" << u.lengthShort << '\n'
                   << std::string(18, ' ') << "---------" << std::string(12, ' ') << "--------\n";

        ctx.plot << text::FreeFormatLine({station, count});
        for (int m = 0; m < count; ++m) {
            ctx.in.BeginRecord("PYPOINT");
            const double y = yMultiplier * ctx.in.ReadReal();
            const double pValue = pMultiplier * ctx.in.ReadReal();
            ctx.report << text::FormatLayout("(17X, E10.3, 10X, E10.3)", {y, pValue});
            ctx.plot << text::FreeFormatLine({y, pValue});
            curve.y.push_back(y);
            curve.p.push_back(pValue * p.h);
        }
        p.pyCurves.push_back(std::move(curve));
    }
}

}  // namespace korvel::engine
