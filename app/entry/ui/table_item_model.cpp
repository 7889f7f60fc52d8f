#include "entry/ui/table_item_model.h"

#include "entry/entry_errors.h"

namespace korvel {

TTableItemModel::TTableItemModel(TGridTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(&table) {
    Rebuild();
    connect(&table, &TGridTable::rowsChanged, this, [this] {
        beginResetModel();
        Rebuild();
        endResetModel();
    });
    connect(&table, &TGridTable::cellChanged, this, [this](int column, int row) {
        for (int g = 0; g < columnCount(); ++g) {
            if (TableColumn(g) == column) Q_EMIT dataChanged(index(row, g), index(row, g));
        }
    });
    connect(&table, &TGridTable::unitSystemChanged, this, [this] {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    });
}

void TTableItemModel::Reload() {
    beginResetModel();
    Rebuild();
    endResetModel();
}

void TTableItemModel::Rebuild() {
    columns_.clear();
    if (!table_) return;
    for (int c = 0; c < table_->ColumnCount(); ++c) {
        if (table_->Column(c).Visible) columns_.push_back(c);
    }
}

TColumnKind TTableItemModel::Kind(int grid_column) const {
    return table_->Column(TableColumn(grid_column)).Kind();
}

int TTableItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->RowCount();
}

int TTableItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : static_cast<int>(columns_.size());
}

QVariant TTableItemModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid()) return {};
    const int column = TableColumn(index.column());
    const TColumnKind kind = table_->Column(column).Kind();
    if (role == Qt::TextAlignmentRole) {
        return kind == TColumnKind::kString ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                            : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (kind == TColumnKind::kTable) return {};
    TData cell = table_->Cell(column, index.row());
    if (kind == TColumnKind::kEnum && role == Qt::DisplayRole) {
        return static_cast<const TEnumColumn&>(table_->Column(column))
            .Items.value(cell.AsInteger() - 1);
    }
    return cell.AsString();
}

QVariant TTableItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!table_) return {};
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole) return table_->HeaderLines(TableColumn(section)).join(u'\n');
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignHCenter | Qt::AlignTop);
        return {};
    }
    if (role == Qt::DisplayRole) {
        if (section < table_->RowNames().size()) return table_->RowNames().at(section);
        return table_->GroupNumber(section);
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags TTableItemModel::flags(const QModelIndex& index) const {
    if (!table_ || !index.isValid()) return Qt::NoItemFlags;
    const TColumnKind kind = Kind(index.column());
    // Choice and flex cells are not typed into: they carry a drop-down or a button.
    if (kind == TColumnKind::kEnum || kind == TColumnKind::kTable)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TTableItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!table_ || !index.isValid() || role != Qt::EditRole) return false;
    try {
        table_->Cell(TableColumn(index.column()), index.row()).SetAsString(value.toString());
    } catch (const EKorvelError& error) {
        error_ = error.Message();
        return false;
    }
    table_->SetModified(true);
    // An entered expression is replaced by its value everywhere.
    Q_EMIT dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
    return true;
}

QString TTableItemModel::TakeError() {
    QString error = error_;
    error_.clear();
    return error;
}

}  // namespace korvel
