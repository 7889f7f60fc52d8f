// Where the columns of a soil layer's parameter table go in the six slots of a
// LAYERPROPS line (unit weight, cohesion, friction angle, E50, k, K), and which
// slots the data file carries in English feet-based units.
#pragma once

#include <array>

namespace korvel {

constexpr int kSoilSlots = 6;
constexpr int kSoilTypeCount = 7;
// Slot index of the optional earth pressure coefficient K.
constexpr int kKSlot = 5;

// English conversions between the table (ft-based) and the file (in-based).
enum class TSlotConversion {
    kNone,
    kUnitWeight,  // lbs/ft^3 on screen, lbs/in^3 in the file: / 1728 on writing
    kCohesion,    // lbs/ft^2 on screen, lbs/in^2 in the file: / 144 on writing
};

struct TSoilSlot {
    int Column = -1;  // parameter-table column, or -1 for the "0.0  " filler
    TSlotConversion Conversion = TSlotConversion::kNone;
    // The long-term section writes "0.0  " here (K of clays, sand and silt).
    bool DroppedLongTerm = false;
};

// Soil type 1..7 (Soft Clay ... Weak Rock); other values give six fillers.
std::array<TSoilSlot, kSoilSlots> SoilSlots(int soil_type);

// Factor from the file's English value to the table's value.
long double SlotReadFactor(TSlotConversion conversion);

}  // namespace korvel
