#include "entry/ui/data_edit.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "recording_notifier.h"

using namespace korvel;

class DataEditTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { notifier_ = std::make_unique<TRecordingNotifier>(); }
    void cleanup() { notifier_.reset(); }

    void exitCheck_data();
    void exitCheck();
    void leavingTheBoxChecksTheEntry();
    void labelShowsCaptionAndUnit();
    void limitSettersKeepTheValueInside();
    void hexEntries();
    void operatorKeyExtendsASelectedEntry();
    void operatorTypedOverAnotherSelectionReplacesIt_data();
    void operatorTypedOverAnotherSelectionReplacesIt();

  private:
    std::unique_ptr<TRecordingNotifier> notifier_;
};

void DataEditTest::exitCheck_data() {
    QTest::addColumn<bool>("integerOnly");
    QTest::addColumn<double>("minVal");
    QTest::addColumn<double>("maxVal");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("below minimum")
        << true << 1.0 << 300.0 << "0" << false << "Entry must be greater than or equal to 1"
        << "1";
    QTest::newRow("above maximum")
        << true << 1.0 << 300.0 << "301" << false << "Entry must be less than or equal to 300"
        << "300";
    QTest::newRow("fraction") << true << 1.0 << 300.0 << "2.5" << false
                              << "Entry must be an integer."
                              << "2.5";
    QTest::newRow("unreadable integer")
        << true << 1.0 << 300.0 << "abc" << false << "Entry must be a valid integer."
        << "abc";
    QTest::newRow("unreadable real")
        << false << -10.0 << 10.0 << "(1+2" << false
        << "Entry could not be evaluated:\rinvalid character(s) in expression"
        << "(1+2";
    QTest::newRow("blank") << false << -10.0 << 10.0 << "" << false
                           << "Entry could not be evaluated:\rentry cannot be blank"
                           << "";
    QTest::newRow("division by zero")
        << false << -10.0 << 10.0 << "1/0" << false << "Floating point division by zero"
        << "1/0";
    QTest::newRow("expression") << false << 0.0 << 100.0 << "2*3+4" << true << ""
                                << "10";
    QTest::newRow("limit itself") << true << 1.0 << 300.0 << "300" << true << ""
                                  << "300";
    QTest::newRow("real minimum") << false << 0.5 << 2.0 << "0.25" << false
                                  << "Entry must be greater than or equal to 0.5"
                                  << "0.5";
}

void DataEditTest::exitCheck() {
    QFETCH(bool, integerOnly);
    QFETCH(double, minVal);
    QFETCH(double, maxVal);
    QFETCH(QString, entry);
    QFETCH(bool, valid);
    QFETCH(QString, message);
    QFETCH(QString, textAfter);

    TDataEdit edit;
    edit.SetIntegerOnly(integerOnly);
    edit.SetMaxVal(maxVal);
    edit.SetMinVal(minVal);
    edit.setText(entry);
    QCOMPARE(edit.ExitCheck(), valid);
    QCOMPARE(edit.Valid(), valid);
    QCOMPARE(edit.text(), textAfter);
    QCOMPARE(notifier_->Messages, valid ? QStringList() : QStringList{message});
}

void DataEditTest::leavingTheBoxChecksTheEntry() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new TDataEdit;
    auto* other = new TDataEdit;
    layout->addWidget(edit);
    layout->addWidget(other);
    edit->SetIntegerOnly(true);
    edit->SetMinVal(1);
    edit->SetMaxVal(300);
    edit->SetNumber(5);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());

    // Enter checks the entry and keeps the value inside the limits.
    edit->selectAll();
    QTest::keyClicks(edit, "0");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(notifier_->Messages, QStringList{"Entry must be greater than or equal to 1"});
    QCOMPARE(edit->Number(), 1.0L);
    QCOMPARE(edit->selectedText(), edit->text());

    // Tabbing away from a value above the maximum: message, limit, focus kept.
    edit->selectAll();
    QTest::keyClicks(edit, "1000");
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(notifier_->Messages.size(), 2);
    QCOMPARE(notifier_->Messages.last(), QString("Entry must be less than or equal to 300"));
    QCOMPARE(edit->Number(), 300.0L);
    QTRY_VERIFY(edit->hasFocus());
    QVERIFY(!edit->Valid());

    // A valid expression is replaced by its value when leaving.
    edit->selectAll();
    QTest::keyClicks(edit, "12*3");
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(edit->text(), QString("36"));
    QVERIFY(edit->Valid());
    QCOMPARE(notifier_->Messages.size(), 2);
}

void DataEditTest::labelShowsCaptionAndUnit() {
    QLabel label;
    TDataEdit edit;
    edit.SetEditLabel(&label);
    QCOMPARE(label.buddy(), &edit);
    edit.SetCaption("Free height");
    QCOMPARE(label.text(), QString("Free height"));
    edit.SetUnitsString("L2");
    QCOMPARE(label.text(), QString("Free height (ft)"));
    edit.SetUnits(2);
    QCOMPARE(label.text(), QString("Free height (m)"));
    edit.SetUnits(7);  // clamped to Other, which shows the label itself
    QCOMPARE(edit.Units(), 3);
    QCOMPARE(label.text(), QString("Free height (L2)"));
    edit.SetUnits(1);
    edit.SetUnitsString("F/L2^2");
    QCOMPARE(label.text(), QString("Free height (lbs/ft^2)"));
    edit.setEnabled(false);
    QVERIFY(!label.isEnabled());
    edit.setEnabled(true);
    QVERIFY(label.isEnabled());
}

void DataEditTest::limitSettersKeepTheValueInside() {
    TDataEdit edit;
    edit.SetNumber(50);
    edit.SetMaxVal(10);
    QCOMPARE(edit.Number(), 10.0L);
    edit.SetMinVal(20);  // lowered to MaxVal
    QCOMPARE(edit.MinVal(), 10.0L);
    edit.SetMinVal(0);
    edit.SetMaxVal(-5);  // raised to MinVal
    QCOMPARE(edit.MaxVal(), 0.0L);
    QCOMPARE(edit.Number(), 0.0L);
    edit.SetMaxVal(1e20L);
    edit.SetIntegerOnly(true);  // re-applies the limits in the 32-bit range
    QCOMPARE(edit.MaxVal(), 2147483647.0L);
    edit.SetNumber(-4);
    QCOMPARE(edit.text(), QString("0"));
}

void DataEditTest::hexEntries() {
    TDataEdit edit;
    edit.SetHex(true);
    edit.SetNumber(255);
    QCOMPARE(edit.text(), QString("$00FF"));
    edit.setText("$10+1");
    QVERIFY(edit.ExitCheck());
    QCOMPARE(edit.text(), QString("$0011"));
}

void DataEditTest::operatorKeyExtendsASelectedEntry() {
    TDataEdit edit;
    edit.setText("12");
    // Enter selects the whole entry: an operator then extends it.
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.selectedText(), QString("12"));
    QTest::keyClicks(&edit, "*2");
    QCOMPARE(edit.text(), QString("12*2"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), QString("24"));
    // A digit still replaces the selection Enter made.
    QTest::keyClicks(&edit, "7");
    QCOMPARE(edit.text(), QString("7"));
}

void DataEditTest::operatorTypedOverAnotherSelectionReplacesIt_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("valueAfter");
    // A negative entry over a selected value is that entry, not a subtraction.
    QTest::newRow("increments") << "60"
                                << "-5"
                                << "-5";
    QTest::newRow("beta") << "5"
                          << "-10"
                          << "-10";
    QTest::newRow("other operator") << "4"
                                    << "*3"
                                    << "";  // not a number: refused
}

void DataEditTest::operatorTypedOverAnotherSelectionReplacesIt() {
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, valueAfter);
    TDataEdit edit;
    edit.ShowValue(shown.toDouble());
    // Selected as Tab, a click or Ctrl+A select it; Enter came before, in another entry.
    QTest::keyClick(&edit, Qt::Key_Return);
    edit.deselect();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit.selectedText(), shown);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), typed);
    const bool valid = edit.ExitCheck();
    QCOMPARE(valid, !valueAfter.isEmpty());
    if (valid) QCOMPARE(edit.text(), valueAfter);
}

QTEST_MAIN(DataEditTest)
#include "data_edit_test.moc"
