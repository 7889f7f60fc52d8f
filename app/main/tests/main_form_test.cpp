// TMainForm on the offscreen platform: menu rules as the menus open, option
// toggles, titles, saving and opening, and analysis runs through the real engine
// library. Prompts are recorded instead of shown.
#include "main/main_form.h"

#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "entry/table_definitions.h"
#include "main/control_file.h"
#include "main/main_prompts.h"
#include "project/program_data.h"

using namespace korvel;

namespace {

class TRecordingPrompts : public TMainPrompts {
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
    QString SaveFileName(QWidget*, const QString& title, const QString&, const QString&) override {
        SaveTitles << title;
        return SavePath;
    }
    QStringList Messages, Questions, SaveTitles;
    TAnswer Answer = TAnswer::kNo;
    QString OpenPath, SavePath;
};

const char* kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

}  // namespace

class TMainFormTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    static QAction* Act(TMainForm& form, const char* name) {
        return form.findChild<QAction*>(QLatin1String(name));
    }
    static QMenu* Menu(TMainForm& form, const QString& title) {
        for (QMenu* menu : form.findChildren<QMenu*>()) {
            if (menu->title() == title) return menu;
        }
        return nullptr;
    }
    // Copies a bundled example into the temporary folder.
    QString Example(const QString& name) {
        const QString target = dir_.filePath(name);
        QFile::remove(target);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + name, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }
    void init() { prompts_ = TRecordingPrompts(); }

    void newProjectHasTitleAndNoResults() {
        TMainForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEL 2015.5.1 - NewWall.kv5d"));
        QVERIFY(form.StatusPanel()->text().isEmpty());
        QVERIFY(!form.StageMenu()->menuAction()->isVisible());
        form.UpdateMenu(Menu(form, "&Graphics"));
        for (const char* name :
             {"GraphpltPY", "GraphpltDef", "GraphpltMom", "GraphpltShear", "GraphpltSoil",
              "GraphpltDMS", "GraphpltLD", "GraphPltCombine", "GraphExport"}) {
            QVERIFY2(!Act(form, name)->isEnabled(), name);
        }
        for (int i = 0; i < 8; ++i) {
            if (QAction* tool = form.findChild<QAction*>(QStringLiteral("Tool%1").arg(i)))
                QVERIFY(!tool->isEnabled());
        }
        QCOMPARE(Act(form, "FileNew")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(Act(form, "OptTieback")->text(), QStringLiteral("Apply Tieback (Ground  Anchor)"));
    }

    void threeStageProjectEnablesStagesOneToThree() {
        TMainForm form;
        form.Project().StageCount = 3;
        form.UpdateMenu(form.StageMenu());
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(form.findChild<QAction*>(QStringLiteral("Stage%1").arg(n))->isEnabled(),
                     n <= 3);
        }
        form.RefreshStageButtons();
        QVERIFY(form.findChild<QAction*>("ToolStage3")->isEnabled());
        QVERIFY(!form.findChild<QAction*>("ToolStage4")->isEnabled());
        form.SwitchStage(2);
        QCOMPARE(form.StatusPanel()->text(), QStringLiteral("Construction Stage Number: 2"));
    }

    void longTermSwapsTheSoilMenus() {
        TMainForm form;
        QVERIFY(Act(form, "DataSoil")->isVisible());
        QVERIFY(!Act(form, "DataSoilMenu")->isVisible());
        Act(form, "OptLongTerm")->trigger();
        QVERIFY(form.Project().LongTermAnalysis);
        QVERIFY(!Act(form, "DataSoil")->isVisible());
        QVERIFY(Act(form, "DataSoilMenu")->isVisible());
        QVERIFY(Act(form, "DataDistMenu")->isVisible());
        QVERIFY(!Act(form, "OptStaged")->isEnabled());
        form.UpdateMenu(Menu(form, "&Options"));
        QVERIFY(Act(form, "OptLongTerm")->isChecked());
        QCOMPARE(form.Project().LongTermMarker, 9);
    }

    void switchingAnOptionOffClosesItsTable() {
        TMainForm form;
        Act(form, "OptConcLoads")->trigger();
        QVERIFY(form.Project().ApplyConcentratedLoads);
        form.OpenTable(*form.Tables().BoundCond);
        QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
        Act(form, "OptConcLoads")->trigger();
        QVERIFY(!form.Project().ApplyConcentratedLoads);
        QCoreApplication::processEvents();
        QCOMPARE(form.MdiArea()->subWindowList().size(), 0);
        QVERIFY(form.Project().Modified());
    }

    void windowMenuBringsTheFirstOfTwoEqualCaptions() {
        TMainForm form;
        form.show();
        QWidget* first = new QWidget;
        first->setWindowTitle("Same");
        QWidget* second = new QWidget;
        second->setWindowTitle("Same");
        form.MdiArea()->addSubWindow(first)->show();
        form.MdiArea()->addSubWindow(second)->show();
        form.MdiArea()->setActiveSubWindow(form.MdiArea()->subWindowList().at(1));
        form.UpdateMenu(Menu(form, "&Window"));
        Act(form, "WindowItem1")->trigger();
        QCOMPARE(form.MdiArea()->activeSubWindow()->widget(), first);
    }

    void unsavedNewProjectIsNeverRun() {
        TMainForm form;
        prompts_.SavePath.clear();  // the user cancels Save As
        form.CompRunClick();
        QVERIFY(prompts_.Messages.isEmpty());
        QCOMPARE(prompts_.SaveTitles, QStringList{"Save NewWall.kv5d As"});
        QVERIFY(!QFile::exists(TMainForm::RunFolder() + "/names.dat"));
    }

    void runThroughTheEngineLoadsTheGraphs() {
        TMainForm form;
        const QString path = Example("cantilever_english.kv5d");
        QFile::remove(dir_.filePath("cantilever_english.kv5p"));
        form.OpenByPath(path);
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEL 2015.5.1 - Cantilever_english.kv5d"));
        QCOMPARE(
            prompts_.Messages.last(),
            QStringLiteral("Data file: Cantilever_english.kv5d, has been read by KORVEL 2015"));
        QCOMPARE(form.RecentFiles().Slot(0), path);
        QVERIFY(!form.PlotDataLoaded());
        form.OpenTable(*form.Tables().PileSect);

        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QVERIFY(form.PlotDataLoaded());
        QVERIFY(form.MdiArea()->subWindowList().isEmpty());  // children closed after the run
        QVERIFY(!QFile::exists(TMainForm::RunFolder() + "/names.dat"));
        QVERIFY(QFile::exists(dir_.filePath("cantilever_english.kv5o")));

        form.UpdateMenu(Menu(form, "&Graphics"));
        for (const char* name : {"GraphpltDef", "GraphpltMom", "GraphpltShear", "GraphpltSoil",
                                 "GraphpltDMS", "GraphpltLD", "GraphPltCombine"}) {
            QVERIFY2(Act(form, name)->isEnabled(), name);
        }
        form.UpdateMenu(Menu(form, "&Computation"));
        QVERIFY(Act(form, "CompEditOutput")->isEnabled());
        QVERIFY(Act(form, "CompEditNotes")->isEnabled());
        QVERIFY(form.findChild<QAction*>("ToolViewOutput")->isEnabled());
        Act(form, "GraphpltDef")->trigger();
        QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
        QCOMPARE(form.MdiArea()->subWindowList().front()->windowTitle(),
                 QStringLiteral("Deflection vs Depth"));

        // Change an option, save, reopen: the option comes back.
        Act(form, "OptConcLoads")->trigger();
        form.FileSaveClick();
        QVERIFY(!form.Project().Modified());
        form.FileNewClick();
        QVERIFY(!form.PlotDataLoaded());
        form.OpenByPath(path);
        QVERIFY(form.Project().ApplyConcentratedLoads);
        QVERIFY(form.PlotDataLoaded());  // the plot file beside it is read on opening
    }

    void missingLibraryOnlyFailsToInitialise() {
        TMainForm form;
        form.SetEngineLibraryPath(dir_.filePath("libKorvel2015_DLL.so"));
        form.OpenByPath(Example("cantilever_english.kv5d"));
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{"Attempt to initialize DLL failed"});
        QVERIFY(!QFile::exists(TMainForm::RunFolder() + "/names.dat"));
    }

    void saveIntoReadOnlyFolderKeepsTheFile() {
        if (geteuid() == 0) QSKIP("permissions do not bind root");
        TMainForm form;
        QTemporaryDir locked;
        const QString path = locked.filePath("wall.kv5d");
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/cantilever_english.kv5d"), path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QFile original(path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        form.OpenByPath(path);
        QFile(locked.path()).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        prompts_.Messages.clear();
        form.Project().SetModified(true);
        QVERIFY(!form.SaveProject());
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY(form.Project().Modified());
        QFile(locked.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
    }

    void savePromptCancelKeepsTheProject() {
        TMainForm form;
        form.Project().SetModified(true);
        prompts_.Answer = TMainPrompts::TAnswer::kCancel;
        form.FileNewClick();
        QCOMPARE(prompts_.Questions, QStringList{"Do you want to save any changes?"});
        QVERIFY(form.Project().Modified());
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        form.Project().SetModified(false);
    }
};

QTEST_MAIN(TMainFormTest)
#include "main_form_test.moc"
