// A copy of a problem with the wall's total length changed, made through the
// program's project model: the data file is read into TProgramData, its tables
// are changed by ApplyWallLength (project/wall_length.h, shared with the
// program's Wall Length Study window), and the model's writer writes the
// variant, so the variant has exactly the layout the program itself saves.
// Lengths are in the data file's length unit (inches in English units, metres
// in SI). The header is free of Qt so that the study can be built without it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "project/wall_length.h"

namespace korvel::cli {

// SectionOutline, TiebackSpring and VariantSection come with the rules.
using LengthVariantError = EWallLengthError;

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
