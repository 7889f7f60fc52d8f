// TTableChartForm: the editing window of a chart table. Above the grid (five rows
// at most when there is a chart) it draws the table's points as a line chart,
// redrawn whenever the table changes; below the row buttons it offers the import
// of values from a text file or the clipboard, and OK and Cancel buttons when the
// table asks for them. Everything else is the grid table window's.
#pragma once

#include <QStringList>
#include <functional>

#include "entry/ui/table_form.h"

class QLineEdit;

namespace korvel {

class TGridTableChart;
class TTableChartView;

class TTableChartForm : public TTableForm {
    Q_OBJECT

  public:
    TTableChartForm(TGridTableChart& table, QMdiArea* area, bool modal, QWidget* parent = nullptr);

    // nullptr when the table shows no chart.
    TTableChartView* ChartView() const { return chart_; }
    QLineEdit* FileNameBox() const { return file_name_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* ViewEditButton() const { return view_edit_; }
    QPushButton* ReadFileButton() const { return read_file_; }
    QPushButton* PasteButton() const { return paste_; }
    QPushButton* OKButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Starts a text editor on a file; false when it cannot be started. Replaceable
    // so that tests start nothing.
    using TEditorStarter = std::function<bool(const QString& path)>;
    static void SetEditorStarter(TEditorStarter starter);

    // Fills the table from the named file or the clipboard text.
    void ReadValuesFromFile();
    void PasteValuesFromClipboard();

  private:
    void Redraw();
    void UpdateImportButtons();
    void BrowseClick();
    void ViewEditClick();
    void Import(const QStringList& lines);
    void TakeSnapshot();
    void RestoreSnapshot();

    TGridTableChart& chart_table_;
    TTableChartView* chart_ = nullptr;
    QLineEdit* file_name_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* view_edit_ = nullptr;
    QPushButton* read_file_ = nullptr;
    QPushButton* paste_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    // Plain cells as the window opened them, for Cancel: row count, then the
    // text of every non-flex cell row by row.
    int snapshot_rows_ = 0;
    QStringList snapshot_cells_;
};

}  // namespace korvel
