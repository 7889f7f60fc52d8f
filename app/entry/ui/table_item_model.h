// Item model over a TGridTable for the table window's grid: one item column per
// visible table column, one item row per table row. Edits go through the cell
// accessors, so the columns' validation applies; a refused edit leaves its message
// for the view to show.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <vector>

#include "entry/grid_table.h"

namespace korvel {

class TTableItemModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit TTableItemModel(TGridTable& table, QObject* parent = nullptr);

    TGridTable* Table() const { return table_; }
    // Table column shown in a grid column.
    int TableColumn(int grid_column) const { return columns_[static_cast<size_t>(grid_column)]; }
    TColumnKind Kind(int grid_column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Commits the text through the column's validation; false when refused, with
    // the message kept for TakeError.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The message of the last refused edit (empty when none); clears it.
    QString TakeError();
    // Shows the table anew, rows, columns and all (after the project changed under it).
    void Reload();

  private:
    void Rebuild();

    QPointer<TGridTable> table_;
    std::vector<int> columns_;  // table column of each grid column
    QString error_;
};

}  // namespace korvel
