// Rectangular blocks of a grid table as text, for copy, cut, paste and clear in
// the table windows. A block is given by grid columns (the table columns the
// window shows, in order) and rows; its text has one line per row and a tab
// between cells, as spreadsheets and text editors exchange it.
//
// Model code: a refused paste or clear throws EAssignError whose message names
// the row (as the grid numbers it) and the column, and leaves the table as it was.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace korvel {

class TGridTable;

// The cells of a block's text: lines split at CR LF, LF or CR (a final line
// break ends the last row, it adds none), cells at tabs. Rows keep their own length.
QList<QStringList> ParseBlockText(const QString& text);

// Text of the block: choices and integers in decimal, reals with 8 significant
// digits, texts as held; a flex cell (a sub-table) gives an empty cell.
QString BlockText(TGridTable& table, const std::vector<int>& columns, int top, int bottom, int left,
                  int right);

// Pastes cells with its first cell at (top, left) in grid coordinates. Rows are
// added as needed; a block that needs more rows than the table may hold, or
// more columns than the grid shows, is refused. Each cell is entered as typed
// (expressions allowed; a choice also by its item text); a flex cell takes only
// an empty cell. Every cell is checked before the paste counts: the first one
// refused is named and nothing is pasted.
void PasteBlock(TGridTable& table, const std::vector<int>& columns, int top, int left,
                const QList<QStringList>& cells);

// Sets every typed cell of the block (integers, reals and texts) back to its
// column's new-row value; choices and flex cells stay. Refused as a paste is.
void ClearBlock(TGridTable& table, const std::vector<int>& columns, int top, int bottom, int left,
                int right);

}  // namespace korvel
