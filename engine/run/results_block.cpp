#include "run/results_block.h"

#include "text/layout.h"

namespace korvel::engine {

void WriteResultsBlock(std::ostream& report, const text::UnitLabels& u,
                       const IterationOutcome& outcome, const std::vector<ResultRow>& rows, int N) {
    report << "\n\n     RESULTS -- ITERATION" << text::FormatI(outcome.iteration, 3) << '\n'
           << "     --------------------\n";
    if (outcome.offCurve) report << "\n     ***** DEFLECTION OFF Q - W CURVES *****\n";
    if (outcome.exceedCount > 0) {
        report << "\n     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***"
               << text::FormatI(outcome.exceedCount, 4) << "  *** STATIONS *****\n";
    }
    if (outcome.notClosedCount > 0) {
        report << "\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n";
    }
    report << "\n   STA I      X         DEFL.       SLOPE"
           << "      MOMENT      SHEAR    NET REACT/STA    EI \n"
           << text::FormatLayout(
                  "(12X, A3, 9X, A3, 19X, A3, A1, A2, 7X, A4, 8X, A4, 7X, A3, A1, A2, A2, A1)",
                  {u.lengthLong, u.lengthLong, u.forceShort, "-", u.lengthShort, u.forceLong,
                   u.forceLong, u.forceShort, "-", u.lengthShort, "**", "2"})
           << "   ------    ----        ----       -----"
           << "      ------      ------    ---------    ----------\n";
    const text::Layout row("(2X, I4, 2X, E10.3, 6E12.3)");
    for (const ResultRow& r : rows) {
        if (r.station > N) break;
        report << row.Format(
            {r.station, r.x, r.deflection, r.slope, r.moment, r.shear, r.reaction, r.stiffness});
    }
}

}  // namespace korvel::engine
