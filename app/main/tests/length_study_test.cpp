// Computation > "Wall Length Study..." in the main window on the offscreen
// platform: the dialog refuses lengths that cannot be studied, a study from
// the menu runs korvel-run (built beside this test) and shows its table, and
// setting the wall to a length changes the project exactly as korvel-run's
// variant of that length. Prompts are recorded instead of shown.
#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "length_variant.h"
#include "main/length_study_run.h"
#include "main/length_study_window.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/tests/recording_prompts.h"
#include "project/program_data.h"
#include "project/project_history.h"
#include "project/wall_length.h"

using namespace korvel;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fills the dialog as the user does (click into a box, type) and presses OK.
void FillAndAccept(TMainForm& form, const QStringList& values, bool* refused) {
    auto* dialog = form.findChild<TDlgLengthStudy*>();
    if (!dialog) return;
    const char* names[] = {"From", "To", "Step", "Tolerance"};
    for (int i = 0; i < values.size(); ++i) {
        auto* edit = dialog->findChild<QLineEdit*>(QLatin1String(names[i]));
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, values[i]);
    }
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    *refused = dialog->isVisible();
    if (*refused) dialog->reject();
}

}  // namespace

class TLengthStudyTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    QString Example(const QString& name) {
        const QString target = dir_.filePath(name);
        QFile::remove(target);
        QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + name, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    // Chooses the menu item with the dialog answered by values; the study
    // window, or nullptr when none was opened.
    TLengthStudyWindow* StudyFromMenu(TMainForm& form, const QStringList& values, bool* refused) {
        QTimer::singleShot(0, &form,
                           [&form, values, refused] { FillAndAccept(form, values, refused); });
        form.findChild<QAction*>(QStringLiteral("CompLengthStudy"))->trigger();
        return form.findChild<TLengthStudyWindow*>();
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }
    void init() { prompts_ = TRecordingPrompts(); }

    void refusesLengthsThatCannotBeStudied_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("message");
        // cantilever_english: 60 increments of 6 in, free height 180 in; the
        // dialog asks in feet as the wall dialogs show depths (30 ft wall, 15 ft free).
        QTest::newRow("from not below to")
            << QStringList{"40", "20", "2"} << QStringLiteral("From must be below To.");
        QTest::newRow("from equal to")
            << QStringList{"20", "20", "2"} << QStringLiteral("From must be below To.");
        QTest::newRow("step zero")
            << QStringList{"20", "40", "0"} << QStringLiteral("Step must be above 0.");
        QTest::newRow("step negative")
            << QStringList{"20", "40", "-0.5"} << QStringLiteral("Step must be above 0.");
        QTest::newRow("at the free height")
            << QStringList{"15", "40", "2"}
            << QStringLiteral("A length of 15 is not above the free height 15.");
        // 204 in to 1800 in by 3 in: 533 lengths, counted alike in feet.
        QTest::newRow("too many lengths")
            << QStringList{"17", "150", "0.25"}
            << QStringLiteral("533 lengths; at most 500 are studied at once.");
        QTest::newRow("not a number")
            << QStringList{"2x0", "40", "2"} << QStringLiteral("From: \"2x0\" is not a number.");
        QTest::newRow("tolerance") << QStringList{"20", "40", "2", "0"}
                                   << QStringLiteral(
                                          "The tolerance must be a percentage above 0 and below "
                                          "100.");
    }

    void refusesLengthsThatCannotBeStudied() {
        QFETCH(QStringList, values);
        QFETCH(QString, message);
        TMainForm form;
        form.OpenByPath(Example("cantilever_english.kv5d"));
        prompts_.Messages.clear();
        bool refused = false;
        QVERIFY(!StudyFromMenu(form, values, &refused));
        QVERIFY(refused);
        QCOMPARE(prompts_.Messages, QStringList{message});
        QVERIFY(form.MdiArea()->subWindowList().isEmpty());
    }

    // The study from the menu shows korvel-run's own table; the wall set to a
    // chosen row is korvel-run's variant of that length, saved.
    void studyFromMenuThenSetLength() {
        const QString path = Example("cantilever_english.kv5d");
        const QByteArray original = ReadBytes(path);
        TMainForm form;
        form.resize(1200, 860);
        form.show();
        form.OpenByPath(path);
        // The wall dialog stays open through the study: it must show the new length.
        form.findChild<QAction*>(QStringLiteral("DataWallProp"))->trigger();
        auto* increments = form.findChild<QWidget*>(QStringLiteral("DlgProp"))
                               ->findChild<QLineEdit*>(QStringLiteral("Increments"));
        QCOMPARE(increments->text(), QStringLiteral("60"));
        prompts_.Messages.clear();
        bool refused = true;
        // 20 ft to 40 ft by 2 ft: korvel-run's 240 in to 480 in by 24 in.
        TLengthStudyWindow* window = StudyFromMenu(form, {"20", "40", "2"}, &refused);
        QVERIFY(!refused);
        QVERIFY(window);
        QCOMPARE(window->Input().From, 240.0);
        QCOMPARE(window->Input().To, 480.0);
        QCOMPARE(window->Input().Step, 24.0);
        QSignalSpy done(window, &TLengthStudyWindow::finished);
        QVERIFY(window->Running() || done.count() > 0);
        if (done.count() == 0) QVERIFY(done.wait(30000));
        QVERIFY2(prompts_.Messages.isEmpty(), qPrintable(prompts_.Messages.join('\n')));

        // Opened at a usable size, not collapsed.
        QMdiSubWindow* sub = form.MdiArea()->activeSubWindow();
        QCOMPARE(sub->widget(), window);
        QVERIFY(sub && !sub->isMinimized());
        QVERIFY(sub->width() >= 600 && sub->height() >= 400);
        QVERIFY(window->Table()->height() >= 150);

        // The same study on the command line: its rows, number for number.
        QProcess cli;
        cli.start(KorvelRunPath(), {"--lengths", "240:480:24", path});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QStringList cliRows;
        for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n')) {
            QStringList t = line.mid(2).split(' ', Qt::SkipEmptyParts);
            if (t.size() < 10 || !t[0].at(0).isDigit()) continue;
            // length, embedment, ... then the last six figures (no tiebacks here);
            // lengths and depths in feet in the window, deflections in inches.
            const auto feet = [](const QString& inches) {
                return QString::number(inches.toDouble() / 12.0, 'g', 6);
            };
            QStringList last = t.mid(t.size() - 6);
            last[3] = feet(last[3]);
            last[5] = feet(last[5]);
            cliRows << (QStringList{feet(t[0]), feet(t[1])} + last).join(' ');
        }
        QCOMPARE(cliRows.size(), 11);
        QTableWidget* table = window->Table();
        QCOMPARE(table->rowCount(), 11);
        QStringList shown;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList t;
            for (int c : {0, 1, 5, 6, 7, 8, 9, 10}) t << table->item(r, c)->text();
            shown << t.join(' ');
        }
        QCOMPARE(shown, cliRows);
        QVERIFY(cliRows.value(4).startsWith("28 13 1.87 "));  // 336 in, 156 in as the README
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Length\nFT"));
        QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("Head defl.\nIN"));
        QVERIFY2(window->findChild<QLabel*>("CriticalLength")
                     ->text()
                     .startsWith("Critical length: 28 FT (embedment 13 FT)"),
                 qPrintable(window->findChild<QLabel*>("CriticalLength")->text()));
        QVERIFY(!form.Project().Modified());

        // Set the wall to the third row, 288 in: 48 increments of 6 in.
        table->selectRow(2);
        window->findChild<QPushButton*>("SetSelectedLength")->click();
        QCOMPARE(form.Project().Increments, 48);
        QCOMPARE(increments->text(), QStringLiteral("48"));
        QVERIFY(form.Project().Modified());
        QCOMPARE(ReadBytes(path), original);  // nothing saved yet
        QVERIFY(form.SaveProject());
        const cli::LengthVariant variant =
            cli::LengthVariantBuilder(
                QString(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + "cantilever_english.kv5d")
                    .toStdString())
                .Build(288, 480);
        QCOMPARE(ReadBytes(path), QByteArray::fromStdString(variant.text));

        // Then to the critical length: 56 increments.
        window->findChild<QPushButton*>("SetCriticalLength")->click();
        QCOMPARE(form.Project().Increments, 56);
        QCOMPARE(static_cast<double>(form.Project().IncrementLength) * 56, 336.0);
        // One step for Edit > Undo: back to the 48 increments saved.
        QCOMPARE(form.findChild<QAction*>("EditUndo")->text(),
                 QStringLiteral("Undo Set Wall Length"));
        form.EditUndoClick();
        QCOMPARE(form.Project().Increments, 48);
        QCOMPARE(increments->text(), QStringLiteral("48"));
        QVERIFY(!form.Project().Modified());
    }

    // The dialog checks the stage in the project; korvel-run checks every stage
    // and its refusal reaches the user in words, with no table.
    void refusalOfKorvelRunIsShown() {
        TMainForm form;
        form.OpenByPath(Example("three_stages_english.kv5d"));
        prompts_.Messages.clear();
        bool refused = true;
        TLengthStudyWindow* window = StudyFromMenu(form, {"20", "40", "2"}, &refused);
        QVERIFY(!refused);
        QVERIFY(window);
        QSignalSpy done(window, &TLengthStudyWindow::finished);
        if (window->Running()) QVERIFY(done.wait(30000));
        QCOMPARE(prompts_.Messages,
                 QStringList{"The study could not be made.\rkorvel-run: a length of 240 is not "
                             "above the free height 240 of section 3"});
        QCOMPARE(window->Table()->rowCount(), 0);
        QVERIFY(!window->findChild<QPushButton*>("SetCriticalLength")->isEnabled());
    }

    // A staged study at the window's opening size: every column in full, the
    // stages named as the graphs name them, the critical length's embedment that
    // of the governing (deepest) stage; the window stays through a run and Save As.
    void stagedStudyShowsTheGoverningStage() {
        const QString path = Example("three_stages_english.kv5d");
        TMainForm form;
        form.resize(1200, 860);
        form.show();
        form.OpenByPath(path);
        prompts_.Messages.clear();
        bool refused = true;
        TLengthStudyWindow* window = StudyFromMenu(form, {"25", "40", "3"}, &refused);
        QVERIFY(!refused);
        QVERIFY(window);
        QSignalSpy done(window, &TLengthStudyWindow::finished);
        if (window->Running()) QVERIFY(done.wait(60000));
        QVERIFY2(prompts_.Messages.isEmpty(), qPrintable(prompts_.Messages.join('\n')));
        QCoreApplication::processEvents();
        // With KORVEL_SHOT_DIR set, a picture of the window as it opened.
        if (!qEnvironmentVariable("KORVEL_SHOT_DIR").isEmpty())
            form.grab().save(qEnvironmentVariable("KORVEL_SHOT_DIR") + "/length_study.png");
        QTableWidget* table = window->Table();
        QVERIFY(table->rowCount() > 0);
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("Stage"));
        // Every column within the table's view, each wide enough for its text.
        int right = 0;
        for (int c = 0; c < table->columnCount(); ++c) {
            right += table->columnWidth(c);
            for (int r = 0; r < table->rowCount(); ++r) {
                if (!table->item(r, c)) continue;
                QVERIFY(table->fontMetrics().horizontalAdvance(table->item(r, c)->text()) <
                        table->columnWidth(c));
            }
        }
        QVERIFY2(right <= table->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(right).arg(table->viewport()->width())));
        const QString critical = window->findChild<QLabel*>("CriticalLength")->text();
        if (window->Result().Critical) {
            const TStudyLengthResult& row = window->Result().Rows[*window->Result().Critical];
            double least = row.Sections.front().Embedment;
            int stage = 1;
            for (size_t k = 0; k < row.Sections.size(); ++k) {
                if (row.Sections[k].Embedment < least) {
                    least = row.Sections[k].Embedment;
                    stage = static_cast<int>(k) + 1;
                }
            }
            // Three stages dig deeper each time: the last governs.
            QCOMPARE(stage, 3);
            QVERIFY2(critical.contains(QStringLiteral("(embedment %1 FT in Stage: 3)")
                                           .arg(QString::number(least / 12.0, 'g', 6))),
                     qPrintable(critical));
        }

        // The window stays through Save As and a run.
        prompts_.SavePath = dir_.filePath("staged_copy.kv5d");
        QVERIFY(form.SaveAsProject());
        form.CompRunClick();
        QCoreApplication::processEvents();
        QVERIFY(form.findChild<TLengthStudyWindow*>());
    }

    // A staged project gets the new length in every stage, as korvel-run's variant.
    void setLengthInEveryStage() {
        const QString path = Example("three_stages_english.kv5d");
        TMainForm form;
        form.OpenByPath(path);
        const SectionOutline before = OutlineOf(form.Project());
        const double length = before.wallLength() + 4 * before.incrementLength;
        SetWallLength(form.Project(), length, length);
        QCOMPARE(form.Project().Increments, before.increments + 4);
        QCOMPARE(form.Project().CurrentStage, 1);
        QVERIFY(!form.History().CanUndo());  // no step holds every stage
        QVERIFY(form.SaveProject());
        const cli::LengthVariant variant =
            cli::LengthVariantBuilder(
                QString(QStringLiteral(KORVEL_EXAMPLES_DIR "/") + "three_stages_english.kv5d")
                    .toStdString())
                .Build(length, length);
        QCOMPARE(ReadBytes(path), QByteArray::fromStdString(variant.text));
    }
};

QTEST_MAIN(TLengthStudyTest)
#include "length_study_test.moc"
