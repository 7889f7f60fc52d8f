#include "dialogs/dialog_units.h"

#include "entry/units.h"

namespace korvel {
namespace {

enum class TShownScale { kAsHeld, kFeet, kPerSquareFoot };

TShownScale ScaleOf(const QString& units_label, int unit_system) {
    if (ClampUnitSystem(unit_system) != 1) return TShownScale::kAsHeld;
    if (units_label == QLatin1String("L2")) return TShownScale::kFeet;
    if (units_label == QLatin1String("F/L2^2")) return TShownScale::kPerSquareFoot;
    return TShownScale::kAsHeld;
}

}  // namespace

// Division and multiplication by the exact factors (never by 1/12), so that
// 240 in shows as 20 ft and 20 ft is held as 240 in.
long double ShownValue(long double held, const QString& units_label, int unit_system) {
    switch (ScaleOf(units_label, unit_system)) {
        case TShownScale::kFeet:
            return held / kInchesPerFoot;
        case TShownScale::kPerSquareFoot:
            return held * kSquareInchesPerSquareFoot;
        case TShownScale::kAsHeld:
            break;
    }
    return held;
}

long double HeldValue(long double shown, const QString& units_label, int unit_system) {
    switch (ScaleOf(units_label, unit_system)) {
        case TShownScale::kFeet:
            return shown * kInchesPerFoot;
        case TShownScale::kPerSquareFoot:
            return shown / kSquareInchesPerSquareFoot;
        case TShownScale::kAsHeld:
            break;
    }
    return shown;
}

}  // namespace korvel
