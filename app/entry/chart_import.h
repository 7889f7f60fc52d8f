// Filling a chart table from text: the lines of a text file or of the clipboard
// are split into numbers, and every line with as many numbers as the table has
// columns fills the next row. Other lines (headings, notes) are skipped.
#pragma once

#include <QString>
#include <QStringList>

namespace korvel {

class TGridTable;

// Most numbers taken from one line.
inline constexpr int kMaxNumbersPerLine = 15;

// The number words of a line: leading blanks and TABs are skipped, a word ends at
// a blank, TAB, comma or CR, and the blanks and the one comma after it are skipped
// too. Words are taken until one is not a number (the point is the decimal
// separator), the line ends, or kMaxNumbersPerLine words have been taken.
QStringList SplitNumbers(const QString& line);

// The lines of a text whose lines end in CR LF, CR or LF. A last line without a
// line end is a line; the empty remainder after a final line end is not.
QStringList SplitTextLines(const QString& text);

// Fills table from lines and returns the number of rows filled. Each matching line
// fills the next row through the cells' text setters (so the columns' validation
// applies), growing the table by a row group when the row does not exist yet.
// Reading stops after MaxRows rows (when it has a limit). When a row was filled,
// the rows after the last filled one are deleted, down to MinRows: rows kept only
// to honour MinRows take their columns' new-row values. The table is marked
// modified when a row was filled. Throws the entry errors of the validation.
int ImportRows(TGridTable& table, const QStringList& lines);

}  // namespace korvel
