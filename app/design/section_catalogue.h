// The sheet-pile section catalogue: sections and steel grades read from the
// catalogue file that the package installs in share/korvel. Every property is
// held in SI per metre of wall, whatever units its row was published in, so
// that the checks need one set of formulas; the row's own units are kept for
// listing it as published.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvel::design {

// A catalogue file that cannot be read, or a row that does not make sense.
class ECatalogueError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TSectionShape { Z, U };

struct TSheetPileSection {
    std::string name;  // "AZ 18", "PZ 27"
    TSectionShape shape = TSectionShape::Z;
    bool imperial = false;  // published per foot of wall in inches, else per metre in mm and cm
    // Published values in the row's own units (empty: not in the maker's table).
    std::optional<double> width, height, flange, web, area, mass, inertia, elastic, plastic;
    // The same in SI, per metre of wall: width, height, thicknesses in m; area
    // m2/m; mass kg/m2; inertia m4/m; moduli m3/m.
    std::optional<double> widthSI, heightSI, flangeSI, webSI, areaSI, massSI, inertiaSI, elasticSI,
        plasticSI;
    std::map<std::string, int> classes;  // EN 1993-5 class per grade name, as tabulated
    std::string source;                  // the maker's table the row comes from
};

struct TSteelGrade {
    std::string name;      // "S355GP", "A572-50"
    std::string standard;  // "EN 10248-1"
    double fy = 0.0;       // published yield strength in its own unit
    bool ksi = false;      // fy in ksi, else in MPa
    double fyMPa = 0.0;    // yield strength in MPa (N/mm2)
    std::string source;
};

class TSectionCatalogue {
  public:
    // Reads the catalogue file; throws ECatalogueError naming the line at fault.
    static TSectionCatalogue Load(const std::filesystem::path& file);
    static TSectionCatalogue Parse(const std::string& text);

    const std::vector<TSheetPileSection>& Sections() const { return sections_; }
    const std::vector<TSteelGrade>& Grades() const { return grades_; }
    // Found without regard to case and blanks ("az18" finds "AZ 18"); nullptr if absent.
    const TSheetPileSection* FindSection(const std::string& name) const;
    const TSteelGrade* FindGrade(const std::string& name) const;

  private:
    std::vector<TSheetPileSection> sections_;
    std::vector<TSteelGrade> grades_;
};

// The EN 1993-5 class the maker's table gives the section in the grade.
std::optional<int> ClassFor(const TSheetPileSection& section, const std::string& grade);

// Where the catalogue file is for a program in `programFolder`: the same
// relative place in the build tree and in the installed layout,
// ../share/korvel/sheet_piles.csv. The environment variable KORVEL_SECTIONS,
// when set, names another catalogue file.
std::filesystem::path CatalogueFile(const std::filesystem::path& programFolder);
// The folder of the running executable.
std::filesystem::path ProgramFolder();

// One catalogue row a line for listings: name, I, W_el, W_pl, units.
std::string CatalogueLine(const TSheetPileSection& s);

// Unit conversions the catalogue and the checks share (exact by definition).
constexpr double kMetresPerInch = 0.0254;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kNewtonsPerPound = 4.4482216152605;
constexpr double kMPaPerKsi = 6.894757293168361;

}  // namespace korvel::design
