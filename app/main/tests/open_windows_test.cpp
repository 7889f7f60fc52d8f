// What the windows show is what is saved and analysed. An entry typed into an
// open window and not yet taken (the box or cell still being edited) must reach
// the project before every action of the main window, and the open windows must
// show the project anew when it changes under them. Table-driven over four kinds
// of window (a dialog, a plain table, a soil layer's parameter table, a curve
// table with its chart) and every action that reads, saves or replaces the
// project; each case checks the saved file (read back) and, for the runs, the
// report. Runs through the real engine library on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <cmath>
#include <functional>
#include <map>

#include "dialogs/data_dialogs.h"
#include "dialogs/dlg_csd.h"
#include "dialogs/dlg_prop.h"
#include "dialogs/dlg_title.h"
#include "dialogs/load_dialogs.h"
#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/ui/data_edit.h"
#include "entry/ui/message_notifier.h"
#include "entry/ui/table_form.h"
#include "entry/ui/table_grid.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/run_checks.h"
#include "project/program_data.h"

using namespace korvel;

namespace {

class TRecordingPrompts : public TMainPrompts, public TMessageNotifier {
  public:
    void Information(QWidget*, const QString& text) override { Messages << text; }
    TAnswer Confirm(QWidget*, const QString& text, bool) override {
        Questions << text;
        return Answer;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, int* index) override {
        if (index) *index = 1;
        return OpenPath;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return SavePath;
    }
    QStringList Messages, Questions;
    TAnswer Answer = TAnswer::kYes;
    QString OpenPath, SavePath;
};

// The main window with its drop handler in reach (a test cannot start a real drag).
class TDropTarget : public TMainForm {
  public:
    using TMainForm::dropEvent;
};

const char* kSaveQuestion = "Do you want to save any changes?";
const char* kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

QAction* Act(TMainForm& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

QMenu* Menu(TMainForm& form, const QString& title) {
    for (QMenu* menu : form.findChildren<QMenu*>()) {
        if (menu->title() == title) return menu;
    }
    return nullptr;
}

// Chooses an item as from its menu: the menu opens (and recomputes) first.
void ChooseFromMenu(TMainForm& form, const QString& menu, const QString& action) {
    form.UpdateMenu(Menu(form, menu));
    Act(form, action)->trigger();
}

// Presses a tool button with the mouse; a tool button does not take the focus.
void PressToolButton(TMainForm& form, const QString& action) {
    auto* bar = form.findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QWidget* button = bar->widgetForAction(Act(form, action));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types as the user does: each key goes to the widget that has the focus.
void TypeKeys(QWidget* fallback, const QString& text) {
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
        QTest::keyClick(target, c.toLatin1());
    }
}

// Makes cell (row, grid column) current and types text into it without leaving
// the cell: the editor stays open.
void TypeIntoCell(TTableForm* form, int row, int column, const QString& text) {
    TGridView* grid = form->Grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    TypeKeys(grid, text);
}

TTableForm* FormOf(TGridTable* table) {
    return table ? qobject_cast<TTableForm*>(table->Editor()) : nullptr;
}

// One kind of window: the example it is tried on, how it is opened and typed
// into, and the held value it edits (base units of the project).
struct TWindowCase {
    QString Example;
    std::function<void(TMainForm&)> Open;
    std::function<void(TMainForm&)> Type;          // leaves the entry pending
    std::function<long double(TMainForm&)> Value;  // the held value it edits
    long double Typed;                             // held value of the typed entry
    QString ShownTyped;                            // what the window shows for it
    std::function<QString(TMainForm&)> Shown;      // what the window shows now
    QString ReportLine;                            // in the report of a run
};

TDlgProp* WallProperties(TMainForm& form) {
    return form.findChild<TDlgProp*>();
}

TGridTable* SandTable(TMainForm& form) {
    return form.Tables().NewSoil->Cell(2, 0).AsTable();
}

TGridTable* CurveTable(TMainForm& form) {
    return form.Tables().PYCurves2->Cell(1, 0).AsTable();
}

QString CellText(TGridTable* table, int row, int column) {
    TTableForm* form = FormOf(table);
    return form ? form->Grid()->model()->index(row, column).data().toString() : QString();
}

std::map<QString, TWindowCase> WindowCases() {
    std::map<QString, TWindowCase> cases;
    // Wall Properties: the free height, 15 ft held as 180 in, typed as 12 ft.
    cases["dialog"] = {"cantilever_english.kv5d",
                       [](TMainForm& f) { ChooseFromMenu(f, "Da&ta", "DataWallProp"); },
                       [](TMainForm& f) {
                           TDataEdit* box = WallProperties(f)->FreeHeightBox();
                           box->setFocus();
                           box->selectAll();
                           TypeKeys(box, "12");
                       },
                       [](TMainForm& f) { return f.Project().FreeHeight; },
                       144.0L,
                       "12",
                       [](TMainForm& f) {
                           return WallProperties(f) ? WallProperties(f)->FreeHeightBox()->text()
                                                    : QString();
                       },
                       "= 144.000 IN"};
    // Distributed Loads: row 2's load, 43.75 lbs/in shown as 525 lbs/ft, typed as 600.
    cases["table"] = {
        "cantilever_english.kv5d", [](TMainForm& f) { ChooseFromMenu(f, "Da&ta", "DataDist"); },
        [](TMainForm& f) { TypeIntoCell(FormOf(f.Tables().DistLoad.get()), 1, 1, "600"); },
        // The table holds what it shows (lbs/ft); the file and the engine get lbs/in.
        [](TMainForm& f) { return f.Tables().DistLoad->Cell(1, 1).AsFloat(); }, 600.0L, "600",
        [](TMainForm& f) { return CellText(f.Tables().DistLoad.get(), 1, 1); },
        "0.180E+03           0.500E+02"};
    // Soil layer 1 (sand): its parameter table's friction angle at the top, typed as 36.
    cases["parameters"] = {"sand_cantilever_py_english.kv5d",
                           [](TMainForm& f) {
                               ChooseFromMenu(f, "Da&ta", "DataSoil");
                               FormOf(f.Tables().NewSoil.get())->FlexButton(2, 0)->click();
                           },
                           [](TMainForm& f) { TypeIntoCell(FormOf(SandTable(f)), 0, 1, "36"); },
                           [](TMainForm& f) { return SandTable(f)->Cell(1, 0).AsFloat(); },
                           36.0L,
                           "36",
                           [](TMainForm& f) { return CellText(SandTable(f), 0, 1); },
                           "180.0        0.0  36.0"};
    // External p-y curve 1 with its chart: the first point's p, typed as 333.
    cases["curve"] = {"cantilever_english.kv5d",
                      [](TMainForm& f) {
                          ChooseFromMenu(f, "Da&ta", "DataExtPY");
                          FormOf(f.Tables().PYCurves2.get())->FlexButton(1, 0)->click();
                      },
                      [](TMainForm& f) { TypeIntoCell(FormOf(CurveTable(f)), 0, 1, "333"); },
                      [](TMainForm& f) { return CurveTable(f)->Cell(1, 0).AsFloat(); },
                      333.0L,
                      "333",
                      [](TMainForm& f) { return CellText(CurveTable(f), 0, 1); },
                      "-0.300E+01           0.333E+03"};
    return cases;
}

bool Near(long double a, long double b) {
    return std::fabs(static_cast<double>(a - b)) <= 1e-6 * std::max(1.0, std::fabs(double(b)));
}

}  // namespace

class OpenWindowsTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;
    int copies_ = 0;

    // A fresh copy of a bundled example in the temporary folder.
    QString Example(const QString& name) {
        const QString target = dir_.filePath(QStringLiteral("c%1_").arg(++copies_) + name);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + name, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    static QByteArray ReadBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The value a case edits as read back from a saved file.
    static long double SavedValue(const TWindowCase& c, const QString& path, int stage = 1) {
        TMainForm reader;
        reader.OpenByPath(path);
        if (stage > 1) reader.SwitchStage(stage);
        return c.Value(reader);
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        TMessageNotifier::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() {
        TMainPrompts::SetCurrent(nullptr);
        TMessageNotifier::SetCurrent(nullptr);
    }
    void init() {
        prompts_.Messages.clear();
        prompts_.Questions.clear();
        prompts_.Answer = TRecordingPrompts::TAnswer::kYes;
        prompts_.OpenPath.clear();
        prompts_.SavePath.clear();
    }

    void pendingEntryReachesFileAndAnalysis_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("action");
        const QStringList actions = {"tool run", "menu run", "ctrl+s", "save button", "file save",
                                     "save as",  "new",      "open",   "stage",       "units",
                                     "option",   "close",    "drop"};
        for (const QString window : {"dialog", "table", "parameters", "curve"}) {
            for (const QString& action : actions) {
                QTest::newRow(qPrintable(window + " / " + action)) << window << action;
            }
        }
    }

    void pendingEntryReachesFileAndAnalysis() {
        QFETCH(QString, window);
        QFETCH(QString, action);
        const TWindowCase c = WindowCases().at(window);
        const QString path = Example(c.Example);
        TDropTarget form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        const long double original = c.Value(form);
        if (action == "stage") {
            // Two stages, both as read; the entry is typed on stage 1.
            form.ApplyStageCount(2);
            QVERIFY(form.SaveProject());
        }
        c.Open(form);
        c.Type(form);
        QCOMPARE(c.Value(form), original);  // still pending: nothing taken yet
        prompts_.Messages.clear();

        QString saved = path;  // where the entry must be found afterwards
        bool analysed = false;
        if (action == "tool run") {
            PressToolButton(form, "SpeedButton4");
            analysed = true;
        } else if (action == "menu run") {
            ChooseFromMenu(form, "&Computation", "CompRun");
            analysed = true;
        } else if (action == "ctrl+s") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        } else if (action == "save button") {
            PressToolButton(form, "ToolSave");
        } else if (action == "file save") {
            ChooseFromMenu(form, "&File", "FileSave");
        } else if (action == "save as") {
            saved = dir_.filePath(QStringLiteral("saved_as_%1.kv5d").arg(++copies_));
            prompts_.SavePath = saved;
            Act(form, "FileSaveAs")->trigger();
        } else if (action == "new" || action == "close") {
            if (action == "new") {
                PressToolButton(form, "ToolNew");
            } else {
                QVERIFY(form.close());
            }
            QCOMPARE(prompts_.Questions, QStringList{kSaveQuestion});
        } else if (action == "open") {
            const QString other = Example(QStringLiteral("tiedback_si.kv5d"));
            const QByteArray other_bytes = ReadBytes(other);
            prompts_.OpenPath = other;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(prompts_.Questions, QStringList{kSaveQuestion});
            QCOMPARE(form.Project().FileName, other);
            // Nothing of the old project reaches the new one.
            QVERIFY(form.SaveProject());
            QCOMPARE(ReadBytes(other), other_bytes);
        } else if (action == "drop") {
            const QString other = Example(QStringLiteral("tiedback_si.kv5d"));
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(other)});
            QDropEvent drop(QPointF(600, 400), Qt::CopyAction, &mime, Qt::LeftButton,
                            Qt::NoModifier);
            form.dropEvent(&drop);
            QCOMPARE(prompts_.Questions, QStringList{kSaveQuestion});
            QCOMPARE(form.Project().FileName, other);
        } else if (action == "stage") {
            PressToolButton(form, "ToolStage2");
            QCOMPARE(form.Project().CurrentStage, 2);
            // The window shows stage 2, which kept the value as read.
            QVERIFY(Near(c.Value(form), original));
            QVERIFY2(c.Shown(form) != c.ShownTyped, qPrintable(c.Shown(form)));
            QVERIFY(form.SaveProject());
            QVERIFY(Near(SavedValue(c, saved, 2), original));
        } else if (action == "units") {
            ChooseFromMenu(form, "&Options", "Unit2");
            QCOMPARE(form.Project().UnitSystem(), 2);
            ChooseFromMenu(form, "&Options", "Unit1");
            QVERIFY(form.SaveProject());
        } else if (action == "option") {
            ChooseFromMenu(form, "&Options", "OptTieback");
            ChooseFromMenu(form, "&Options", "OptTieback");
            QCOMPARE(c.Shown(form), c.ShownTyped);
            QVERIFY(form.SaveProject());
        }
        QVERIFY2(prompts_.Messages.filter("valid").isEmpty(),
                 qPrintable(prompts_.Messages.join('|')));
        const long double read_back = SavedValue(c, saved);
        QVERIFY2(std::fabs(double(read_back - c.Typed)) <= 1e-4 * std::fabs(double(c.Typed)),
                 qPrintable(QString::number(double(read_back))));
        if (analysed) {
            QVERIFY2(prompts_.Messages.contains(kCompleted),
                     qPrintable(prompts_.Messages.join('|')));
            const QByteArray report = ReadBytes(QFileInfo(path).path() + "/" +
                                                QFileInfo(path).completeBaseName() + ".kv5o");
            QVERIFY2(report.contains(c.ReportLine.toLatin1()), qPrintable(c.ReportLine));
        }
    }

    // A refused entry stops the action: nothing saved, analysed or switched.
    void refusedEntryStopsTheAction_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("action");
        for (const QString window : {"dialog", "table"}) {
            for (const QString action : {"tool run", "ctrl+s", "stage", "units", "new"})
                QTest::newRow(qPrintable(window + " / " + action)) << window << action;
        }
    }

    void refusedEntryStopsTheAction() {
        QFETCH(QString, window);
        QFETCH(QString, action);
        const QString path = Example("cantilever_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        if (action == "stage") {
            form.ApplyStageCount(2);
            QVERIFY(form.SaveProject());
        }
        const QByteArray before = ReadBytes(path);
        TDlgProp* prop = nullptr;
        if (window == "dialog") {
            // A valid entry in one box, "abc" in another.
            ChooseFromMenu(form, "Da&ta", "DataWallProp");
            prop = WallProperties(form);
            prop->MaxDeflectionBox()->selectAll();
            QTest::keyClicks(prop->MaxDeflectionBox(), "20");
            prop->FreeHeightBox()->setFocus();
            prop->FreeHeightBox()->selectAll();
            TypeKeys(prop->FreeHeightBox(), "abc");
        } else {
            ChooseFromMenu(form, "Da&ta", "DataDist");
            TypeIntoCell(FormOf(form.Tables().DistLoad.get()), 1, 1, "abc");
        }
        prompts_.Messages.clear();
        if (action == "tool run") PressToolButton(form, "SpeedButton4");
        if (action == "ctrl+s")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        if (action == "stage") PressToolButton(form, "ToolStage2");
        if (action == "units") ChooseFromMenu(form, "&Options", "Unit2");
        if (action == "new") PressToolButton(form, "ToolNew");
        const QString refusal = window == "dialog" ? QStringLiteral("Entry could not be evaluated:")
                                                   : QStringLiteral("abc is not a valid number.");
        QVERIFY2(!prompts_.Messages.filter(refusal).isEmpty(),
                 qPrintable(prompts_.Messages.join('|')));
        QVERIFY(!prompts_.Messages.contains(kCompleted));
        QVERIFY(prompts_.Questions.isEmpty());
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(form.Project().FileName, path);
        QCOMPARE(form.Project().CurrentStage, 1);
        QCOMPARE(form.Project().UnitSystem(), 1);
        if (prop) {
            // The valid entry is still shown and is taken once "abc" is corrected.
            QCOMPARE(prop->MaxDeflectionBox()->text(), QStringLiteral("20"));
            prop->FreeHeightBox()->selectAll();
            QTest::keyClicks(prop->FreeHeightBox(), "12");
            QVERIFY(form.SaveProject());
            QCOMPARE(form.Project().MaxDeflection, 20.0L);
            QCOMPARE(form.Project().FreeHeight, 144.0L);
        }
    }

    // A stage switch shows the new stage in an open load dialog, and a save keeps
    // each stage's own loads.
    void stageSwitchRefreshesTheLoadDialog() {
        const QString path = Example("cantilever_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        form.ApplyStageCount(2);
        form.SwitchStage(2);
        // Stage 2 carries a 1000 lbs load at node 10.
        form.Project().ApplyConcentratedLoads = true;
        TGridTable& loads = *form.Tables().BoundCond;
        loads.SetRowCount(1);
        loads.Cell(1, 0).SetAsInteger(10);
        loads.Cell(2, 0).SetAsInteger(10);
        loads.Cell(3, 0).SetAsFloat(1000.0L);
        form.SwitchStage(1);
        QVERIFY(!form.Project().ApplyConcentratedLoads);
        auto* dialog = qobject_cast<TDlgConLoads*>(
            form.findChild<TDataDialogs*>(QStringLiteral("DataDialogs"))->ShowConcentratedLoads());
        QVERIFY(dialog);
        QVERIFY(!dialog->ApplyBox()->isChecked());
        PressToolButton(form, "ToolStage2");
        QVERIFY(dialog->ApplyBox()->isChecked());  // the dialog shows stage 2
        PressToolButton(form, "ToolSave");
        form.SwitchStage(1);
        form.SwitchStage(2);
        QVERIFY(form.Project().ApplyConcentratedLoads);
        QCOMPARE(form.Tables().BoundCond->Cell(3, 0).AsFloat(), 1000.0L);
        QVERIFY(ReadBytes(path).contains("1000"));
    }

    // Unticking an option in the menu while its dialog is open unticks the dialog,
    // and the save writes the option off.
    void optionToggleRefreshesItsDialog() {
        const QString path = Example("tieback_restraint_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        form.Project().ApplyConcentratedLoads = true;
        form.Tables().BoundCond->Cell(3, 0).SetAsFloat(1000.0L);
        ChooseFromMenu(form, "Da&ta", "DataConcLoads");
        auto* dialog = form.findChild<TDlgConLoads*>();
        QVERIFY(dialog && dialog->ApplyBox()->isChecked());
        ChooseFromMenu(form, "&Options", "OptConcLoads");
        QVERIFY(!form.Project().ApplyConcentratedLoads);
        QVERIFY(!dialog->ApplyBox()->isChecked());
        PressToolButton(form, "ToolSave");
        QVERIFY(!form.Project().ApplyConcentratedLoads);
        TMainForm reader;
        reader.OpenByPath(path);
        QVERIFY(!reader.Project().ApplyConcentratedLoads);
    }

    // A click on the current cell and keys typed at once edit that cell, never
    // another row found by a keyboard search.
    void typingAfterAClickEditsTheClickedCell() {
        const QString path = Example("cantilever_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        ChooseFromMenu(form, "Da&ta", "DataDist");
        TTableForm* table = FormOf(form.Tables().DistLoad.get());
        TGridView* grid = table->Grid();
        grid->setFocus();
        const QModelIndex first = grid->model()->index(0, 0);
        grid->setCurrentIndex(first);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(first).center());
        TypeKeys(grid, "12");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();  // the view commits an Enter on its next turn
        // Depths shown and held in ft: 0, 15 and 30 as read.
        QCOMPARE(form.Tables().DistLoad->Cell(0, 0).AsFloat(), 12.0L);
        QCOMPARE(form.Tables().DistLoad->Cell(0, 1).AsFloat(), 15.0L);
        QCOMPARE(form.Tables().DistLoad->Cell(0, 2).AsFloat(), 30.0L);
        // Typing into a selected cell with no click goes there as well.
        grid->setCurrentIndex(grid->model()->index(2, 0));
        TypeKeys(grid, "1");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();  // the view commits an Enter on its next turn
        QCOMPARE(form.Tables().DistLoad->Cell(0, 2).AsFloat(), 1.0L);
        QCOMPARE(form.Tables().DistLoad->Cell(0, 1).AsFloat(), 15.0L);
    }

    // Dialog boxes show numbers in the grids' format with their start in view,
    // and take back the full value when not typed over.
    void dialogBoxesShowTheNumberFormatFromTheStart() {
        const QString path = Example("sand_cantilever_py_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        form.Project().FreeHeight = 100.0L;          // 8.333... ft
        form.Project().WaterDepthBackfill = 250.0L;  // 20.8333... ft
        ChooseFromMenu(form, "Da&ta", "DataWallConfig");
        auto* csd = form.findChild<TdlgCSD*>();
        QVERIFY(csd);
        QCOMPARE(csd->FreeHeightBox()->text(), QStringLiteral("8.3333333"));
        QCOMPARE(csd->FreeHeightBox()->cursorPosition(), 0);
        QCOMPARE(csd->WaterBackfillBox()->text(), QStringLiteral("20.833333"));
        QVERIFY(form.SaveProject());
        // Shown rounded, held whole: nothing changed by looking.
        QCOMPARE(form.Project().FreeHeight, 100.0L);
        QCOMPARE(form.Project().WaterDepthBackfill, 250.0L);
        // A typed value with more digits is held as typed.
        csd->FreeHeightBox()->setFocus();
        csd->FreeHeightBox()->selectAll();
        TypeKeys(csd->FreeHeightBox(), "12.3456789");
        QTest::keyClick(csd->FreeHeightBox(), Qt::Key_Tab);
        QCOMPARE(csd->FreeHeightBox()->text(), QStringLiteral("12.345679"));
        QVERIFY(form.SaveProject());
        QVERIFY(Near(form.Project().FreeHeight, 12.3456789L * 12.0L));
    }

    // Opening Wall Configuration on out-of-range values tells the user and changes
    // nothing until the user edits.
    void viewingWallConfigurationChangesNothing() {
        const QString path = Example("sand_cantilever_py_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        form.Project().Wa = 1300.0L;
        form.Project().Wp = 150.0L;
        form.Project().BackfillSlope = 50.0L;
        form.Project().SetModified(false);
        prompts_.Messages.clear();
        ChooseFromMenu(form, "Da&ta", "DataWallConfig");
        auto* csd = form.findChild<TdlgCSD*>();
        QVERIFY(csd);
        QCoreApplication::processEvents();
        QCOMPARE(csd->WaBox()->text(), QStringLiteral("1300"));
        QVERIFY2(prompts_.Messages.size() == 1, qPrintable(prompts_.Messages.join('|')));
        QVERIFY(prompts_.Messages[0].contains("1300"));
        QVERIFY(prompts_.Messages[0].contains("at most 1200"));
        QVERIFY(prompts_.Messages[0].contains("50"));
        QVERIFY(form.SaveProject());
        QCOMPARE(form.Project().Wa, 1300.0L);
        QCOMPARE(form.Project().Wp, 150.0L);
        QCOMPARE(form.Project().BackfillSlope, 50.0L);
        QVERIFY(!form.Project().Modified());
        // The user's edit is checked against the limit.
        csd->WaBox()->setFocus();
        csd->WaBox()->selectAll();
        TypeKeys(csd->WaBox(), "1250");
        QTest::keyClick(csd->WaBox(), Qt::Key_Tab);
        QVERIFY(prompts_.Messages.last().contains("less than or equal to 1200"));
        QVERIFY(form.SaveProject());
        QCOMPARE(form.Project().Wa, 1200.0L);
        QCOMPARE(form.Project().Wp, 150.0L);
    }

    // Escape in a dialog box puts back what it held before the typing.
    void escapeRestoresTheBox() {
        const QString path = Example("cantilever_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        ChooseFromMenu(form, "Da&ta", "DataWallProp");
        TDataEdit* box = WallProperties(form)->FreeHeightBox();
        box->setFocus();
        box->selectAll();
        TypeKeys(box, "12");
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(box->text(), QStringLiteral("15"));
        PressToolButton(form, "ToolSave");
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        QVERIFY(!form.Project().Modified() || form.Project().FreeHeight == 180.0L);
    }

    // The title belongs to stage 1: on a later stage the box is read-only and
    // says why; on stage 1 a typed title is saved by Ctrl+S.
    void titleOnLaterStages() {
        const QString path = Example("cantilever_english.kv5d");
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        form.ApplyStageCount(2);
        QVERIFY(form.SaveProject());
        ChooseFromMenu(form, "Da&ta", "DataTitle");
        auto* title = form.findChild<TdlgTitle*>();
        QVERIFY(!title->TitleEdit()->isReadOnly());
        title->TitleEdit()->setFocus();
        title->TitleEdit()->selectAll();
        QTest::keyClicks(title->TitleEdit(), "Pit A");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ReadBytes(path).startsWith("Pit A\r\n"));
        PressToolButton(form, "ToolStage2");
        QVERIFY(title->TitleEdit()->isReadOnly());
        QVERIFY(title->StageNote()->isVisibleTo(title));
        QCOMPARE(title->TitleEdit()->text(), QStringLiteral(" Stage No : 2"));
        PressToolButton(form, "ToolStage1");
        QVERIFY(!title->TitleEdit()->isReadOnly());
        QCOMPARE(title->TitleEdit()->text(), QStringLiteral("Pit A"));
    }

    // A run of a wall without any load asks first; No runs nothing.
    void runWithoutLoadAsksFirst() {
        TMainForm form;
        QVERIFY(!WallCarriesLoad(form.Project()));
        prompts_.SavePath = dir_.filePath(QStringLiteral("noload.kv5d"));
        prompts_.Answer = TRecordingPrompts::TAnswer::kNo;
        Act(form, "CompRun")->trigger();
        QCOMPARE(prompts_.Questions, QStringList{kNoLoadQuestion});
        // Saved as it is (the default project is kept), but not analysed.
        QVERIFY(QFile::exists(prompts_.SavePath));
        QVERIFY(!prompts_.Messages.contains(kCompleted));
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("noload.kv5o"))));
        // A user pressure of 1 lbs/in at one depth is a load, once the user's
        // pressure is the one chosen (the file carries no table otherwise).
        form.Tables().DistLoad->Cell(1, 1).SetAsFloat(1.0L);
        QVERIFY(!WallCarriesLoad(form.Project()));
        form.Project().EarthPressureType = 1;
        QVERIFY(WallCarriesLoad(form.Project()));
        form.Tables().DistLoad->Cell(1, 1).SetAsFloat(0.0L);
        QVERIFY(!WallCarriesLoad(form.Project()));
        form.Project().ApplyConcentratedLoads = true;
        form.Tables().BoundCond->SetRowCount(1);
        form.Tables().BoundCond->Cell(4, 0).SetAsFloat(5.0L);  // a moment
        QVERIFY(WallCarriesLoad(form.Project()));
        form.Project().ApplyConcentratedLoads = false;
        QVERIFY(!WallCarriesLoad(form.Project()));
        form.Project().EarthPressureType = 2;  // generated from the soil layers
        QVERIFY(WallCarriesLoad(form.Project()));
    }
};

QTEST_MAIN(OpenWindowsTest)
#include "open_windows_test.moc"
