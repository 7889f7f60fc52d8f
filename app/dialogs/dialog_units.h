// How the input dialogs show the project's held values. In English units depths
// and heights (unit label "L2") are shown in feet and pressures per square foot
// ("F/L2^2") in pounds per square foot, while the project holds inches and pounds
// per square inch. Every other label, and every other unit system, shows exactly
// what the project holds.
#pragma once

#include <QString>

namespace korvel {

inline constexpr long double kInchesPerFoot = 12.0L;
inline constexpr long double kSquareInchesPerSquareFoot = 144.0L;

// The value a dialog box with this unit label shows for a held value.
long double ShownValue(long double held, const QString& units_label, int unit_system);
// The value the project holds for what a box with this unit label shows.
long double HeldValue(long double shown, const QString& units_label, int unit_system);

}  // namespace korvel
