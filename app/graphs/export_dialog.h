// TDlgExport ("Export to Excel"): lists the result graphs that can be exported,
// checked and enabled when their Graphics menu item is enabled, and writes the
// checked ones into a workbook at a place the user chooses, which then opens in
// the desktop's application for workbooks when there is one. One dialog serves
// the program; it is refilled each time it is activated.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "graphs/graph_kind.h"

class QListWidget;
class QPushButton;

namespace korvel {

class TGraphPlot;
class TResultPlots;

struct TExportCandidate {
    TGraphPlot* Graph;
    bool Enabled;  // its Graphics menu item is enabled
};

// pltPY, pltDef, pltShear, pltMom, pltSoil, pltLD, PltCombine with the enabled
// states of their menu items (indexed by TGraphKind).
std::vector<TExportCandidate> ExportCandidates(TResultPlots& plots,
                                               const std::array<bool, kGraphCount>& enabled);

// The workbook proposed for a data file: its name with ".xlsx" in folder
// ("plots.xlsx" when there is no name).
QString WorkbookPathFor(const QString& data_file, const QString& folder);

class TDlgExport : public QDialog {
    Q_OBJECT

  public:
    using TCandidateSource = std::function<std::vector<TExportCandidate>()>;
    // The workbook's path, or empty to cancel.
    using TPathChooser = std::function<QString(QWidget* parent)>;
    // Opens the written workbook; false when no application can.
    using TOpener = std::function<bool(const QString& path)>;

    explicit TDlgExport(TCandidateSource candidates, QWidget* parent = nullptr);

    // The program's dialog, a child of owner made on first use, run modally.
    // The workbook is proposed as data_file's name with ".xlsx".
    static void ShowFor(QWidget* owner, TCandidateSource candidates,
                        const QString& data_file = QString());

    void SetPathChooser(TPathChooser chooser) { choose_path_ = std::move(chooser); }
    void SetOpener(TOpener opener) { open_ = std::move(opener); }

    QListWidget* List() const { return list_; }
    QPushButton* SelectAllButton() const { return select_all_; }
    QPushButton* UnselectAllButton() const { return unselect_all_; }
    QPushButton* GenerateButton() const { return generate_; }
    QPushButton* CloseButton() const { return close_; }

    // Fills the list from the candidates (as on activation).
    void Refill();
    // Writes the checked graphs; the path written, or empty when nothing was.
    QString Generate();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void SetAllChecks(bool checked);
    void UpdateGenerate();

    TCandidateSource candidates_;
    std::vector<TExportCandidate> shown_;
    TPathChooser choose_path_;
    TOpener open_;
    QListWidget* list_;
    QPushButton* select_all_;
    QPushButton* unselect_all_;
    QPushButton* generate_;
    QPushButton* close_;
};

}  // namespace korvel
