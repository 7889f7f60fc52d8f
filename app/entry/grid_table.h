// TGridTable: a named table of typed columns with row limits, holding one list of
// a project's input (stiffness rows, loads, soil layers, ...). The project model
// reads and writes cells through TData; the editing window (TTableForm) shows the
// table and commits what the user types through the same validation. Views follow
// the table through its signals.
//
// Rows are added, inserted and deleted in groups of RowGroup rows. A flex column
// holds a sub-table per row, made from the template (a registered table) whose
// Identifier the row's choice in the first column selects.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

#include "entry/grid_column.h"

namespace korvel {

class TDefinitionStream;
class TGridTable;
class TTableRegistry;

// Accessor of one cell (column and row from 0). An accessor that does not apply to
// the column's kind throws EGridError "Data of wrong type"; setters throw the entry
// errors of the column's validation.
class TData {
  public:
    TData(TGridTable& table, int column, int row);

    int AsInteger() const;
    void SetAsInteger(int value);
    long double AsFloat() const;
    void SetAsFloat(long double value);
    // Choice and integer values in decimal, reals with 8 significant digits.
    QString AsString() const;
    // The text is evaluated like an entry box's (expressions allowed) and validated
    // by the column; text columns store it as it is.
    void SetAsString(const QString& text);
    // The row's sub-table of a flex column (nullptr when its template is missing).
    TGridTable* AsTable() const;

  private:
    TGridTable& table_;
    int column_;
    int row_;
};

class TGridTable : public QObject {
    Q_OBJECT

  public:
    // Registers the table in registry (which must outlive it) under the registry's
    // next Identifier.
    explicit TGridTable(TTableRegistry& registry, QObject* parent = nullptr);
    ~TGridTable() override;

    // --- Definition -----------------------------------------------------------------
    int Identifier() const { return identifier_; }
    // A value used by another registered table swaps the two tables' Identifiers;
    // a negative value is ignored.
    void SetIdentifier(int identifier);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    // Lines separated by "\r".
    const QString& Comments() const { return comments_; }
    void SetComments(const QString& comments) { comments_ = comments; }
    const QString& TopLeft() const { return top_left_; }
    void SetTopLeft(const QString& text) { top_left_ = text; }
    // Names shown beside the first rows instead of their numbers (a soil
    // layer's "Top" and "Bottom").
    const QStringList& RowNames() const { return row_names_; }
    void SetRowNames(const QStringList& names) { row_names_ = names; }
    // Name of the picture shown under the comments; windows know the pictures.
    const QString& HelpPicture() const { return help_picture_; }
    void SetHelpPicture(const QString& name) { help_picture_ = name; }
    int MinRows() const { return min_rows_; }
    // Throws EGridError "Value must be greater than 0" for 0 or less.
    void SetMinRows(int rows);
    // 0 means no limit.
    int MaxRows() const { return max_rows_; }
    void SetMaxRows(int rows) { max_rows_ = std::max(rows, 0); }
    int RowGroup() const { return row_group_; }
    // Values below 1 become 1.
    void SetRowGroup(int rows) { row_group_ = std::max(rows, 1); }
    // The window the editing window is embedded in, or nullptr for a window of its own.
    QObject* FormParent() const { return form_parent_; }
    void SetFormParent(QObject* parent) { form_parent_ = parent; }

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    TGridColumn& Column(int index);
    const TGridColumn& Column(int index) const;
    TEnumColumn& AddEnumColumn(const QStringList& captions, const QStringList& items);
    TIntColumn& AddIntColumn(const QStringList& captions, int default_value, int min, int max);
    TFloatColumn& AddFloatColumn(const QStringList& captions, const QString& unit_label = {},
                                 long double default_value = 0.0L);
    TTableColumn& AddTableColumn(const QStringList& captions, const QList<int>& template_ids);
    TStringColumn& AddStringColumn(const QStringList& captions, const QString& default_text,
                                   long double width_inches);
    bool HasVisibleColumn() const;

    // Column definition stream: count, then per column kind, captions, visible,
    // group-wide and the kind's own values.
    virtual void WriteColumns(TDefinitionStream& stream) const;
    // Replaces the columns (the table has no rows afterwards). Throws EGridError
    // "Error reading column count", "Error Column Class not defined" or "Error occurred
    // when creating column %d: %s".
    virtual void ReadColumns(TDefinitionStream& stream);

    // --- Rows -----------------------------------------------------------------------
    int RowCount() const { return row_count_; }
    // Below 0 becomes 0; missing rows are appended in whole groups of new-row values.
    void SetRowCount(int rows);
    void AddRowGroup();
    // Insert or delete the group that contains row; throw EGridError "Grid.Row not in
    // valid range" for a row outside the table.
    void InsertRowGroup(int row);
    void DeleteRowGroup(int row);
    // Row number shown in the grid: rows of one group share it.
    int GroupNumber(int row) const { return row / row_group_ + 1; }
    // The editing window's row-button rules.
    bool ShowsRowButtons() const { return min_rows_ != max_rows_; }
    bool CanAddRows() const { return max_rows_ == 0 || row_count_ != max_rows_; }
    bool CanDeleteRows() const { return row_count_ > min_rows_; }

    TData Cell(int column, int row);

    // --- Units ----------------------------------------------------------------------
    int UnitSystem() const { return unit_system_; }
    // Converts every real column and every sub-table from the current system to the
    // new one; nothing happens when the system does not change.
    void SetUnitSystem(int system);
    // Header lines of a column: its captions, the last one followed by " (unit)  "
    // for a real column with a unit label.
    QStringList HeaderLines(int column) const;

    // --- State ----------------------------------------------------------------------
    // True once the user changed the table through its window, or a sub-table is modified.
    bool Modified() const;
    // Clearing also clears every sub-table's flag.
    void SetModified(bool modified);
    // Row number (from 1) within the parent table; 0 for a top-level table.
    int RowNumber() const { return row_number_; }
    TGridTable* ParentTable() const { return parent_table_; }
    // Caption, a blank, and the row numbers of the parent tables from the outermost
    // down, each after a blank ("Clay  3" for the parameters of layer 3).
    QString WindowTitle() const;
    // The editing window while one is open.
    QObject* Editor() const { return editor_; }
    void SetEditor(QObject* editor) { editor_ = editor; }

    // A fresh sub-table made from this template for row row_number (from 1) of parent.
    std::unique_ptr<TGridTable> CreateSubTable(TGridTable& parent, int row_number) const;

  Q_SIGNALS:
    void cellChanged(int column, int row);
    // Rows were added, inserted or deleted (sub-tables may have been renumbered).
    void rowsChanged();
    // The sub-table of a flex cell was replaced by a new one.
    void subTableReplaced(int column, int row);
    void unitSystemChanged(int system);
    // The row number (and so the window title) changed.
    void rowNumberChanged(int row_number);

  protected:
    // Constructor of sub-tables: looks templates up in registry, but is not registered.
    struct TUnregistered {};
    TGridTable(TTableRegistry& registry, TUnregistered);
    // An empty table of the same class, for sub-tables.
    virtual std::unique_ptr<TGridTable> NewSubTable() const;
    virtual void CopyDefinitionTo(TGridTable& copy) const;
    TTableRegistry& Registry() const { return registry_; }

  private:
    friend class TData;

    void CheckCell(int column, int row) const;
    void InsertRows(int at, int count);
    void DeleteRows(int at, int count);
    // Rows a set value applies to: its group for a group-wide column, else itself.
    std::pair<int, int> AffectedRows(const TGridColumn& column, int row) const;
    void StoreInteger(int column, int row, int value);
    void StoreFloat(int column, int row, long double value);
    void StoreString(int column, int row, const QString& value);
    void RenewSubTable(int column, int row);
    void RenumberSubTables(int from_row);
    void SyncTopDepths();
    void NormalizeTemplates();
    void CheckTopDepthPairs() const;

    TTableRegistry& registry_;
    bool registered_;
    int identifier_;
    QString caption_;
    QString comments_;
    QString top_left_;
    QStringList row_names_;
    QString help_picture_;
    int min_rows_ = 1;
    int max_rows_ = 0;
    int row_group_ = 1;
    QPointer<QObject> form_parent_;
    std::vector<std::unique_ptr<TGridColumn>> columns_;
    int row_count_ = 0;  // every column holds this many rows
    int unit_system_ = 1;
    bool modified_ = false;
    int row_number_ = 0;
    TGridTable* parent_table_ = nullptr;  // owns this table through a flex column
    QPointer<QObject> editor_;
};

}  // namespace korvel
