// A copy of a problem with the wall's total length changed, made through the
// program's project model: the data file is read into TProgramData, its tables
// are changed by the rules of length_rules.h, and the model's writer writes the
// variant, so the variant has exactly the layout the program itself saves.
// Lengths are in the data file's length unit (inches in English units, metres
// in SI). The header is free of Qt so that the study can be built without it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvel::cli {

class LengthVariantError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One section of the problem (a single analysis, the long-term case or a stage).
struct SectionOutline {
    int increments = 0;
    double incrementLength = 0.0;
    double freeHeight = 0.0;
    double wallLength() const { return increments * incrementLength; }
};

// A tieback as the engine applies it: a lateral spring at one station.
struct TiebackSpring {
    int station = 0;
    double stiffness = 0.0;  // force per length of deflection, for the wall width Wa
};

struct VariantSection {
    SectionOutline outline;
    std::vector<TiebackSpring> tiebacks;
};

struct LengthVariant {
    std::string text;  // the data file
    std::vector<VariantSection> sections;
    std::vector<std::string> notes;  // what was rounded, clipped, moved or extended
};

class LengthVariantBuilder {
  public:
    // Reads the data file; throws LengthVariantError with the reader's message.
    explicit LengthVariantBuilder(const std::string& dataFile);
    ~LengthVariantBuilder();

    int UnitSystem() const;
    const std::vector<SectionOutline>& Sections() const;

    // The problem with every section's wall `length` long, rounded to whole
    // increments of the section's own increment length. Soil layers reach at
    // least `deepestWall` plus two increments below the top, as far as the p-y
    // curve generation looks, so that every length of a study sees the same soil.
    LengthVariant Build(double length, double deepestWall);

  private:
    struct Model;
    std::unique_ptr<Model> model_;
};

}  // namespace korvel::cli
