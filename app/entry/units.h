// Unit systems and unit labels. A label such as "F/L2^3" names a quantity by
// force and length tokens; it yields the text shown to the user in each system
// and the factor that converts a held value between English and SI. Values are
// held in the units the tables show: English lbs, in (ft for token L2); SI kN, m
// (mm for token L1); Other: consistent user units, never converted.
#pragma once

#include <QString>

namespace korvel {

constexpr int kEnglishUnits = 1;
constexpr int kSIUnits = 2;
constexpr int kOtherUnits = 3;

// A system number outside 1..3 is clamped into that range.
int ClampUnitSystem(int system);

// Grid columns replace every token of a label; edit boxes replace only the first
// force token and the first length token found, and show the label itself in the
// Other system.
enum class TUnitTextRule { kColumn, kEditBox };

QString UnitText(const QString& label, int system, TUnitTextRule rule);

// Factor of a label in English units per one SI unit (1 for labels without
// tokens such as "DEG." or "SEE NOTES").
long double UnitFactor(const QString& label);

// Multiplier that converts a value of the label from one system to another:
// the label's factor to the power -1 for English to SI, +1 for SI to English,
// and 1 for every other pair.
long double ConversionFactor(int from_system, int to_system, const QString& label);

}  // namespace korvel
