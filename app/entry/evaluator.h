// Evaluation of what the user types into a numeric field: a plain number or an
// arithmetic expression with + - * / % ^ = | &, parentheses, functions (radians),
// the constants pi and e, factorials (n!) and hexadecimal integers ($FF).
//
// Operators of one precedence level are applied left to right, so 2^3^2 is 64;
// a leading minus belongs to its number, so -2^2 is 4. Every intermediate result
// is rounded to 18 significant digits, as the entry boxes show values.
#pragma once

#include <QString>

namespace korvel {

// Throws EAssignError with one of the "Entry could not be evaluated:\r..." messages
// when the text cannot be read, and EMathError on arithmetic faults (division by
// zero, a result that is not a real number, overflow).
long double EvaluateEntry(const QString& text);

// The value as an entry box shows it: general format with 18 significant digits.
QString FormatEntryValue(long double value);

// The value rounded to an integer, as "$" and at least four upper-case hex digits.
// A negative value shows its 64-bit two's complement, which "$..." reads back.
QString FormatHexValue(long double value);

}  // namespace korvel
