#include "dialogs/data_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cmath>

#include "dialogs/dialog_units.h"
#include "entry/entry_errors.h"
#include "entry/ui/data_edit.h"

namespace korvel {

TDataDialog::TDataDialog(TProgramData& project, const QString& caption, QWidget* parent)
    : QWidget(parent), project_(project) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
}

void TDataDialog::Bind(TDataEdit* box, long double TProjectFields::*field) {
    bindings_.push_back({box,
                         [this, field] { return project_.*field; },
                         [this, field](long double value) { project_.*field = value; },
                         {}});
    WatchEdits(box);
}

void TDataDialog::Bind(TDataEdit* box, int TProjectFields::*field) {
    bindings_.push_back({box,
                         [this, field] { return static_cast<long double>(project_.*field); },
                         [this, field](long double value) {
                             project_.*field = static_cast<int>(std::lround(value));
                         },
                         {}});
    WatchEdits(box);
}

TDataEdit* TDataDialog::NewBox(const QString& caption, const QString& units_label,
                               long double min_value, long double max_value, bool integer_only) {
    auto* box = new TDataEdit(this);
    box->SetEditLabel(new QLabel(this));
    box->SetCaption(caption);
    box->SetUnitsString(units_label);
    box->SetUnits(project_.UnitSystem());
    box->SetIntegerOnly(integer_only);
    box->SetMaxVal(max_value);
    box->SetMinVal(min_value);
    return box;
}

void TDataDialog::WatchEdits(QLineEdit* edit) {
    connect(edit, &QLineEdit::textEdited, this, [this] { project_.SetModified(true); });
}

void TDataDialog::FollowUnitSwitch() {
    const auto reload = [this] {
        if (!closed_) {
            refused_ = false;
            Activate();
        }
    };
    connect(&project_, &TProgramData::unitSystemChanged, this, reload);
    connect(&project_, &TProgramData::valuesChanged, this, reload);
}

void TDataDialog::Activate() {
    if (closed_) return;
    if (refused_) {
        // Values were not taken: keep what the user is correcting.
        refused_ = false;
        return;
    }
    const int system = project_.UnitSystem();
    for (TBinding& b : bindings_) {
        b.Box->SetUnits(system);
        const long double shown = ShownValue(b.Get(), b.Box->UnitsString(), system);
        b.LoadedText = b.Box->FormatValue(shown);
        b.Box->SetNumber(shown);
    }
    LoadValues();
}

TDataEdit* TDataDialog::InvalidBox() {
    // The focused box has not had its exit check yet.
    if (auto* focused = qobject_cast<TDataEdit*>(QApplication::focusWidget());
        focused && isAncestorOf(focused) && focused->Valid() && !focused->ExitCheck()) {
        return focused;
    }
    for (const TBinding& b : bindings_) {
        if (!b.Box->Valid()) return b.Box;
    }
    return nullptr;
}

bool TDataDialog::Deactivate() {
    if (closed_) return true;
    if (TDataEdit* box = InvalidBox()) {
        refused_ = true;
        BringForward(box);
        return false;
    }
    const int system = project_.UnitSystem();
    for (const TBinding& b : bindings_) {
        if (b.Box->text() == b.LoadedText) continue;
        try {
            b.Set(HeldValue(b.Box->Number(), b.Box->UnitsString(), system));
        } catch (const EKorvelError&) {
            // Only a box that passed its exit check gets here; nothing to take otherwise.
        }
    }
    StoreValues();
    // What is now held is what the boxes show.
    for (TBinding& b : bindings_) b.LoadedText = b.Box->text();
    return true;
}

void TDataDialog::BringForward(TDataEdit* box) {
    if (sub_window_) {
        if (QMdiArea* area = sub_window_->mdiArea()) area->setActiveSubWindow(sub_window_);
    } else {
        raise();
    }
    if (box->isVisible()) box->setFocus(Qt::OtherFocusReason);
}

bool TDataDialog::event(QEvent* event) {
    // The main window asks the active child to deactivate before a menu opens; the
    // window system's own (de)activation of the whole program is not meant.
    if (event->type() == QEvent::WindowDeactivate && !event->spontaneous()) Deactivate();
    return QWidget::event(event);
}

void TDataDialog::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ParentChange) WatchSubWindow();
}

void TDataDialog::WatchSubWindow() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub || sub == sub_window_) return;
    sub_window_ = sub;
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates old_state, Qt::WindowStates new_state) {
                const bool was = old_state.testFlag(Qt::WindowActive);
                const bool is = new_state.testFlag(Qt::WindowActive);
                if (!was && is) Activate();
                if (was && !is) Deactivate();
            });
}

void TDataDialog::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (!Deactivate()) {
        event->ignore();
        return;
    }
    closed_ = true;
    event->accept();
}

}  // namespace korvel
