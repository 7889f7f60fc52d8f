// Nothing the user has is lost by reading or saving: a file read only in part is
// never written over silently, saving respects the target's own permission and
// writes through symbolic links, files with CR-only line ends read as the others,
// and values changed on reading are named.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <functional>

#include "entry/entry_errors.h"
#include "project/atomic_file.h"
#include "project/stage_files.h"
#include "project_fixture.h"

namespace korvel {
namespace {

// The unprivileged user the permission cases run as when the tests run as root,
// which writes any file whatever its mode.
constexpr uid_t kNobody = 65534;

// Exit codes of the child process of RunUnprivileged.
constexpr int kWritten = 10;
constexpr int kRefused = 11;       // EInOutError naming "Permission denied"
constexpr int kOtherError = 12;    // any other exception
constexpr int kNoUserSwitch = 13;  // root, yet no unprivileged user to become

// Runs save in a child process that is not root (it drops to uid/gid 65534 when
// the test runs as root) and reports how the save ended as the exit code.
int RunUnprivileged(const std::function<void()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                ::setresuid(kNobody, kNobody, kNobody) != 0 || ::geteuid() == 0) {
                ::_exit(kNoUserSwitch);
            }
        }
        try {
            save();
        } catch (const EInOutError& error) {
            ::_exit(error.Message().contains(QStringLiteral("Permission denied")) ? kRefused
                                                                                  : kOtherError);
        } catch (...) {
            ::_exit(kOtherError);
        }
        ::_exit(kWritten);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class FileSafetyTest : public ProjectTest {
  protected:
    FileSafetyTest() {
        qputenv("HOME", Path("home").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
    }

    // A file the unprivileged user owns, in a folder that user may write to: only
    // the file's own mode can stop a save. The folder lies in /tmp, which every
    // user reaches whatever the scratch folder of the tests is.
    QString OwnedFile(const QString& name, const QByteArray& bytes, mode_t mode) {
        const QString path = shared.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        ::chmod(QFile::encodeName(shared.path()).constData(), 0777);
        if (::geteuid() == 0) {
            EXPECT_EQ(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
        }
        ::chmod(QFile::encodeName(path).constData(), mode);
        return path;
    }

    static QStringList Entries(const QString& folder) {
        return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name);
    }
    QStringList Entries() const { return Entries(dir.path()); }

    QTemporaryDir shared{QStringLiteral("/tmp/korvel_file_safety-XXXXXX")};
};

// --- Reading errors -------------------------------------------------------------

TEST_F(FileSafetyTest, AFileReadOnlyInPartIsMarkedUntilTheProjectIsWritten) {
    project.FileName = Path("whole.kv5d");
    project.WriteDataFile();
    QByteArray text = ReadBytes(project.FileName);
    text.replace("\r\n0\r\n", "\r\nx\r\n");  // the closing NEXT is not a number
    const QString damaged = WriteFile("damaged.kv5d", text);

    const TReadResult read = project.CreateFromFile(damaged);
    EXPECT_FALSE(read.Complete);
    EXPECT_TRUE(project.PartlyRead);
    EXPECT_FALSE(project.Modified());
    EXPECT_TRUE(project.PartlyReadQuestion().contains(damaged));

    project.FileName = Path("copy.kv5d");  // saved under another name: it holds all it says
    project.WriteDataFile();
    EXPECT_FALSE(project.PartlyRead);
    EXPECT_EQ(ReadBytes(damaged), text);

    ASSERT_TRUE(project.CreateFromFile(Path("whole.kv5d")).Complete);
    EXPECT_FALSE(project.PartlyRead);
}

TEST_F(FileSafetyTest, AStageReadOnlyInPartMarksTheProject) {
    project.FileName = Path("pit.kv5d");
    ASSERT_TRUE(ChangeStageCount(project, 2).Complete);
    EXPECT_FALSE(project.PartlyRead);
    QByteArray stage = ReadBytes(StageFileName(project.FileName, 2));
    stage.replace("\r\n2\r\n", "\r\nx\r\n");
    WriteFile("pit.st2", stage);
    EXPECT_FALSE(SwitchToStage(project, 2).Complete);
    EXPECT_TRUE(project.PartlyRead);
}

// --- Values changed as read ---------------------------------------------------------

TEST_F(FileSafetyTest, ClampedUnitSystemAndStageCountAreNamedWithTheirLine) {
    project.FileName = Path("w.kv5d");
    project.WriteDataFile();
    const QByteArray good = ReadBytes(project.FileName);
    struct Case {
        const char* control;  // the CONTROL line as the file has it
        QStringList warnings;
    } cases[] = {
        {"0 0\t1\t0\t0\t2 0 1 0 0",
         {"Line 2: the unit system 0 is not 1, 2 or 3; it was "
          "changed to 1."}},
        {"-4 0\t1\t0\t0\t2 0 1 0 0",
         {"Line 2: the unit system -4 is not 1, 2 or 3; it was "
          "changed to 1."}},
        {"1 0\t1\t0\t0\t2 0 7 0 0",
         {"Line 2: the stage count 7 is outside 1 to 5; it was "
          "changed to 5."}},
        {"9 0\t1\t0\t0\t2 0 0 0 0",
         {"Line 2: the unit system 9 is not 1, 2 or 3; it was changed to 3.",
          "Line 2: the stage count 0 is outside 1 to 5; it was changed to 1."}},
        {"1 0\t1\t0\t0\t2 0 1 0 0", {}},
    };
    for (const Case& c : cases) {
        QByteArray text = good;
        text.replace("1 0\t1\t0\t0\t2 0 1 0 0", c.control);
        const TReadResult read = project.CreateFromFile(WriteFile("clamp.kv5d", text));
        EXPECT_TRUE(read.Complete) << c.control;
        EXPECT_EQ(read.Warnings, c.warnings) << c.control;
        EXPECT_EQ(read.Notice(), c.warnings.join(u'\r')) << c.control;
    }
}

// --- Line ends ------------------------------------------------------------------

TEST_F(FileSafetyTest, CarriageReturnOnlyFilesReadLikeCrLfFiles) {
    for (const char* name :
         {"cantilever_english.kv5d", "short_long_term_si.kv5d", "user_py_curves_english.kv5d"}) {
        const QByteArray crlf =
            ReadBytes(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + QString::fromLatin1(name));
        QByteArray cr = crlf;
        cr.replace("\r\n", "\r");
        const TReadResult read = project.CreateFromFile(WriteFile("cr.kv5d", cr));
        EXPECT_TRUE(read.Complete) << name << ": " << read.Message.toStdString();
        EXPECT_EQ(project.DataFileText(), crlf) << name;
    }
}

TEST_F(FileSafetyTest, ACarriageReturnOnlyStagedFileSplitsIntoItsStages) {
    QByteArray staged = ReadBytes(QStringLiteral(KORVEL_EXAMPLES_DIR "/three_stages_english.kv5d"));
    staged.replace("\r\n", "\r");
    project.FileName = WriteFile("staged.kv5d", staged);
    ASSERT_TRUE(project.CreateFromFile(project.FileName).Complete);
    ASSERT_EQ(project.StageCount, 3);
    ASSERT_TRUE(OpenStagedProject(project, 1).Complete);
    for (int stage = 2; stage <= 3; ++stage) {
        const TReadResult read = SwitchToStage(project, stage);
        EXPECT_TRUE(read.Complete) << stage << ": " << read.Message.toStdString();
        EXPECT_EQ(project.CurrentStage, stage);
    }
    EXPECT_TRUE(ReadBytes(StageFileName(project.FileName, 3)).startsWith(" Stage No : 3\r"));
}

// --- Permissions ------------------------------------------------------------------

TEST_F(FileSafetyTest, ASaveRespectsTheDataFilesOwnWritePermission) {
    const QByteArray before = "Kept as it is\r\n";
    const QString locked = OwnedFile("locked.kv5d", before, 0444);
    const QString open = OwnedFile("open.kv5d", before, 0644);

    project.FileName = open;  // the same user writes a file whose mode allows it
    const int wrote = RunUnprivileged([this] { project.WriteDataFile(); });
    if (wrote == kNoUserSwitch) GTEST_SKIP() << "no unprivileged user to run as";
    ASSERT_EQ(wrote, kWritten);
    EXPECT_NE(ReadBytes(open), before);

    project.FileName = locked;
    EXPECT_EQ(RunUnprivileged([this] { project.WriteDataFile(); }), kRefused);
    EXPECT_EQ(ReadBytes(locked), before);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(locked).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    // No temporary file is left.
    EXPECT_EQ(Entries(shared.path()), (QStringList{"locked.kv5d", "open.kv5d"}));
}

TEST_F(FileSafetyTest, AStageFileSaveRespectsItsOwnWritePermission) {
    project.FileName = shared.filePath("pit.kv5d");
    project.StageCount = 2;
    project.CurrentStage = 2;
    const QByteArray before = " Stage No : 2\r\n";
    const QString stage = OwnedFile("pit.st2", before, 0444);
    const int result = RunUnprivileged([this] { WriteStageFile(project); });
    if (result == kNoUserSwitch) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(result, kRefused);
    EXPECT_EQ(ReadBytes(stage), before);
    EXPECT_EQ(Entries(shared.path()), QStringList{"pit.st2"});
}

// --- Symbolic links ---------------------------------------------------------------

TEST_F(FileSafetyTest, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("real"));
    const QString target = WriteFile("real/wall.kv5d", "old\r\n");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    struct Case {
        const char* link;
        const char* points_to;  // as the link holds it
    } cases[] = {{"relative.kv5d", "real/wall.kv5d"},
                 {"absolute.kv5d", nullptr},
                 {"chained.kv5d", "relative.kv5d"}};
    for (const Case& c : cases) {
        const QByteArray to = c.points_to ? QByteArray(c.points_to) : QFile::encodeName(target);
        ASSERT_EQ(::symlink(to.constData(), QFile::encodeName(Path(c.link)).constData()), 0);
        project.Title = QString::fromLatin1(c.link);
        project.FileName = Path(c.link);
        project.WriteDataFile();

        EXPECT_TRUE(QFileInfo(Path(c.link)).isSymLink()) << c.link;
        EXPECT_TRUE(ReadBytes(target).startsWith(QByteArray(c.link) + "\r\n")) << c.link;
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u) << c.link;
    }
    EXPECT_EQ(Entries(), (QStringList{"absolute.kv5d", "chained.kv5d", "real", "relative.kv5d"}));
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"wall.kv5d"});
}

TEST_F(FileSafetyTest, ALinkToAFileNotYetThereCreatesThatFile) {
    ASSERT_EQ(::symlink("made.kv5d", QFile::encodeName(Path("link.kv5d")).constData()), 0);
    WriteFileAtomically(Path("link.kv5d"), "new\r\n");
    EXPECT_TRUE(QFileInfo(Path("link.kv5d")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("made.kv5d")), "new\r\n");
}

TEST_F(FileSafetyTest, AStageFileThatIsALinkStaysALink) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("kept"));
    const QString target = WriteFile("kept/pit.st2", "old\r\n");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                        QFile::encodeName(Path("pit.st2")).constData()),
              0);
    project.FileName = Path("pit.kv5d");
    project.StageCount = 2;
    project.CurrentStage = 2;
    WriteStageFile(project);
    EXPECT_TRUE(QFileInfo(Path("pit.st2")).isSymLink());
    EXPECT_TRUE(ReadBytes(target).startsWith(" Stage No : 2\r\n"));
}

TEST_F(FileSafetyTest, ALinkToALinkLoopIsAClearError) {
    ASSERT_EQ(::symlink("b.kv5d", QFile::encodeName(Path("a.kv5d")).constData()), 0);
    ASSERT_EQ(::symlink("a.kv5d", QFile::encodeName(Path("b.kv5d")).constData()), 0);
    try {
        WriteFileAtomically(Path("a.kv5d"), "x");
        ADD_FAILURE() << "a loop of links was written";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("Cannot write file \"%1\". Too many levels of symbolic links")
                      .arg(Path("a.kv5d")));
    }
}

}  // namespace
}  // namespace korvel
