#include "design_table.h"

#include <cstdio>

namespace korvel::design {
namespace {

std::string Fixed(double v, int digits) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, v);
    return buffer;
}

std::string General(double v) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.4g", v);
    return buffer;
}

}  // namespace

std::vector<std::string> CheckTableHeader() {
    return {"Section",  "M_max",   "at depth",   "M_resist",    "M util.",       "V_max",
            "V_resist", "V util.", "Deflection", "Defl. util.", "Tieback util.", "Check"};
}

std::vector<std::vector<std::string>> CheckTableRows(const TDesignRun& run) {
    std::vector<std::vector<std::string>> rows;
    for (const TSectionCheck& c : run.sections) {
        std::string tieback = "-";
        double worst = -1.0;
        for (const TTiebackCheck& t : c.tiebacks) {
            if (t.checked && t.utilisation > worst) worst = t.utilisation;
        }
        if (worst >= 0.0) tieback = Fixed(worst, 3);
        rows.push_back({
            std::to_string(c.number),
            General(c.moment.demand) + " " + c.momentUnit,
            General(c.moment.depth) + " " + c.lengthUnit,
            General(c.moment.resistance) + " " + c.momentUnit,
            Fixed(c.moment.utilisation, 3),
            General(c.shear.demand) + " " + c.forceUnit,
            c.shear.available ? General(c.shear.resistance) + " " + c.forceUnit : "-",
            c.shear.available ? Fixed(c.shear.utilisation, 3) : "-",
            General(c.deflection.largest) + " " + c.lengthUnit,
            c.deflection.checked ? Fixed(c.deflection.utilisation, 3) : "-",
            tieback,
            c.passes ? "OK" : "NOT OK",
        });
    }
    return rows;
}

std::vector<std::string> CheckTableNotes(const TDesignRun& run) {
    std::vector<std::string> lines;
    if (!run.error.empty()) {
        lines.push_back("Design checks not made: " + run.error + ".");
        return lines;
    }
    if (run.sections.empty()) return lines;
    const TSectionCheck& c = run.sections.front();
    lines.push_back(c.section + ", " + c.grade + ", " + c.code + ": " + c.basis + ".");
    const std::string per = c.unitWidthName == "FT" ? "per ft" : "per m";
    lines.push_back("Moment resistance " + General(c.moment.perUnitWidth) + " " + c.momentUnit +
                    " " + per + " of wall x analysed width Wa " + General(c.wallWidth) + " " +
                    c.lengthUnit + " / " + General(c.unitWidth) + " " + c.lengthUnit + " = " +
                    General(c.moment.resistance) + " " + c.momentUnit + ".");
    if (c.shear.available) {
        lines.push_back("Shear resistance " + General(c.shear.perUnitWidth) + " " + c.forceUnit +
                        " " + per + " of wall, " + General(c.shear.resistance) + " " + c.forceUnit +
                        " for the analysed width.");
    }
    // The governing section (stage) of the run in bending and in shear.
    const TSectionCheck* bending = &c;
    const TSectionCheck* shear = &c;
    for (const TSectionCheck& s : run.sections) {
        if (s.moment.utilisation > bending->moment.utilisation) bending = &s;
        if (s.shear.utilisation > shear->shear.utilisation) shear = &s;
    }
    lines.push_back("Governing moment: section " + std::to_string(bending->number) + ", " +
                    General(bending->moment.demand) + " " + c.momentUnit + " at " +
                    General(bending->moment.depth) + " " + c.lengthUnit + ", utilisation " +
                    Fixed(bending->moment.utilisation, 3) + ".");
    if (c.shear.available) {
        lines.push_back("Governing shear: section " + std::to_string(shear->number) + ", " +
                        General(shear->shear.demand) + " " + c.forceUnit + " at " +
                        General(shear->shear.depth) + " " + c.lengthUnit + ", utilisation " +
                        Fixed(shear->shear.utilisation, 3) + ".");
    }
    if (c.deflection.checked) {
        lines.push_back("Deflection limit " + General(c.deflection.limit) + " " + c.lengthUnit +
                        ".");
    }
    for (const TSectionCheck& s : run.sections) {
        for (const TTiebackCheck& t : s.tiebacks) {
            lines.push_back("Section " + std::to_string(s.number) + ", tieback " +
                            std::to_string(t.row) + " at station " + std::to_string(t.station) +
                            ": " + General(t.forcePerWidth) + " " + s.forceUnit +
                            " on the analysed width, " + General(t.axialPerAnchor) + " " +
                            s.forceUnit + " per anchor" +
                            (t.checked ? " against " + General(t.capacity) + " " + s.forceUnit
                                       : std::string()) +
                            ".");
        }
        for (const std::string& note : s.notes) {
            lines.push_back("Section " + std::to_string(s.number) + ": " + note + ".");
        }
    }
    return lines;
}

double ElasticModulusMPa(const TSteelGrade& grade) {
    constexpr double kEnModulusMPa = 210000.0;  // EN 1993-1-1, 3.2.6
    constexpr double kAstmModulusKsi = 29000.0;
    return grade.standard.rfind("EN", 0) == 0 ? kEnModulusMPa : kAstmModulusKsi * kMPaPerKsi;
}

double WallStiffness(const TSheetPileSection& section, const TSteelGrade& grade, int unitSystem,
                     double width) {
    const double eiPerMetre = ElasticModulusMPa(grade) * 1.0e6 * *section.inertiaSI;  // N m2 per m
    if (unitSystem == 1) {
        // N m2 per m to lbf in2 per in: N to lbf, m2 to in2, per m to per in.
        const double perInch =
            eiPerMetre / kNewtonsPerPound / (kMetresPerInch * kMetresPerInch) * kMetresPerInch;
        return perInch * width;
    }
    return eiPerMetre / 1000.0 * width;  // kN m2
}

}  // namespace korvel::design
