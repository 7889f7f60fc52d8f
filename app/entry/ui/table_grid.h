// The grid of a table window: typed cells are edited in place and committed
// through the table's validation when the user leaves the cell. A refused entry
// is reported and the user is put back into the cell with the text typed, so
// nothing invalid is ever stored. Enter moves down the column, then to the top
// of the next column, and from the last column back to the first. Typing always
// goes into the current (clicked or selected) cell: the grid has no keyboard
// search that would move elsewhere first.
//
// The selection is one rectangle (mouse drag, Shift+arrows). Ctrl+C copies it as
// tab-separated lines, Ctrl+X copies and clears it, Ctrl+V pastes a block from
// the clipboard at its top-left cell (also from an open cell when the clipboard
// holds several cells), Delete clears it; each is one step the Edit menu undoes.
#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

class QAbstractButton;

namespace korvel {

class TTableItemModel;

class TCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // The next editor opened on index starts with text instead of the stored value.
    void SetReopenText(const QModelIndex& index, const QString& text);

  private:
    mutable QPersistentModelIndex reopen_index_;
    mutable QString reopen_text_;
};

class TGridView : public QTableView {
    Q_OBJECT

  public:
    TGridView(TTableItemModel& model, QWidget* parent = nullptr);

    TTableItemModel& Model() const { return model_; }
    // Commits an open cell editor. False when the entry was refused (its message
    // is then shown and the editor reopened).
    bool FinishEditing();
    // As FinishEditing, but a refused entry is reported at once (before an
    // action of the main window that it stops).
    bool CommitPending();
    // A refused entry waits to be reported and corrected.
    bool EntryRefused() const { return refused_; }
    void MoveToNextCell();
    void SetTopLeftText(const QString& text);

    // The selected rectangle (grid rows and columns), or the current cell alone;
    // false when there is neither.
    bool SelectedBlock(int& top, int& bottom, int& left, int& right) const;
    void CopyBlock();
    // False when nothing was changed (a refused value has been reported).
    bool CutBlock();
    bool PasteBlock();
    bool ClearBlock();

  Q_SIGNALS:
    // A typed entry was stored.
    void committed();

  protected:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ReportRefusedEntry();
    // Pastes text with its first cell at (top, left) and selects what was pasted.
    bool PasteText(const QString& text, int top, int left);
    std::vector<int> TableColumns() const;

    TTableItemModel& model_;
    TCellDelegate* delegate_;
    QAbstractButton* corner_ = nullptr;  // the top-left cell
    QString top_left_;
    bool refused_ = false;
    QPersistentModelIndex refused_index_;
    QString refused_text_;
    QString refused_message_;
};

}  // namespace korvel
