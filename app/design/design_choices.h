// The design choices of a project (section, grade, code, factors, limits),
// kept in a design file beside the data file (FILE.kv5g for FILE.kv5d), so
// that the data file the engine reads stays as it is. The file is plain text,
// one "key = value" a line.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace korvel::design {

class EDesignFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TDesignCode { EN1993_5, ASD, LRFD };

// "EN1993-5", "ASD", "LRFD"; the parser takes them without regard to case.
const char* CodeName(TDesignCode code);
bool ParseCode(const std::string& text, TDesignCode& code);

enum class TDeflectionLimit {
    None,      // not checked
    Absolute,  // value in the project's length unit
    Fraction,  // value times the free height (0.01 = H/100)
};

struct TDesignChoices {
    std::string section;  // catalogue name, empty: no design checks
    std::string grade;
    TDesignCode code = TDesignCode::EN1993_5;
    double gammaM0 = 1.0;            // EN 1993-5 partial factor of resistance
    double betaB = 1.0;              // EN 1993-5 factor for U-sections (interlock shear); Z: 1
    double asdFraction = 0.65;       // ASD allowable bending stress / fy
    double asdShearFraction = 0.40;  // ASD allowable shear stress / fy
    double phiFlexure = 0.90;        // LRFD resistance factor in flexure
    double phiShear = 0.90;          // LRFD resistance factor in shear
    TDeflectionLimit deflectionLimit = TDeflectionLimit::None;
    double deflectionValue = 0.0;
    double tiebackCapacity = 0.0;  // per anchor in the project's force unit, 0: not checked

    bool operator==(const TDesignChoices&) const = default;
};

// FILE.kv5g beside FILE.kv5d (the data file's extension replaced).
std::filesystem::path DesignFileFor(const std::filesystem::path& dataFile);

// The file's text and back. Parse throws EDesignFileError naming the line.
std::string DesignFileText(const TDesignChoices& choices);
TDesignChoices ParseDesignFile(const std::string& text);

// Reads the design file beside `dataFile`; false when there is none.
bool ReadDesignFile(const std::filesystem::path& dataFile, TDesignChoices& choices);
// Writes it through a temporary file renamed into place; throws EDesignFileError.
void WriteDesignFile(const std::filesystem::path& dataFile, const TDesignChoices& choices);

}  // namespace korvel::design
