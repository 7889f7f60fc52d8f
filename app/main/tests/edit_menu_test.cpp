// The Edit menu and the grid tables' block editing in the real main window on
// the offscreen platform: a dialog entry undone and redone and saved, steps of
// another stage, option toggles, and blocks copied, pasted, refused and cleared
// in the soil layers table, each read back from the saved data file.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/dlg_prop.h"
#include "entry/table_definitions.h"
#include "entry/ui/data_edit.h"
#include "entry/ui/message_notifier.h"
#include "entry/ui/table_chart_form.h"
#include "entry/ui/table_chart_view.h"
#include "entry/ui/table_form.h"
#include "entry/ui/table_grid.h"
#include "main/main_form.h"
#include "main/tests/recording_prompts.h"
#include "project/program_data.h"
#include "project/project_history.h"

using namespace korvel;

namespace {

class TRecordingNotifier : public TMessageNotifier {
  public:
    void Information(QWidget*, const QString& text) override { Messages << text; }
    QStringList Messages;
};

QAction* Act(TMainForm& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

QMenu* Menu(TMainForm& form, const QString& title) {
    for (QMenu* menu : form.findChildren<QMenu*>()) {
        if (menu->title() == title) return menu;
    }
    return nullptr;
}

void ChooseFromMenu(TMainForm& form, const QString& menu, const QString& action) {
    form.UpdateMenu(Menu(form, menu));
    Act(form, action)->trigger();
}

// A key with Ctrl where the focus is, as the user presses it.
void PressCtrl(TMainForm& form, Qt::Key key, Qt::KeyboardModifiers more = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    QTest::keyClick(target, key, Qt::ControlModifier | more);
}

void TypeKeys(QWidget* fallback, const QString& text) {
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
        QTest::keyClick(target, c.toLatin1());
    }
}

TTableForm* FormOf(TGridTable* table) {
    return table ? qobject_cast<TTableForm*>(table->Editor()) : nullptr;
}

// The saved file read into a project of its own.
struct TSavedFile {
    explicit TSavedFile(const QString& path) { Complete = project.CreateFromFile(path).Complete; }
    TProgramTables tables;
    TProgramData project{tables};
    bool Complete = false;
};

}  // namespace

class TEditMenuTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    TRecordingNotifier notifier_;
    QTemporaryDir dir_;

    QString Copy(const QString& example, const QString& name) {
        const QString target = dir_.filePath(name);
        QFile::remove(target);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + example, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    // The main window shown with an example open.
    void Open(TMainForm& form, const QString& path) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Shortcuts go to the active window; without a window manager (Xvfb) the
        // test makes it active itself.
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenByPath(path);
        QCOMPARE(form.Project().FileName, path);
    }

    TGridView* SoilGrid(TMainForm& form) {
        ChooseFromMenu(form, "Da&ta", "DataSoil");
        TTableForm* table = FormOf(form.Tables().NewSoil.get());
        return table ? table->Grid() : nullptr;
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        TMessageNotifier::SetCurrent(&notifier_);
    }
    void cleanupTestCase() {
        TMainPrompts::SetCurrent(nullptr);
        TMessageNotifier::SetCurrent(nullptr);
    }
    void init() {
        prompts_ = TRecordingPrompts();
        notifier_.Messages.clear();
    }

    // 15 ft typed as 12 ft in Wall Properties, the dialog closed; Ctrl+Z and Ctrl+S
    // save 180 in, Ctrl+Y and Ctrl+S 144 in.
    void aDialogEntryIsUndoneAndRedoneInTheSavedFile() {
        const QString path = Copy("cantilever_english.kv5d", "wall.kv5d");
        TMainForm form;
        Open(form, path);
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        ChooseFromMenu(form, "Da&ta", "DataWallProp");
        auto* dialog = form.findChild<TDlgProp*>();
        QVERIFY(dialog);
        TDataEdit* box = dialog->FreeHeightBox();
        box->setFocus();
        box->selectAll();
        TypeKeys(box, "12");
        qobject_cast<QMdiSubWindow*>(dialog->parentWidget())->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form.findChild<TDlgProp*>());
        QCOMPARE(form.Project().FreeHeight, 144.0L);

        form.UpdateMenu(Menu(form, "&Edit"));  // the menu opens: it names the step
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo Free Height of Wall"));
        QVERIFY(Act(form, "EditUndo")->isEnabled());
        QVERIFY(!Act(form, "EditRedo")->isEnabled());
        Menu(form, "&Edit")->aboutToHide();

        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        QVERIFY(!form.Project().Modified());
        QCOMPARE(Act(form, "EditRedo")->text(), QStringLiteral("Redo Free Height of Wall"));
        PressCtrl(form, Qt::Key_S);
        QCOMPARE(TSavedFile(path).project.FreeHeight, 180.0L);

        PressCtrl(form, Qt::Key_Y);
        QCOMPARE(form.Project().FreeHeight, 144.0L);
        QVERIFY(form.Project().Modified());
        PressCtrl(form, Qt::Key_S);
        QCOMPARE(TSavedFile(path).project.FreeHeight, 144.0L);
        QVERIFY(!form.Project().Modified());

        // Ctrl+Shift+Z redoes as Ctrl+Y does; the dialog opened again shows the value.
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        QVERIFY(form.Project().Modified());
        PressCtrl(form, Qt::Key_Z, Qt::ShiftModifier);
        QCOMPARE(form.Project().FreeHeight, 144.0L);
        QVERIFY(!form.Project().Modified());
        ChooseFromMenu(form, "Da&ta", "DataWallProp");
        PressCtrl(form, Qt::Key_Y);  // nothing left to redo
        QCOMPARE(form.findChild<TDlgProp*>()->FreeHeightBox()->text(), QStringLiteral("12"));
        form.findChild<TDlgProp*>()->FreeHeightBox()->clearFocus();
        form.setFocus();
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(form.findChild<TDlgProp*>()->FreeHeightBox()->text(), QStringLiteral("15"));

        // A new project, from the menu or the tool bar, starts a fresh history.
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        ChooseFromMenu(form, "&File", "FileNew");
        QVERIFY(!form.History().CanUndo());
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo"));
        ChooseFromMenu(form, "&Options", "OptTieback");
        QVERIFY(form.History().CanUndo());
        Act(form, "ToolNew")->trigger();
        QVERIFY(!form.History().CanUndo());
        ChooseFromMenu(form, "&Options", "OptTieback");
        QCOMPARE(Act(form, "EditUndo")->text(),
                 QStringLiteral("Undo Apply Tieback (Ground Anchor)"));
    }

    void anOptionToggleIsOneStep() {
        const QString path = Copy("cantilever_english.kv5d", "toggle.kv5d");
        TMainForm form;
        Open(form, path);
        const bool before = form.Project().ApplyTiebacks;
        ChooseFromMenu(form, "&Options", "OptTieback");
        QCOMPARE(form.Project().ApplyTiebacks, !before);
        QCOMPARE(Act(form, "EditUndo")->text(),
                 QStringLiteral("Undo Apply Tieback (Ground Anchor)"));
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(form.Project().ApplyTiebacks, before);
        QVERIFY(!form.Project().Modified());

        // A unit switch is a step: undone, the project holds its English values again.
        ChooseFromMenu(form, "&Options", "Unit2");
        QCOMPARE(form.Project().UnitSystem(), 2);
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo SI Units (kN, m)"));
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(form.Project().UnitSystem(), 1);
        form.UpdateMenu(Menu(form, "&Options"));  // the menu shows the units as they are
        QVERIFY(Act(form, "Unit1")->isChecked());
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        QVERIFY(!form.Project().Modified());
        PressCtrl(form, Qt::Key_Y);
        QCOMPARE(form.Project().UnitSystem(), 2);
        QCOMPARE(form.Project().FreeHeight, 180.0L * 0.0254L);
    }

    // Undoing an edit of stage 2 while on stage 3 makes stage 2 current again.
    void aStepOfAnotherStageIsUndoneThere() {
        const QString path = Copy("cantilever_english.kv5d", "staged.kv5d");
        TMainForm form;
        Open(form, path);
        form.ApplyStageCount(3);
        Act(form, "Stage2")->trigger();
        QCOMPARE(form.Project().CurrentStage, 2);
        ChooseFromMenu(form, "Da&ta", "DataWallProp");
        TDataEdit* box = form.findChild<TDlgProp*>()->FreeHeightBox();
        box->setFocus();
        box->selectAll();
        TypeKeys(box, "12");
        Act(form, "Stage3")->trigger();
        QCOMPARE(form.Project().CurrentStage, 3);
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        form.setFocus();

        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(form.Project().CurrentStage, 2);
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        Act(form, "Stage3")->trigger();
        QCOMPARE(form.Project().FreeHeight, 180.0L);
        PressCtrl(form, Qt::Key_Y);
        QCOMPARE(form.Project().CurrentStage, 2);
        QCOMPARE(form.Project().FreeHeight, 144.0L);
        Act(form, "Stage3")->trigger();
        QCOMPARE(form.Project().FreeHeight, 180.0L);
    }

    // A 3x2 block from a text editor pastes into the soil layers (rows added) and
    // is in the saved file; one Ctrl+Z takes the whole paste back.
    void aBlockPastesIntoTheSoilLayers() {
        const QString path = Copy("sand_cantilever_py_english.kv5d", "paste.kv5d");
        TMainForm form;
        Open(form, path);
        TGridTable& soil = *form.Tables().NewSoil;
        const int rows_before = soil.RowCount();
        const QString depth_before = soil.Cell(1, 0).AsString();
        TGridView* grid = SoilGrid(form);
        QVERIFY(grid);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QGuiApplication::clipboard()->setText(QStringLiteral("Sand\t12\n4\t24.5\n1\t40\n"));
        PressCtrl(form, Qt::Key_V);
        QCOMPARE(notifier_.Messages, QStringList());
        QCOMPARE(soil.RowCount(), std::max(3, rows_before));
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("24.5"));
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo Paste in Soil Layers"));
        PressCtrl(form, Qt::Key_S);
        {
            TSavedFile saved(path);
            QVERIFY(saved.Complete);
            TGridTable& read = *saved.tables.NewSoil;
            QCOMPARE(read.RowCount(), std::max(3, rows_before));
            const int types[] = {4, 4, 1};
            const long double depths[] = {12.0L, 24.5L, 40.0L};
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(read.Cell(0, row).AsInteger(), types[row]);
                QCOMPARE(read.Cell(1, row).AsFloat(), depths[row]);
            }
        }

        // The pasted block is selected: Ctrl+C copies it as it is now.
        grid->setFocus();
        PressCtrl(form, Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("4\t12\n4\t24.5\n1\t40\n"));

        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(soil.RowCount(), rows_before);
        QCOMPARE(soil.Cell(1, 0).AsString(), depth_before);

        // Ctrl+V in a cell being typed into: the block goes in from that cell.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 1));
        TypeKeys(grid, "9");
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));  // the cell's editor
        QGuiApplication::clipboard()->setText(QStringLiteral("18\n27\n"));
        PressCtrl(form, Qt::Key_V);
        QCoreApplication::processEvents();
        QCOMPARE(notifier_.Messages, QStringList());
        QCOMPARE(soil.Cell(1, 0).AsFloat(), 18.0L);
        QCOMPARE(soil.Cell(1, 1).AsFloat(), 27.0L);
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo Paste in Soil Layers"));

        // Rows inserted with the button are a step of their own.
        const int rows = soil.RowCount();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        FormOf(&soil)->InsertRowButton()->click();
        QCOMPARE(soil.RowCount(), rows + 1);
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo Insert Row in Soil Layers"));
        grid->setFocus();
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(soil.RowCount(), rows);
        QCOMPARE(soil.Cell(1, 0).AsFloat(), 18.0L);
    }

    // A curve's chart follows a paste and its undo.
    void aCurveChartShowsTheUndoneValues() {
        const QString path = Copy("cantilever_english.kv5d", "curve.kv5d");
        TMainForm form;
        Open(form, path);
        ChooseFromMenu(form, "Da&ta", "DataExtPY");
        FormOf(form.Tables().PYCurves2.get())->FlexButton(1, 0)->click();
        TGridTable* curve = form.Tables().PYCurves2->Cell(1, 0).AsTable();
        auto* curve_form = qobject_cast<TTableChartForm*>(FormOf(curve));
        QVERIFY(curve_form && curve_form->ChartView());
        const double top = curve_form->ChartView()->YMaximum();
        QVERIFY(top < 90000.0);
        TGridView* grid = curve_form->Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QGuiApplication::clipboard()->setText(QStringLiteral("0\t0\n1\t99999\n"));
        PressCtrl(form, Qt::Key_V);
        QCOMPARE(notifier_.Messages, QStringList());
        QVERIFY(curve_form->ChartView()->YMaximum() >= 99999.0);
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(curve_form->ChartView()->YMaximum(), top);
    }

    // A block with "abc" in it is refused with its cell named, and nothing is pasted.
    void aBlockWithAWrongValueIsRefused() {
        const QString path = Copy("sand_cantilever_py_english.kv5d", "refused.kv5d");
        TMainForm form;
        Open(form, path);
        TGridTable& soil = *form.Tables().NewSoil;
        const int rows = soil.RowCount();
        const QString depth = soil.Cell(1, 0).AsString();
        TGridView* grid = SoilGrid(form);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QGuiApplication::clipboard()->setText(QStringLiteral("4\t12\n4\tabc\n1\t40\n"));
        PressCtrl(form, Qt::Key_V);
        QCOMPARE(notifier_.Messages.size(), 1);
        QVERIFY2(
            notifier_.Messages.front().startsWith(
                "Row 2, column Depth at Bottom of the Layer, (ft): \"abc\" cannot be entered."),
            qPrintable(notifier_.Messages.front()));
        QCOMPARE(soil.RowCount(), rows);
        QCOMPARE(soil.Cell(1, 0).AsString(), depth);
        QVERIFY(!form.History().CanUndo());
        QVERIFY(!form.Project().Modified());
    }

    // Shift+arrows select a block; Delete clears it; a typed cell is a step of its own.
    void selectionsAreClearedAndCellEntriesUndone() {
        const QString path = Copy("cantilever_english.kv5d", "cells.kv5d");
        TMainForm form;
        Open(form, path);
        ChooseFromMenu(form, "Da&ta", "DataDist");
        TGridTable& loads = *form.Tables().DistLoad;
        TGridView* grid = FormOf(&loads)->Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
        int top = -1, bottom = -1, left = -1, right = -1;
        QVERIFY(grid->SelectedBlock(top, bottom, left, right));
        QCOMPARE(QList<int>({top, bottom, left, right}), QList<int>({0, 1, 0, 1}));
        const QString second_load = loads.Cell(1, 1).AsString();
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(loads.Cell(1, 1).AsFloat(), 0.0L);
        QCOMPARE(loads.Cell(0, 0).AsFloat(), 0.0L);
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo Clear in ") + loads.Caption());

        grid->setCurrentIndex(grid->model()->index(1, 1));
        TypeKeys(grid, "600");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();  // the cell is committed once the key is done
        QCOMPARE(loads.Cell(1, 1).AsFloat(), 600.0L);
        QCOMPARE(Act(form, "EditUndo")->text(), QStringLiteral("Undo Entry in ") + loads.Caption());
        grid->setFocus();
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(loads.Cell(1, 1).AsFloat(), 0.0L);
        PressCtrl(form, Qt::Key_Z);
        QCOMPARE(loads.Cell(1, 1).AsString(), second_load);
        QCOMPARE(grid->model()->index(1, 1).data().toString(), second_load);
        QVERIFY(!form.Project().Modified());
    }
};

QTEST_MAIN(TEditMenuTest)
#include "edit_menu_test.moc"
