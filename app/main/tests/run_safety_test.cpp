// Analysis runs of the main window that no second window, odd file name or
// planted link can turn against the user: each run in a working folder of its
// own, results replaced whole beside the data file, names the control file
// cannot carry refused, and the text editor given the path as one argument.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "entry/word_reader.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/run_folder.h"
#include "main/tests/recording_prompts.h"
#include "main/text_editor.h"
#include "project/atomic_file.h"
#include "project/program_data.h"
#include "project/project_lock.h"

using namespace korvel;

namespace {

const char* kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

// A lock as another program window (process pid on this host) leaves it.
void PlantLock(const QString& lock_file, qint64 pid, const QString& data_file) {
    WriteBytes(lock_file, "KORVEL project lock\npid=" + QByteArray::number(pid) +
                              "\nhost=" + QSysInfo::machineHostName().toUtf8() +
                              "\nuser=other\nfile=" + data_file.toUtf8() + "\n");
}

// A process id that belonged to a process which has ended.
qint64 EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

// One program window that analyses file rounds times through "&Run Analysis"
// (the run path of the program); 0 when every run left a whole report of this
// file, the same each time but for its date line. Run as a second process by
// twoProgramsAnalyseAtOnce.
int RunLoop(const QString& file, int rounds) {
    QStandardPaths::setTestModeEnabled(true);
    TRecordingPrompts prompts;
    TMainPrompts::SetCurrent(&prompts);
    int failures = 0;
    {
        TMainForm form;
        form.OpenByPath(file);
        const QString report_path = QFileInfo(file).absolutePath() + QLatin1Char('/') +
                                    QFileInfo(file).completeBaseName() + QStringLiteral(".kv5o");
        const QByteArray name_line =
            "Name of input data file     : " + QFileInfo(file).fileName().toUtf8();
        QByteArray first;
        for (int i = 0; i < rounds; ++i) {
            QFile::remove(report_path);
            prompts.Messages.clear();
            form.CompRunClick();
            QByteArray report = ReadBytes(report_path);
            QList<QByteArray> lines = report.split('\n');
            lines.removeIf([](const QByteArray& line) { return line.contains("Date:"); });
            report = lines.join('\n');
            const bool whole = report.contains("END OF ANALYSIS") && !report.contains("ERROR") &&
                               report.contains(name_line);
            if (first.isEmpty() && whole) first = report;
            if (prompts.Messages != QStringList{kCompleted} || !whole || report != first) {
                ++failures;
                fprintf(stderr, "run %d of %s: %s\n", i + 1, qPrintable(file),
                        qPrintable(prompts.Messages.join(' ')));
            }
        }
    }
    TMainPrompts::SetCurrent(nullptr);
    return failures == 0 ? 0 : 1;
}

}  // namespace

class TRunSafetyTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    QString Example(const QString& name, const QString& as) {
        const QString target = dir_.filePath(as);
        QDir().mkpath(QFileInfo(target).absolutePath());
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

    // What another window's run keeps in the per-user run folder is neither
    // read, overwritten nor removed; this run's own folder is gone afterwards.
    void aRunWorksInAFolderOfItsOwn() {
        const QString shared = TMainForm::RunFolder();
        QVERIFY(QDir().mkpath(shared));
        const QByteArray others = "another window's control file\r\n";
        WriteBytes(shared + "/names.dat", others);
        WriteBytes(shared + "/soildata", "another window's curves\r\n");
        const QStringList before = QDir(shared).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        TMainForm form;
        form.OpenByPath(Example("cantilever_english.kv5d", "own/wall.kv5d"));
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QVERIFY(form.PlotDataLoaded());
        QCOMPARE(ReadBytes(shared + "/names.dat"), others);
        QCOMPARE(QDir(shared).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
        QVERIFY(ReadBytes(dir_.filePath("own/wall.kv5o")).contains("END OF ANALYSIS"));
        QCOMPARE(QDir::currentPath(), dir_.filePath("own"));
    }

    // Links planted at the result names in a shared folder: the run replaces
    // them by its results and the files they point to stay as they were.
    void resultsReplaceALinkInsteadOfFollowingIt() {
        const QString data = Example("tiedback_si.kv5d", "shared/wall.kv5d");
        const QString victim = dir_.filePath("shared/precious.txt");
        WriteBytes(victim, "precious");
        for (const char* ext : {".kv5o", ".kv5p", ".kv5r"}) {
            const QString result = dir_.filePath(QStringLiteral("shared/wall") + ext);
            QFile::remove(result);
            QVERIFY(QFile::link(victim, result));
        }
        TMainForm form;
        form.OpenByPath(data);
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages, QStringList{kCompleted});
        QCOMPARE(ReadBytes(victim), QByteArray("precious"));
        for (const char* ext : {".kv5o", ".kv5p", ".kv5r"}) {
            const QString result = dir_.filePath(QStringLiteral("shared/wall") + ext);
            QVERIFY2(!QFileInfo(result).isSymLink(), ext);
        }
        QVERIFY(ReadBytes(dir_.filePath("shared/wall.kv5o")).contains("END OF ANALYSIS"));
        QVERIFY(form.PlotDataLoaded());
    }

    // A folder name with a line break would shift the control file's lines:
    // the run is refused and no file is written on the following "lines".
    void aPathTheControlFileCannotCarryIsRefused() {
        QDir().mkpath(dir_.filePath("two\nlines"));
        const QString data = Example("tiedback_si.kv5d", "two\nlines/wall.kv5d");
        TMainForm form;
        form.OpenByPath(data);
        prompts_.Messages.clear();
        form.CompRunClick();
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY2(prompts_.Messages.front().startsWith(
                     QStringLiteral("The data file \"%1\" cannot be analysed").arg(data)),
                 qPrintable(prompts_.Messages.front()));
        QVERIFY(prompts_.Messages.front().contains(QStringLiteral("line break")));
        QVERIFY(!QFile::exists(dir_.filePath("two\nlines/wall.kv5o")));
    }

    void aDataFileNamedLikeItsResultsIsRefused() {
        const QString data = Example("tiedback_si.kv5d", "results/wall.kv5r");
        const QByteArray before = ReadBytes(data);
        TMainForm form;
        form.OpenByPath(data);
        prompts_.SavePath = data;  // Save As, as for any file of another extension
        prompts_.Messages.clear();
        form.CompRunClick();
        QVERIFY(!prompts_.Messages.isEmpty());
        QVERIFY2(
            prompts_.Messages.last().contains(QStringLiteral("results would be written over it")),
            qPrintable(prompts_.Messages.join('\n')));
        // Saved by Save As under the name asked for, and not truncated by a run.
        QVERIFY(before.size() > 100);
        QVERIFY(ReadBytes(data).size() > 100);
        QVERIFY(!QFile::exists(dir_.filePath("results/wall.kv5o")));
    }

    void refusedRunMessages_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "/w/wall.kv5d" << false;
        QTest::newRow("blanks inside") << "/w/my walls/wall 1.kv5d" << false;
        QTest::newRow("line break") << "/w/a\nb/wall.kv5d" << true;
        QTest::newRow("carriage return") << "/w/wall\r.kv5d" << true;
        QTest::newRow("trailing blank") << "/w/trail.kv5d " << true;
        QTest::newRow("report name") << "/w/data.kv5o" << true;
        QTest::newRow("plot name") << "/w/data.kv5p" << true;
        QTest::newRow("notes name") << "/w/data.kv5r" << true;
        QTest::newRow("hidden notes name") << "/w/.kv5r" << true;
    }
    void refusedRunMessages() {
        QFETCH(QString, path);
        QFETCH(bool, refused);
        QCOMPARE(!RefusedRunMessage(path).isEmpty(), refused);
    }

    // The path is one argument, whatever it holds; the setting alone is split.
    void editorCommands_data() {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QString odd = QStringLiteral("/w/a\" \"+!touch PWNED\" \"b.kv5d");
        QTest::newRow("quotes in the path") << "vim" << odd << "vim" << QStringList{odd};
        QTest::newRow("options") << "gedit --new-window -s"
                                 << "/w/x y.kv5o"
                                 << "gedit" << QStringList{"--new-window", "-s", "/w/x y.kv5o"};
        QTest::newRow("quoted program with blanks")
            << "\"/opt/My Editor/edit\" -n"
            << "/w/x.kv5r"
            << "/opt/My Editor/edit" << QStringList{"-n", "/w/x.kv5r"};
        QTest::newRow("empty") << "  "
                               << "/w/x.kv5r"
                               << "" << QStringList{};
    }
    void editorCommands() {
        QFETCH(QString, editor);
        QFETCH(QString, path);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const TEditorCommand command = TextEditorCommand(editor, path);
        QCOMPARE(command.Program, program);
        if (!program.isEmpty()) QCOMPARE(command.Arguments, arguments);
    }

    // Started for real: an editor in a folder with a blank in its name, given
    // unquoted, receives the odd path as its one and only argument.
    void theEditorReceivesThePathAsOneArgument() {
        QDir().mkpath(dir_.filePath("My Editor"));
        const QString script = dir_.filePath("My Editor/edit");
        const QString record = dir_.filePath("editor.txt");
        QFile::remove(record);
        WriteBytes(script, "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + record.toUtf8() +
                               ".part\"\nmv \"" + record.toUtf8() + ".part\" \"" + record.toUtf8() +
                               "\"\n");
        QFile(script).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString odd = dir_.filePath("a\" \"+!touch PWNED\" \"b.kv5d");
        QVERIFY(StartTextEditor(script, odd));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
        QCOMPARE(QString::fromUtf8(ReadBytes(record)), QStringLiteral("1|") + odd);
        QVERIFY(!QFile::exists(QDir::current().filePath("PWNED")));
    }

    // wall.bak shares wall.kv5d's stage files: with wall.kv5d open in another
    // window (process 1 stands for it) the second opener is asked, may decline,
    // and read-only neither splits over nor writes the other's stage files.
    void aSecondOpenerOfTheStageFilesIsAsked() {
        const QString data = Example("three_stages_english.kv5d", "locked/wall.kv5d");
        const QString backup = Example("three_stages_english.kv5d", "locked/wall.bak");
        const QString lock = dir_.filePath("locked/wall.stlock");
        QCOMPARE(TProjectLock::LockFileName(backup), lock);
        PlantLock(lock, 1, data);
        const QByteArray theirs = " Stage No : 2\r\nthe other window's stage 2\r\n";
        WriteBytes(dir_.filePath("locked/wall.st2"), theirs);
        const QByteArray backup_bytes = ReadBytes(backup);

        TMainForm form;
        prompts_.Answer = TMainPrompts::TAnswer::kNo;
        form.OpenByPath(backup);
        QCOMPARE(prompts_.Questions.size(), 1);
        QVERIFY2(prompts_.Questions.front().contains(QStringLiteral("is open in another window")),
                 qPrintable(prompts_.Questions.front()));
        QCOMPARE(form.Project().FileName, QStringLiteral("NewWall.kv5d"));

        prompts_.Answer = TMainPrompts::TAnswer::kYes;
        form.OpenByPath(backup);
        QCOMPARE(form.Project().FileName, backup);
        QVERIFY(form.windowTitle().endsWith(QStringLiteral("(read-only)")));
        QCOMPARE(ReadBytes(dir_.filePath("locked/wall.st2")), theirs);
        prompts_.Messages.clear();
        form.FileSaveClick();
        form.SwitchStage(2);
        QCOMPARE(form.Project().CurrentStage, 1);
        QCOMPARE(prompts_.Messages.size(), 2);
        QVERIFY(prompts_.Messages.front().contains(QStringLiteral("read-only")));
        QCOMPARE(ReadBytes(dir_.filePath("locked/wall.st2")), theirs);
        QCOMPARE(ReadBytes(backup), backup_bytes);
        QVERIFY(ReadBytes(lock).contains("pid=1\n"));
    }

    // The lock is there while the project is open and goes with it; one left
    // by a process that has ended is taken over without a question.
    void aStaleLockIsTakenOverAndReleased() {
        const QString data = Example("tiedback_si.kv5d", "stale/wall.kv5d");
        const QString lock = dir_.filePath("stale/wall.stlock");
        PlantLock(lock, EndedProcess(), data);
        TMainForm form;
        form.OpenByPath(data);
        QVERIFY(prompts_.Questions.isEmpty());
        QVERIFY(ReadBytes(lock).contains("pid=" + QByteArray::number(qint64(getpid())) + "\n"));
        form.FileNewClick();
        QVERIFY(!QFile::exists(lock));
        form.OpenByPath(data);
        QVERIFY(QFile::exists(lock));
    }

    void saveAsOntoAProjectOpenElsewhereIsRefused() {
        const QString data = Example("tiedback_si.kv5d", "target/a.kv5d");
        const QString other = Example("cantilever_english.kv5d", "target/b.kv5d");
        const QByteArray before = ReadBytes(other);
        PlantLock(dir_.filePath("target/b.stlock"), 1, other);
        TMainForm form;
        form.OpenByPath(data);
        prompts_.Messages.clear();
        prompts_.SavePath = other;
        form.FileSaveAsClick();
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY(prompts_.Messages.front().contains(QStringLiteral("is open in another window")));
        QCOMPARE(ReadBytes(other), before);
        QCOMPARE(form.Project().FileName, data);
    }

    // A name of 255 bytes, the system's limit, is saved like any other: the
    // temporary file beside it has a short name of its own.
    void aNameAtTheSystemsLimitCanBeSaved() {
        QDir().mkpath(dir_.filePath("long"));
        const QString name = QString(250, QLatin1Char('w')) + QStringLiteral(".kv5d");
        QCOMPARE(QFile::encodeName(name).size(), 255);
        const QString data = Example("tiedback_si.kv5d", "long/" + name);
        TMainForm form;
        form.OpenByPath(data);
        QCOMPARE(form.Project().FileName, data);
        form.Project().Title = QStringLiteral("Saved under a long name");
        form.Project().SetModified(true);
        prompts_.Messages.clear();
        form.FileSaveClick();
        QVERIFY2(prompts_.Messages.isEmpty(), qPrintable(prompts_.Messages.join('\n')));
        QVERIFY(ReadBytes(data).startsWith("Saved under a long name\r\n"));
        // Its lock has a name the system takes, and is held.
        QVERIFY(QFile::encodeName(QFileInfo(TProjectLock::LockFileName(data)).fileName()).size() <=
                255);
        QVERIFY(QFile::exists(TProjectLock::LockFileName(data)));
    }

    // A new data file follows the umask (077: only the user may read it), a
    // replaced one keeps its mode, and a temporary left by a killed save goes.
    void aNewFileFollowsTheUmaskAndStaleTemporariesGo() {
        QDir().mkpath(dir_.filePath("umask"));
        const QString stale = dir_.filePath("umask/.korvel-Ab12Cd");
        WriteBytes(stale, "half a save");
        {
            QFile old(stale);
            QVERIFY(old.open(QIODevice::ReadWrite));
            QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                    QFileDevice::FileModificationTime));
        }
        const mode_t previous = ::umask(077);
        WriteFileAtomically(dir_.filePath("umask/new.kv5d"), "new\r\n");
        ::umask(previous);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(dir_.filePath("umask/new.kv5d")).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        QVERIFY(!QFile::exists(stale));
        ::chmod(QFile::encodeName(dir_.filePath("umask/new.kv5d")).constData(), 0664);
        WriteFileAtomically(dir_.filePath("umask/new.kv5d"), "again\r\n");
        QCOMPARE(::stat(QFile::encodeName(dir_.filePath("umask/new.kv5d")).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0664u);
    }

    // A name that is not UTF-8 cannot reach the program whole: it says so
    // instead of silently starting a new project.
    void aNameThatIsNotUtf8IsToldNotSilentlyDropped() {
        TMainForm form;
        form.Startup(QString::fromLocal8Bit("/w/caf\xe9.kv5d"));
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY2(prompts_.Messages.front().contains(QStringLiteral("is not UTF-8")),
                 qPrintable(prompts_.Messages.front()));
        QCOMPARE(form.Project().FileName, QStringLiteral("NewWall.kv5d"));
    }

    // A file far beyond any project is refused at once, before it is read.
    void aFileFarBeyondAProjectIsRefused() {
        const QString data = Example("tiedback_si.kv5d", "huge/wall.kv5d");
        {
            QFile file(data);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(kMaxDataFileBytes + 200 * 1024 * 1024));  // sparse: no disk used
        }
        TMainForm form;
        QElapsedTimer timer;
        timer.start();
        form.OpenByPath(data);
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(!prompts_.Messages.isEmpty());
        QVERIFY2(prompts_.Messages.front().contains(QStringLiteral("far more than a project can")),
                 qPrintable(prompts_.Messages.join('\n')));
        QFile::remove(data);
    }

    // Two program processes pressing "&Run Analysis" at the same time, with
    // the same per-user run folder, on two different projects: each reads
    // back whole reports of its own project only.
    void twoProgramsAnalyseAtOnce() {
        const QString a = Example("three_stages_english.kv5d", "two/a.kv5d");
        const QString b = Example("short_long_term_si.kv5d", "two/b.kv5d");
        QProcess first, second;
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString self = QCoreApplication::applicationFilePath();
        first.start(self, {QStringLiteral("--run-loop"), a, QStringLiteral("10")});
        second.start(self, {QStringLiteral("--run-loop"), b, QStringLiteral("10")});
        QVERIFY(first.waitForFinished(120000));
        QVERIFY(second.waitForFinished(120000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--run-loop")
        return RunLoop(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    TRunSafetyTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "run_safety_test.moc"
