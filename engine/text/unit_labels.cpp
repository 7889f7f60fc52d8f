#include "text/unit_labels.h"

namespace korvel::text {

void UnitLabels::SetUnitLabels(int flag) {
    lastFlag = flag;
    if (flag > 0) {
        lengthLong = " IN";
        forceLong = " LBS";
        lengthShort = "IN";
        forceShort = "LBS";
    } else if (flag < 0) {
        lengthLong = "  M";
        forceLong = "  KN";
        lengthShort = " M";
        forceShort = " KN";
    } else {
        lengthLong = "  L";
        forceLong = "   F";
        lengthShort = " L";
        forceShort = "  F";
    }
}

int UnitLabelFlag(int unitSystem, int lastFlag) {
    if (IsEnglish(unitSystem)) return 1;
    if (IsSI(unitSystem)) return -1;
    return lastFlag;
}

}  // namespace korvel::text
