// Unit texts of graph axes. A unit text names force and length by the tokens
// F, F1, F2 and L, L1, L2 ("F/L" is a force per length) and is shown in the
// graph's unit system: 1 English (lbs, kips, tons; in, ft), 2 SI (kN; m, mm),
// 3 the text unchanged.
#pragma once

#include <QString>

namespace korvel {

QString GraphUnitText(const QString& unit_text, int units);
// The caption alone when the unit text is empty, else "caption (unit)".
QString GraphAxisCaption(const QString& caption, const QString& unit_text, int units);

}  // namespace korvel
