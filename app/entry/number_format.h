// General number format shared by the data file and the entry boxes: a value is
// rounded to a number of significant digits, trailing zeros are dropped, and it is
// written in fixed notation when 0.0001 <= |v| < 10^digits, else as d.dddE[-]x.
// The point is the decimal separator whatever the locale.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace korvel {

// Significant digits of reals in data files and of grid cells.
constexpr int kFileDigits = 8;
// Significant digits of entry boxes and of the evaluator's intermediate results.
constexpr int kEntryDigits = 18;

std::string FormatGeneralStd(long double value, int digits);
QString FormatGeneral(long double value, int digits);

// Reads a whole word as a decimal real: optional sign, digits with an optional
// point, optional exponent. No blanks, no "inf" or "nan"; false when the word is
// not such a number or lies outside the range of long double.
bool ParseDecimal(std::string_view text, long double& value);

}  // namespace korvel
