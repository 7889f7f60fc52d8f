#include "project/soil_slots.h"

namespace korvel {
namespace {

constexpr long double kCubicInchesPerCubicFoot = 1728.0L;
constexpr long double kSquareInchesPerSquareFoot = 144.0L;

using S = TSoilSlot;
using C = TSlotConversion;
constexpr S kFiller{};

}  // namespace

std::array<TSoilSlot, kSoilSlots> SoilSlots(int soil_type) {
    switch (soil_type) {
        case 1:
        case 2:
        case 3:  // clays: unit weight, cohesion, E50, k, K
            return {S{0, C::kUnitWeight}, S{1, C::kCohesion}, kFiller, S{2}, S{3},
                    S{4, C::kNone, true}};
        case 4:  // sand: unit weight, friction angle, k, K
            return {S{0, C::kUnitWeight}, kFiller, S{1}, kFiller, S{2}, S{3, C::kNone, true}};
        case 5:  // silt: unit weight, friction angle, cohesion, E50, k, K
            return {S{0, C::kUnitWeight}, S{2, C::kCohesion}, S{1}, S{3}, S{4},
                    S{5, C::kNone, true}};
        case 6:  // strong rock: unit weight, uniaxial compressive strength (already per in^2)
            return {S{0, C::kUnitWeight}, S{1}, kFiller, kFiller, kFiller, kFiller};
        case 7:  // weak rock: unit weight, strength, krm, elastic modulus, RQD
            return {S{0, C::kUnitWeight}, S{1}, kFiller, S{2}, S{3}, S{4}};
        default:
            return {kFiller, kFiller, kFiller, kFiller, kFiller, kFiller};
    }
}

long double SlotReadFactor(TSlotConversion conversion) {
    switch (conversion) {
        case C::kUnitWeight:
            return kCubicInchesPerCubicFoot;
        case C::kCohesion:
            return kSquareInchesPerSquareFoot;
        case C::kNone:
            break;
    }
    return 1.0L;
}

}  // namespace korvel
