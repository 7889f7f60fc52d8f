// TDataEdit: a single-line numeric entry box. What the user types is evaluated
// (expressions allowed) and checked against MinVal, MaxVal and IntegerOnly when
// the box loses the focus or Enter is pressed; a failed check shows its message,
// restores the crossed limit and keeps the focus in the box. Escape puts back
// the text the box held before the typing. Values are shown in the general
// format of the grids (8 significant digits) with their start in view. Right
// after Enter the whole entry is selected and an operator key (+ - * / ^ = % !)
// extends it (12, Enter, *2 gives 12*2); a selection made any other way (Tab, a
// click, Ctrl+A) is replaced by what is typed, so that -5 typed over 60 is -5. The box
// keeps the full value behind a shown text, so showing never rounds what is
// taken back. A label, when attached, shows Caption and the unit text of
// UnitsString in the Units system.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <limits>

namespace korvel {

class TDataEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit TDataEdit(QWidget* parent = nullptr);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QLabel* EditLabel() const { return label_; }
    // The label becomes the box's buddy and shows Caption and unit.
    void SetEditLabel(QLabel* label);
    const QString& UnitsString() const { return units_string_; }
    void SetUnitsString(const QString& label);
    int Units() const { return units_; }
    // Clamped to 1..3.
    void SetUnits(int system);

    long double MinVal() const { return min_; }
    // Lowered to at most MaxVal (and into the 32-bit range when IntegerOnly);
    // raises Number to it when Number is smaller.
    void SetMinVal(long double value);
    long double MaxVal() const { return max_; }
    void SetMaxVal(long double value);
    bool IntegerOnly() const { return integer_only_; }
    // Setting it re-applies both limits.
    void SetIntegerOnly(bool integer_only);
    bool Hex() const { return hex_; }
    void SetHex(bool hex);

    // The value behind the shown text, else the evaluated text; throws
    // EAssignError or EMathError.
    long double Number() const;
    // Clamps the value into [MinVal, MaxVal] and shows it.
    void SetNumber(long double value);
    // Shows a value as it is, limits or not: a value the program loads is the
    // project's until the user types over it (the limits bind entries only).
    void ShowValue(long double value);
    // False from the start of an exit check until a check succeeds.
    bool Valid() const { return valid_; }
    // The user typed into the box since its value was shown or last accepted.
    bool Pending() const { return edited_ || text() != accepted_text_; }
    // True when the value lies within MinVal and MaxVal.
    bool InRange(long double value) const { return value >= min_ && value <= max_; }

    // Evaluates and checks the entry; on success shows the value in place of the
    // typed text, else shows the message and takes the focus back.
    bool ExitCheck();

    // Text of a value as the box shows it ("$00FF" in hex mode).
    QString FormatValue(long double value) const;

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void RefreshLabel();
    bool Fail(const QString& message);
    // Shows text for value and takes it as accepted (Number gives value back exactly).
    void Accept(const QString& text, long double value);

    QString caption_;
    QPointer<QLabel> label_;
    QString units_string_;
    int units_ = 1;
    long double min_ = -std::numeric_limits<long double>::max();
    long double max_ = std::numeric_limits<long double>::max();
    bool integer_only_ = false;
    bool hex_ = false;
    bool valid_ = true;
    bool checking_ = false;  // an exit check is showing its message
    // Last text the program showed or a check accepted, and the exact value behind
    // it; Escape puts this text back.
    QString accepted_text_ = QStringLiteral("0");
    long double accepted_value_ = 0.0L;
    bool edited_ = false;  // typed into since then (even the same text again)
    // Enter was the last thing done in the box: its whole text, selected by Enter,
    // is the first operand of what is typed next.
    bool after_enter_ = false;
};

}  // namespace korvel
