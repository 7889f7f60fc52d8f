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
#include "graphs/graph_plot.h"
#include "graphs/graph_windows.h"
#include "graphs/plot_form.h"
#include "main/control_file.h"
#include "main/main_prompts.h"
#include "main/tests/recording_prompts.h"
#include "project/program_data.h"
#include "project/wall_length.h"

using namespace korvel;

namespace {

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

    QString WriteBytes(const QString& name, const QByteArray& bytes) {
        const QString target = dir_.filePath(name);
        QFile file(target);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return target;
        file.write(bytes);
        return target;
    }
    static QByteArray ReadBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        // As the staged options' OK sets it: every stage gets its file.
        form.ApplyStageCount(3);
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
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEL 2015.5.1 - cantilever_english.kv5d"));
        QCOMPARE(
            prompts_.Messages.last(),
            QStringLiteral("Data file: cantilever_english.kv5d, has been read by KORVEL 2015"));
        QCOMPARE(form.RecentFiles().Slot(0), path);
        QVERIFY(!form.PlotDataLoaded());
        form.OpenTable(*form.Tables().PileSect);

        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QVERIFY(form.PlotDataLoaded());
        // The table the user left open is open after the run.
        QCOMPARE(form.MdiArea()->subWindowList().size(), 1);
        form.MdiArea()->closeAllSubWindows();
        QCoreApplication::processEvents();
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

    // A graph left open across a run shows the new results in the same window;
    // Save As keeps every window; a new project closes them all.
    void graphLeftOpenAcrossARunShowsTheNewResults() {
        TMainForm form;
        form.resize(1200, 860);
        form.show();
        const QString path = Example("cantilever_english.kv5d");
        form.OpenByPath(path);
        form.CompRunClick();
        QVERIFY(form.PlotDataLoaded());
        Act(form, "GraphpltDef")->trigger();
        QMdiSubWindow* sub = form.MdiArea()->activeSubWindow();
        QVERIFY(sub);
        auto* before = qobject_cast<TPlotForm*>(sub->widget());
        QVERIFY(before);
        // 60 increments of 6 in: nodes 0 to 61 down to 30.5 ft.
        QCOMPARE(before->Graph().Lines.PointCount(), 62);
        QCOMPARE(static_cast<double>(before->Graph().Lines.Point(0, 61).Y), 30.5);
        // A new window's depth axis ends at the toe, not one increment below it.
        QCOMPARE(static_cast<double>(before->CurrentRanges()[0].Y.Max), 30.0);
        form.OpenTable(*form.Tables().PileSect);
        QCOMPARE(form.MdiArea()->subWindowList().size(), 2);

        // A shorter wall, run again: the same window draws 50 increments.
        SetWallLength(form.Project(), 300, 300);
        QCOMPARE(form.Project().Increments, 50);
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages.last(), QString(kCompleted));
        QCOMPARE(form.MdiArea()->subWindowList().size(), 2);
        QVERIFY(form.MdiArea()->subWindowList().contains(sub));
        auto* after = qobject_cast<TPlotForm*>(sub->widget());
        QVERIFY(after);
        QCOMPARE(sub->windowTitle(), QStringLiteral("Deflection vs Depth"));
        QVERIFY(sub->isMaximized());
        QCOMPARE(after->Graph().Lines.PointCount(), 52);
        QCOMPARE(static_cast<double>(after->Graph().Lines.Point(0, 51).Y), 25.5);
        // The window's depth axis follows: no deeper than the new wall's rounded range.
        QVERIFY(after->FullRanges()[0].Y.Max < 30.5);
        // and, redrawn, it ends at the new toe as a new window of it would.
        QCOMPARE(static_cast<double>(after->CurrentRanges()[0].Y.Max), 25.0);

        // Save As keeps the windows open.
        prompts_.SavePath = dir_.filePath("renamed.kv5d");
        QVERIFY(form.SaveAsProject());
        QCOMPARE(form.MdiArea()->subWindowList().size(), 2);
        QVERIFY(form.windowTitle().startsWith("KORVEL 2015.5.1 - renamed.kv5d"));

        // A new project has no results: every window goes.
        form.FileNewClick();
        QCoreApplication::processEvents();
        QVERIFY(form.MdiArea()->subWindowList().isEmpty());
    }

    // "Earth Pressure Combined" shows soils, water and surcharges each as what
    // they are: no surcharge curve without surcharges; the water is hydrostatic
    // above the excavation (sand, water 1 m down behind the wall); a uniform
    // surcharge q gives q Ka on the sand (Rankine, phi 30: Ka = 1/3), times the
    // 2 m width, in the graph left open across the run.
    void combinedPressureShowsEachPartAsWhatItIs() {
        TMainForm form;
        form.show();
        form.OpenByPath(Example("silt_soldier_piles_si.kv5d"));
        form.Project().WaterDepthBackfill = 1;
        form.Project().WaterDepthExcavation = 4;
        form.Project().UniformSurcharge = 0;
        form.Project().SetModified(true);
        form.CompRunClick();
        QVERIFY(form.PlotDataLoaded());
        auto& windows = dynamic_cast<TGraphWindows&>(form.Graphs());
        const TCurveList& lines = windows.Graph(TGraphKind::kCombine).Lines;
        QCOMPARE(lines.CurveCount(), 3);
        QCOMPARE(lines.Curve(1).Name, QStringLiteral("from Soils "));
        QCOMPARE(lines.Curve(2).Name, QStringLiteral("from Water"));
        int checked = 0;
        for (int r = 0; r < lines.PointCount(); ++r) {
            const double z = static_cast<double>(lines.Point(0, r).Y);
            const double total = static_cast<double>(lines.Point(0, r).X);
            const double soils = static_cast<double>(lines.Point(1, r).X);
            const double water = static_cast<double>(lines.Point(2, r).X);
            QVERIFY(std::abs(total - soils - water) < 1e-9);
            if (z > 1.0 && z < 3.0) {
                QVERIFY2(std::abs(water - 9.81 * (z - 1.0) * 2.0) < 1e-4,
                         qPrintable(QString::number(z)));
                ++checked;
            }
            if (z < 1.0) QCOMPARE(water, 0.0);
        }
        QVERIFY(checked >= 3);

        Act(form, "GraphPltCombine")->trigger();
        QMdiSubWindow* sub = form.MdiArea()->activeSubWindow();
        QVERIFY(qobject_cast<TPlotForm*>(sub->widget()));
        form.Project().UniformSurcharge = 10;  // kPa
        form.Project().SetModified(true);
        form.CompRunClick();
        QVERIFY(form.MdiArea()->subWindowList().contains(sub));
        auto* shown = qobject_cast<TPlotForm*>(sub->widget());
        QVERIFY(shown);
        const TCurveList& now = shown->Graph().Lines;
        QCOMPARE(now.CurveCount(), 4);
        QCOMPARE(now.Curve(3).Name, QStringLiteral("from Surcharge Loads"));
        checked = 0;
        for (int r = 0; r < now.PointCount(); ++r) {
            const double z = static_cast<double>(now.Point(0, r).Y);
            const double loads = static_cast<double>(now.Point(3, r).X);
            // Above the excavation times Wa = 2 m; in the sand below it (to 4 m,
            // under water on both sides) times Wp = 0.6 m, no water head in it.
            const double width = z > 0.0 && z < 3.0 ? 2.0 : z > 3.0 && z < 4.0 ? 0.6 : 0.0;
            if (width == 0.0) continue;
            // The file holds three digits: 13.8 for the 13.77 the column sums below H.
            QVERIFY2(std::abs(loads - 10.0 / 3.0 * width) < 0.06,
                     qPrintable(QStringLiteral("%1: %2").arg(z).arg(loads)));
            ++checked;
        }
        QVERIFY(checked >= 6);
    }

    // Opened from the command line, the file is a recent file like one opened from the menu.
    void fileFromTheCommandLineIsARecentFile() {
        TMainForm form;
        const QString path = Example("tiedback_si.kv5d");
        form.Startup(path);
        QCOMPARE(form.Project().FileName, path);
        QCOMPARE(form.RecentFiles().Slot(0), path);
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

    // Bad input: each case tells the user, leaves the files as they were and
    // keeps the program usable.
    void truncatedDataFileIsReportedAndLeftIntact() {
        TMainForm form;
        const QByteArray whole =
            ReadBytes(QStringLiteral(KORVEL_EXAMPLES_DIR "/cantilever_english.kv5d"));
        const QByteArray cut = whole.left(whole.size() / 2);
        const QString path = WriteBytes("cut.kv5d", cut);
        form.OpenByPath(path);
        QCOMPARE(prompts_.Messages,
                 (QStringList{"This file either invalid or incomplete.",
                              "Data file: cut.kv5d, has been read by KORVEL 2015"}));
        QVERIFY(!form.Project().Modified());
        QVERIFY(!form.PlotDataLoaded());
        QCOMPARE(ReadBytes(path), cut);
        // The program goes on: a new project and a good file open as usual.
        form.FileNewClick();
        prompts_.Messages.clear();
        form.OpenByPath(Example("cantilever_english.kv5d"));
        QCOMPARE(prompts_.Messages,
                 QStringList{"Data file: cantilever_english.kv5d, has been read by KORVEL 2015"});
    }

    void binaryDataFileIsReportedByPosition() {
        TMainForm form;
        QByteArray noise;
        for (int i = 0; i < 512; ++i) noise.append(static_cast<char>((i * 37 + 11) % 256));
        const QString path = WriteBytes("noise.kv5d", noise);
        form.OpenByPath(path);
        QCOMPARE(prompts_.Messages.size(), 2);
        QVERIFY2(prompts_.Messages.front().startsWith("Error on Line"),
                 qPrintable(prompts_.Messages.front()));
        QCOMPARE(ReadBytes(path), noise);
        QVERIFY(!form.Project().Modified());
    }

    void plotFileThatDoesNotFitLeavesTheGraphsOffAndTheFileAlone() {
        TMainForm form;
        const QString path = Example("cantilever_english.kv5d");
        // Counts the rest of the file cannot hold, then words that are not numbers.
        const QByteArray plot = "3\n0 10 20\n1\n99999 5\n1 2 x\n";
        const QString plot_path = WriteBytes("cantilever_english.kv5p", plot);
        form.OpenByPath(path);
        QCOMPARE(prompts_.Messages,
                 QStringList{"Data file: cantilever_english.kv5d, has been read by KORVEL 2015"});
        QVERIFY(!form.PlotDataLoaded());
        form.UpdateMenu(Menu(form, "&Graphics"));
        QVERIFY(!Act(form, "GraphpltDef")->isEnabled());
        QCOMPARE(ReadBytes(plot_path), plot);
        QFile::remove(plot_path);
    }

    // Root writes into read-only folders, so the save is made to fail by a
    // folder that cannot exist (its parent is a regular file) and by a folder
    // standing where the data file goes.
    void saveWhoseFolderIsAFileIsReportedAndKeepsTheProject() {
        TMainForm form;
        const QString path = Example("cantilever_english.kv5d");
        const QByteArray before = ReadBytes(path);
        form.OpenByPath(path);
        const QString plain = WriteBytes("plain.txt", "not a folder");
        form.Project().FileName = plain + "/wall.kv5d";
        form.Project().SetModified(true);
        prompts_.Messages.clear();
        QVERIFY(!form.SaveProject());
        QCOMPARE(
            prompts_.Messages,
            QStringList{
                QStringLiteral("Cannot write file \"%1/wall.kv5d\". Not a directory").arg(plain)});
        QVERIFY(form.Project().Modified());
        QCOMPARE(ReadBytes(plain), QByteArray("not a folder"));
        QCOMPARE(ReadBytes(path), before);
        // A run saves first: with the save failing nothing is run.
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY(!QFile::exists(TMainForm::RunFolder() + "/names.dat"));
        form.Project().SetModified(false);
    }

    void saveOntoAFolderIsReportedAndLeavesNoTemporaryFile() {
        TMainForm form;
        form.OpenByPath(Example("cantilever_english.kv5d"));
        QDir folder(dir_.filePath("blocked"));
        folder.removeRecursively();
        QVERIFY(QDir().mkpath(folder.filePath("wall.kv5d")));
        WriteBytes("blocked/wall.kv5d/keep.txt", "kept");
        form.Project().FileName = folder.filePath("wall.kv5d");
        form.Project().SetModified(true);
        prompts_.Messages.clear();
        QVERIFY(!form.SaveProject());
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY2(prompts_.Messages.front().startsWith(
                     QStringLiteral("Cannot write file \"%1\".").arg(folder.filePath("wall.kv5d"))),
                 qPrintable(prompts_.Messages.front()));
        QVERIFY(form.Project().Modified());
        QCOMPARE(folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"wall.kv5d"});
        QCOMPARE(ReadBytes(folder.filePath("wall.kv5d/keep.txt")), QByteArray("kept"));
        form.Project().SetModified(false);
    }

    void dataFileDeletedBeforeARunIsWrittenAgainAndRun() {
        TMainForm form;
        const QString path = Example("cantilever_english.kv5d");
        const QByteArray before = ReadBytes(path);
        form.OpenByPath(path);
        QVERIFY(QFile::remove(path));
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QVERIFY(form.PlotDataLoaded());
        // The unchanged project is saved as it was read.
        QCOMPARE(ReadBytes(path), before);
    }

    void vanishedFileIsReportedAndTheOpenProjectKept() {
        TMainForm form;
        form.OpenByPath(Example("cantilever_english.kv5d"));
        prompts_.Messages.clear();
        const QString gone = dir_.filePath("gone.kv5d");
        form.OpenByPath(gone);
        QCOMPARE(
            prompts_.Messages,
            QStringList{
                QStringLiteral("Cannot open file \"%1\". The file does not exist.").arg(gone)});
        QCOMPARE(form.Project().FileName, dir_.filePath("cantilever_english.kv5d"));
    }

    // A file with one bad word late in it reads as a partial project. Save and
    // Run ask before writing that over the file: Cancel writes nothing, Yes saves
    // under another name, No replaces the file.
    void partlyReadFileIsNotSavedOverWithoutConsent() {
        TMainForm form;
        QByteArray damaged =
            ReadBytes(QStringLiteral(KORVEL_EXAMPLES_DIR "/cantilever_english.kv5d"));
        QVERIFY(damaged.contains("\r\n0.3\t-1800\r\n"));
        damaged.replace("\r\n0.3\t-1800\r\n", "\r\n0.3\t-18OO\r\n");
        const QString path = WriteBytes("damaged.kv5d", damaged);
        form.OpenByPath(path);
        QVERIFY2(prompts_.Messages.front().startsWith("Error on Line"),
                 qPrintable(prompts_.Messages.front()));
        const QString question = form.Project().PartlyReadQuestion();
        QVERIFY(question.contains(path));

        prompts_.Answer = TMainPrompts::TAnswer::kCancel;
        form.FileSaveClick();
        QCOMPARE(prompts_.Questions, QStringList{question});
        QCOMPARE(ReadBytes(path), damaged);
        QVERIFY(prompts_.SaveTitles.isEmpty());

        prompts_.Questions.clear();
        form.CompRunClick();  // a run saves first: it asks the same and runs nothing
        QCOMPARE(prompts_.Questions, QStringList{question});
        QCOMPARE(ReadBytes(path), damaged);
        QVERIFY(!QFile::exists(dir_.filePath("damaged.kv5o")));

        prompts_.Answer = TMainPrompts::TAnswer::kYes;
        prompts_.SavePath = dir_.filePath("rescued.kv5d");
        form.FileSaveClick();
        QCOMPARE(prompts_.SaveTitles, QStringList{"Save damaged.kv5d As"});
        QCOMPARE(ReadBytes(path), damaged);
        QCOMPARE(form.Project().FileName, prompts_.SavePath);
        QVERIFY(QFile::exists(prompts_.SavePath));
        prompts_.Questions.clear();
        form.FileSaveClick();  // the new file holds all the project has: no question
        QVERIFY(prompts_.Questions.isEmpty());

        form.OpenByPath(path);
        prompts_.Questions.clear();
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        form.FileSaveClick();
        QCOMPARE(prompts_.Questions, QStringList{question});
        QVERIFY(ReadBytes(path) != damaged);
        QVERIFY(!form.Project().PartlyRead);
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
    }

    // Values the program cannot hold as read are changed, and the user is told
    // which line and value, before the usual notice.
    void clampedValuesAreNamedOnOpening() {
        TMainForm form;
        QByteArray text = ReadBytes(QStringLiteral(KORVEL_EXAMPLES_DIR "/cantilever_english.kv5d"));
        const qsizetype line_end = text.indexOf("\r\n");
        QVERIFY(text.mid(line_end + 2).startsWith("1 "));
        text[line_end + 2] = '0';  // unit system 0
        const QString path = WriteBytes("unit0.kv5d", text);
        form.OpenByPath(path);
        QCOMPARE(prompts_.Messages,
                 (QStringList{"Line 2: the unit system 0 is not 1, 2 or 3; it was changed to 1.",
                              "Data file: unit0.kv5d, has been read by KORVEL 2015"}));
        QCOMPARE(form.Project().UnitSystem(), 1);
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
