// File > "Export Report as PDF..." in the main window (offscreen): offered once
// results exist, writes the chosen file, and tells the user when it cannot.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/tests/recording_prompts.h"

using namespace korvel;

namespace {}  // namespace

class TReportMenuTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;
    QTemporaryDir dir_;

    static QAction* Export(TMainForm& form) {
        for (QMenu* menu : form.findChildren<QMenu*>()) {
            if (menu->title() == QLatin1String("&File")) form.UpdateMenu(menu);
        }
        return form.findChild<QAction*>(QStringLiteral("FileExportPdf"));
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        TMainPrompts::SetCurrent(&prompts_);
        QVERIFY(dir_.isValid());
    }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }

    void offeredOnceResultsExistAndWritesTheChosenFile() {
        TMainForm form;
        QAction* action = Export(form);
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Export Report as PDF..."));
        QVERIFY(!action->isEnabled());  // a new project has no results

        const QString data = dir_.filePath("cantilever_english.kv5d");
        QVERIFY(QFile::copy(QStringLiteral(KORVEL_EXAMPLES_DIR "/cantilever_english.kv5d"), data));
        QFile(data).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        form.OpenByPath(data);
        QVERIFY(!Export(form)->isEnabled());  // opened, not yet analysed
        form.CompRunClick();
        QVERIFY(Export(form)->isEnabled());

        // A name without an extension gets ".pdf".
        prompts_.SavePath = dir_.filePath("for the checker");
        prompts_.Messages.clear();
        Export(form)->trigger();
        QCOMPARE(prompts_.SaveTitles.last(), QStringLiteral("Export Report as PDF"));
        QCOMPARE(prompts_.Proposed, dir_.filePath("cantilever_english.pdf"));
        QVERIFY2(prompts_.Messages.isEmpty(), qPrintable(prompts_.Messages.join('\n')));
        const QString pdf = dir_.filePath("for the checker.pdf");
        QVERIFY(QFile::exists(pdf));
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString first = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(first.contains(
            QStringLiteral("Cantilever sheet-pile wall, 15 ft cut in medium dense sand")));
        QVERIFY(first.contains(QStringLiteral("Calculation Report")));

        // A folder that does not exist: the user is told, nothing is written.
        prompts_.SavePath = dir_.filePath("missing/report.pdf");
        Export(form)->trigger();
        QCOMPARE(prompts_.Messages.size(), 1);
        QVERIFY(prompts_.Messages.last().startsWith(QStringLiteral("cannot write ") +
                                                    prompts_.SavePath));
        QVERIFY(!QFile::exists(prompts_.SavePath));
    }
};

QTEST_MAIN(TReportMenuTest)
#include "report_menu_test.moc"
