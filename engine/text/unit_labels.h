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

// The flag a section's UnitSystem gives to SetUnitLabels: +1 English, -1 SI,
// and for other units the flag last given (so the labels stay as they were).
int UnitLabelFlag(int unitSystem, int lastFlag);

}  // namespace korvel::text
