// Fills of the soil-layer column by layer colour code: 1 picture A, 2 forward-
// diagonal hatch, 3 cross hatch, 4 diagonal-cross hatch, 5 horizontal hatch,
// 6 vertical hatch, 7 to 12 pictures B to G, any other code no fill. Hatches are
// black. Each picture has a screen version and a finer one for printing.
#pragma once

#include <QBrush>

namespace korvel {

QBrush LayerBrush(int code, bool fine);

}  // namespace korvel
