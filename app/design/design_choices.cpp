#include "design_choices.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace korvel::design {
namespace {

constexpr const char* kHeader = "# KORVEL design choices";

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Real(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", v);
    return buffer;
}

double ReadReal(const std::string& value, int lineNo) {
    char* end = nullptr;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(v >= 0.0)) {
        throw EDesignFileError("design file line " + std::to_string(lineNo) + ": \"" + value +
                               "\" is not a number of zero or more");
    }
    return v;
}

}  // namespace

const char* CodeName(TDesignCode code) {
    switch (code) {
        case TDesignCode::ASD:
            return "ASD";
        case TDesignCode::LRFD:
            return "LRFD";
        case TDesignCode::EN1993_5:
            break;
    }
    return "EN1993-5";
}

bool ParseCode(const std::string& text, TDesignCode& code) {
    const std::string t = Upper(Trim(text));
    if (t == "EN1993-5" || t == "EN") {
        code = TDesignCode::EN1993_5;
    } else if (t == "ASD") {
        code = TDesignCode::ASD;
    } else if (t == "LRFD") {
        code = TDesignCode::LRFD;
    } else {
        return false;
    }
    return true;
}

std::filesystem::path DesignFileFor(const std::filesystem::path& dataFile) {
    std::filesystem::path p = dataFile;
    p.replace_extension(".kv5g");
    return p;
}

std::string DesignFileText(const TDesignChoices& c) {
    std::ostringstream out;
    out << kHeader << "\n";
    out << "section = " << c.section << "\n";
    out << "grade = " << c.grade << "\n";
    out << "code = " << CodeName(c.code) << "\n";
    out << "gamma_M0 = " << Real(c.gammaM0) << "\n";
    out << "beta_B = " << Real(c.betaB) << "\n";
    out << "asd_fraction = " << Real(c.asdFraction) << "\n";
    out << "asd_shear_fraction = " << Real(c.asdShearFraction) << "\n";
    out << "phi_flexure = " << Real(c.phiFlexure) << "\n";
    out << "phi_shear = " << Real(c.phiShear) << "\n";
    const char* kind = c.deflectionLimit == TDeflectionLimit::Absolute   ? "absolute"
                       : c.deflectionLimit == TDeflectionLimit::Fraction ? "fraction"
                                                                         : "none";
    out << "deflection_limit = " << kind << "\n";
    out << "deflection_value = " << Real(c.deflectionValue) << "\n";
    out << "tieback_capacity = " << Real(c.tiebackCapacity) << "\n";
    return out.str();
}

TDesignChoices ParseDesignFile(const std::string& text) {
    TDesignChoices c;
    std::istringstream in(text);
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        const std::string t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos) {
            throw EDesignFileError("design file line " + std::to_string(lineNo) +
                                   ": expected key = value");
        }
        const std::string key = Trim(t.substr(0, eq));
        const std::string value = Trim(t.substr(eq + 1));
        if (key == "section") {
            c.section = value;
        } else if (key == "grade") {
            c.grade = value;
        } else if (key == "code") {
            if (!ParseCode(value, c.code)) {
                throw EDesignFileError("design file line " + std::to_string(lineNo) +
                                       ": the code is EN1993-5, ASD or LRFD");
            }
        } else if (key == "gamma_M0") {
            c.gammaM0 = ReadReal(value, lineNo);
        } else if (key == "beta_B") {
            c.betaB = ReadReal(value, lineNo);
        } else if (key == "asd_fraction") {
            c.asdFraction = ReadReal(value, lineNo);
        } else if (key == "asd_shear_fraction") {
            c.asdShearFraction = ReadReal(value, lineNo);
        } else if (key == "phi_flexure") {
            c.phiFlexure = ReadReal(value, lineNo);
        } else if (key == "phi_shear") {
            c.phiShear = ReadReal(value, lineNo);
        } else if (key == "deflection_limit") {
            if (value == "none") {
                c.deflectionLimit = TDeflectionLimit::None;
            } else if (value == "absolute") {
                c.deflectionLimit = TDeflectionLimit::Absolute;
            } else if (value == "fraction") {
                c.deflectionLimit = TDeflectionLimit::Fraction;
            } else {
                throw EDesignFileError("design file line " + std::to_string(lineNo) +
                                       ": the deflection limit is none, absolute or fraction");
            }
        } else if (key == "deflection_value") {
            c.deflectionValue = ReadReal(value, lineNo);
        } else if (key == "tieback_capacity") {
            c.tiebackCapacity = ReadReal(value, lineNo);
        }
        // Keys of a later version are skipped, so older programs still read the file.
    }
    return c;
}

bool ReadDesignFile(const std::filesystem::path& dataFile, TDesignChoices& choices) {
    std::ifstream in(DesignFileFor(dataFile), std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    choices = ParseDesignFile(text.str());
    return true;
}

void WriteDesignFile(const std::filesystem::path& dataFile, const TDesignChoices& choices) {
    const auto target = DesignFileFor(dataFile);
    auto temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << DesignFileText(choices);
        if (!out.flush()) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            throw EDesignFileError("cannot write the design file " + target.string());
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw EDesignFileError("cannot write the design file " + target.string());
    }
}

}  // namespace korvel::design
