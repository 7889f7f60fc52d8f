// The project with its wall's total length changed: the number of increments
// follows the length (the increment length stays), and the tables follow the
// new toe by the rules of wall_length_rules.h. One implementation for the
// variants of korvel-run's length study and for the program's "set the wall to
// this length". Lengths are in the project's base length (inches in English
// units, metres in SI).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace korvel {

class TProgramData;

// A length the wall cannot take (no increment length, less than one increment).
class EWallLengthError : public std::runtime_error {
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

// The section in the project now.
SectionOutline OutlineOf(const TProgramData& project);

// Changes the section in the project (its current stage, or the whole
// unstaged problem) to a wall `length` long, rounded to whole increments.
// Soil layers reach at least `deepestWall` plus two increments below the top,
// as far as the p-y curve generation looks, so that a study's lengths all see
// the same soil. What was rounded, left out or extended goes into notes, each
// starting with `where`. Throws EWallLengthError.
VariantSection ApplyWallLength(TProgramData& project, double length, double deepestWall,
                               std::vector<std::string>& notes, const std::string& where = {});

// The first reason why a study of these lengths cannot be made on a problem of
// these sections ("" when it can): a length not above a section's free height,
// or needing more than maxIncrements.
std::string CheckStudyLengths(const std::vector<double>& lengths,
                              const std::vector<SectionOutline>& sections, int maxIncrements);

// The open project's wall set to `length` in every section: the unstaged
// problem, or every stage of a staged one (through its stage files, the
// current stage loaded again at the end). Marks the project modified; returns
// the notes. Throws EWallLengthError, or EInOutError when a stage file cannot
// be written.
std::vector<std::string> SetWallLength(TProgramData& project, double length, double deepestWall);

}  // namespace korvel
