#include "project/unit_switch_memo.h"

#include <cmath>

#include "entry/units.h"

namespace korvel {

void TUnitSwitchMemo::Begin(int from_system, int to_system) {
    from_ = from_system;
    to_ = to_system;
    converting_ = (from_system == kEnglishUnits && to_system == kSIUnits) ||
                  (from_system == kSIUnits && to_system == kEnglishUnits);
    reverses_last_ = converting_ && from_system == last_to_ && to_system == last_from_;
    next_.clear();
}

long double TUnitSwitchMemo::Convert(TConvertedQuantity kind, long double value,
                                     long double factor) {
    if (!converting_) return value * factor;
    // A NaN cannot be a key of an ordered map (it compares unordered with everything).
    if (std::isnan(value)) return value * factor;
    long double result = value * factor;
    if (reverses_last_) {
        const auto found = last_.find({kind, value});
        if (found != last_.end()) result = found->second;
    }
    if (!std::isnan(result)) next_[{kind, result}] = value;
    return result;
}

void TUnitSwitchMemo::End() {
    if (!converting_) return;
    last_ = std::move(next_);
    next_.clear();
    last_from_ = from_;
    last_to_ = to_;
}

}  // namespace korvel
