// TDataDialog: the pattern every input dialog follows. A modeless child window
// of the main window's MDI area that copies its values from the project when it
// is activated and back when it is deactivated or closed:
//  - Activate: every numeric box takes the project's unit system and shows its
//    field, converted to the units the box shows (dialog_units.h). A held value
//    outside a box's limits is shown as it is and the user is told; it changes
//    only when the user types over it.
//  - Deactivate: when a numeric box holds an entry that failed (or, focused,
//    fails) its exit check, the dialog brings itself forward and copies nothing;
//    otherwise the values go back to the project, converted to held units.
//  - Close: refused while an entry is invalid; otherwise Deactivate, then the
//    window goes.
// Every user change in a box marks the project modified; a switch of the
// project's unit system reloads the values when the dialog asks for it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <limits>
#include <vector>

#include "project/program_data.h"

class QLineEdit;
class QMdiSubWindow;

namespace korvel {

class TDataEdit;

class TDataDialog : public QWidget {
    Q_OBJECT

  public:
    static constexpr long double kNoLowerLimit = -std::numeric_limits<long double>::max();
    static constexpr long double kNoUpperLimit = std::numeric_limits<long double>::max();

    TDataDialog(TProgramData& project, const QString& caption, QWidget* parent = nullptr);

    TProgramData& Project() const { return project_; }

    void Activate();
    // False when an invalid entry kept the values from the project.
    bool Deactivate();
    // Hands every entry over to the project before an action of the main window;
    // false (the entry's message shown, the dialog brought forward) when one is
    // refused, so that the action stops.
    bool TakeEdits();
    // Shows the project's values anew after it changed under the dialog (stage
    // switch, unit switch, option toggle); entries not taken are dropped.
    void Reload();
    // The first box whose typed entry fails its exit check (the check runs and
    // shows its message), or nullptr.
    TDataEdit* InvalidBox();

  protected:
    // Binds a box to a held field: label text, unit label and limits are the box's
    // own. An int field takes the rounded value.
    void Bind(TDataEdit* box, long double TProjectFields::*field);
    void Bind(TDataEdit* box, int TProjectFields::*field);
    // A numeric box with its label (caption and unit text) and limits; limits not
    // given are unbounded.
    TDataEdit* NewBox(const QString& caption, const QString& units_label,
                      long double min_value = kNoLowerLimit, long double max_value = kNoUpperLimit,
                      bool integer_only = false);
    // Marks the project modified on every edit the user makes in it.
    void WatchEdits(QLineEdit* edit);
    // Reload the values whenever the project's unit system changes.
    void FollowUnitSwitch();

    // Dialog-specific values besides the bound boxes.
    virtual void LoadValues() {}
    virtual void StoreValues() {}

    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct TBinding {
        TDataEdit* Box;
        std::function<long double()> Get;
        std::function<void(long double)> Set;
        // What the box showed for the held value before any clamping: a box
        // whose text still reads so leaves the held value untouched (no round
        // trip through the shown units).
        QString LoadedText;
    };

    void BringForward(TDataEdit* box);
    void WatchSubWindow();

    TProgramData& project_;
    std::vector<TBinding> bindings_;
    QPointer<QMdiSubWindow> sub_window_;
    bool closed_ = false;
    // The last deactivation was refused: the next activation keeps the entries.
    bool refused_ = false;
    // The last notice of held values outside the boxes' limits (told once).
    QString range_notice_;
};

}  // namespace korvel
