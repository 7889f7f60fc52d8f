// TfrmLineNames ("Legend"): edits the legend texts of every curve of a graph,
// active or not. The selected entry's text shows in the edit in its curve colour;
// Enter in the edit, or leaving it, renames the entry; an empty text is refused
// with "The line must have a name!". The graph changes only on OK (Apply).
#pragma once

#include <QDialog>

#include "graphs/legend_names.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace korvel {

class TfrmLineNames : public QDialog {
    Q_OBJECT

  public:
    TfrmLineNames(const TGraphPlot& graph, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QLineEdit* Edit() const { return edit_; }
    QPushButton* OKButton() const { return ok_; }
    const TLegendNames& Names() const { return names_; }
    // Takes the edit's text for the selected entry (Enter, leaving the edit).
    void CommitEdit();
    // Every curve's name from its entry.
    void Apply(TGraphPlot& graph) const { names_.Apply(graph); }

  private:
    void ShowSelected();

    TLegendNames names_;
    QListWidget* list_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace korvel
