// The Design Checks section of the calculation report: the checks of the
// project's design choices (its design file beside the data file, or the
// choices given) against the output report, as a table and lines of notes.
#pragma once

#include <QString>

#include "design/design_choices.h"
#include "report/calc_report.h"

namespace korvel {

// Fills report.DesignChecks and report.DesignNotes; leaves them empty when
// there are no design choices (no design file and `choices` null).
void AddDesignChecks(TCalcReport& report, const QString& data_file,
                     const design::TDesignChoices* choices = nullptr);

}  // namespace korvel
