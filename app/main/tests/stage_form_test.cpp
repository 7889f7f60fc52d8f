// Construction stages in the main window on the offscreen platform: the staged
// options dialog, switching, copying, saving, reopening and running a staged
// project through the real engine library, and korvel-run on the saved file.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "entry/table_definitions.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/stage_options_dialog.h"
#include "main/tests/recording_prompts.h"
#include "project/program_data.h"
#include "project/stage_files.h"

using namespace korvel;

namespace {

const char* kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

}  // namespace

class TStageFormTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;

    static QAction* Act(TMainForm& form, const QString& name) {
        return form.findChild<QAction*>(name);
    }
    static QString Copy(const QTemporaryDir& dir, const QString& example, const QString& name) {
        const QString target = dir.filePath(name);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + example, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
    }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }
    void init() { prompts_ = TRecordingPrompts(); }

    void dialogFollowsTheStageCount() {
        TDlgStaged unstaged(1);
        QCOMPARE(unstaged.windowTitle(), QStringLiteral("Staged Construction Options"));
        QVERIFY(!unstaged.StagedBox()->isChecked());
        QVERIFY(!unstaged.CountBox()->isEnabled());
        QCOMPARE(unstaged.StageCount(), 1);
        unstaged.StagedBox()->setChecked(true);
        QCOMPARE(unstaged.StageCount(), 2);
        QVERIFY(unstaged.CountBox()->isEnabled());
        unstaged.CountBox()->stepBy(-1);
        QCOMPARE(unstaged.StageCount(), 2);  // the down arrow stops at 2
        unstaged.CountBox()->stepBy(1);
        unstaged.CountBox()->stepBy(10);
        QCOMPARE(unstaged.StageCount(), 5);
        unstaged.StagedBox()->setChecked(false);
        QCOMPARE(unstaged.StageCount(), 1);
        QVERIFY(!unstaged.CountBox()->isEnabled());

        TDlgStaged staged(3);
        QVERIFY(staged.StagedBox()->isChecked());
        QVERIFY(staged.CountBox()->isEnabled());
        QCOMPARE(staged.StageCount(), 3);
        QCOMPARE(staged.OkButton()->text(), QStringLiteral("OK"));
        QCOMPARE(staged.CancelButton()->text(), QStringLiteral("Cancel"));
        QCOMPARE(staged.StagedBox()->text(),
                 QStringLiteral("Conduct &Staged-Construction Analysis"));
    }

    void stagedProjectIsCreatedEditedSavedReopenedAndRun() {
        QTemporaryDir dir;
        const QString path = Copy(dir, "cantilever_english.kv5d", "c.kv5d");
        TMainForm form;
        form.OpenByPath(path);
        const long double depth = form.Project().MaxDeflection;

        form.ApplyStageCount(3);
        QCOMPARE(form.StatusPanel()->text(), QStringLiteral("Construction Stage Number: 1"));
        QVERIFY(form.StageMenu()->menuAction()->isVisible());
        QVERIFY(form.Project().Modified());
        form.SwitchStage(2);
        QCOMPARE(form.StatusPanel()->text(), QStringLiteral("Construction Stage Number: 2"));
        form.Project().MaxDeflection = 20;
        form.SwitchStage(3);
        form.Project().MaxDeflection = 30;
        form.FileSaveClick();
        QVERIFY2(prompts_.Messages.size() == 1, qPrintable(prompts_.Messages.join('\n')));
        QVERIFY(!form.Project().Modified());
        for (int n = 1; n <= 3; ++n)
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("c.st%1").arg(n))));

        form.OpenByPath(path);
        QCOMPARE(form.Project().StageCount, 3);
        QCOMPARE(form.Project().CurrentStage, 1);
        QCOMPARE(form.Project().MaxDeflection, depth);
        QCOMPARE(form.StatusPanel()->text(), QStringLiteral("Construction Stage Number: 1"));
        form.SwitchStage(3);
        QCOMPARE(form.Project().MaxDeflection, 30.0L);
        form.SwitchStage(2);
        QCOMPARE(form.Project().MaxDeflection, 20.0L);

        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QVERIFY(Read(dir.filePath("c.kv5o")).contains(" Stage No : 3"));

        // korvel-run on a copy of the saved file analyses three sections.
        QTemporaryDir other;
        QVERIFY(QFile::copy(path, other.filePath("copy.kv5d")));
        QProcess run;
        run.start(QCoreApplication::applicationDirPath() + "/korvel-run",
                  {other.filePath("copy.kv5d")});
        QVERIFY(run.waitForFinished(60000));
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        QCOMPARE(run.exitCode(), 0);
        QVERIFY2(out.contains("3 section(s)"), qPrintable(out));
    }

    void saveAsMovesTheStageFiles() {
        QTemporaryDir dir;
        const QString path = Copy(dir, "three_stages_english.kv5d", "a.kv5d");
        TMainForm form;
        form.OpenByPath(path);
        QVERIFY(QFile::exists(dir.filePath("a.st3")));
        prompts_.SavePath = dir.filePath("b.kv5d");
        form.FileSaveAsClick();
        QCOMPARE(form.Project().FileName, dir.filePath("b.kv5d"));
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEL 2015.5.1 - b.kv5d"));
        QCOMPARE(Read(dir.filePath("b.kv5d")), Read(path));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("b.st%1").arg(n))));
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.st%1").arg(n))));
        }
    }

    void copyPreviousStageAsksAndCopies() {
        QTemporaryDir dir;
        const QString path = Copy(dir, "three_stages_english.kv5d", "a.kv5d");
        TMainForm form;
        form.OpenByPath(path);
        form.UpdateMenu(form.StageMenu());
        QVERIFY(!Act(form, "StageCopyPrev")->isEnabled());
        const long double first = form.Project().FreeHeight;
        form.SwitchStage(2);
        QVERIFY(form.Project().FreeHeight != first);
        form.UpdateMenu(form.StageMenu());
        QVERIFY(Act(form, "StageCopyPrev")->isEnabled());

        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        Act(form, "StageCopyPrev")->trigger();
        QCOMPARE(prompts_.Questions.last(),
                 QStringLiteral("Do you want to copy all information from Stage 1 to Stage 2"));
        QVERIFY(form.Project().FreeHeight != first);
        prompts_.Answer = TMainPrompts::TAnswer::kYes;
        Act(form, "StageCopyPrev")->trigger();
        QCOMPARE(form.Project().FreeHeight, first);
        QCOMPARE(form.Project().CurrentStage, 2);
        QVERIFY(Read(dir.filePath("a.st2")).startsWith(" Stage No : 2"));
    }

    void oneStageHidesTheStageMenu() {
        QTemporaryDir dir;
        const QString path = Copy(dir, "three_stages_english.kv5d", "a.kv5d");
        TMainForm form;
        form.OpenByPath(path);
        form.SwitchStage(3);
        form.ApplyStageCount(2);
        QCOMPARE(form.Project().CurrentStage, 1);
        QVERIFY(!QFile::exists(dir.filePath("a.st3")));
        QCOMPARE(form.StatusPanel()->text(), QStringLiteral("Construction Stage Number: 1"));
        form.ApplyStageCount(1);
        QVERIFY(form.StatusPanel()->text().isEmpty());
        QVERIFY(!form.StageMenu()->menuAction()->isVisible());
        QVERIFY(!QFile::exists(dir.filePath("a.st1")));
    }
};

QTEST_MAIN(TStageFormTest)
#include "stage_form_test.moc"
