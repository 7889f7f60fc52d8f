#include "entry/ui/table_chart_form.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <algorithm>

#include "entry/chart_import.h"
#include "entry/chart_series.h"
#include "entry/entry_errors.h"
#include "entry/grid_table_chart.h"
#include "entry/table_edit_event.h"
#include "entry/ui/message_notifier.h"
#include "entry/ui/table_chart_view.h"
#include "entry/ui/table_grid.h"
#include "entry/ui/table_item_model.h"

namespace korvel {
namespace {

// Grid rows shown at once under a chart.
constexpr int kVisibleRowsWithChart = 5;
// Chart height in inches.
constexpr double kChartHeightInches = 2.6;
constexpr const char* kImportFilter = "Text Files (*.txt);;Data Files (*.dat);;All Files (*.*)";

// The system's plain text editor: $VISUAL, else the desktop's application.
bool StartPlainTextEditor(const QString& path) {
    QStringList command = QProcess::splitCommand(qEnvironmentVariable("VISUAL").trimmed());
    if (command.isEmpty()) command = {QStringLiteral("xdg-open")};
    const QString program = command.takeFirst();
    return QProcess::startDetached(program, command << path);
}

TTableChartForm::TEditorStarter& EditorStarter() {
    static TTableChartForm::TEditorStarter starter = StartPlainTextEditor;
    return starter;
}

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes);  // older files: single-byte text
}

}  // namespace

void TTableChartForm::SetEditorStarter(TEditorStarter starter) {
    EditorStarter() = starter ? std::move(starter) : StartPlainTextEditor;
}

TTableChartForm::TTableChartForm(TGridTableChart& table, QMdiArea* area, bool modal,
                                 QWidget* parent)
    : TTableForm(table, area, modal, parent), chart_table_(table) {
    if (table.Chart.ShowChart) {
        if (ItemModel()->columnCount() < 2) {
            ShowInformation(this, QStringLiteral("There must be at least 2 columns in grid"));
        } else {
            chart_ = new TTableChartView(this);
            chart_->setObjectName(QStringLiteral("Chart"));
            FormLayout()->insertWidget(0, chart_);
        }
    }
    if (table.OKCancelButtons) {
        ok_ = new QPushButton(QStringLiteral("OK"), this);
        cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
        // Before Insert and Delete.
        ButtonLayout()->insertWidget(1, ok_);
        ButtonLayout()->insertWidget(2, cancel_);
        connect(ok_, &QPushButton::clicked, this, [this] { Container()->close(); });
        connect(cancel_, &QPushButton::clicked, this, [this] {
            RestoreSnapshot();
            Container()->close();
        });
        TakeSnapshot();
    }
    if (table.GetDataFromFile) {
        const int buttons_at = FormLayout()->indexOf(ButtonLayout());
        auto* import = new QHBoxLayout;
        import->addWidget(new QLabel(QStringLiteral("File Name:"), this));
        file_name_ = new QLineEdit(this);
        file_name_->setMinimumWidth(logicalDpiX() * 2);
        import->addWidget(file_name_, 1);
        browse_ = new QPushButton(QStringLiteral("Browse"), this);
        view_edit_ = new QPushButton(QStringLiteral("View/Edit File"), this);
        read_file_ = new QPushButton(QStringLiteral("Read values from File"), this);
        import->addWidget(browse_);
        import->addWidget(view_edit_);
        import->addWidget(read_file_);
        auto* paste_row = new QHBoxLayout;
        paste_ = new QPushButton(QStringLiteral("Paste values from  Clipboard (text)"), this);
        paste_row->addStretch();
        paste_row->addWidget(paste_);
        FormLayout()->insertLayout(buttons_at + 1, import);
        FormLayout()->insertLayout(buttons_at + 2, paste_row);
        connect(file_name_, &QLineEdit::textChanged, this, [this] { UpdateImportButtons(); });
        connect(browse_, &QPushButton::clicked, this, &TTableChartForm::BrowseClick);
        connect(view_edit_, &QPushButton::clicked, this, &TTableChartForm::ViewEditClick);
        connect(read_file_, &QPushButton::clicked, this, &TTableChartForm::ReadValuesFromFile);
        connect(paste_, &QPushButton::clicked, this, &TTableChartForm::PasteValuesFromClipboard);
        UpdateImportButtons();
    }

    // The chart follows every change of the table, however it was made.
    connect(&table, &TGridTable::cellChanged, this, [this] { Redraw(); });
    connect(&table, &TGridTable::rowsChanged, this, [this] { Redraw(); });
    connect(&table, &TGridTable::unitSystemChanged, this, [this] { Redraw(); });
    connect(this, &TTableForm::laidOut, this, [this] {
        if (!chart_) return;
        const QWidget* widest = Grid();
        int width = widest->width();
        if (file_name_) {
            const QLayout* import =
                FormLayout()->itemAt(FormLayout()->indexOf(ButtonLayout()) + 1)->layout();
            width = std::max(width, import->sizeHint().width());
        }
        chart_->setFixedSize(std::max(width, logicalDpiX() * 4),
                             static_cast<int>(logicalDpiY() * kChartHeightInches));
    });
    SetVisibleRows(chart_ ? kVisibleRowsWithChart : 10);
    Redraw();
}

void TTableChartForm::Redraw() {
    if (chart_)
        chart_->Draw(ChartSeriesOf(chart_table_), chart_table_.InvertedXAxis,
                     chart_table_.InvertedYAxis);
}

void TTableChartForm::UpdateImportButtons() {
    if (!file_name_) return;
    const QFileInfo file(file_name_->text().trimmed());
    const bool exists = !file_name_->text().trimmed().isEmpty() && file.isFile();
    view_edit_->setEnabled(exists);
    read_file_->setEnabled(exists);
}

void TTableChartForm::BrowseClick() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"),
                                                      QFileInfo(file_name_->text()).absolutePath(),
                                                      QString::fromLatin1(kImportFilter));
    if (!path.isEmpty()) file_name_->setText(path);
}

void TTableChartForm::ViewEditClick() {
    if (!EditorStarter()(file_name_->text().trimmed()))
        ShowInformation(this, QStringLiteral("An error occurred in running the Word Processor"));
}

void TTableChartForm::ReadValuesFromFile() {
    QFile file(file_name_ ? file_name_->text().trimmed() : QString());
    if (!file.open(QIODevice::ReadOnly)) {
        ShowInformation(this, file.errorString());
        return;
    }
    Import(SplitTextLines(DecodeText(file.readAll())));
}

void TTableChartForm::PasteValuesFromClipboard() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        ShowInformation(this, QStringLiteral("There is no text on the Clipboard"));
        return;
    }
    Import(SplitTextLines(text));
}

void TTableChartForm::Import(const QStringList& lines) {
    if (!Grid()->FinishEditing()) return;
    try {
        ImportRows(chart_table_, lines);
    } catch (const EKorvelError& error) {
        ShowInformation(this, error.Message());
    }
    NotifyTableEdited(chart_table_, QStringLiteral("Paste in ") + chart_table_.Caption());
    if (chart_table_.RowCount() > 0) Grid()->setCurrentIndex(ItemModel()->index(0, 0));
}

void TTableChartForm::TakeSnapshot() {
    snapshot_rows_ = chart_table_.RowCount();
    snapshot_cells_.clear();
    for (int row = 0; row < snapshot_rows_; ++row) {
        for (int c = 0; c < chart_table_.ColumnCount(); ++c) {
            if (chart_table_.Column(c).Kind() != TColumnKind::kTable)
                snapshot_cells_.append(chart_table_.Cell(c, row).AsString());
        }
    }
}

void TTableChartForm::RestoreSnapshot() {
    chart_table_.SetRowCount(snapshot_rows_);
    qsizetype at = 0;
    for (int row = 0; row < snapshot_rows_; ++row) {
        for (int c = 0; c < chart_table_.ColumnCount(); ++c) {
            if (chart_table_.Column(c).Kind() == TColumnKind::kTable) continue;
            try {
                chart_table_.Cell(c, row).SetAsString(snapshot_cells_.value(at));
            } catch (const EKorvelError&) {
                // A stored value always passes its own column's validation.
            }
            ++at;
        }
    }
}

}  // namespace korvel
