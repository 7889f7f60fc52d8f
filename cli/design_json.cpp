#include "design_json.h"

#include <sstream>

#include "parallel_batch.h"

namespace korvel::cli {
namespace {

std::string OptionalNumber(bool present, double v) {
    return present ? JsonNumber(v) : "null";
}

}  // namespace

design::TSectionCatalogue LoadCatalogue() {
    return design::TSectionCatalogue::Load(design::CatalogueFile(design::ProgramFolder()));
}

int ListSections(std::ostream& out, std::ostream& err) {
    try {
        const design::TSectionCatalogue catalogue = LoadCatalogue();
        for (const design::TSheetPileSection& s : catalogue.Sections()) {
            out << design::CatalogueLine(s) << '\n';
        }
        for (const design::TSteelGrade& g : catalogue.Grades()) {
            out << "grade " << g.name << "\tfy " << JsonNumber(g.fy) << (g.ksi ? " ksi" : " MPa")
                << "\t" << g.standard << '\n';
        }
        return 0;
    } catch (const std::exception& e) {
        err << "korvel-run: " << e.what() << '\n';
        return 1;
    }
}

std::optional<DesignRuns> MakeDesignRuns(const DesignOverrides& overrides,
                                         const std::vector<std::string>& files,
                                         std::string& problem) {
    bool wanted = overrides.Any();
    for (const std::string& f : files) {
        std::error_code ec;
        wanted = wanted || std::filesystem::exists(design::DesignFileFor(f), ec);
    }
    if (!wanted) return std::nullopt;
    design::TDesignCode code;
    if (!overrides.code.empty() && !design::ParseCode(overrides.code, code)) {
        problem = "--code needs EN1993-5, ASD or LRFD";
        return std::nullopt;
    }
    try {
        design::TSectionCatalogue catalogue = LoadCatalogue();
        if (!overrides.section.empty() && !catalogue.FindSection(overrides.section)) {
            problem = "no section \"" + overrides.section + "\" in the catalogue (--list-sections)";
            return std::nullopt;
        }
        if (!overrides.grade.empty() && !catalogue.FindGrade(overrides.grade)) {
            problem =
                "no steel grade \"" + overrides.grade + "\" in the catalogue (--list-sections)";
            return std::nullopt;
        }
        return DesignRuns(std::move(catalogue), overrides);
    } catch (const std::exception& e) {
        problem = e.what();
        return std::nullopt;
    }
}

const design::TDesignRun* DesignRuns::For(const RunResult& r) {
    auto it = runs_.find(r.dataFile);
    if (it == runs_.end()) {
        std::optional<design::TDesignRun> run;
        design::TDesignChoices choices;
        bool chosen = false;
        std::string error;
        try {
            chosen = design::ReadDesignFile(r.dataFile, choices);
        } catch (const std::exception& e) {
            error = e.what();
        }
        if (!overrides_.section.empty()) choices.section = overrides_.section;
        if (!overrides_.grade.empty()) choices.grade = overrides_.grade;
        if (!overrides_.code.empty()) design::ParseCode(overrides_.code, choices.code);
        chosen = chosen || overrides_.Any();
        if (!error.empty()) {
            run = design::TDesignRun{error, {}};
        } else if (chosen && r.status != RunStatus::Failed) {
            if (choices.section.empty()) {
                run = design::TDesignRun{"no section chosen", {}};
            } else if (choices.grade.empty()) {
                run = design::TDesignRun{"no steel grade chosen", {}};
            } else {
                run = design::CheckRun(r.dataFile, r.reportFile, catalogue_, choices);
                choices_[r.dataFile] = choices;
            }
        }
        it = runs_.emplace(r.dataFile, std::move(run)).first;
    }
    return it->second ? &*it->second : nullptr;
}

const design::TDesignChoices* DesignRuns::Choices(const RunResult& r) {
    For(r);
    const auto it = choices_.find(r.dataFile);
    return it == choices_.end() ? nullptr : &it->second;
}

void DesignRuns::AddSectionJson(JsonWriter& json, const RunResult& r, size_t index) {
    const design::TDesignRun* run = For(r);
    if (!run) return;
    if (!run->error.empty()) {
        json.Key("design").BeginObject().Member("error", run->error).EndObject();
        return;
    }
    if (index >= run->sections.size()) return;
    json.Key("design").Raw(DesignJson(run->sections[index]));
}

void DesignRuns::Print(const std::vector<RunResult>& results, std::ostream& out,
                       std::ostream& err) {
    for (const RunResult& r : results) {
        const design::TDesignRun* run = For(r);
        if (!run) continue;
        if (!run->error.empty()) {
            err << "korvel-run: " << r.dataFile.string() << ": design checks: " << run->error
                << '\n';
            continue;
        }
        out << r.dataFile.string() << ":\n";
        for (const design::TSectionCheck& c : run->sections) {
            out << "  section " << c.number << ": " << design::DescribeCheck(c) << '\n';
        }
    }
}

std::string DesignJson(const design::TSectionCheck& c) {
    std::ostringstream out;
    out << "{\"section\": " << JsonString(c.section) << ", \"grade\": " << JsonString(c.grade)
        << ", \"code\": " << JsonString(c.code)
        << ", \"class\": " << (c.sectionClass ? std::to_string(*c.sectionClass) : "null")
        << ", \"basis\": " << JsonString(c.basis) << ", \"wall_width\": " << JsonNumber(c.wallWidth)
        << ", \"unit_width\": " << JsonString("1 " + c.unitWidthName)
        << ", \"moment_resistance_per_unit_width\": " << JsonNumber(c.moment.perUnitWidth)
        << ", \"moment_resistance\": " << JsonNumber(c.moment.resistance)
        << ", \"max_moment\": " << JsonNumber(c.moment.demand)
        << ", \"moment_depth\": " << JsonNumber(c.moment.depth)
        << ", \"moment_utilisation\": " << JsonNumber(c.moment.utilisation)
        << ", \"shear_resistance_per_unit_width\": "
        << OptionalNumber(c.shear.available, c.shear.perUnitWidth)
        << ", \"shear_resistance\": " << OptionalNumber(c.shear.available, c.shear.resistance)
        << ", \"max_shear\": " << JsonNumber(c.shear.demand)
        << ", \"shear_depth\": " << JsonNumber(c.shear.depth)
        << ", \"shear_utilisation\": " << OptionalNumber(c.shear.available, c.shear.utilisation);
    const design::TDeflectionCheck& d = c.deflection;
    out << ", \"deflection\": {\"head\": " << JsonNumber(d.head)
        << ", \"max\": " << JsonNumber(d.largest) << ", \"depth\": " << JsonNumber(d.depth)
        << ", \"limit\": " << OptionalNumber(d.checked, d.limit)
        << ", \"head_utilisation\": " << OptionalNumber(d.checked, d.headUtilisation)
        << ", \"utilisation\": " << OptionalNumber(d.checked, d.utilisation) << "}";
    out << ", \"tiebacks\": [";
    for (size_t i = 0; i < c.tiebacks.size(); ++i) {
        const design::TTiebackCheck& t = c.tiebacks[i];
        out << (i ? ", " : "") << "{\"row\": " << t.row << ", \"depth\": " << JsonNumber(t.depth)
            << ", \"station\": " << t.station << ", \"deflection\": " << JsonNumber(t.deflection)
            << ", \"force_per_width\": " << JsonNumber(t.forcePerWidth)
            << ", \"axial_per_anchor\": " << JsonNumber(t.axialPerAnchor)
            << ", \"capacity\": " << OptionalNumber(t.checked, t.capacity)
            << ", \"utilisation\": " << OptionalNumber(t.checked, t.utilisation) << "}";
    }
    out << "], \"notes\": [";
    for (size_t i = 0; i < c.notes.size(); ++i) out << (i ? ", " : "") << JsonString(c.notes[i]);
    out << "], \"passes\": " << (c.passes ? "true" : "false") << "}";
    return out.str();
}

}  // namespace korvel::cli
