// TfrmActiveLines ("Active Curves"): chooses which curves of a graph take part
// in it. A double click toggles an entry; "Activate/Deactivate Selected" toggles
// the selected ones; "Activate All" and "Deactivate All" set every state. The
// graph changes only on OK (Apply).
#pragma once

#include <QDialog>

#include "graphs/active_states.h"

class QListWidget;
class QPushButton;

namespace korvel {

class TfrmActiveLines : public QDialog {
    Q_OBJECT

  public:
    TfrmActiveLines(const TGraphPlot& graph, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QPushButton* ToggleSelectedButton() const { return toggle_; }
    QPushButton* ActivateAllButton() const { return all_; }
    QPushButton* DeactivateAllButton() const { return none_; }
    QPushButton* OKButton() const { return ok_; }
    const TActiveStates& States() const { return states_; }
    void Apply(TGraphPlot& graph) const { states_.Apply(graph); }

  private:
    void Refresh();
    void ToggleSelected();

    TActiveStates states_;
    QListWidget* list_;
    QPushButton* toggle_;
    QPushButton* all_;
    QPushButton* none_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace korvel
