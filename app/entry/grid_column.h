// Column kinds of a grid table. A column holds its definition (captions, flags and
// the kind's own settings) and one value per row. The table keeps every column at
// its row count; columns never change their row count on their own.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <climits>
#include <memory>
#include <vector>

namespace korvel {

class TDefinitionStream;
class TGridTable;

// Kind numbers as written in the column definition stream.
enum class TColumnKind : int { kEnum = 0, kInt = 1, kFloat = 2, kTable = 3, kString = 4 };
constexpr int kColumnKindCount = 5;

class TGridColumn {
  public:
    virtual ~TGridColumn() = default;
    virtual TColumnKind Kind() const = 0;
    // A column with the same definition and no rows.
    virtual std::unique_ptr<TGridColumn> CloneDefinition() const = 0;

    virtual int RowCount() const = 0;
    // Inserts rows holding the column's new-row value (a flex column inserts empty
    // slots; the table fills them with sub-tables).
    virtual void InsertRows(int at, int count) = 0;
    virtual void DeleteRows(int at, int count) = 0;

    // The kind-specific part of the definition, after kind, captions and flags.
    virtual void WriteDefinition(TDefinitionStream& stream) const = 0;
    virtual void ReadDefinition(TDefinitionStream& stream) = 0;

    QStringList Captions;    // one header line each
    bool Visible = true;     // invisible columns keep their data but are not shown
    bool GroupWide = false;  // a value set in one row is set in every row of its group
};

template <typename T>
class TValueColumn : public TGridColumn {
  public:
    int RowCount() const override { return static_cast<int>(values_.size()); }
    const T& Value(int row) const { return values_[static_cast<size_t>(row)]; }
    void SetValue(int row, const T& value) { values_[static_cast<size_t>(row)] = value; }
    void InsertRows(int at, int count) override {
        values_.insert(values_.begin() + at, static_cast<size_t>(count), NewRowValue());
    }
    void DeleteRows(int at, int count) override {
        values_.erase(values_.begin() + at, values_.begin() + at + count);
    }
    virtual T NewRowValue() const = 0;

  protected:
    std::vector<T> values_;
};

// Choice column: holds the 1-based item number.
class TEnumColumn : public TValueColumn<int> {
  public:
    TColumnKind Kind() const override { return TColumnKind::kEnum; }
    std::unique_ptr<TGridColumn> CloneDefinition() const override;
    int NewRowValue() const override { return 1; }
    void WriteDefinition(TDefinitionStream& stream) const override;
    void ReadDefinition(TDefinitionStream& stream) override;

    QStringList Items;
};

class TIntColumn : public TValueColumn<int> {
  public:
    TColumnKind Kind() const override { return TColumnKind::kInt; }
    std::unique_ptr<TGridColumn> CloneDefinition() const override;
    int NewRowValue() const override { return Default; }
    void WriteDefinition(TDefinitionStream& stream) const override;
    void ReadDefinition(TDefinitionStream& stream) override;

    int Default = 0;
    int Min = INT_MIN;
    int Max = INT_MAX;
};

// Real column; values are held in the units that UnitLabel shows in the table's
// unit system.
class TFloatColumn : public TValueColumn<long double> {
  public:
    TColumnKind Kind() const override { return TColumnKind::kFloat; }
    std::unique_ptr<TGridColumn> CloneDefinition() const override;
    long double NewRowValue() const override { return Default; }
    void WriteDefinition(TDefinitionStream& stream) const override;
    void ReadDefinition(TDefinitionStream& stream) override;
    // Multiplies every value (unit switch).
    void Scale(long double factor);

    // Row i of a top-depth column equals row i-1 of the real column after it.
    bool TopDepth = false;
    QString UnitLabel;
    long double Default = 0.0L;
};

class TStringColumn : public TValueColumn<QString> {
  public:
    TColumnKind Kind() const override { return TColumnKind::kString; }
    std::unique_ptr<TGridColumn> CloneDefinition() const override;
    QString NewRowValue() const override { return DefaultText; }
    void WriteDefinition(TDefinitionStream& stream) const override;
    void ReadDefinition(TDefinitionStream& stream) override;

    QString DefaultText;
    long double Width = 1.0L;  // inches on screen
};

// Flex column: per row a whole sub-table, made from the template whose Identifier
// the row's choice (first column) selects.
class TTableColumn : public TGridColumn {
  public:
    TTableColumn();
    ~TTableColumn() override;
    TColumnKind Kind() const override { return TColumnKind::kTable; }
    std::unique_ptr<TGridColumn> CloneDefinition() const override;
    int RowCount() const override { return static_cast<int>(tables_.size()); }
    void InsertRows(int at, int count) override;
    void DeleteRows(int at, int count) override;
    void WriteDefinition(TDefinitionStream& stream) const override;
    void ReadDefinition(TDefinitionStream& stream) override;

    TGridTable* Table(int row) const { return tables_[static_cast<size_t>(row)].get(); }
    void SetTable(int row, std::unique_ptr<TGridTable> table);

    // Template Identifiers, one per item of the table's first column; -1 for none.
    QList<int> TemplateIds;

  private:
    std::vector<std::unique_ptr<TGridTable>> tables_;
};

}  // namespace korvel
