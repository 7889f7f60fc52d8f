#include "entry/units.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

namespace korvel {
namespace {

struct TUnitToken {
    const char* text;  // token as written in labels ("F" and "L" are tokens F0 and L0)
    const char* english;
    const char* si;
    const char* other;
    long double factor;  // English units per one SI unit
};

// Indexed as the token table: F0 F1 F2 L0 L1 L2 F4 F5 L3 F6.
constexpr std::array<TUnitToken, 10> kTokens{{
    {"F", "lbs", "kN", "F", 224.8089237L},
    {"F1", "kips", "kN", "F", 0.2248089237L},
    {"F2", "tons", "kN", "F", 0.1124044745L},
    {"L", "in", "m", "L", 39.37007874L},
    {"L1", "in", "mm", "L", 0.03937007874L},
    {"L2", "ft", "m", "L", 3.280839895L},
    {"F4", "lb-sec2/in", "Mg", "M", 5.7101483L},
    {"F5", "sec", "sec", "T", 1.0L},
    {"L3", "rad", "rad", "L", 1.0L},
    {"F6", "slug", "Mg", "F", 68.364249L},
}};

constexpr int kF0 = 0, kF1 = 1, kF2 = 2, kL0 = 3, kL1 = 4, kL2 = 5, kF4 = 6, kF5 = 7, kL3 = 8,
              kF6 = 9;

QString TokenName(int token, int system) {
    const TUnitToken& t = kTokens[static_cast<size_t>(token)];
    switch (ClampUnitSystem(system)) {
        case kEnglishUnits:
            return QString::fromLatin1(t.english);
        case kSIUnits:
            return QString::fromLatin1(t.si);
        default:
            return QString::fromLatin1(t.other);
    }
}

QString TokenText(int token) {
    return QString::fromLatin1(kTokens[static_cast<size_t>(token)].text);
}

int ForceToken(QChar digit) {
    switch (digit.unicode()) {
        case '0':
            return kF0;
        case '1':
            return kF1;
        case '2':
            return kF2;
        case '4':
            return kF4;
        case '5':
            return kF5;
        case '6':
            return kF6;
        default:
            return -1;
    }
}

int LengthToken(QChar digit) {
    switch (digit.unicode()) {
        case '0':
            return kL0;
        case '1':
            return kL1;
        case '2':
            return kL2;
        case '3':
            return kL3;
        default:
            return -1;
    }
}

// Factor of one side of a label ("F-L^2", "L2^3", "RAD.").
long double PartFactor(const QString& part) {
    int pos = 0;
    const int n = static_cast<int>(part.size());
    long double factor = 1.0L;
    if (pos < n && part[pos] == u'F') {
        int token = pos + 1 < n ? ForceToken(part[pos + 1]) : -1;
        pos += token < 0 ? 1 : 2;
        if (token < 0) token = kF0;
        int exponent = 1;
        if (pos < n && part[pos] == u'^') {
            exponent = pos + 1 < n && part[pos + 1].isDigit() ? part[pos + 1].digitValue() : 1;
            pos += 2;
        } else if (pos < n) {
            ++pos;  // one separator such as "-"
        }
        factor *= std::pow(kTokens[static_cast<size_t>(token)].factor, exponent);
    }
    if (pos < n && part[pos] == u'L') {
        int token = pos + 1 < n ? LengthToken(part[pos + 1]) : -1;
        pos += token < 0 ? 1 : 2;
        if (token < 0) token = kL0;
        // The exponent follows a "^" after the token: "L2^3" is ft^3, "L^2" is in^2.
        int exponent = 1;
        if (pos + 1 < n && part[pos] == u'^' && part[pos + 1].isDigit()) {
            exponent = part[pos + 1].digitValue();
        }
        factor *= std::pow(kTokens[static_cast<size_t>(token)].factor, exponent);
    }
    return factor;
}

}  // namespace

int ClampUnitSystem(int system) {
    return std::clamp(system, kEnglishUnits, kOtherUnits);
}

QString UnitText(const QString& label, int system, TUnitTextRule rule) {
    QString text = label;
    if (rule == TUnitTextRule::kColumn) {
        for (int token : {kF2, kF1, kF4, kF5, kF6, kF0, kL3, kL2, kL1, kL0}) {
            text.replace(TokenText(token), TokenName(token, system));
        }
        return text;
    }
    if (ClampUnitSystem(system) == kOtherUnits) return text;
    for (int token : {kF6, kF5, kF4, kF2, kF1, kF0}) {
        if (text.contains(TokenText(token))) {
            text.replace(TokenText(token), TokenName(token, system));
            break;
        }
    }
    for (int token : {kL2, kL1, kL3, kL0}) {
        if (text.contains(TokenText(token))) {
            text.replace(TokenText(token), TokenName(token, system));
            break;
        }
    }
    return text;
}

long double UnitFactor(const QString& label) {
    const int slash = static_cast<int>(label.indexOf(u'/'));
    if (slash < 0) return PartFactor(label);
    return PartFactor(label.left(slash)) / PartFactor(label.mid(slash + 1));
}

long double ConversionFactor(int from_system, int to_system, const QString& label) {
    if (from_system == kEnglishUnits && to_system == kSIUnits) return 1.0L / UnitFactor(label);
    if (from_system == kSIUnits && to_system == kEnglishUnits) return UnitFactor(label);
    return 1.0L;
}

}  // namespace korvel
