// Computation > "Wall Length Study...": the dialog that asks for the lengths
// (from, to, step in the project's length unit) and the tolerance, and the
// child window that runs korvel-run's study of the saved data file in the
// background and shows its table, its plot and the critical length, with
// actions that set the project's wall to a chosen length.
#pragma once

#include <QDialog>
#include <QWidget>
#include <memory>
#include <vector>

#include "main/length_study_run.h"

class QLabel;
class QLineEdit;
class QMdiArea;
class QProcess;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTemporaryDir;

namespace korvel {

class TProgramData;
class TLengthStudyPlot;

class TDlgLengthStudy : public QDialog {
    Q_OBJECT

  public:
    // Proposes lengths around the project's wall, in its length unit.
    TDlgLengthStudy(const TProgramData& project, QWidget* parent = nullptr);

    TLengthStudyInput Input() const { return input_; }
    void accept() override;

  private:
    const TProgramData& project_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* step_;
    QLineEdit* tolerance_;
    TLengthStudyInput input_;
};

class TLengthStudyWindow : public QWidget {
    Q_OBJECT

  public:
    // Asks for the lengths and, unless cancelled or refused, opens the window
    // in area and starts the study of the project's data file (saved by the
    // caller). Returns the window, or nullptr when nothing was started.
    static TLengthStudyWindow* Open(QMdiArea* area, TProgramData& project);

    TLengthStudyWindow(TProgramData& project, const TLengthStudyInput& input,
                       QWidget* parent = nullptr);
    ~TLengthStudyWindow() override;

    // Starts korvel-run in the background.
    void Start(const QString& dataFile);
    bool Running() const;
    const TLengthStudyInput& Input() const { return input_; }
    const TLengthStudyResult& Result() const { return result_; }
    QTableWidget* Table() const { return table_; }
    // Sets the project's wall to the selected row's length, or the critical one.
    void SetSelectedLength();
    void SetCriticalLength();

  Q_SIGNALS:
    void finished();

  private:
    void Finished(int exitCode);
    void Failed(const QString& text);
    void Fill();
    void SetLength(double length);
    QString SectionName(size_t k) const;

    TProgramData& project_;
    TLengthStudyInput input_;
    QString data_file_;
    std::unique_ptr<QTemporaryDir> folder_;
    QProcess* process_ = nullptr;
    TLengthStudyResult result_;
    std::vector<size_t> row_of_line_;  // table line -> study row
    QLabel* heading_;
    QProgressBar* progress_;
    QTableWidget* table_;
    TLengthStudyPlot* plot_;
    QLabel* critical_;
    QLabel* notes_;
    QLabel* status_;
    QPushButton* set_selected_;
    QPushButton* set_critical_;
};

}  // namespace korvel
