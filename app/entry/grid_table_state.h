// A grid table's rows as values: every column's values, the sub-tables of flex
// columns within, and the unit system they are held in. Taken before and after
// an edit, it lets the edit be undone and redone exactly (no round trip through
// text), and two states compare equal when the table holds the same values.
#pragma once

#include <QString>
#include <vector>

namespace korvel {

class TGridTable;
struct TTableState;

// One column's values; only the vector of the column's kind is filled. A flex
// column holds one sub-table state per row, Present telling which rows have one.
struct TColumnState {
    std::vector<int> Integers;
    std::vector<long double> Floats;
    std::vector<QString> Texts;
    std::vector<TTableState> Tables;
    std::vector<bool> Present;

    bool operator==(const TColumnState& other) const;
};

struct TTableState {
    int Rows = 0;
    int UnitSystem = 1;
    std::vector<TColumnState> Columns;

    bool operator==(const TTableState& other) const;
};

TTableState CaptureTableState(const TGridTable& table);
// Puts the rows back as captured (same table, same column definitions): the row
// count first, then the choices (so that each row gets its sub-table kind back),
// then every value and every sub-table. Values are set as held, without the
// entry checks they passed when they were typed; rowsChanged then tells the
// table's views.
void RestoreTableState(TGridTable& table, const TTableState& state);

}  // namespace korvel
