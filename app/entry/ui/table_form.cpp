#include "entry/ui/table_form.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "entry/entry_errors.h"
#include "entry/grid_table.h"
#include "entry/grid_table_chart.h"
#include "entry/table_edit_event.h"
#include "entry/ui/help_pictures.h"
#include "entry/ui/message_notifier.h"
#include "entry/ui/table_chart_form.h"
#include "entry/ui/table_grid.h"
#include "entry/ui/table_item_model.h"

namespace korvel {
namespace {

// At most this many data rows show at once; the grid scrolls beyond.
constexpr int kVisibleRows = 10;

// Least column widths, in inches, by column kind.
double MinimumWidthInches(const TGridTable& table, int column) {
    const TGridColumn& c = table.Column(column);
    switch (c.Kind()) {
        case TColumnKind::kEnum:
            return 1.5;
        case TColumnKind::kTable:
            return 2.0;
        case TColumnKind::kString:
            return static_cast<double>(static_cast<const TStringColumn&>(c).Width);
        default:
            return 0.5;
    }
}

QString DisplayText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

}  // namespace

TTableForm* TTableForm::ShowTable(TGridTable& table, QMdiArea* area) {
    if (!table.HasVisibleColumn()) return nullptr;
    if (auto* open = qobject_cast<TTableForm*>(table.Editor())) {
        QWidget* container = open->Container();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(container); sub && sub->mdiArea()) {
            sub->mdiArea()->setActiveSubWindow(sub);
        } else {
            container->raise();
            container->activateWindow();
        }
        return open;
    }
    if (auto* host = qobject_cast<QWidget*>(table.FormParent())) {
        TTableForm* form = NewForm(table, area, false, host);
        form->show();
        return form;
    }
    TTableForm* form = NewForm(table, area, false, nullptr);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        sub->adjustSize();
    } else {
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
    }
    return form;
}

void TTableForm::ShowTableModal(TGridTable& table, QWidget* parent) {
    if (!table.HasVisibleColumn()) return;
    QDialog dialog(parent);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    TTableForm* form = NewForm(table, nullptr, true, &dialog);
    layout->addWidget(form);
    dialog.setWindowTitle(form->windowTitle());
    connect(form, &QWidget::windowTitleChanged, &dialog, &QWidget::setWindowTitle);
    dialog.exec();
}

TTableForm* TTableForm::NewForm(TGridTable& table, QMdiArea* area, bool modal, QWidget* parent) {
    if (auto* chart = qobject_cast<TGridTableChart*>(&table))
        return new TTableChartForm(*chart, area, modal, parent);
    return new TTableForm(table, area, modal, parent);
}

TTableForm::TTableForm(TGridTable& table, QMdiArea* area, bool modal, QWidget* parent)
    : QWidget(parent), table_(&table), area_(area), modal_(modal), visible_rows_(kVisibleRows) {
    table.SetEditor(this);
    if (table.RowCount() < table.MinRows()) table.SetRowCount(table.MinRows());

    model_ = new TTableItemModel(table, this);
    grid_ = new TGridView(*model_, this);
    grid_->SetTopLeftText(table.TopLeft());
    add_button_ = new QPushButton(QStringLiteral("&Add Row"), this);
    insert_button_ = new QPushButton(QStringLiteral("&Insert Row"), this);
    delete_button_ = new QPushButton(QStringLiteral("&Delete Row"), this);
    comments_ = new QLabel(DisplayText(table.Comments()), this);
    comments_->setTextFormat(Qt::PlainText);
    comments_->setVisible(!table.Comments().isEmpty());
    picture_ = new QLabel(this);
    const QPixmap pixmap = HelpPicturePixmap(table.HelpPicture());
    picture_->setPixmap(pixmap);
    picture_->setVisible(!pixmap.isNull());

    // Margins of a twentieth of an inch.
    const int margin = std::max(2, logicalDpiX() / 20);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(margin, margin, margin, margin);
    layout_->setSpacing(margin);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    layout_->addWidget(grid_);
    buttons_ = new QHBoxLayout;
    buttons_->addWidget(add_button_);
    buttons_->addWidget(insert_button_);
    buttons_->addWidget(delete_button_);
    buttons_->addStretch();
    layout_->addLayout(buttons_);
    layout_->addWidget(comments_);
    layout_->addWidget(picture_);

    connect(add_button_, &QPushButton::clicked, this, &TTableForm::AddRowClick);
    connect(insert_button_, &QPushButton::clicked, this, &TTableForm::InsertRowClick);
    connect(delete_button_, &QPushButton::clicked, this, &TTableForm::DeleteRowClick);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        RebuildCellWidgets();
        UpdateButtons();
        UpdateGeometry();
    });
    connect(&table, &TGridTable::cellChanged, this, [this] { RefreshCellWidgets(); });
    connect(&table, &TGridTable::subTableReplaced, this, [this] { RefreshCellWidgets(); });
    connect(&table, &TGridTable::unitSystemChanged, this, [this] { UpdateGeometry(); });
    connect(&table, &TGridTable::rowNumberChanged, this, [this] { UpdateTitle(); });
    // A sub-table that is replaced or deleted takes its window with it.
    connect(&table, &QObject::destroyed, this, [this] {
        if (QWidget* container = Container()) container->close();
    });

    RebuildCellWidgets();
    UpdateButtons();
    UpdateTitle();
    UpdateGeometry();
    if (table.RowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
}

TTableForm::~TTableForm() {
    CloseSubTableWindows();
    if (table_ && table_->Editor() == this) table_->SetEditor(nullptr);
}

QWidget* TTableForm::Container() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    if (auto* dialog = qobject_cast<QDialog*>(parentWidget())) return dialog;
    return this;
}

bool TTableForm::TakeEdits() {
    if (!table_ || grid_->CommitPending()) return true;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(Container()); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    return false;
}

void TTableForm::Reload() {
    if (!table_) return;
    const QModelIndex current = grid_->currentIndex();
    model_->Reload();
    UpdateTitle();
    const int row = std::min(current.isValid() ? current.row() : 0, model_->rowCount() - 1);
    if (row >= 0 && model_->columnCount() > 0)
        grid_->setCurrentIndex(
            model_->index(row, std::min(std::max(current.column(), 0), model_->columnCount() - 1)));
}

void TTableForm::UpdateTitle() {
    if (table_) setWindowTitle(table_->WindowTitle());
}

QComboBox* TTableForm::ChoiceBox(int grid_column, int row) const {
    return qobject_cast<QComboBox*>(grid_->indexWidget(model_->index(row, grid_column)));
}

QPushButton* TTableForm::FlexButton(int grid_column, int row) const {
    return qobject_cast<QPushButton*>(grid_->indexWidget(model_->index(row, grid_column)));
}

void TTableForm::RebuildCellWidgets() {
    if (!table_) return;
    for (int g = 0; g < model_->columnCount(); ++g) {
        const TColumnKind kind = model_->Kind(g);
        if (kind != TColumnKind::kEnum && kind != TColumnKind::kTable) continue;
        const int column = model_->TableColumn(g);
        for (int row = 0; row < model_->rowCount(); ++row) {
            if (kind == TColumnKind::kEnum) {
                auto* box = new QComboBox;
                box->addItems(static_cast<const TEnumColumn&>(table_->Column(column)).Items);
                // The list shows whole item texts even where the cell is narrower.
                box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
                box->setCurrentIndex(table_->Cell(column, row).AsInteger() - 1);
                connect(box, &QComboBox::activated, this,
                        [this, g, row](int item) { ChoiceChanged(g, row, item); });
                grid_->setIndexWidget(model_->index(row, g), box);
            } else {
                auto* button = new QPushButton;
                connect(button, &QPushButton::clicked, this,
                        [this, g, row] { OpenSubTable(g, row); });
                grid_->setIndexWidget(model_->index(row, g), button);
            }
        }
    }
    RefreshCellWidgets();
}

// Brings drop-downs and flex buttons in line with the stored values.
void TTableForm::RefreshCellWidgets() {
    if (!table_) return;
    for (int g = 0; g < model_->columnCount(); ++g) {
        const int column = model_->TableColumn(g);
        for (int row = 0; row < model_->rowCount(); ++row) {
            if (QComboBox* box = ChoiceBox(g, row); box && model_->Kind(g) == TColumnKind::kEnum) {
                const QSignalBlocker block(box);
                box->setCurrentIndex(table_->Cell(column, row).AsInteger() - 1);
            } else if (QPushButton* button = FlexButton(g, row);
                       button && model_->Kind(g) == TColumnKind::kTable) {
                TGridTable* sub = table_->Cell(column, row).AsTable();
                button->setText(
                    sub ? QStringLiteral("%1: %2").arg(sub->RowNumber()).arg(sub->Caption())
                        : QString());
                button->setEnabled(sub != nullptr && sub->HasVisibleColumn());
            }
        }
    }
}

void TTableForm::ChoiceChanged(int grid_column, int row, int item) {
    if (!table_) return;
    if (!grid_->FinishEditing()) {
        RefreshCellWidgets();
        return;
    }
    try {
        table_->Cell(model_->TableColumn(grid_column), row).SetAsInteger(item + 1);
        table_->SetModified(true);
        NotifyTableEdited(*table_, QStringLiteral("Entry in ") + table_->Caption());
    } catch (const EKorvelError& error) {
        ShowInformation(window(), error.Message());
        RefreshCellWidgets();
    }
}

void TTableForm::OpenSubTable(int grid_column, int row) {
    if (!table_ || !grid_->FinishEditing()) return;
    TGridTable* sub = table_->Cell(model_->TableColumn(grid_column), row).AsTable();
    if (!sub) return;
    if (modal_) {
        ShowTableModal(*sub, this);
    } else {
        ShowTable(*sub, area_);
    }
}

void TTableForm::UpdateButtons() {
    if (!table_) return;
    const bool shown = table_->ShowsRowButtons();
    add_button_->setVisible(shown);
    insert_button_->setVisible(shown);
    delete_button_->setVisible(shown);
    add_button_->setEnabled(table_->CanAddRows());
    insert_button_->setEnabled(table_->CanAddRows());
    delete_button_->setEnabled(table_->CanDeleteRows());
}

void TTableForm::UpdateGeometry() {
    if (!table_) return;
    const int dpi = logicalDpiX();
    const QFontMetrics header_metrics(grid_->horizontalHeader()->font());
    const int padding = 2 * header_metrics.averageCharWidth() + 8;
    int width = 0;
    for (int g = 0; g < model_->columnCount(); ++g) {
        const int column = model_->TableColumn(g);
        int caption = 0;
        for (const QString& line : table_->HeaderLines(column)) {
            caption = std::max(caption, header_metrics.horizontalAdvance(line));
        }
        int column_width = std::max(caption + padding,
                                    static_cast<int>(MinimumWidthInches(*table_, column) * dpi));
        // A choice column shows its longest item whole, with the drop-down's arrow.
        if (table_->Column(column).Kind() == TColumnKind::kEnum) {
            QComboBox probe;
            probe.setFont(grid_->font());
            probe.addItems(static_cast<const TEnumColumn&>(table_->Column(column)).Items);
            column_width = std::max(column_width, probe.sizeHint().width() + padding / 2);
        }
        grid_->setColumnWidth(g, column_width);
        width += column_width;
    }
    // The first column fits TopLeft and is at least a third of an inch wide.
    int first = std::max({header_metrics.horizontalAdvance(table_->TopLeft()) + padding, dpi / 3,
                          header_metrics.horizontalAdvance(QStringLiteral("000")) + padding});
    for (const QString& name : table_->RowNames())
        first = std::max(first, header_metrics.horizontalAdvance(name) + padding);
    grid_->verticalHeader()->setFixedWidth(first);
    const int row_height = std::max(grid_->verticalHeader()->defaultSectionSize(),
                                    QComboBox().sizeHint().height() + 2);
    grid_->verticalHeader()->setDefaultSectionSize(row_height);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    const int rows = table_->RowCount();
    const int visible = std::clamp(rows, 1, visible_rows_);
    const int frame = 2 * grid_->frameWidth();
    const int header_height = grid_->horizontalHeader()->sizeHint().height();
    int grid_width = first + width + frame;
    if (rows > visible_rows_) grid_width += grid_->verticalScrollBar()->sizeHint().width();
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setFixedSize(grid_width, header_height + visible * row_height + frame);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        QTimer::singleShot(0, sub, [sub] { sub->adjustSize(); });
    }
    Q_EMIT laidOut();
}

void TTableForm::SetVisibleRows(int rows) {
    visible_rows_ = std::max(rows, 1);
    UpdateGeometry();
}

void TTableForm::AddRowClick() {
    if (!table_ || !grid_->FinishEditing()) return;
    table_->AddRowGroup();
    table_->SetModified(true);
    NotifyTableEdited(*table_, QStringLiteral("Add Row in ") + table_->Caption());
    grid_->setCurrentIndex(model_->index(table_->RowCount() - 1, 0));
}

void TTableForm::InsertRowClick() {
    if (!table_ || !grid_->FinishEditing()) return;
    const QModelIndex current = grid_->currentIndex();
    try {
        table_->InsertRowGroup(current.isValid() ? current.row() : -1);
        table_->SetModified(true);
        NotifyTableEdited(*table_, QStringLiteral("Insert Row in ") + table_->Caption());
    } catch (const EKorvelError& error) {
        ShowInformation(window(), error.Message());
        return;
    }
    grid_->setCurrentIndex(
        model_->index(current.row() - current.row() % table_->RowGroup(), current.column()));
}

void TTableForm::DeleteRowClick() {
    if (!table_ || !grid_->FinishEditing()) return;
    const QModelIndex current = grid_->currentIndex();
    try {
        table_->DeleteRowGroup(current.isValid() ? current.row() : -1);
        table_->SetModified(true);
        NotifyTableEdited(*table_, QStringLiteral("Delete Row in ") + table_->Caption());
    } catch (const EKorvelError& error) {
        ShowInformation(window(), error.Message());
        return;
    }
    const int row = std::min(current.row(), table_->RowCount() - 1);
    if (row >= 0) grid_->setCurrentIndex(model_->index(row, current.column()));
}

void TTableForm::CloseSubTableWindows() {
    if (!table_) return;
    for (int c = 0; c < table_->ColumnCount(); ++c) {
        if (table_->Column(c).Kind() != TColumnKind::kTable) continue;
        for (int row = 0; row < table_->RowCount(); ++row) {
            TGridTable* sub = table_->Cell(c, row).AsTable();
            if (auto* form = sub ? qobject_cast<TTableForm*>(sub->Editor()) : nullptr)
                form->Container()->close();
        }
    }
}

void TTableForm::closeEvent(QCloseEvent* event) {
    // An entry that cannot be stored keeps the window open.
    if (table_ && !grid_->FinishEditing()) {
        event->ignore();
        return;
    }
    CloseSubTableWindows();
    event->accept();
}

}  // namespace korvel
