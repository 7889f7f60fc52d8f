#include "entry/grid_table.h"

#include <cmath>

#include "entry/definition_stream.h"
#include "entry/entry_errors.h"
#include "entry/evaluator.h"
#include "entry/number_format.h"
#include "entry/table_registry.h"
#include "entry/units.h"

namespace korvel {
namespace {

constexpr const char* kWrongType = "Data of wrong type";
constexpr const char* kRowNotInRange = "Grid.Row not in valid range";
// Fractions below this count as an integer entry.
constexpr long double kIntegerTolerance = 1e-10L;

// Reads a typed cell entry: blank and unreadable text get the cells' own messages.
long double EvaluateCellText(const QString& text) {
    if (text.trimmed().isEmpty()) throw EAssignError("Entry cannot be blank.");
    try {
        return EvaluateEntry(text);
    } catch (const EKorvelError&) {
        throw EAssignError(text + QStringLiteral(" is not a valid number."));
    }
}

QString RangeMessage(int min, int max) {
    return QStringLiteral("Entry must be between %1 and %2.").arg(min).arg(max);
}

}  // namespace

// ---------------------------------------------------------------------------- TData

TData::TData(TGridTable& table, int column, int row) : table_(table), column_(column), row_(row) {
    table_.CheckCell(column, row);
}

int TData::AsInteger() const {
    const TGridColumn& c = table_.Column(column_);
    if (c.Kind() == TColumnKind::kEnum) return static_cast<const TEnumColumn&>(c).Value(row_);
    if (c.Kind() == TColumnKind::kInt) return static_cast<const TIntColumn&>(c).Value(row_);
    throw EGridError(kWrongType);
}

void TData::SetAsInteger(int value) {
    const TGridColumn& c = table_.Column(column_);
    if (c.Kind() == TColumnKind::kEnum) {
        // An item number outside the list would select no template and no text.
        const int items = static_cast<int>(static_cast<const TEnumColumn&>(c).Items.size());
        if (value < 1) throw EMinError(RangeMessage(1, items));
        if (value > items) throw EMaxError(RangeMessage(1, items));
    } else if (c.Kind() != TColumnKind::kInt) {
        throw EGridError(kWrongType);
    }
    table_.StoreInteger(column_, row_, value);
}

long double TData::AsFloat() const {
    const TGridColumn& c = table_.Column(column_);
    if (c.Kind() != TColumnKind::kFloat) throw EGridError(kWrongType);
    return static_cast<const TFloatColumn&>(c).Value(row_);
}

void TData::SetAsFloat(long double value) {
    if (table_.Column(column_).Kind() != TColumnKind::kFloat) throw EGridError(kWrongType);
    table_.StoreFloat(column_, row_, value);
}

QString TData::AsString() const {
    const TGridColumn& c = table_.Column(column_);
    switch (c.Kind()) {
        case TColumnKind::kEnum:
        case TColumnKind::kInt:
            return QString::number(AsInteger());
        case TColumnKind::kFloat:
            return FormatGeneral(AsFloat(), kFileDigits);
        case TColumnKind::kString:
            return static_cast<const TStringColumn&>(c).Value(row_);
        case TColumnKind::kTable:
            break;
    }
    throw EGridError(kWrongType);
}

void TData::SetAsString(const QString& text) {
    const TGridColumn& c = table_.Column(column_);
    switch (c.Kind()) {
        case TColumnKind::kEnum: {
            const long double value = EvaluateCellText(text);
            if (value != std::trunc(value)) throw EIntError("Value must be an integer.");
            const int items = static_cast<int>(static_cast<const TEnumColumn&>(c).Items.size());
            if (value < 1) throw EMinError(RangeMessage(1, items));
            if (value > items) throw EMaxError(RangeMessage(1, items));
            table_.StoreInteger(column_, row_, static_cast<int>(value));
            return;
        }
        case TColumnKind::kInt: {
            const auto& int_column = static_cast<const TIntColumn&>(c);
            const long double value = EvaluateCellText(text);
            const long double rounded = std::nearbyint(value);
            // Without a window (reading a file) a fraction is rounded away silently.
            if (table_.Editor() && std::fabs(value - rounded) > kIntegerTolerance) {
                throw EIntError("Entry must be an integer.");
            }
            if (rounded < int_column.Min)
                throw EMinError(RangeMessage(int_column.Min, int_column.Max));
            if (rounded > int_column.Max)
                throw EMaxError(RangeMessage(int_column.Min, int_column.Max));
            table_.StoreInteger(column_, row_, static_cast<int>(rounded));
            return;
        }
        case TColumnKind::kFloat:
            table_.StoreFloat(column_, row_, EvaluateCellText(text));
            return;
        case TColumnKind::kString:
            table_.StoreString(column_, row_, text);
            return;
        case TColumnKind::kTable:
            break;
    }
    throw EGridError(kWrongType);
}

TGridTable* TData::AsTable() const {
    const TGridColumn& c = table_.Column(column_);
    if (c.Kind() != TColumnKind::kTable) throw EGridError(kWrongType);
    return static_cast<const TTableColumn&>(c).Table(row_);
}

// ----------------------------------------------------------------------- TGridTable

TGridTable::TGridTable(TTableRegistry& registry, QObject* parent)
    : QObject(parent),
      registry_(registry),
      registered_(true),
      identifier_(registry.NextIdentifier()) {
    registry_.Register(this);
}

TGridTable::TGridTable(TTableRegistry& registry, TUnregistered)
    : registry_(registry), registered_(false), identifier_(-1) {}

TGridTable::~TGridTable() {
    if (registered_) registry_.Unregister(this);
}

void TGridTable::SetIdentifier(int identifier) {
    if (identifier < 0) return;
    if (registered_) {
        TGridTable* other = registry_.Find(identifier);
        if (other && other != this) other->identifier_ = identifier_;
    }
    identifier_ = identifier;
}

void TGridTable::SetMinRows(int rows) {
    if (rows <= 0) throw EGridError("Value must be greater than 0");
    min_rows_ = rows;
}

TGridColumn& TGridTable::Column(int index) {
    if (index < 0 || index >= ColumnCount()) throw EGridError("Column index out of range");
    return *columns_[static_cast<size_t>(index)];
}

const TGridColumn& TGridTable::Column(int index) const {
    if (index < 0 || index >= ColumnCount()) throw EGridError("Column index out of range");
    return *columns_[static_cast<size_t>(index)];
}

namespace {
template <typename T>
T& AddColumn(std::vector<std::unique_ptr<TGridColumn>>& columns, const QStringList& captions,
             int row_count) {
    auto column = std::make_unique<T>();
    column->Captions = captions;
    column->InsertRows(0, row_count);
    T& ref = *column;
    columns.push_back(std::move(column));
    return ref;
}
}  // namespace

TEnumColumn& TGridTable::AddEnumColumn(const QStringList& captions, const QStringList& items) {
    auto& column = AddColumn<TEnumColumn>(columns_, captions, row_count_);
    column.Items = items;
    NormalizeTemplates();
    return column;
}

TIntColumn& TGridTable::AddIntColumn(const QStringList& captions, int default_value, int min,
                                     int max) {
    auto& column = AddColumn<TIntColumn>(columns_, captions, 0);
    column.Default = default_value;
    column.Min = min;
    column.Max = max;
    column.InsertRows(0, row_count_);
    return column;
}

TFloatColumn& TGridTable::AddFloatColumn(const QStringList& captions, const QString& unit_label,
                                         long double default_value) {
    auto& column = AddColumn<TFloatColumn>(columns_, captions, 0);
    column.UnitLabel = unit_label;
    column.Default = default_value;
    column.InsertRows(0, row_count_);
    return column;
}

TTableColumn& TGridTable::AddTableColumn(const QStringList& captions,
                                         const QList<int>& template_ids) {
    auto& column = AddColumn<TTableColumn>(columns_, captions, row_count_);
    column.TemplateIds = template_ids;
    NormalizeTemplates();
    const int index = ColumnCount() - 1;
    for (int row = 0; row < row_count_; ++row) RenewSubTable(index, row);
    return column;
}

TStringColumn& TGridTable::AddStringColumn(const QStringList& captions, const QString& default_text,
                                           long double width_inches) {
    auto& column = AddColumn<TStringColumn>(columns_, captions, 0);
    column.DefaultText = default_text;
    column.Width = width_inches;
    column.InsertRows(0, row_count_);
    return column;
}

bool TGridTable::HasVisibleColumn() const {
    return std::any_of(columns_.begin(), columns_.end(), [](const auto& c) { return c->Visible; });
}

void TGridTable::NormalizeTemplates() {
    if (columns_.empty() || columns_.front()->Kind() != TColumnKind::kEnum) return;
    const auto items = static_cast<const TEnumColumn&>(*columns_.front()).Items.size();
    for (auto& column : columns_) {
        if (column->Kind() != TColumnKind::kTable) continue;
        auto& ids = static_cast<TTableColumn&>(*column).TemplateIds;
        while (ids.size() < items) ids.append(-1);
        while (ids.size() > items) ids.removeLast();
    }
}

void TGridTable::CheckTopDepthPairs() const {
    for (int i = 0; i < ColumnCount(); ++i) {
        const TGridColumn& c = *columns_[static_cast<size_t>(i)];
        if (c.Kind() == TColumnKind::kFloat && static_cast<const TFloatColumn&>(c).TopDepth &&
            (i + 1 >= ColumnCount() ||
             columns_[static_cast<size_t>(i) + 1]->Kind() != TColumnKind::kFloat)) {
            throw EGridError("If column if a topdepth then the next column must be a float column");
        }
    }
}

void TGridTable::WriteColumns(TDefinitionStream& stream) const {
    stream.WriteInteger(ColumnCount());
    for (const auto& column : columns_) {
        stream.WriteInteger(static_cast<int>(column->Kind()));
        stream.WriteStringList(column->Captions);
        stream.WriteBoolean(column->Visible);
        stream.WriteBoolean(column->GroupWide);
        column->WriteDefinition(stream);
    }
}

void TGridTable::ReadColumns(TDefinitionStream& stream) {
    int count = 0;
    try {
        count = stream.ReadInteger();
    } catch (const EGridError&) {
        throw EGridError("Error reading column count");
    }
    if (count < 0) throw EGridError("Error reading column count");
    std::vector<std::unique_ptr<TGridColumn>> columns;
    for (int i = 0; i < count; ++i) {
        const auto wrapped = [i](const EGridError& error) {
            return EGridError(QStringLiteral("Error occurred when creating column %1: %2")
                                  .arg(i)
                                  .arg(error.Message()));
        };
        int kind = -1;
        try {
            kind = stream.ReadInteger();
        } catch (const EGridError& error) {
            throw wrapped(error);
        }
        std::unique_ptr<TGridColumn> column;
        switch (kind) {
            case 0:
                column = std::make_unique<TEnumColumn>();
                break;
            case 1:
                column = std::make_unique<TIntColumn>();
                break;
            case 2:
                column = std::make_unique<TFloatColumn>();
                break;
            case 3:
                column = std::make_unique<TTableColumn>();
                break;
            case 4:
                column = std::make_unique<TStringColumn>();
                break;
            default:
                throw EGridError("Error Column Class not defined");
        }
        try {
            column->Captions = stream.ReadStringList();
            column->Visible = stream.ReadBoolean();
            column->GroupWide = stream.ReadBoolean();
            column->ReadDefinition(stream);
        } catch (const EGridError& error) {
            throw wrapped(error);
        }
        columns.push_back(std::move(column));
    }
    SetRowCount(0);
    columns_ = std::move(columns);
    NormalizeTemplates();
    CheckTopDepthPairs();
    Q_EMIT rowsChanged();
}

// ----------------------------------------------------------------------------- Rows

void TGridTable::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows < row_count_) {
        DeleteRows(rows, row_count_ - rows);
        return;
    }
    const int missing_groups = (rows - row_count_ + row_group_ - 1) / row_group_;
    if (missing_groups > 0) InsertRows(row_count_, missing_groups * row_group_);
}

void TGridTable::AddRowGroup() {
    InsertRows(row_count_, row_group_);
}

void TGridTable::InsertRowGroup(int row) {
    if (row < 0 || row >= row_count_) throw EGridError(kRowNotInRange);
    InsertRows(row - row % row_group_, row_group_);
}

void TGridTable::DeleteRowGroup(int row) {
    if (row < 0 || row >= row_count_) throw EGridError(kRowNotInRange);
    const int start = row - row % row_group_;
    DeleteRows(start, std::min(row_group_, row_count_ - start));
}

void TGridTable::InsertRows(int at, int count) {
    if (count <= 0) return;
    for (auto& column : columns_) column->InsertRows(at, count);
    row_count_ += count;
    for (int c = 0; c < ColumnCount(); ++c) {
        if (columns_[static_cast<size_t>(c)]->Kind() != TColumnKind::kTable) continue;
        for (int row = at; row < at + count; ++row) RenewSubTable(c, row);
    }
    RenumberSubTables(at + count);
    SyncTopDepths();
    Q_EMIT rowsChanged();
}

void TGridTable::DeleteRows(int at, int count) {
    if (count <= 0) return;
    for (auto& column : columns_) column->DeleteRows(at, count);
    row_count_ -= count;
    RenumberSubTables(at);
    SyncTopDepths();
    Q_EMIT rowsChanged();
}

void TGridTable::RenumberSubTables(int from_row) {
    for (auto& column : columns_) {
        if (column->Kind() != TColumnKind::kTable) continue;
        auto& flex = static_cast<TTableColumn&>(*column);
        for (int row = from_row; row < row_count_; ++row) {
            TGridTable* table = flex.Table(row);
            if (table && table->row_number_ != row + 1) {
                table->row_number_ = row + 1;
                Q_EMIT table->rowNumberChanged(row + 1);
            }
        }
    }
}

// A layer's top is the previous layer's bottom; the top column follows.
void TGridTable::SyncTopDepths() {
    for (int c = 0; c + 1 < ColumnCount(); ++c) {
        auto& column = *columns_[static_cast<size_t>(c)];
        if (column.Kind() != TColumnKind::kFloat || !static_cast<TFloatColumn&>(column).TopDepth)
            continue;
        auto& top = static_cast<TFloatColumn&>(column);
        auto& bottom = static_cast<TFloatColumn&>(*columns_[static_cast<size_t>(c) + 1]);
        for (int row = 1; row < row_count_; ++row) top.SetValue(row, bottom.Value(row - 1));
    }
}

TData TGridTable::Cell(int column, int row) {
    return TData(*this, column, row);
}

void TGridTable::CheckCell(int column, int row) const {
    if (column < 0 || column >= ColumnCount() || row < 0 || row >= row_count_) {
        throw EGridError(
            QStringLiteral("Grid index out of range (column %1, row %2)").arg(column).arg(row));
    }
}

std::pair<int, int> TGridTable::AffectedRows(const TGridColumn& column, int row) const {
    if (!column.GroupWide) return {row, row + 1};
    const int start = row - row % row_group_;
    return {start, std::min(start + row_group_, row_count_)};
}

void TGridTable::StoreInteger(int column, int row, int value) {
    TGridColumn& c = Column(column);
    auto& values = static_cast<TValueColumn<int>&>(c);
    const bool is_choice = column == 0 && c.Kind() == TColumnKind::kEnum;
    const auto [first, last] = AffectedRows(c, row);
    for (int r = first; r < last; ++r) {
        const bool changed = values.Value(r) != value;
        values.SetValue(r, value);
        if (is_choice && changed) {
            for (int flex = 0; flex < ColumnCount(); ++flex) {
                if (columns_[static_cast<size_t>(flex)]->Kind() == TColumnKind::kTable) {
                    RenewSubTable(flex, r);
                    Q_EMIT subTableReplaced(flex, r);
                }
            }
        }
        Q_EMIT cellChanged(column, r);
    }
}

void TGridTable::StoreFloat(int column, int row, long double value) {
    auto& c = static_cast<TFloatColumn&>(Column(column));
    const auto [first, last] = AffectedRows(c, row);
    for (int r = first; r < last; ++r) {
        c.SetValue(r, value);
        if (c.TopDepth && r > 0) {
            static_cast<TFloatColumn&>(Column(column + 1)).SetValue(r - 1, value);
            Q_EMIT cellChanged(column + 1, r - 1);
        }
        if (column > 0 && r + 1 < row_count_) {
            TGridColumn& before = Column(column - 1);
            if (before.Kind() == TColumnKind::kFloat &&
                static_cast<TFloatColumn&>(before).TopDepth) {
                static_cast<TFloatColumn&>(before).SetValue(r + 1, value);
                Q_EMIT cellChanged(column - 1, r + 1);
            }
        }
        Q_EMIT cellChanged(column, r);
    }
}

void TGridTable::StoreString(int column, int row, const QString& value) {
    auto& c = static_cast<TStringColumn&>(Column(column));
    const auto [first, last] = AffectedRows(c, row);
    for (int r = first; r < last; ++r) {
        c.SetValue(r, value);
        Q_EMIT cellChanged(column, r);
    }
}

void TGridTable::RenewSubTable(int column, int row) {
    auto& flex = static_cast<TTableColumn&>(Column(column));
    int template_id = flex.TemplateIds.isEmpty() ? -1 : flex.TemplateIds.front();
    if (!columns_.empty() && columns_.front()->Kind() == TColumnKind::kEnum) {
        const int item = static_cast<const TEnumColumn&>(*columns_.front()).Value(row);
        template_id =
            item >= 1 && item <= flex.TemplateIds.size() ? flex.TemplateIds[item - 1] : -1;
    }
    const TGridTable* source = template_id >= 0 ? registry_.Find(template_id) : nullptr;
    flex.SetTable(row, source ? source->CreateSubTable(*this, row + 1) : nullptr);
}

// ---------------------------------------------------------------------------- Units

void TGridTable::SetUnitSystem(int system) {
    system = ClampUnitSystem(system);
    if (system == unit_system_) return;
    for (auto& column : columns_) {
        if (column->Kind() == TColumnKind::kFloat) {
            auto& real = static_cast<TFloatColumn&>(*column);
            real.Scale(ConversionFactor(unit_system_, system, real.UnitLabel));
        } else if (column->Kind() == TColumnKind::kTable) {
            auto& flex = static_cast<TTableColumn&>(*column);
            for (int row = 0; row < row_count_; ++row) {
                if (TGridTable* table = flex.Table(row)) table->SetUnitSystem(system);
            }
        }
    }
    unit_system_ = system;
    Q_EMIT unitSystemChanged(system);
}

QStringList TGridTable::HeaderLines(int column) const {
    const TGridColumn& c = Column(column);
    QStringList lines = c.Captions;
    if (c.Kind() == TColumnKind::kFloat) {
        const QString& label = static_cast<const TFloatColumn&>(c).UnitLabel;
        if (!label.isEmpty()) {
            if (lines.isEmpty()) lines.append(QString());
            lines.back() += QStringLiteral(" (") +
                            UnitText(label, unit_system_, TUnitTextRule::kColumn) +
                            QStringLiteral(")  ");
        }
    }
    return lines;
}

// ---------------------------------------------------------------------------- State

bool TGridTable::Modified() const {
    if (modified_) return true;
    for (const auto& column : columns_) {
        if (column->Kind() != TColumnKind::kTable) continue;
        const auto& flex = static_cast<const TTableColumn&>(*column);
        for (int row = 0; row < row_count_; ++row) {
            if (flex.Table(row) && flex.Table(row)->Modified()) return true;
        }
    }
    return false;
}

void TGridTable::SetModified(bool modified) {
    modified_ = modified;
    if (modified) return;
    for (auto& column : columns_) {
        if (column->Kind() != TColumnKind::kTable) continue;
        auto& flex = static_cast<TTableColumn&>(*column);
        for (int row = 0; row < row_count_; ++row) {
            if (flex.Table(row)) flex.Table(row)->SetModified(false);
        }
    }
}

QString TGridTable::WindowTitle() const {
    QString numbers;
    for (const TGridTable* t = this; t->parent_table_; t = t->parent_table_) {
        numbers.prepend(QStringLiteral(" ") + QString::number(t->row_number_));
    }
    return caption_ + QStringLiteral(" ") + numbers;
}

// ------------------------------------------------------------------------ Sub-tables

std::unique_ptr<TGridTable> TGridTable::NewSubTable() const {
    return std::unique_ptr<TGridTable>(new TGridTable(registry_, TUnregistered{}));
}

void TGridTable::CopyDefinitionTo(TGridTable& copy) const {
    copy.caption_ = caption_;
    copy.comments_ = comments_;
    copy.top_left_ = top_left_;
    copy.row_names_ = row_names_;
    copy.min_rows_ = min_rows_;
    copy.max_rows_ = max_rows_;
    for (const auto& column : columns_) copy.columns_.push_back(column->CloneDefinition());
}

std::unique_ptr<TGridTable> TGridTable::CreateSubTable(TGridTable& parent, int row_number) const {
    std::unique_ptr<TGridTable> table = NewSubTable();
    CopyDefinitionTo(*table);
    table->parent_table_ = &parent;
    table->row_number_ = row_number;
    table->unit_system_ = parent.unit_system_;
    table->SetRowCount(table->min_rows_);
    return table;
}

}  // namespace korvel
