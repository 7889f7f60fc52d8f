// The main window as a user meets it on a real X server without a window manager
// (the 3D view needs OpenGL): every child window at the size it has as its menu
// or button opens it, every tool button right after a run started from the tool
// bar (no menu opened in between), Window › Cascade, restoring a graph, and the
// built-in help. With KORVEL_SHOT_DIR set, the screen is saved there as each
// window opens (the windows are never resized by the test).
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/ui/child_window.h"
#include "entry/ui/dialog_folder.h"
#include "entry/ui/table_form.h"
#include "entry/ui/table_grid.h"
#include "main/about_text.h"
#include "main/help_window.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/tests/recording_prompts.h"
#include "views/dlg_block.h"
#include "views/dlg_deformed_shape.h"
#include "views/view_state.h"

using namespace korvel;

namespace {

const char* kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

}  // namespace

class TWindowUseTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    static QAction* Act(TMainForm& form, const QString& name) {
        return form.findChild<QAction*>(name);
    }
    static QMdiSubWindow* ChildShowing(TMainForm& form, const QString& content_name) {
        for (QMdiSubWindow* w : form.MdiArea()->subWindowList()) {
            if (w->widget() && w->widget()->objectName() == content_name && w->isVisible())
                return w;
        }
        return nullptr;
    }
    static QMdiSubWindow* ChildTitled(TMainForm& form, const QString& title) {
        for (QMdiSubWindow* w : form.MdiArea()->subWindowList()) {
            if (w->windowTitle().trimmed() == title && w->isVisible()) return w;
        }
        return nullptr;
    }
    // The window as opened: at least what its content needs, and for the views
    // and graphs at least half the MDI area each way (they open at 70 %).
    static void CheckUsable(TMainForm& form, QMdiSubWindow* window, bool share) {
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        const QSize size = window->size();
        const QSize needs = ChildWindowNeeds(window);
        const QSize area = form.MdiArea()->viewport()->size();
        QVERIFY2(size.width() >= needs.width() && size.height() >= needs.height(),
                 qPrintable(QStringLiteral("%1: %2x%3, needs %4x%5")
                                .arg(window->windowTitle())
                                .arg(size.width())
                                .arg(size.height())
                                .arg(needs.width())
                                .arg(needs.height())));
        if (share) {
            QVERIFY2(size.width() >= area.width() / 2 && size.height() >= area.height() / 2,
                     qPrintable(QStringLiteral("%1: %2x%3 in an area of %4x%5")
                                    .arg(window->windowTitle())
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(area.width())
                                    .arg(area.height())));
        }
        // Every part of the window lies inside the area: nothing is cut off.
        QVERIFY2(window->geometry().right() < area.width() &&
                     window->geometry().bottom() < area.height(),
                 qPrintable(QStringLiteral("%1: at %2,%3 size %4x%5 in an area of %6x%7")
                                .arg(window->windowTitle())
                                .arg(window->x())
                                .arg(window->y())
                                .arg(size.width())
                                .arg(size.height())
                                .arg(area.width())
                                .arg(area.height())));
    }
    static void Shot(const QString& name) {
        const QString folder = qEnvironmentVariable("KORVEL_SHOT_DIR");
        if (folder.isEmpty()) return;
        QTest::qWait(300);  // painted, GL frames included
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + name +
                                                             QStringLiteral(".png"));
    }
    QString Example(const QString& name) {
        const QString target = dir_.filePath(name);
        QFile::remove(target);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + name, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    // An editor that writes the file it was asked to open into editor.txt.
    QString RecordingEditor() {
        const QString script = dir_.filePath(QStringLiteral("editor.sh"));
        QFile file(script);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write("#!/bin/sh\nprintf '%s' \"$1\" > \"" +
                       dir_.filePath(QStringLiteral("editor.txt")).toUtf8() + "\"\n");
        }
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script;
    }

    static void Type(QWidget* dialog, const char* box_name, const char* text) {
        auto* box = dialog->findChild<QLineEdit*>(QLatin1String(box_name));
        QVERIFY2(box, box_name);
        box->selectAll();
        QTest::keyClicks(box, QLatin1String(text));
    }
    static void TypeIntoCell(TTableForm& form, int row, int column, const QString& text) {
        TGridView* grid = form.Grid();
        const QModelIndex index = grid->model()->index(row, column);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    static QStringList Lines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }
    void init() { prompts_ = TRecordingPrompts(); }

    void toolButtonsActRightAfterAToolBarRun() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString data = Example(QStringLiteral("sand_cantilever_py_english.kv5d"));
        form.OpenByPath(data);
        form.SetTextEditorPath(RecordingEditor());
        // The menus were looked at before there were results: their items are
        // greyed now, and stay so until a menu opens again.
        for (QMenu* menu : form.findChildren<QMenu*>()) {
            if (menu->title() == QLatin1String("&Computation") ||
                menu->title() == QLatin1String("Da&ta"))
                form.UpdateMenu(menu);
        }
        QVERIFY(!Act(form, "CompViewGeometry")->isEnabled());
        Act(form, "SpeedButton4")->trigger();
        QVERIFY2(prompts_.Messages.contains(QLatin1String(kCompleted)),
                 qPrintable(prompts_.Messages.join('\n')));
        Shot(QStringLiteral("01_after_run"));
        // The run worked in its own folder; file dialogs start beside the data file.
        const QString folder = QFileInfo(data).absolutePath();
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(DialogStartFolder(), folder);

        // "Profile": the side view, at its opening size.
        Act(form, "ToolSideView")->trigger();
        CheckUsable(form, ChildShowing(form, "DlgSideView"), true);
        Shot(QStringLiteral("02_side_view"));

        // "3D" and its tools.
        Act(form, "Tool3DView")->trigger();
        CheckUsable(form, ChildShowing(form, "DlgBlock"), true);
        Shot(QStringLiteral("03_3d_view"));
        auto* view = qobject_cast<TDlgBlock*>(ChildShowing(form, "DlgBlock")->widget());
        QVERIFY(view);
        Act(form, "Tool3D3")->trigger();  // Rotating
        QCOMPARE(view->View().Mode, TMouseMode::kRotating);
        Act(form, "Tool3D0")->trigger();  // Panning
        QCOMPARE(view->View().Mode, TMouseMode::kPanning);
        Act(form, "Tool3D4")->trigger();  // Zoom In
        QVERIFY(view->View().Zoom > 1.0);
        Act(form, "Tool3D6")->trigger();  // Restart View
        QCOMPARE(view->View().Zoom, 1.0);
        Act(form, "Tool3D5")->trigger();  // Zoom Out
        QVERIFY(view->View().Zoom < 1.0);
        QVERIFY(Act(form, "Tool3D7")->isEnabled());
        Act(form, "Tool3D7")->trigger();  // Deformed Shape
        TDlgDeformedShape* deformed = view->DeformedShapeDialog();
        QVERIFY(deformed && deformed->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(deformed));
        QVERIFY(deformed->width() >= deformed->minimumSizeHint().width());
        QVERIFY(deformed->height() >= deformed->minimumSizeHint().height());
        Shot(QStringLiteral("04_deformed_shape"));
        deformed->close();

        // The data buttons.
        const std::pair<const char*, const char*> data_buttons[] = {
            {"ToolTitle", "Project Title"},
            {"ToolWallProp", "Wall Properties"},
            {"ToolWallConfig", "Wall Configuration"},
            {"ToolSoil", "Soil Layers"}};
        for (const auto& [button, title] : data_buttons) {
            Act(form, QLatin1String(button))->trigger();
            CheckUsable(form, ChildTitled(form, QLatin1String(title)), false);
        }

        // The result buttons: each graph opens maximised; restored, it keeps a usable size.
        for (int i = 0; i < 8; ++i) {
            QAction* tool = Act(form, QStringLiteral("Tool%1").arg(i));
            if (!tool || !tool->isVisible()) continue;
            QVERIFY2(tool->isEnabled(), qPrintable(tool->toolTip()));
            tool->trigger();
            QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
            QVERIFY(window && window->widget()->objectName() == QLatin1String("PlotForm"));
            QVERIFY(window->isMaximized());
            if (window->windowTitle() == QLatin1String("Deflection vs Depth"))
                Shot(QStringLiteral("05_deflection_graph"));
            window->showNormal();
            CheckUsable(form, window, true);
        }
        Shot(QStringLiteral("06_restored_graphs"));

        // Window › Cascade: every window keeps a usable size.
        Act(form, "WindowCascade")->trigger();
        for (QMdiSubWindow* window : form.MdiArea()->subWindowList()) {
            if (window->isVisible()) CheckUsable(form, window, false);
        }
        // Each window lies over the one cascaded above it, so every title bar
        // shows, and the front one is the active one, ticked in the Window list.
        QList<QMdiSubWindow*> stacked;
        for (QMdiSubWindow* w : form.MdiArea()->subWindowList(QMdiArea::StackingOrder))
            if (w->isVisible() && !w->isMinimized()) stacked << w;
        QVERIFY(stacked.size() >= 2);
        for (qsizetype i = 1; i < stacked.size(); ++i)
            QVERIFY(stacked[i]->y() >= stacked[i - 1]->y());
        QCOMPARE(form.MdiArea()->activeSubWindow(), stacked.back());
        for (QMenu* menu : form.findChildren<QMenu*>())
            if (menu->title() == QLatin1String("&Window")) form.UpdateMenu(menu);
        const QList<QMdiSubWindow*> listed = form.MdiArea()->subWindowList();
        for (qsizetype i = 0; i < listed.size(); ++i) {
            QAction* item = Act(form, QStringLiteral("WindowItem%1").arg(i));
            QCOMPARE(item->isChecked(), listed[i] == stacked.back());
        }
        Shot(QStringLiteral("07_cascade"));

        // "Output" starts the editor on the output report.
        QFile::remove(dir_.filePath(QStringLiteral("editor.txt")));
        Act(form, "ToolViewOutput")->trigger();
        QTRY_VERIFY(QFile::exists(dir_.filePath(QStringLiteral("editor.txt"))));
        const QString report =
            QFileInfo(data).absolutePath() + QStringLiteral("/sand_cantilever_py_english.kv5o");
        QTRY_COMPARE(Lines(dir_.filePath(QStringLiteral("editor.txt"))).join(QString()), report);

        // "Stages" opens the staged-construction options (closed again here).
        QString staged_title;
        QTimer::singleShot(100, [&staged_title] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                staged_title = modal->windowTitle();
                modal->close();
            }
        });
        Act(form, "ToolStageOption")->trigger();
        QCOMPARE(staged_title, QStringLiteral("Staged Construction Options"));

        // "Save" writes the data file again; "New" starts a new project.
        QFile::remove(data);
        Act(form, "ToolSave")->trigger();
        QVERIFY(QFile::exists(data));
        Act(form, "ToolNew")->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEL 2015.5.1 - NewWall.kv5d"));
        QTRY_VERIFY(form.MdiArea()->subWindowList().isEmpty());
    }

    // "Getting started" of the user guide, step by step through the windows the
    // guide names, gives the data file of the bundled example (title aside) and
    // the same results.
    void gettingStartedBuildsTheBundledWall() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QMenu* options = nullptr;
        QMenu* file = nullptr;
        for (QMenu* menu : form.findChildren<QMenu*>()) {
            if (menu->title() == QLatin1String("&Options")) options = menu;
            if (menu->title() == QLatin1String("&File")) file = menu;
        }
        QVERIFY(options && file);
        // Step 2: the options.
        form.UpdateMenu(options);
        QVERIFY(Act(form, "Unit1")->isChecked());
        QVERIFY(Act(form, "OptPYGen")->isChecked());
        Act(form, "Pressure2")->trigger();
        // Step 3: the title.
        Act(form, "ToolTitle")->trigger();
        auto* title = form.findChild<QLineEdit*>(QStringLiteral("TitleEdit"));
        QVERIFY(title);
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("Cantilever sheet-pile wall in sand"));
        // Step 4: the wall, then its stiffness table.
        Act(form, "ToolWallProp")->trigger();
        const std::pair<const char*, const char*> wall[] = {{"Increments", "60"},
                                                            {"IncrementLength", "6"},
                                                            {"FreeHeight", "15"},
                                                            {"MaxDeflection", "10"},
                                                            {"ClosureTolerance", "0.00001"}};
        QWidget* prop = ChildTitled(form, QStringLiteral("Wall Properties"))->widget();
        for (const auto& [name, text] : wall) Type(prop, name, text);
        QTest::mouseClick(prop->findChild<QPushButton*>(QStringLiteral("SectionButton")),
                          Qt::LeftButton);
        auto* stiffness = qobject_cast<TTableForm*>(
            ChildTitled(form, QStringLiteral("Wall Stiffness"))->widget());
        QVERIFY(stiffness);
        TypeIntoCell(*stiffness, 0, 0, QStringLiteral("0"));
        TypeIntoCell(*stiffness, 0, 1, QStringLiteral("60"));
        TypeIntoCell(*stiffness, 0, 3, QStringLiteral("5.336E9"));
        // Step 5: the wall configuration.
        Act(form, "ToolWallConfig")->trigger();
        QWidget* csd = ChildTitled(form, QStringLiteral("Wall Configuration"))->widget();
        const std::pair<const char*, const char*> config[] = {
            {"FreeHeight", "15"},           {"Wa", "12"},
            {"WaterDepthBackfill", "50"},   {"Wp", "12"},
            {"WaterDepthExcavation", "50"}, {"ActivePressureFactor", "1"},
            {"BackfillSlope", "0"},         {"UniformSurcharge", "0"}};
        for (const auto& [name, text] : config) Type(csd, name, text);
        // Step 6: the soil layer and its parameters.
        Act(form, "ToolSoil")->trigger();
        auto* soils =
            qobject_cast<TTableForm*>(ChildTitled(form, QStringLiteral("Soil Layers"))->widget());
        QVERIFY(soils);
        QComboBox* type = soils->ChoiceBox(0, 0);
        type->setCurrentIndex(3);
        Q_EMIT type->activated(3);  // Sand
        TypeIntoCell(*soils, 0, 1, QStringLiteral("40"));
        QTest::mouseClick(soils->FlexButton(2, 0), Qt::LeftButton);
        auto* sand =
            qobject_cast<TTableForm*>(form.Tables().NewSoil->Cell(2, 0).AsTable()->Editor());
        QVERIFY(sand);
        for (int row = 0; row < 2; ++row) {
            TypeIntoCell(*sand, row, 0, QStringLiteral("115"));
            TypeIntoCell(*sand, row, 1, QStringLiteral("32"));
            TypeIntoCell(*sand, row, 2, QStringLiteral("90"));
        }
        Shot(QStringLiteral("09_getting_started_input"));
        // Step 7: save as and run.
        const QString path = dir_.filePath(QStringLiteral("sand_wall.kv5d"));
        prompts_.SavePath = path;
        form.UpdateMenu(file);
        Act(form, "FileSaveAs")->trigger();
        QVERIFY(QFile::exists(path));
        Act(form, "SpeedButton4")->trigger();
        QVERIFY2(prompts_.Messages.contains(QLatin1String(kCompleted)),
                 qPrintable(prompts_.Messages.join('\n')));
        // The bundled example, title aside, and its results.
        QStringList mine = Lines(path);
        QStringList bundled =
            Lines(QStringLiteral(KORVEL_EXAMPLES_DIR "/sand_cantilever_py_english.kv5d"));
        QVERIFY(!mine.isEmpty() && !bundled.isEmpty());
        mine.removeFirst();
        bundled.removeFirst();
        QCOMPARE(mine, bundled);
        const QString example = Example(QStringLiteral("sand_cantilever_py_english.kv5d"));
        form.OpenByPath(example);
        Act(form, "SpeedButton4")->trigger();
        QCOMPARE(Lines(dir_.filePath(QStringLiteral("sand_wall.kv5p"))),
                 Lines(dir_.filePath(QStringLiteral("sand_cantilever_py_english.kv5p"))));
    }

    void childWindowsReopenAtTheSizeTheyWereLeft() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Act(form, "ToolSideView")->trigger();
        QMdiSubWindow* side = ChildShowing(form, "DlgSideView");
        CheckUsable(form, side, true);
        side->resize(500, 420);
        const QPointer<QMdiSubWindow> closing = side;
        side->close();
        QTRY_VERIFY(!closing);  // gone, as before any later click of the user
        Act(form, "ToolSideView")->trigger();
        QCOMPARE(ChildShowing(form, "DlgSideView")->size(), QSize(500, 420));
    }

    void helpContentsShowsTheUserGuideOffline() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Act(form, "HelpContents")->trigger();
        QMdiSubWindow* window = ChildShowing(form, "HelpWindow");
        CheckUsable(form, window, true);
        auto* help = qobject_cast<THelpWindow*>(window->widget());
        QVERIFY(help);
        const QString text = help->Browser()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Getting started")));
        QVERIFY(text.contains(QStringLiteral("Step 7: save and run")));
        Shot(QStringLiteral("08_help_contents"));
        Act(form, "HelpTech")->trigger();
        QCOMPARE(form.MdiArea()->subWindowList().size(), 1);  // the same window
        QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("Limits of the method")));
        Act(form, "HelpUser")->trigger();
        QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("Getting started")));
        // About names the version and the libraries' licences.
        const QString about = AboutText(QStringLiteral("6.4.2"));
        for (const char* part : {"2015.5.1", "GPL-3.0-or-later", "Qt 6.4.2", "GNU LGPL version 3",
                                 "libxlsxwriter", "BSD 2-Clause"}) {
            QVERIFY2(about.contains(QLatin1String(part)), part);
        }
        QVERIFY(prompts_.Messages.isEmpty());
    }

    void childWindowSizeRules_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("needed");
        QTest::addColumn<QSize>("last");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("first opening: 70 % of the area")
            << QSize(1000, 800) << QSize(400, 300) << QSize() << QSize(700, 560);
        QTest::newRow("the size it was left at")
            << QSize(1000, 800) << QSize(400, 300) << QSize(500, 420) << QSize(500, 420);
        QTest::newRow("never below the content")
            << QSize(1000, 800) << QSize(400, 300) << QSize(120, 25) << QSize(400, 300);
        QTest::newRow("a small area: 70 % is too small")
            << QSize(500, 400) << QSize(400, 300) << QSize() << QSize(400, 300);
        QTest::newRow("never beyond the area")
            << QSize(1000, 800) << QSize(400, 300) << QSize(1600, 1200) << QSize(1000, 800);
        QTest::newRow("an area smaller than the content")
            << QSize(300, 200) << QSize(400, 300) << QSize() << QSize(400, 300);
    }
    void childWindowSizeRules() {
        QFETCH(QSize, area);
        QFETCH(QSize, needed);
        QFETCH(QSize, last);
        QFETCH(QSize, expected);
        QCOMPARE(ChildWindowSize(area, needed, last), expected);
    }
};

QTEST_MAIN(TWindowUseTest)
#include "window_use_test.moc"
