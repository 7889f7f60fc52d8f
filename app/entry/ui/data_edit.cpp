#include "entry/ui/data_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

#include "entry/entry_errors.h"
#include "entry/evaluator.h"
#include "entry/number_format.h"
#include "entry/ui/message_notifier.h"
#include "entry/units.h"

namespace korvel {
namespace {

// Typing one of these over a fully selected entry extends it instead of replacing it.
const QString kOperatorKeys = QStringLiteral("+-/*^=%!");

}  // namespace

TDataEdit::TDataEdit(QWidget* parent) : QLineEdit(parent) {
    setText(QStringLiteral("0"));
    connect(this, &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

void TDataEdit::SetCaption(const QString& caption) {
    caption_ = caption;
    RefreshLabel();
}

void TDataEdit::SetEditLabel(QLabel* label) {
    label_ = label;
    if (label_) label_->setBuddy(this);
    RefreshLabel();
}

void TDataEdit::SetUnitsString(const QString& label) {
    units_string_ = label;
    RefreshLabel();
}

void TDataEdit::SetUnits(int system) {
    units_ = ClampUnitSystem(system);
    RefreshLabel();
}

void TDataEdit::RefreshLabel() {
    if (!label_) return;
    label_->setText(units_string_.isEmpty()
                        ? caption_
                        : caption_ + QStringLiteral(" (") +
                              UnitText(units_string_, units_, TUnitTextRule::kEditBox) +
                              QStringLiteral(")"));
    label_->setEnabled(isEnabled());
}

void TDataEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) RefreshLabel();
}

namespace {
long double ToIntegerRange(long double value) {
    return std::clamp(value, static_cast<long double>(INT_MIN), static_cast<long double>(INT_MAX));
}
}  // namespace

void TDataEdit::SetMaxVal(long double value) {
    value = std::max(value, min_);
    if (integer_only_) value = ToIntegerRange(value);
    max_ = value;
    try {
        if (Number() > max_) SetNumber(max_);
    } catch (const EKorvelError&) {
        // An unreadable entry is left for the exit check.
    }
}

void TDataEdit::SetMinVal(long double value) {
    value = std::min(value, max_);
    if (integer_only_) value = ToIntegerRange(value);
    min_ = value;
    try {
        if (Number() < min_) SetNumber(min_);
    } catch (const EKorvelError&) {
    }
}

void TDataEdit::SetIntegerOnly(bool integer_only) {
    integer_only_ = integer_only;
    if (integer_only_) {
        SetMaxVal(max_);
        SetMinVal(min_);
    }
}

void TDataEdit::SetHex(bool hex) {
    hex_ = hex;
    try {
        SetNumber(Number());
    } catch (const EKorvelError&) {
    }
}

long double TDataEdit::Number() const {
    // A shown value is taken back whole, not re-read from its 8 shown digits.
    if (!Pending()) return accepted_value_;
    return EvaluateEntry(text());
}

void TDataEdit::Accept(const QString& shown, long double value) {
    accepted_text_ = shown;
    accepted_value_ = value;
    edited_ = false;
    setText(shown);
    // The leading digits matter most: keep the start of the text in view.
    setCursorPosition(0);
}

void TDataEdit::SetNumber(long double value) {
    value = std::clamp(value, min_, max_);
    Accept(FormatValue(value), value);
}

void TDataEdit::ShowValue(long double value) {
    valid_ = true;
    Accept(FormatValue(value), value);
}

QString TDataEdit::FormatValue(long double value) const {
    return hex_ ? FormatHexValue(value) : FormatGeneral(value, kFileDigits);
}

bool TDataEdit::Fail(const QString& message) {
    checking_ = true;
    ShowInformation(window(), message);
    checking_ = false;
    // Back into the box once the focus change that led here is over, so the user
    // corrects the entry before going on.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) setFocus(Qt::OtherFocusReason);
    });
    return false;
}

bool TDataEdit::ExitCheck() {
    // Nothing typed since the value was shown or accepted: it stands as it is.
    if (!Pending()) {
        valid_ = true;
        return true;
    }
    valid_ = false;
    long double value = 0.0L;
    try {
        value = Number();
    } catch (const EAssignError& error) {
        return Fail(integer_only_ ? QStringLiteral("Entry must be a valid integer.")
                                  : error.Message());
    } catch (const EKorvelError& error) {
        // Arithmetic faults: their own message; the flag stays clear.
        return Fail(error.Message());
    }
    if (integer_only_ && value != std::trunc(value))
        return Fail(QStringLiteral("Entry must be an integer."));
    if (value < min_) {
        SetNumber(min_);
        return Fail(QStringLiteral("Entry must be greater than or equal to ") + FormatValue(min_));
    }
    if (value > max_) {
        SetNumber(max_);
        return Fail(QStringLiteral("Entry must be less than or equal to ") + FormatValue(max_));
    }
    Accept(FormatValue(value), value);
    valid_ = true;
    return true;
}

void TDataEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching windows or opening a menu is not leaving the box.
    if (checking_ || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason) {
        return;
    }
    ExitCheck();
}

void TDataEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ExitCheck();
        selectAll();
        after_enter_ = true;
        event->accept();
        return;
    }
    const bool after_enter = after_enter_;
    after_enter_ = false;
    if (event->key() == Qt::Key_Escape) {
        // Undoes the typing, as Escape does in the grids.
        setText(accepted_text_);
        edited_ = false;
        valid_ = true;
        selectAll();
        event->accept();
        return;
    }
    if (after_enter && !event->text().isEmpty() && kOperatorKeys.contains(event->text()) &&
        hasSelectedText() && selectedText() == text()) {
        end(false);
    }
    QLineEdit::keyPressEvent(event);
}

void TDataEdit::mousePressEvent(QMouseEvent* event) {
    after_enter_ = false;
    QLineEdit::mousePressEvent(event);
}

void TDataEdit::focusInEvent(QFocusEvent* event) {
    after_enter_ = false;
    QLineEdit::focusInEvent(event);
}

}  // namespace korvel
