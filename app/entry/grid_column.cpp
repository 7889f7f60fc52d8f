#include "entry/grid_column.h"

#include <cmath>

#include "entry/definition_stream.h"
#include "entry/entry_errors.h"
#include "entry/grid_table.h"

namespace korvel {
namespace {

template <typename T>
std::unique_ptr<TGridColumn> CopyWithoutRows(const T& column) {
    auto copy = std::make_unique<T>();
    copy->Captions = column.Captions;
    copy->Visible = column.Visible;
    copy->GroupWide = column.GroupWide;
    return copy;
}

}  // namespace

std::unique_ptr<TGridColumn> TEnumColumn::CloneDefinition() const {
    auto copy = CopyWithoutRows(*this);
    static_cast<TEnumColumn&>(*copy).Items = Items;
    return copy;
}

void TEnumColumn::WriteDefinition(TDefinitionStream& stream) const {
    stream.WriteStringList(Items);
}

void TEnumColumn::ReadDefinition(TDefinitionStream& stream) {
    Items = stream.ReadStringList();
}

std::unique_ptr<TGridColumn> TIntColumn::CloneDefinition() const {
    auto copy = CopyWithoutRows(*this);
    auto& c = static_cast<TIntColumn&>(*copy);
    c.Default = Default;
    c.Min = Min;
    c.Max = Max;
    return copy;
}

void TIntColumn::WriteDefinition(TDefinitionStream& stream) const {
    stream.WriteInteger(Default);
    stream.WriteInteger(Min);
    stream.WriteInteger(Max);
}

void TIntColumn::ReadDefinition(TDefinitionStream& stream) {
    Default = stream.ReadInteger();
    Min = stream.ReadInteger();
    Max = stream.ReadInteger();
}

std::unique_ptr<TGridColumn> TFloatColumn::CloneDefinition() const {
    auto copy = CopyWithoutRows(*this);
    auto& c = static_cast<TFloatColumn&>(*copy);
    c.TopDepth = TopDepth;
    c.UnitLabel = UnitLabel;
    c.Default = Default;
    return copy;
}

void TFloatColumn::WriteDefinition(TDefinitionStream& stream) const {
    stream.WriteBoolean(TopDepth);
    stream.WriteString(QStringLiteral("FLOATCOLUMN2"));
    stream.WriteString(UnitLabel);
    stream.WriteFloat(Default);
}

void TFloatColumn::ReadDefinition(TDefinitionStream& stream) {
    TopDepth = stream.ReadBoolean();
    if (stream.ReadString() != QLatin1String("FLOATCOLUMN2"))
        throw EGridError("Invalid property value");
    UnitLabel = stream.ReadString();
    Default = stream.ReadFloat();
}

void TFloatColumn::Scale(long double factor) {
    for (long double& v : values_) v *= factor;
}

std::unique_ptr<TGridColumn> TStringColumn::CloneDefinition() const {
    auto copy = CopyWithoutRows(*this);
    auto& c = static_cast<TStringColumn&>(*copy);
    c.DefaultText = DefaultText;
    c.Width = Width;
    return copy;
}

void TStringColumn::WriteDefinition(TDefinitionStream& stream) const {
    stream.WriteString(DefaultText);
    stream.WriteFloat(Width);
}

void TStringColumn::ReadDefinition(TDefinitionStream& stream) {
    DefaultText = stream.ReadString();
    Width = stream.ReadFloat();
}

TTableColumn::TTableColumn() = default;
TTableColumn::~TTableColumn() = default;

std::unique_ptr<TGridColumn> TTableColumn::CloneDefinition() const {
    auto copy = CopyWithoutRows(*this);
    static_cast<TTableColumn&>(*copy).TemplateIds = TemplateIds;
    return copy;
}

void TTableColumn::InsertRows(int at, int count) {
    // unique_ptr is move-only, so insert the empty slots one by one.
    for (int i = 0; i < count; ++i) tables_.insert(tables_.begin() + at, nullptr);
}

void TTableColumn::DeleteRows(int at, int count) {
    tables_.erase(tables_.begin() + at, tables_.begin() + at + count);
}

void TTableColumn::WriteDefinition(TDefinitionStream& stream) const {
    stream.WriteString(QStringLiteral("FLEXCOLUMN2"));
    stream.WriteIntegerList(TemplateIds);
}

void TTableColumn::ReadDefinition(TDefinitionStream& stream) {
    if (stream.ReadString() != QLatin1String("FLEXCOLUMN2"))
        throw EGridError("Invalid property value");
    TemplateIds = stream.ReadIntegerList();
}

void TTableColumn::SetTable(int row, std::unique_ptr<TGridTable> table) {
    tables_[static_cast<size_t>(row)] = std::move(table);
}

}  // namespace korvel
