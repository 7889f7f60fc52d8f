#include "dialogs/data_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <cmath>

#include "dialogs/dialog_units.h"
#include "entry/entry_errors.h"
#include "entry/ui/data_edit.h"
#include "entry/ui/message_notifier.h"

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
    connect(&project_, &TProgramData::unitSystemChanged, this, [this] {
        if (!closed_) {
            refused_ = false;
            Activate();
        }
    });
}

void TDataDialog::Activate() {
    if (closed_) return;
    if (refused_) {
        // Values were not taken: keep what the user is correcting.
        refused_ = false;
        return;
    }
    const int system = project_.UnitSystem();
    QStringList outside;
    for (TBinding& b : bindings_) {
        b.Box->SetUnits(system);
        const long double shown = ShownValue(b.Get(), b.Box->UnitsString(), system);
        // Shown unclamped: looking at a dialog never changes the project.
        b.Box->ShowValue(shown);
        b.LoadedText = b.Box->text();
        // A zero below a box's least entry is a value not entered yet (a new
        // project holds zeros): the user is told when entering it, not on sight.
        if (!b.Box->InRange(shown) && !(shown == 0 && shown < b.Box->MinVal())) {
            QString caption = b.Box->EditLabel() ? b.Box->EditLabel()->text() : b.Box->Caption();
            caption.remove(QLatin1Char('&'));
            const QString limit =
                shown > b.Box->MaxVal()
                    ? QStringLiteral("at most ") + b.Box->FormatValue(b.Box->MaxVal())
                    : QStringLiteral("at least ") + b.Box->FormatValue(b.Box->MinVal());
            outside << caption.trimmed() + QStringLiteral(": ") + b.Box->text() +
                           QStringLiteral(" (an entry must be ") + limit + QStringLiteral(")");
        }
    }
    LoadValues();
    const QString notice =
        outside.isEmpty()
            ? QString()
            : QStringLiteral("These values lie outside what this dialog accepts:\r") +
                  outside.join(QStringLiteral("\r")) +
                  QStringLiteral("\rThey are kept as they are until you enter new ones.");
    if (notice != range_notice_) {
        range_notice_ = notice;
        // Told once the activation is over, so the message box does not interrupt it.
        if (!notice.isEmpty()) {
            QTimer::singleShot(0, this, [this, notice] {
                if (!closed_) ShowInformation(window(), notice);
            });
        }
    }
}

void TDataDialog::Reload() {
    if (closed_) return;
    refused_ = false;
    Activate();
}

bool TDataDialog::TakeEdits() {
    return Deactivate();
}

TDataEdit* TDataDialog::InvalidBox() {
    // The focused box first, then every box typed into (focused or not, checked
    // before or not): an entry that cannot be taken is told again.
    auto* focused = qobject_cast<TDataEdit*>(QApplication::focusWidget());
    if (focused && isAncestorOf(focused) && (focused->Pending() || !focused->Valid()) &&
        !focused->ExitCheck()) {
        return focused;
    }
    for (const TBinding& b : bindings_) {
        if ((b.Box->Pending() || !b.Box->Valid()) && !b.Box->ExitCheck()) return b.Box;
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
