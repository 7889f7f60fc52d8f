// What the design checks take from a run, unchanged: from the data file the
// wall of each section (unit system, stations, free height, the analysed wall
// width Wa, the tieback rows), and from the output report each section's
// results table (depth, deflection, moment and shear at every station).
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvel::design {

class EDesignInputError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TTiebackRow {
    // As the data file holds them: depth, unbonded length and spacing in feet
    // in English units (metres in SI), steel area and modulus in the unit
    // system's base units, angle in degrees.
    double depth = 0.0, area = 0.0, modulus = 0.0, length = 0.0, angle = 0.0, spacing = 0.0;
};

struct TWallSection {
    int unitSystem = 1;       // 1 English (lbs, in), 2 SI (kN, m), else other consistent units
    int N = 0;                // increments; stations 0 to N
    double h = 0.0;           // increment length, in inches in English units
    double freeHeight = 0.0;  // in the station unit (inches in English units)
    double Wa = 0.0;          // the analysed wall width, in the station unit
    std::vector<TTiebackRow> tiebacks;
};

// The sections of a data file in order, read in free format as the engine
// reads them. Throws EDesignInputError when the file is not readable so.
std::vector<TWallSection> ReadWallSections(std::istream& dataFile);

struct TStationResult {
    double x = 0.0, deflection = 0.0, moment = 0.0, shear = 0.0;
};

struct TResultsBlock {
    std::vector<TStationResult> stations;           // station 0 (the head) to N
    std::string lengthUnit, forceUnit, momentUnit;  // as the units line prints them
};

// Every results block of an output report, in report order.
std::vector<TResultsBlock> ReadResultsBlocks(std::istream& report);

}  // namespace korvel::design
