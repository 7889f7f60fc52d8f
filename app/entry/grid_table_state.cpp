#include "entry/grid_table_state.h"

#include "entry/grid_table.h"

namespace korvel {

bool TColumnState::operator==(const TColumnState& other) const {
    return Integers == other.Integers && Floats == other.Floats && Texts == other.Texts &&
           Tables == other.Tables && Present == other.Present;
}

bool TTableState::operator==(const TTableState& other) const {
    return Rows == other.Rows && UnitSystem == other.UnitSystem && Columns == other.Columns;
}

TTableState CaptureTableState(const TGridTable& table) {
    TTableState state;
    state.Rows = table.RowCount();
    state.UnitSystem = table.UnitSystem();
    state.Columns.resize(static_cast<size_t>(table.ColumnCount()));
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const TGridColumn& column = table.Column(c);
        TColumnState& values = state.Columns[static_cast<size_t>(c)];
        for (int row = 0; row < column.RowCount(); ++row) {
            switch (column.Kind()) {
                case TColumnKind::kEnum:
                case TColumnKind::kInt:
                    values.Integers.push_back(
                        static_cast<const TValueColumn<int>&>(column).Value(row));
                    break;
                case TColumnKind::kFloat:
                    values.Floats.push_back(
                        static_cast<const TValueColumn<long double>&>(column).Value(row));
                    break;
                case TColumnKind::kString:
                    values.Texts.push_back(
                        static_cast<const TValueColumn<QString>&>(column).Value(row));
                    break;
                case TColumnKind::kTable: {
                    const TGridTable* sub = static_cast<const TTableColumn&>(column).Table(row);
                    values.Present.push_back(sub != nullptr);
                    values.Tables.push_back(sub ? CaptureTableState(*sub) : TTableState{});
                    break;
                }
            }
        }
    }
    return state;
}

void RestoreTableState(TGridTable& table, const TTableState& state) {
    if (table.UnitSystem() != state.UnitSystem) table.SetUnitSystem(state.UnitSystem);
    // Rows are added in whole groups: a second call takes off any surplus.
    table.SetRowCount(state.Rows);
    table.SetRowCount(state.Rows);
    if (table.ColumnCount() != static_cast<int>(state.Columns.size())) return;
    // The first column's choice selects each row's sub-table kind: set it through
    // the table, which renews the sub-table when the choice changes.
    if (table.ColumnCount() > 0 && table.Column(0).Kind() == TColumnKind::kEnum) {
        const std::vector<int>& choices = state.Columns.front().Integers;
        for (int row = 0; row < state.Rows && row < static_cast<int>(choices.size()); ++row) {
            if (table.Cell(0, row).AsInteger() != choices[static_cast<size_t>(row)])
                table.Cell(0, row).SetAsInteger(choices[static_cast<size_t>(row)]);
        }
    }
    for (int c = 0; c < table.ColumnCount(); ++c) {
        TGridColumn& column = table.Column(c);
        const TColumnState& values = state.Columns[static_cast<size_t>(c)];
        for (int row = 0; row < state.Rows && row < column.RowCount(); ++row) {
            const auto r = static_cast<size_t>(row);
            switch (column.Kind()) {
                case TColumnKind::kEnum:
                case TColumnKind::kInt:
                    if (r < values.Integers.size())
                        static_cast<TValueColumn<int>&>(column).SetValue(row, values.Integers[r]);
                    break;
                case TColumnKind::kFloat:
                    if (r < values.Floats.size())
                        static_cast<TValueColumn<long double>&>(column).SetValue(row,
                                                                                 values.Floats[r]);
                    break;
                case TColumnKind::kString:
                    if (r < values.Texts.size())
                        static_cast<TValueColumn<QString>&>(column).SetValue(row, values.Texts[r]);
                    break;
                case TColumnKind::kTable: {
                    TGridTable* sub = static_cast<TTableColumn&>(column).Table(row);
                    if (sub && r < values.Tables.size() && values.Present[r])
                        RestoreTableState(*sub, values.Tables[r]);
                    break;
                }
            }
        }
    }
    // Values were set past the cell signals: views (grids, charts) take the table anew.
    Q_EMIT table.rowsChanged();
}

}  // namespace korvel
