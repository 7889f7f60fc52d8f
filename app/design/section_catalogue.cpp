#include "section_catalogue.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace korvel::design {
namespace {

// A CSV line split at commas; a field in double quotes may hold commas.
std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// "AZ 18" and "az18" compare equal.
std::string Key(const std::string& name) {
    std::string key;
    for (const char c : name) {
        if (!std::isspace(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

std::optional<double> Number(const std::string& field, int lineNo) {
    const std::string t = Trim(field);
    if (t.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (*end != '\0' || !(v > 0.0)) {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) + ": \"" + t +
                              "\" is not a positive number");
    }
    return v;
}

std::optional<double> Scaled(const std::optional<double>& v, double factor) {
    if (!v) return std::nullopt;
    return *v * factor;
}

TSheetPileSection SectionRow(const std::vector<std::string>& f, int lineNo) {
    if (f.size() != 15) {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                              ": a section row has 15 fields");
    }
    TSheetPileSection s;
    s.name = Trim(f[1]);
    const std::string shape = Trim(f[2]);
    if (shape != "Z" && shape != "U") {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) + ": shape is Z or U");
    }
    s.shape = shape == "Z" ? TSectionShape::Z : TSectionShape::U;
    const std::string units = Trim(f[3]);
    if (units != "metric" && units != "imperial") {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                              ": units are metric or imperial");
    }
    s.imperial = units == "imperial";
    s.width = Number(f[4], lineNo);
    s.height = Number(f[5], lineNo);
    s.flange = Number(f[6], lineNo);
    s.web = Number(f[7], lineNo);
    s.area = Number(f[8], lineNo);
    s.mass = Number(f[9], lineNo);
    s.inertia = Number(f[10], lineNo);
    s.elastic = Number(f[11], lineNo);
    s.plastic = Number(f[12], lineNo);
    if (!s.inertia || !s.elastic) {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                              ": a section needs its moment of inertia and elastic modulus");
    }
    std::istringstream classes(f[13]);
    for (std::string item; classes >> item;) {
        const size_t colon = item.find(':');
        if (colon == std::string::npos) {
            throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                                  ": classes are GRADE:CLASS");
        }
        s.classes[Key(item.substr(0, colon))] = std::atoi(item.c_str() + colon + 1);
    }
    s.source = Trim(f[14]);
    // Per foot of wall to per metre: a length per foot is the same ratio in
    // any unit, so in4/ft = (0.0254^4 / 0.3048) m4/m.
    const double length = s.imperial ? kMetresPerInch : 1.0e-3;  // in or mm to m
    const double perWidth = s.imperial ? 1.0 / kMetresPerFoot : 1.0;
    const double cm = 1.0e-2;
    s.widthSI = Scaled(s.width, length);
    s.heightSI = Scaled(s.height, length);
    s.flangeSI = Scaled(s.flange, length);
    s.webSI = Scaled(s.web, length);
    if (s.imperial) {
        const double l = kMetresPerInch;
        s.areaSI = Scaled(s.area, l * l * perWidth);
        s.massSI = Scaled(s.mass, 0.45359237 / (kMetresPerFoot * kMetresPerFoot));
        s.inertiaSI = Scaled(s.inertia, l * l * l * l * perWidth);
        s.elasticSI = Scaled(s.elastic, l * l * l * perWidth);
        s.plasticSI = Scaled(s.plastic, l * l * l * perWidth);
    } else {
        s.areaSI = Scaled(s.area, cm * cm);
        s.massSI = s.mass;
        s.inertiaSI = Scaled(s.inertia, cm * cm * cm * cm);
        s.elasticSI = Scaled(s.elastic, cm * cm * cm);
        s.plasticSI = Scaled(s.plastic, cm * cm * cm);
    }
    return s;
}

TSteelGrade GradeRow(const std::vector<std::string>& f, int lineNo) {
    if (f.size() != 6) {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                              ": a grade row has 6 fields");
    }
    TSteelGrade g;
    g.name = Trim(f[1]);
    g.standard = Trim(f[2]);
    const auto fy = Number(f[3], lineNo);
    if (!fy) {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                              ": a grade needs its yield strength");
    }
    g.fy = *fy;
    const std::string unit = Trim(f[4]);
    if (unit != "MPa" && unit != "ksi") {
        throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                              ": the yield strength is in MPa or ksi");
    }
    g.ksi = unit == "ksi";
    g.fyMPa = g.ksi ? g.fy * kMPaPerKsi : g.fy;
    g.source = Trim(f[5]);
    return g;
}

std::string Short(const std::optional<double>& v) {
    if (!v) return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", *v);
    return buffer;
}

}  // namespace

TSectionCatalogue TSectionCatalogue::Parse(const std::string& text) {
    TSectionCatalogue catalogue;
    std::istringstream in(text);
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        const std::string t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        const auto fields = SplitCsv(t);
        const std::string kind = Trim(fields[0]);
        if (kind == "section") {
            catalogue.sections_.push_back(SectionRow(fields, lineNo));
        } else if (kind == "grade") {
            catalogue.grades_.push_back(GradeRow(fields, lineNo));
        } else {
            throw ECatalogueError("catalogue line " + std::to_string(lineNo) +
                                  ": a row starts with section or grade");
        }
    }
    return catalogue;
}

TSectionCatalogue TSectionCatalogue::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ECatalogueError("cannot read the section catalogue " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

const TSheetPileSection* TSectionCatalogue::FindSection(const std::string& name) const {
    const std::string key = Key(name);
    for (const auto& s : sections_) {
        if (Key(s.name) == key) return &s;
    }
    return nullptr;
}

const TSteelGrade* TSectionCatalogue::FindGrade(const std::string& name) const {
    const std::string key = Key(name);
    for (const auto& g : grades_) {
        if (Key(g.name) == key) return &g;
    }
    return nullptr;
}

std::optional<int> ClassFor(const TSheetPileSection& section, const std::string& grade) {
    const auto it = section.classes.find(Key(grade));
    if (it == section.classes.end()) return std::nullopt;
    return it->second;
}

std::filesystem::path ProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

std::filesystem::path CatalogueFile(const std::filesystem::path& programFolder) {
    if (const char* file = std::getenv("KORVEL_SECTIONS"); file && *file) return file;
    return (programFolder / ".." / "share" / "korvel" / "sheet_piles.csv").lexically_normal();
}

std::string CatalogueLine(const TSheetPileSection& s) {
    const char* units = s.imperial ? "in4/ft in3/ft" : "cm4/m cm3/m";
    return s.name + "\tI " + Short(s.inertia) + "\tW_el " + Short(s.elastic) + "\tW_pl " +
           Short(s.plastic) + "\t" + units;
}

}  // namespace korvel::design
