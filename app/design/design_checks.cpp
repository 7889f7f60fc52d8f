#include "design_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace korvel::design {
namespace {

constexpr double kInchesPerFoot = 12.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kPascalsPerMPa = 1.0e6;
// LRFD nominal shear strength of a web: 0.6 fy times its area.
constexpr double kShearYieldRatio = 0.6;

// Project units of one section: SI (kN, m) or English (lbs, in).
struct TUnits {
    bool english = false;
    // A resistance per unit wall width in SI (N m per m, or N per m) to the
    // project's moment (or force) per project length of width.
    double MomentPerWidth(double newtonMetresPerMetre) const {
        return english ? newtonMetresPerMetre / kNewtonsPerPound  // lbf in per in
                       : newtonMetresPerMetre / 1000.0;           // kN m per m
    }
    double ForcePerWidth(double newtonsPerMetre) const {
        return english ? newtonsPerMetre / kNewtonsPerPound * kMetresPerInch  // lbf per in
                       : newtonsPerMetre / 1000.0;                            // kN per m
    }
};

std::string Fixed(double v, int digits) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, v);
    return buffer;
}

double Utilisation(double demand, double resistance) {
    return resistance > 0.0 ? std::abs(demand) / resistance : 0.0;
}

// Shear area per metre of wall: one web per pile width, projected onto the
// direction of the shear, t_w (h - t_f) (EN 1993-5, 5.2.2).
std::optional<double> ShearAreaPerMetre(const TSheetPileSection& s) {
    if (!s.webSI || !s.heightSI || !s.flangeSI || !s.widthSI) return std::nullopt;
    return *s.webSI * (*s.heightSI - *s.flangeSI) / *s.widthSI;
}

}  // namespace

TSectionCheck CheckSection(const TWallSection& wall, const TResultsBlock& results,
                           const TSheetPileSection& s, const TSteelGrade& g,
                           const TDesignChoices& c, int number) {
    if (wall.unitSystem != 1 && wall.unitSystem != 2) {
        throw EDesignInputError("the design checks need English or SI units");
    }
    if (results.stations.empty()) throw EDesignInputError("the section has no results");
    if (!(wall.Wa > 0.0)) throw EDesignInputError("the analysed wall width Wa is not positive");
    const TUnits units{wall.unitSystem == 1};

    TSectionCheck out;
    out.number = number;
    out.section = s.name;
    out.grade = g.name;
    out.code = CodeName(c.code);
    out.lengthUnit = results.lengthUnit;
    out.forceUnit = results.forceUnit;
    out.momentUnit = results.momentUnit;
    out.wallWidth = wall.Wa;
    out.unitWidth = units.english ? kInchesPerFoot : 1.0;
    out.unitWidthName = units.english ? "FT" : "M";

    const double fy = g.fyMPa * kPascalsPerMPa;  // Pa
    const double elastic = *s.elasticSI;         // m3/m
    double momentSI = 0.0;                       // N m per m
    switch (c.code) {
        case TDesignCode::EN1993_5: {
            const std::optional<int> tabulated = ClassFor(s, g.name);
            const int cls = tabulated.value_or(3);
            if (!tabulated) {
                out.notes.push_back("class not in the maker's table for " + g.name +
                                    ": taken as class 3 (elastic resistance)");
            }
            const bool plastic = cls <= 2 && s.plasticSI.has_value();
            if (cls <= 2 && !s.plasticSI) {
                out.notes.push_back("no plastic modulus tabulated: elastic resistance used");
            }
            if (cls >= 4) {
                out.notes.push_back("class 4 needs effective section properties: not covered");
                out.passes = false;
            }
            out.sectionClass = cls;
            const double betaB = s.shape == TSectionShape::U ? c.betaB : 1.0;
            momentSI = betaB * (plastic ? *s.plasticSI : elastic) * fy / c.gammaM0;
            out.basis = std::string("M_c,Rd = ") + (s.shape == TSectionShape::U ? "beta_B " : "") +
                        (plastic ? "W_pl" : "W_el") + " fy / gamma_M0 (class " +
                        std::to_string(cls) + ", gamma_M0 " + Fixed(c.gammaM0, 2) +
                        (s.shape == TSectionShape::U ? ", beta_B " + Fixed(betaB, 2) : "") + ")";
            break;
        }
        case TDesignCode::ASD:
            momentSI = c.asdFraction * fy * elastic;
            out.basis = "M_allow = " + Fixed(c.asdFraction, 2) + " fy S";
            break;
        case TDesignCode::LRFD:
            momentSI = c.phiFlexure * fy * elastic;
            out.basis = "phi M_n = " + Fixed(c.phiFlexure, 2) + " fy S";
            break;
    }
    out.moment.available = true;
    out.moment.perUnitWidth = units.MomentPerWidth(momentSI) * out.unitWidth;
    out.moment.resistance = units.MomentPerWidth(momentSI) * wall.Wa;

    if (const auto area = ShearAreaPerMetre(s)) {
        double shearSI = 0.0;  // N per m
        switch (c.code) {
            case TDesignCode::EN1993_5:
                shearSI = *area * fy / (std::sqrt(3.0) * c.gammaM0);
                break;
            case TDesignCode::ASD:
                shearSI = c.asdShearFraction * fy * *area;
                break;
            case TDesignCode::LRFD:
                shearSI = c.phiShear * kShearYieldRatio * fy * *area;
                break;
        }
        out.shear.available = true;
        out.shear.perUnitWidth = units.ForcePerWidth(shearSI) * out.unitWidth;
        out.shear.resistance = units.ForcePerWidth(shearSI) * wall.Wa;
    } else {
        out.notes.push_back("web and flange dimensions not tabulated: shear not checked");
    }

    // Largest magnitudes; the first station wins a tie, as in the report summary.
    TDeflectionCheck& d = out.deflection;
    d.head = results.stations.front().deflection;
    for (const TStationResult& r : results.stations) {
        if (std::abs(r.moment) > std::abs(out.moment.demand)) {
            out.moment.demand = r.moment;
            out.moment.depth = r.x;
        }
        if (std::abs(r.shear) > std::abs(out.shear.demand)) {
            out.shear.demand = r.shear;
            out.shear.depth = r.x;
        }
        if (std::abs(r.deflection) > std::abs(d.largest)) {
            d.largest = r.deflection;
            d.depth = r.x;
        }
    }
    out.moment.utilisation = Utilisation(out.moment.demand, out.moment.resistance);
    if (out.shear.available) {
        out.shear.utilisation = Utilisation(out.shear.demand, out.shear.resistance);
        // EN 1993-5 reduces the moment resistance where V_Ed exceeds half of
        // V_pl,Rd; that needs the web's inclination, which the tables lack.
        if (c.code == TDesignCode::EN1993_5 && out.shear.utilisation > 0.5) {
            out.notes.push_back(
                "shear above half the plastic shear resistance: the reduction of the moment "
                "resistance for shear is not checked");
        }
    }

    if (c.deflectionLimit != TDeflectionLimit::None && c.deflectionValue > 0.0) {
        d.checked = true;
        d.limit = c.deflectionLimit == TDeflectionLimit::Absolute
                      ? c.deflectionValue
                      : c.deflectionValue * wall.freeHeight;
        d.headUtilisation = Utilisation(d.head, d.limit);
        d.utilisation = Utilisation(d.largest, d.limit);
    }

    // The tieback springs as the engine builds them (depth, length and
    // spacing in feet against inches in English units).
    const double toStation = units.english ? kInchesPerFoot : 1.0;
    for (size_t i = 0; i < wall.tiebacks.size(); ++i) {
        const TTiebackRow& t = wall.tiebacks[i];
        TTiebackCheck k;
        k.row = static_cast<int>(i) + 1;
        k.depth = t.depth;
        k.station = static_cast<int>(std::lround(toStation * t.depth / wall.h));
        if (k.station < 0 || k.station >= static_cast<int>(results.stations.size()) ||
            !(t.spacing > 0.0) || !(t.length > 0.0)) {
            out.notes.push_back("tieback " + std::to_string(k.row) +
                                " lies off the wall: not checked");
            continue;
        }
        const double cosine = std::cos(t.angle * kPi / 180.0);
        const double spacing = toStation * t.spacing;
        k.stiffness = t.area * t.modulus * cosine / ((spacing / wall.Wa) * (toStation * t.length));
        k.deflection = results.stations[static_cast<size_t>(k.station)].deflection;
        k.forcePerWidth = k.stiffness * k.deflection;
        k.axialPerAnchor = k.forcePerWidth * spacing / wall.Wa / cosine;
        if (c.tiebackCapacity > 0.0) {
            k.checked = true;
            k.capacity = c.tiebackCapacity;
            k.utilisation = Utilisation(k.axialPerAnchor, k.capacity);
        }
        out.tiebacks.push_back(k);
    }

    const auto over = [](double u) { return u > 1.0; };
    if (over(out.moment.utilisation) || (out.shear.available && over(out.shear.utilisation)) ||
        (d.checked && over(d.utilisation))) {
        out.passes = false;
    }
    for (const TTiebackCheck& k : out.tiebacks) {
        if (k.checked && over(k.utilisation)) out.passes = false;
    }
    return out;
}

TDesignRun CheckRun(const std::filesystem::path& dataFile, const std::filesystem::path& reportFile,
                    const TSectionCatalogue& catalogue, const TDesignChoices& choices) {
    TDesignRun run;
    const TSheetPileSection* section = catalogue.FindSection(choices.section);
    const TSteelGrade* grade = catalogue.FindGrade(choices.grade);
    if (!section) {
        run.error = "no section \"" + choices.section + "\" in the catalogue";
        return run;
    }
    if (!grade) {
        run.error = "no steel grade \"" + choices.grade + "\" in the catalogue";
        return run;
    }
    try {
        std::ifstream data(dataFile, std::ios::binary);
        if (!data) throw EDesignInputError("cannot read the data file");
        const auto walls = ReadWallSections(data);
        std::ifstream report(reportFile, std::ios::binary);
        if (!report) throw EDesignInputError("cannot read the output report");
        const auto blocks = ReadResultsBlocks(report);
        const size_t n = std::min(walls.size(), blocks.size());
        for (size_t i = 0; i < n; ++i) {
            run.sections.push_back(CheckSection(walls[i], blocks[i], *section, *grade, choices,
                                                static_cast<int>(i) + 1));
        }
    } catch (const std::exception& e) {
        run.error = e.what();
        run.sections.clear();
    }
    return run;
}

std::string DescribeCheck(const TSectionCheck& c) {
    std::ostringstream out;
    out << "design " << c.section << ' ' << c.grade << ' ' << c.code << ": moment "
        << Fixed(c.moment.utilisation, 3) << " of " << Fixed(c.moment.resistance, 1) << ' '
        << c.momentUnit;
    if (c.shear.available) {
        out << ", shear " << Fixed(c.shear.utilisation, 3) << " of " << Fixed(c.shear.resistance, 1)
            << ' ' << c.forceUnit;
    }
    if (c.deflection.checked) out << ", deflection " << Fixed(c.deflection.utilisation, 3);
    for (const TTiebackCheck& k : c.tiebacks) {
        if (k.checked) out << ", tieback " << k.row << ' ' << Fixed(k.utilisation, 3);
    }
    out << (c.passes ? "; OK" : "; NOT OK");
    return out.str();
}

}  // namespace korvel::design
