// TTableForm: the editing window of a grid table. It shows the grid with its
// header lines and units, a drop-down in every choice cell, a button in every flex
// cell that opens the row's sub-table window, the row buttons, the comments and
// the help picture. It lives as an MDI child, embedded in the table's FormParent,
// or as a window of its own; closing it also closes its sub-table windows.
#pragma once

#include <QPointer>
#include <QWidget>

class QCloseEvent;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QMdiArea;
class QPushButton;
class QVBoxLayout;

namespace korvel {

class TGridTable;
class TGridView;
class TTableItemModel;

class TTableForm : public QWidget {
    Q_OBJECT

  public:
    // Opens the table's window or brings its open window to the front: an MDI
    // child of area, embedded in the table's FormParent, or a window of its own
    // when area is nullptr. Returns nullptr for a table without a visible column.
    static TTableForm* ShowTable(TGridTable& table, QMdiArea* area);
    // Opens the table's window as a modal dialog and returns when it is closed.
    static void ShowTableModal(TGridTable& table, QWidget* parent);

    TTableForm(TGridTable& table, QMdiArea* area, bool modal, QWidget* parent = nullptr);
    ~TTableForm() override;

    TGridTable* Table() const { return table_; }
    TGridView* Grid() const { return grid_; }
    QPushButton* AddRowButton() const { return add_button_; }
    QPushButton* InsertRowButton() const { return insert_button_; }
    QPushButton* DeleteRowButton() const { return delete_button_; }
    QLabel* CommentsLabel() const { return comments_; }
    // The drop-down of a choice cell or the button of a flex cell (grid column and row).
    QComboBox* ChoiceBox(int grid_column, int row) const;
    QPushButton* FlexButton(int grid_column, int row) const;
    // The window that holds the form: its MDI sub-window, or the form itself.
    QWidget* Container();
    // Commits the cell being edited before an action of the main window; false
    // (the message shown, the window brought forward) when the entry is refused.
    bool TakeEdits();
    // Shows the table's values anew after the project changed under the window.
    void Reload();

  Q_SIGNALS:
    // The window has laid itself out (after showing, row changes and unit switches).
    void laidOut();

  protected:
    void closeEvent(QCloseEvent* event) override;

    // For windows that add to the layout: the form's column of widgets (grid,
    // buttons, comments, picture) and the row of row buttons.
    QVBoxLayout* FormLayout() const { return layout_; }
    QHBoxLayout* ButtonLayout() const { return buttons_; }
    TTableItemModel* ItemModel() const { return model_; }
    // Most data rows shown at once (the grid scrolls beyond); lays the window out anew.
    void SetVisibleRows(int rows);
    void UpdateGeometry();

  private:
    // The window of the table's class: a chart window for a chart table.
    static TTableForm* NewForm(TGridTable& table, QMdiArea* area, bool modal, QWidget* parent);

    void AddRowClick();
    void InsertRowClick();
    void DeleteRowClick();
    void ChoiceChanged(int grid_column, int row, int item);
    void OpenSubTable(int grid_column, int row);
    void RebuildCellWidgets();
    void RefreshCellWidgets();
    void UpdateButtons();
    void UpdateTitle();
    void CloseSubTableWindows();

    QPointer<TGridTable> table_;
    QMdiArea* area_;
    bool modal_;
    TTableItemModel* model_;
    TGridView* grid_;
    QPushButton* add_button_;
    QPushButton* insert_button_;
    QPushButton* delete_button_;
    QLabel* comments_;
    QLabel* picture_;
    QVBoxLayout* layout_;
    QHBoxLayout* buttons_;
    int visible_rows_;
};

}  // namespace korvel
