#include "entry/ui/table_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTimer>
#include <climits>

#include "entry/entry_errors.h"
#include "entry/grid_block.h"
#include "entry/table_edit_event.h"
#include "entry/ui/message_notifier.h"
#include "entry/ui/table_item_model.h"

namespace korvel {

// ---------------------------------------------------------------------- TCellDelegate

QWidget* TCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setAlignment(index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight
                             ? Qt::AlignRight
                             : Qt::AlignLeft);
    editor->setProperty("korvelRow", index.row());
    editor->setProperty("korvelColumn", index.column());
    // A block pasted into an open cell goes to the grid (TGridView::eventFilter).
    if (parent && parent->parentWidget()) editor->installEventFilter(parent->parentWidget());
    return editor;
}

void TCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    if (reopen_index_.isValid() && reopen_index_ == index) {
        line->setText(reopen_text_);
        reopen_index_ = QPersistentModelIndex();
        line->selectAll();
        return;
    }
    // Typing starts a fresh entry; the stored value is what F2 or a double click edits.
    line->setText(index.data(Qt::EditRole).toString());
}

void TCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

void TCellDelegate::SetReopenText(const QModelIndex& index, const QString& text) {
    reopen_index_ = index;
    reopen_text_ = text;
}

// -------------------------------------------------------------------------- TGridView

TGridView::TGridView(TTableItemModel& model, QWidget* parent)
    : QTableView(parent), model_(model), delegate_(new TCellDelegate(this)) {
    setModel(&model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // No SelectedClicked: its delayed editor made the keys typed right after a
    // click on the current cell go to a keyboard search instead of the cell.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    // Bold captions of the current column would no longer fit the widths measured.
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->parentWidget() == this) {
            corner_ = button;
            corner_->installEventFilter(this);
        }
    }
}

void TGridView::SetTopLeftText(const QString& text) {
    top_left_ = text;
    if (corner_) corner_->update();
}

bool TGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QStylePainter painter(corner_);
        QStyleOptionHeader option;
        option.initFrom(corner_);
        option.rect = corner_->rect();
        option.text = top_left_;
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        painter.drawControl(QStyle::CE_Header, option);
        return true;
    }
    // Ctrl+V in an open cell with several cells on the clipboard: the cell's entry
    // is dropped and the block pasted from that cell.
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (line && line->property("korvelRow").isValid() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        const QList<QStringList> cells = ParseBlockText(QGuiApplication::clipboard()->text());
        if (cells.size() > 1 || (cells.size() == 1 && cells.front().size() > 1)) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                const int row = line->property("korvelRow").toInt();
                const int column = line->property("korvelColumn").toInt();
                closeEditor(line, QAbstractItemDelegate::RevertModelCache);
                PasteText(QGuiApplication::clipboard()->text(), row, column);
            }
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void TGridView::commitData(QWidget* editor) {
    QTableView::commitData(editor);
    const QString error = model_.TakeError();
    if (error.isEmpty()) {
        Q_EMIT committed();
        if (TGridTable* table = model_.Table())
            NotifyTableEdited(*table, QStringLiteral("Entry in ") + table->Caption());
        return;
    }
    refused_ = true;
    refused_index_ = model_.index(editor->property("korvelRow").toInt(),
                                  editor->property("korvelColumn").toInt());
    refused_text_ = static_cast<QLineEdit*>(editor)->text();
    refused_message_ = error;
}

void TGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (refused_) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        // Reported once the view has finished closing the editor.
        QTimer::singleShot(0, this, &TGridView::ReportRefusedEntry);
        return;
    }
    const bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, enter ? QAbstractItemDelegate::NoHint : hint);
    if (enter) MoveToNextCell();
}

void TGridView::ReportRefusedEntry() {
    if (!refused_) return;
    ShowInformation(window(), refused_message_);
    refused_ = false;
    if (!refused_index_.isValid()) return;
    const QModelIndex index = refused_index_;
    delegate_->SetReopenText(index, refused_text_);
    setCurrentIndex(index);
    edit(index);
}

bool TGridView::FinishEditing() {
    if (refused_) return false;
    if (state() != QAbstractItemView::EditingState) return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return true;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !refused_;
}

bool TGridView::CommitPending() {
    if (FinishEditing()) return true;
    ReportRefusedEntry();
    return false;
}

void TGridView::keyboardSearch(const QString&) {
    // Typed keys edit the current cell; they never look for a matching row.
}

void TGridView::MoveToNextCell() {
    const int rows = model_.rowCount();
    const int columns = model_.columnCount();
    if (rows == 0 || columns == 0) return;
    QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : -1;
    int column = current.isValid() ? current.column() : 0;
    if (row + 1 < rows) {
        ++row;
    } else {
        row = 0;
        column = (column + 1) % columns;
    }
    setCurrentIndex(model_.index(row, column));
}

std::vector<int> TGridView::TableColumns() const {
    std::vector<int> columns;
    for (int g = 0; g < model_.columnCount(); ++g) columns.push_back(model_.TableColumn(g));
    return columns;
}

bool TGridView::SelectedBlock(int& top, int& bottom, int& left, int& right) const {
    const QItemSelection selection = selectionModel()->selection();
    if (!selection.isEmpty()) {
        top = left = INT_MAX;
        bottom = right = -1;
        for (const QItemSelectionRange& range : selection) {
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
            left = std::min(left, range.left());
            right = std::max(right, range.right());
        }
        return true;
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return false;
    top = bottom = current.row();
    left = right = current.column();
    return true;
}

void TGridView::CopyBlock() {
    int top = 0, bottom = 0, left = 0, right = 0;
    if (!model_.Table() || !SelectedBlock(top, bottom, left, right)) return;
    QGuiApplication::clipboard()->setText(
        korvel::BlockText(*model_.Table(), TableColumns(), top, bottom, left, right));
}

bool TGridView::CutBlock() {
    CopyBlock();
    return ClearBlock();
}

bool TGridView::ClearBlock() {
    TGridTable* table = model_.Table();
    int top = 0, bottom = 0, left = 0, right = 0;
    if (!table || !FinishEditing() || !SelectedBlock(top, bottom, left, right)) return false;
    try {
        korvel::ClearBlock(*table, TableColumns(), top, bottom, left, right);
    } catch (const EKorvelError& error) {
        ShowInformation(window(), error.Message());
        return false;
    }
    table->SetModified(true);
    NotifyTableEdited(*table, QStringLiteral("Clear in ") + table->Caption());
    return true;
}

bool TGridView::PasteBlock() {
    int top = 0, bottom = 0, left = 0, right = 0;
    if (!FinishEditing()) return false;
    if (!SelectedBlock(top, bottom, left, right)) top = left = 0;
    return PasteText(QGuiApplication::clipboard()->text(), top, left);
}

bool TGridView::PasteText(const QString& text, int top, int left) {
    TGridTable* table = model_.Table();
    if (!table) return false;
    const QList<QStringList> cells = ParseBlockText(text);
    if (cells.isEmpty()) {
        ShowInformation(window(), QStringLiteral("There is no text on the Clipboard"));
        return false;
    }
    try {
        korvel::PasteBlock(*table, TableColumns(), top, left, cells);
    } catch (const EKorvelError& error) {
        ShowInformation(window(), error.Message());
        return false;
    }
    table->SetModified(true);
    NotifyTableEdited(*table, QStringLiteral("Paste in ") + table->Caption());
    qsizetype width = 1;
    for (const QStringList& line : cells) width = std::max(width, line.size());
    const QModelIndex first = model_.index(top, left);
    setCurrentIndex(first);
    selectionModel()->select(
        QItemSelection(first, model_.index(top + static_cast<int>(cells.size()) - 1,
                                           left + static_cast<int>(width) - 1)),
        QItemSelectionModel::ClearAndSelect);
    return true;
}

void TGridView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            CopyBlock();
            event->accept();
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            CutBlock();
            event->accept();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            PasteBlock();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            ClearBlock();
            event->accept();
            return;
        }
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState) {
        MoveToNextCell();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace korvel
