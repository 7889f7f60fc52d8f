// TDataDialog: the pattern every input dialog follows. A modeless child window
// of the main window's MDI area that copies its values from the project when it
// is activated and back when it is deactivated or closed:
//  - Activate: every numeric box takes the project's unit system and shows its
//    field, converted to the units the box shows (dialog_units.h).
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
    // The box whose last exit check failed (the focused box is checked first), or nullptr.
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
    // Reload the values whenever the project's unit system changes, or its
    // values change elsewhere (valuesChanged).
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
};

}  // namespace korvel
