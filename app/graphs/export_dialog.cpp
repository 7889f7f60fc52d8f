#include "graphs/export_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "entry/entry_errors.h"
#include "entry/ui/dialog_folder.h"
#include "entry/ui/message_notifier.h"
#include "graphs/result_plots.h"
#include "graphs/workbook_export.h"

namespace korvel {
namespace {

constexpr const char* kWorkbookFilter = "Workbook (*.xlsx)";

QString ChooseWorkbookPath(QWidget* parent, const QString& data_file) {
    const QString path = QFileDialog::getSaveFileName(
        parent, QStringLiteral("Export to Excel"), WorkbookPathFor(data_file, DialogStartFolder()),
        QString::fromLatin1(kWorkbookFilter));
    RememberDialogFolder(path);
    return path;
}

bool OpenWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

QString WorkbookPathFor(const QString& data_file, const QString& folder) {
    const QString base = QFileInfo(data_file).completeBaseName();
    return QDir(folder).filePath((base.isEmpty() ? QStringLiteral("plots") : base) +
                                 QStringLiteral(".xlsx"));
}

std::vector<TExportCandidate> ExportCandidates(TResultPlots& plots,
                                               const std::array<bool, kGraphCount>& enabled) {
    const auto on = [&](TGraphKind kind) { return enabled[GraphIndex(kind)]; };
    return {{&plots.pltPY, on(TGraphKind::kPY)},          {&plots.pltDef, on(TGraphKind::kDef)},
            {&plots.pltShear, on(TGraphKind::kShear)},    {&plots.pltMom, on(TGraphKind::kMom)},
            {&plots.pltSoil, on(TGraphKind::kSoil)},      {&plots.pltLD, on(TGraphKind::kLD)},
            {&plots.PltCombine, on(TGraphKind::kCombine)}};
}

TDlgExport::TDlgExport(TCandidateSource candidates, QWidget* parent)
    : QDialog(parent),
      candidates_(std::move(candidates)),
      choose_path_([](QWidget* parent) { return ChooseWorkbookPath(parent, QString()); }),
      open_(OpenWithDesktop) {
    setObjectName(QStringLiteral("DlgExport"));
    setWindowTitle(QStringLiteral("Export to Excel"));
    auto* layout = new QVBoxLayout(this);
    // What "Generate Excel File" really does: it writes a workbook file itself.
    for (const char* line :
         {"The checked plots are written to a new workbook file (.xlsx) that you name.",
          "Each plot gets a sheet of its data and a chart sheet; a \"Legend\" sheet links them.",
          "The workbook is saved when it is written, then opened in your spreadsheet program."}) {
        layout->addWidget(new QLabel(QString::fromLatin1(line), this));
    }
    auto* group = new QGroupBox(QStringLiteral("Available Plots"), this);
    list_ = new QListWidget(group);
    auto* group_layout = new QVBoxLayout(group);
    group_layout->addWidget(list_);
    layout->addWidget(group, 1);
    select_all_ = new QPushButton(QStringLiteral("Select All"), this);
    unselect_all_ = new QPushButton(QStringLiteral("Unselect All"), this);
    generate_ = new QPushButton(QStringLiteral("Generate Excel File"), this);
    close_ = new QPushButton(QStringLiteral("Close Window"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {select_all_, unselect_all_, generate_, close_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(select_all_, &QPushButton::clicked, this, [this] { SetAllChecks(true); });
    connect(unselect_all_, &QPushButton::clicked, this, [this] { SetAllChecks(false); });
    connect(generate_, &QPushButton::clicked, this, [this] { Generate(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(list_, &QListWidget::itemChanged, this, [this] { UpdateGenerate(); });
    Refill();
}

void TDlgExport::ShowFor(QWidget* owner, TCandidateSource candidates, const QString& data_file) {
    auto* dialog =
        owner->findChild<TDlgExport*>(QStringLiteral("DlgExport"), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new TDlgExport(std::move(candidates), owner);
    }
    // The workbook is proposed under the project's name.
    dialog->SetPathChooser(
        [data_file](QWidget* parent) { return ChooseWorkbookPath(parent, data_file); });
    dialog->exec();
}

bool TDlgExport::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Refill();
    return QDialog::event(event);
}

void TDlgExport::showEvent(QShowEvent* event) {
    Refill();
    QDialog::showEvent(event);
}

void TDlgExport::Refill() {
    const QSignalBlocker block(list_);
    shown_ = candidates_ ? candidates_() : std::vector<TExportCandidate>{};
    list_->clear();
    for (const TExportCandidate& c : shown_) {
        auto* item = new QListWidgetItem(c.Graph->Caption, list_);
        item->setFlags(c.Enabled ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                                 : Qt::ItemIsUserCheckable);
        item->setCheckState(c.Enabled ? Qt::Checked : Qt::Unchecked);
    }
    UpdateGenerate();
}

void TDlgExport::SetAllChecks(bool checked) {
    const QSignalBlocker block(list_);
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        if (item->flags() & Qt::ItemIsEnabled)
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    UpdateGenerate();
}

void TDlgExport::UpdateGenerate() {
    bool any = false;
    for (int row = 0; row < list_->count(); ++row)
        any = any || list_->item(row)->checkState() == Qt::Checked;
    generate_->setEnabled(any);
}

QString TDlgExport::Generate() {
    // The checked graphs are taken before the file dialog, whose closing
    // activates this window again and refills it.
    std::vector<const TGraphPlot*> graphs;
    for (int row = 0; row < list_->count() && row < static_cast<int>(shown_.size()); ++row) {
        if (list_->item(row)->checkState() == Qt::Checked)
            graphs.push_back(shown_[static_cast<size_t>(row)].Graph);
    }
    if (graphs.empty()) return {};
    QString path = choose_path_(this);
    if (path.isEmpty()) return {};
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += ".xlsx";
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        WriteGraphsWorkbook(path, graphs);
    } catch (const EKorvelError& error) {
        QApplication::restoreOverrideCursor();
        ShowInformation(this, error.Message());
        return {};
    }
    QApplication::restoreOverrideCursor();
    if (!open_(path)) {
        ShowInformation(this, QStringLiteral("The plots were written to %1.\rNo application is "
                                             "set up to open it.")
                                  .arg(QDir::toNativeSeparators(path)));
    }
    return path;
}

}  // namespace korvel
