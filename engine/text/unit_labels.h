// Short unit labels of the report, chosen per section by SetUnitLabels.
#pragma once

#include <string>

namespace korvel::text {

struct UnitLabels {
    std::string lengthLong = "  L";  // 3 characters
    std::string forceLong = "   F";  // 4 characters
    std::string lengthShort = " L";  // 2 characters
    std::string forceShort = "  F";  // 3 characters

    // The flag these labels were last chosen with (0: the generic labels),
    // whoever chose them: a section's units or the curve generator.
    int lastFlag = 0;

    // flag > 0 English, flag < 0 SI, flag = 0 other consistent units.
    void SetUnitLabels(int flag);
};

// A section's UnitSystem code: 1 English (inches, pounds), 2 SI (metres,
// kilonewtons); any other code is taken as consistent units of the user's own.
inline constexpr int kEnglishUnits = 1;
inline constexpr int kSIUnits = 2;
inline constexpr bool IsEnglish(int unitSystem) {
    return unitSystem == kEnglishUnits;
}
inline constexpr bool IsSI(int unitSystem) {
    return unitSystem == kSIUnits;
}

// The flag a section's UnitSystem gives to SetUnitLabels: +1 English, -1 SI,
// and for other units the flag last given (so the labels stay as they were).
int UnitLabelFlag(int unitSystem, int lastFlag);

}  // namespace korvel::text
