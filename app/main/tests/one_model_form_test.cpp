// What the menus, stages and windows of the main window show is what is saved
// and analysed (offscreen): the earth-pressure menu choice reaches the file and
// the no-load question; a unit switch converts every stage; windows whose data
// no longer apply close and the tool buttons follow the menu; a deleted stage
// file is restored from the data file or the save refused; a run that stops on a
// data error says so once.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/ui/table_form.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/run_checks.h"
#include "main/tests/recording_prompts.h"
#include "project/program_data.h"
#include "project/stage_files.h"

using namespace korvel;

class TOneModelFormTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    static QAction* Act(TMainForm& form, const QString& name) {
        return form.findChild<QAction*>(name);
    }
    static QMenu* Menu(TMainForm& form, const QString& title) {
        for (QMenu* menu : form.findChildren<QMenu*>()) {
            if (menu->title() == title) return menu;
        }
        return nullptr;
    }
    QString Copy(const QString& example, const QString& name) {
        const QString target = dir_.filePath(name);
        QFile::remove(target);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + example, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The earth-pressure option a data file's first CONTROL line says.
    static int PressureOption(const QString& path) {
        return Read(path).split('\n').at(1).simplified().split(' ').at(4).toInt();
    }
    // Opens the Options menu as the user does, then chooses an item of it.
    static void Choose(TMainForm& form, const char* name) {
        form.UpdateMenu(Menu(form, QStringLiteral("&Options")));
        Act(form, QLatin1String(name))->trigger();
    }
    static QStringList Captions(TMainForm& form) {
        QStringList captions;
        for (QMdiSubWindow* window : form.MdiArea()->subWindowList())
            captions << window->windowTitle().trimmed();
        return captions;
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }
    void init() { prompts_ = TRecordingPrompts(); }

    void theEarthPressureChosenInTheMenuIsSaved() {
        TMainForm form;
        form.OpenByPath(Copy("clay_over_sand_py_english.kv5d", "clay.kv5d"));
        QCOMPARE(PressureOption(form.Project().FileName), 1);
        Choose(form, "Pressure2");
        QVERIFY(Act(form, "Pressure2")->isChecked());
        form.FileSaveClick();
        QCOMPARE(PressureOption(form.Project().FileName), 2);
        // The menu opened again shows what was saved, and changes nothing.
        form.UpdateMenu(Menu(form, QStringLiteral("&Options")));
        QVERIFY(Act(form, "Pressure2")->isChecked());
        form.FileSaveClick();
        QCOMPARE(PressureOption(form.Project().FileName), 2);
    }

    void aNewProjectFollowingTheGuideSavesTheChosenPressure() {
        TMainForm form;
        // A look at Options > Units first, then Triangular.
        form.UpdateMenu(Menu(form, QStringLiteral("&Options")));
        for (int n = 1; n <= 3; ++n)
            QVERIFY(!Act(form, QStringLiteral("Pressure%1").arg(n))->isChecked());
        Choose(form, "Pressure2");
        prompts_.SavePath = dir_.filePath("guide.kv5d");
        QVERIFY(form.SaveProject());
        QCOMPARE(PressureOption(prompts_.SavePath), 2);
        QVERIFY(WallCarriesLoad(form.Project()));
        // User pressure with its table of zeros: nothing loads the wall, and the
        // run asks before analysing it.
        Choose(form, "Pressure1");
        QVERIFY(!WallCarriesLoad(form.Project()));
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        form.CompRunClick();
        QCOMPARE(PressureOption(prompts_.SavePath), 1);
        QCOMPARE(prompts_.Questions, QStringList{QLatin1String(kNoLoadQuestion)});
    }

    void aUnitSwitchConvertsEveryStage() {
        TMainForm form;
        const QString path = Copy("three_stages_english.kv5d", "units.kv5d");
        form.OpenByPath(path);
        Act(form, "Unit2")->trigger();
        QCOMPARE(form.Project().UnitSystem(), 2);
        form.FileSaveClick();
        const QList<QByteArray> lines = Read(path).split('\n');
        int sections = 0;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (i == 0 || lines[i].contains("Stage No :")) {
                ++sections;
                QCOMPARE(lines[i + 1].left(2), QByteArray("2 "));
            }
        }
        QCOMPARE(sections, 3);
        // Back to English after a stage switch and a save: the file as entered.
        form.SwitchStage(2);
        form.FileSaveClick();
        Act(form, "Unit1")->trigger();
        form.FileSaveClick();
        QCOMPARE(Read(path),
                 Read(QStringLiteral(KORVEL_EXAMPLES_DIR "/three_stages_english.kv5d")));
    }

    void windowsWhoseDataNoLongerApplyCloseOnAStageSwitch() {
        TMainForm form;
        form.OpenByPath(Copy("three_stages_english.kv5d", "windows.kv5d"));
        form.SwitchStage(2);
        Choose(form, "OptPYGen");
        QVERIFY(form.Project().GeneratePYCurves);
        QVERIFY(Act(form, "ToolSoil")->isEnabled());
        TGridTable& soils = *form.Tables().NewSoil;
        form.OpenTable(soils);
        TGridTable* clay = soils.Cell(2, 0).AsTable();
        QVERIFY(clay);
        form.OpenTable(*clay);
        QCOMPARE(form.MdiArea()->subWindowList().size(), 2);
        // An entry typed there reaches stage 2 before the windows go.
        clay->Cell(2, 0).SetAsFloat(0.0123L);
        form.SwitchStage(3);
        QCOMPARE(form.Project().CurrentStage, 3);
        // Stage 3 neither generates pressure nor p-y curves: its soils do not apply.
        form.UpdateMenu(Menu(form, QStringLiteral("Da&ta")));
        QVERIFY(!Act(form, "DataSoil")->isEnabled());
        QVERIFY(form.MdiArea()->subWindowList().isEmpty());
        QVERIFY(!Act(form, "ToolSoil")->isEnabled());
        QVERIFY(Read(StageFileName(form.Project().FileName, 2)).contains("0.0123"));
        // Back on stage 2 the soils apply again, and the button follows.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form.SwitchStage(2);
        QVERIFY(Act(form, "ToolSoil")->isEnabled());
        Act(form, "ToolSoil")->trigger();
        QCOMPARE(Captions(form), QStringList{QStringLiteral("Soil Layers")});
        // Switching the option off closes it too.
        Choose(form, "OptPYGen");
        QVERIFY(form.MdiArea()->subWindowList().isEmpty());
        QVERIFY(!Act(form, "ToolSoil")->isEnabled());
    }

    void aRunStoppedByADataErrorSaysSoOnce() {
        TMainForm form;
        // A new wall without increments, with generated pressure: the engine
        // stops on its data.
        Choose(form, "Pressure2");
        prompts_.SavePath = dir_.filePath("stops.kv5d");
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Questions, QStringList{});
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY(
            prompts_.Messages.front().startsWith("The analysis stopped on an error in the data"));
        QVERIFY(prompts_.Messages.front().endsWith(
            "ERROR STOP -- INCREMENTS AND INCREMENT LENGTH MUST BE POSITIVE"));
        QVERIFY(!form.PlotDataLoaded());
    }

    void aDeletedStageFileIsRestoredOrTheSaveRefused() {
        TMainForm form;
        const QString path = Copy("three_stages_english.kv5d", "deleted.kv5d");
        form.OpenByPath(path);
        const QString stage2 = StageFileName(path, 2);
        const QByteArray saved_stage2 = Read(stage2);
        QVERIFY(QFile::remove(stage2));
        // Refused: nothing is saved and no stage is made up.
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        prompts_.Messages.clear();
        QVERIFY(!form.SaveProject());
        QCOMPARE(prompts_.Questions.size(), 1);
        QVERIFY(prompts_.Questions.front().contains("restore stage 2"));
        QCOMPARE(prompts_.Messages, QStringList{"The project was not saved."});
        QVERIFY(!QFileInfo::exists(stage2));
        form.SwitchStage(2);
        QCOMPARE(form.Project().CurrentStage, 1);
        QVERIFY(!QFileInfo::exists(stage2));
        // Restored from the data file: stage 2 as saved, and the save goes through.
        prompts_.Answer = TMainPrompts::TAnswer::kYes;
        QVERIFY(form.SaveProject());
        QCOMPARE(Read(stage2), saved_stage2);
        QCOMPARE(Read(path),
                 Read(QStringLiteral(KORVEL_EXAMPLES_DIR "/three_stages_english.kv5d")));
        form.SwitchStage(2);
        QCOMPARE(form.Project().CurrentStage, 2);
        QVERIFY(form.Project().ApplyTiebacks);  // stage 2's own tieback
    }
};

QTEST_MAIN(TOneModelFormTest)
#include "one_model_form_test.moc"
