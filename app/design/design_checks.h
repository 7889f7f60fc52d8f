// Structural and serviceability checks of a sheet-pile wall from the results
// of a run, which they take unchanged: the moment and shear resistance of the
// chosen section and grade by EN 1993-5, allowable stress (ASD) or LRFD,
// against the largest moment and shear of each section of the run; the head
// and largest deflections against a stated limit; the tieback forces against
// a stated capacity.
//
// Moment basis: the engine's moments and shears are per the analysed wall
// width Wa (the width of the WALL record), the catalogue's properties per unit
// wall width (1 m or 1 ft). A resistance is worked out per unit width and then
// multiplied by Wa over the unit width, so that utilisation = largest |M| /
// resistance per analysed width.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "design/design_choices.h"
#include "design/design_inputs.h"
#include "design/section_catalogue.h"

namespace korvel::design {

struct TUtilisation {
    bool available = false;     // false: the check could not be made (see the notes)
    double perUnitWidth = 0.0;  // resistance per unit wall width, project units
    double resistance = 0.0;    // resistance per analysed width Wa, project units
    double demand = 0.0;        // largest magnitude from the run, with its sign
    double depth = 0.0;         // where the demand lies, below the top of the wall
    double utilisation = 0.0;   // |demand| / resistance
};

struct TTiebackCheck {
    int row = 0;                  // 1-based tieback row of the section
    double depth = 0.0;           // as entered (feet in English units, metres in SI)
    int station = 0;              // the station the engine puts it at
    double deflection = 0.0;      // wall deflection there
    double stiffness = 0.0;       // the engine's spring per analysed width
    double forcePerWidth = 0.0;   // horizontal force on the analysed width: S * w
    double axialPerAnchor = 0.0;  // force in one anchor: S * w * spacing / Wa / cos(angle)
    bool checked = false;         // a capacity was stated
    double capacity = 0.0;
    double utilisation = 0.0;
};

struct TDeflectionCheck {
    bool checked = false;                             // a limit was stated
    double head = 0.0;                                // deflection at station 0
    double largest = 0.0;                             // largest magnitude, with its sign
    double depth = 0.0;                               // of the largest
    double limit = 0.0;                               // project length unit
    double headUtilisation = 0.0, utilisation = 0.0;  // |head| / limit, |largest| / limit
};

struct TSectionCheck {
    int number = 0;  // section (stage) of the run, from 1
    std::string section, grade, code;
    std::optional<int> sectionClass;  // EN 1993-5 class used, when the code is EN 1993-5
    std::string basis;                // how the moment resistance was found, in words
    std::string lengthUnit, forceUnit, momentUnit;  // the report's
    double wallWidth = 0.0;                         // Wa, project length unit
    double unitWidth = 0.0;                         // 1 m or 1 ft in the project length unit
    std::string unitWidthName;                      // "M" or "FT"
    TUtilisation moment, shear;
    TDeflectionCheck deflection;
    std::vector<TTiebackCheck> tiebacks;
    std::vector<std::string> notes;
    bool passes = true;  // every check made is at or below 1
};

// Checks one section; throws EDesignInputError for a unit system other than
// English or SI, or results without stations.
TSectionCheck CheckSection(const TWallSection& wall, const TResultsBlock& results,
                           const TSheetPileSection& section, const TSteelGrade& grade,
                           const TDesignChoices& choices, int number);

struct TDesignRun {
    std::string error;  // why no check was made, else empty
    std::vector<TSectionCheck> sections;
};

// Every section of an analysed data file, reading the data file and the
// output report beside it. Never throws: a problem becomes `error`.
TDesignRun CheckRun(const std::filesystem::path& dataFile, const std::filesystem::path& reportFile,
                    const TSectionCatalogue& catalogue, const TDesignChoices& choices);

// "design: AZ 18 S355GP EN1993-5, moment 0.43, shear 0.12, ... OK" for one section.
std::string DescribeCheck(const TSectionCheck& c);

}  // namespace korvel::design
