// What the program's Design Checks window and the PDF report show of a design
// run: one row per section (stage) with its utilisations, the governing
// depths and a pass/fail mark; and the wall stiffness a catalogue section
// gives for a chosen wall width.
#pragma once

#include <string>
#include <vector>

#include "design/design_checks.h"

namespace korvel::design {

// Column titles, then one row per section of the run, all as text.
std::vector<std::string> CheckTableHeader();
std::vector<std::vector<std::string>> CheckTableRows(const TDesignRun& run);

// Lines that say how the resistances were found: the basis, the conversion
// from the unit width to the analysed width, and the notes.
std::vector<std::string> CheckTableNotes(const TDesignRun& run);

// Elastic modulus of the grade's standard: 210000 N/mm2 for EN grades
// (EN 1993-1-1), 29000 ksi for ASTM grades.
double ElasticModulusMPa(const TSteelGrade& grade);

// EI of `width` of wall (in the project's length unit, inches in English
// units, metres in SI), in the project's units (lbs-in2 or kN-m2).
double WallStiffness(const TSheetPileSection& section, const TSteelGrade& grade, int unitSystem,
                     double width);

}  // namespace korvel::design
