// The design checks in the program (offscreen): the design file read with the
// data file and copied by Save As, the Design Checks window after a run, its
// moment utilisation against a hand calculation, and the wall's EI set from
// a catalogue section.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>
#include <cmath>

#include "design/design_choices.h"
#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "main/design_session.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "main/tests/recording_prompts.h"
#include "project/program_data.h"

using namespace korvel;

namespace {

// Largest |moment| of the report's results table, read here column by column.
double LargestMoment(const QString& report) {
    QFile file(report);
    if (!file.open(QIODevice::ReadOnly)) return NAN;
    double largest = 0.0;
    bool rows = false;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String("------    ----"))) {  // the results table
            rows = true;
            continue;
        }
        if (!rows) continue;
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 6) break;
        largest = std::max(largest, std::abs(words[4].toDouble()));
    }
    return largest;
}

}  // namespace

class TDesignFormTest : public QObject {
    Q_OBJECT

  private:
    TRecordingPrompts prompts_;

  private slots:
    void initTestCase() { TMainPrompts::SetCurrent(&prompts_); }
    void cleanupTestCase() { TMainPrompts::SetCurrent(nullptr); }

    void checksWindowAfterARunAndSaveAsCopiesTheChoices() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tied.kv5d");
        QVERIFY(QFile::copy(KORVEL_EXAMPLES_DIR "/tiedback_si.kv5d", path));
        {
            QFile design(dir.filePath("tied.kv5g"));
            QVERIFY(design.open(QIODevice::WriteOnly));
            design.write("section = AZ 18\ngrade = S355GP\ncode = EN1993-5\n");
        }
        TMainForm form;
        form.OpenByPath(path);
        prompts_.Messages.clear();
        form.CompRunClick();
        QVERIFY(QFile::exists(dir.filePath("tied.kv5o")));
        form.findChild<QAction*>("DesignChecksWindow")->trigger();
        auto* window = form.findChild<TDesignChecksWindow*>("DesignChecks");
        QVERIFY(window);
        QCOMPARE(window->Table()->rowCount(), 1);
        // W_el 1800 cm3/m * 355 N/mm2 = 639 kN m for the 1 m analysed.
        const double hand = LargestMoment(dir.filePath("tied.kv5o")) / 639.0;
        QCOMPARE(window->Table()->item(0, 4)->text(), QString::number(hand, 'f', 3));
        QCOMPARE(window->Table()->item(0, 11)->text(), QStringLiteral("OK"));
        QVERIFY(window->Notes()->text().contains(QStringLiteral("= 639 KN-M")));

        prompts_.SavePath = dir.filePath("copy.kv5d");
        form.FileSaveAsClick();
        QVERIFY(QFile::exists(dir.filePath("copy.kv5d")));
        korvel::design::TDesignChoices copied;
        QVERIFY(korvel::design::ReadDesignFile(dir.filePath("copy.kv5d").toStdString(), copied));
        QCOMPARE(QString::fromStdString(copied.section), QStringLiteral("AZ 18"));
        QCOMPARE(QString::fromStdString(copied.grade), QStringLiteral("S355GP"));
        QVERIFY(QFile::exists(dir.filePath("tied.kv5g")));
    }

    void aProjectWithoutChoicesAsksForASection() {
        TMainForm form;
        prompts_.Messages.clear();
        form.findChild<QAction*>("DesignChecksWindow")->trigger();
        QCOMPARE(prompts_.Messages,
                 QStringList{"Choose a section first (Design, Section and Checks)."});
    }

    void wallStiffnessFromTheSection() {
        TProgramTables tables;
        TProgramData project(tables);
        project.CreateNew();
        project.SetUnitSystem(2);
        TDesignSession session(project, tables);
        korvel::design::TDesignChoices c;
        c.section = "AZ 18";
        c.grade = "S355GP";
        session.SetChoices(c);
        QVERIFY(session.ApplyWallStiffness(2.0));
        // 210000 N/mm2 * 34200 cm4/m * 2 m = 143640 kN m2, in every row.
        QVERIFY(tables.PileSect->RowCount() > 0);
        for (int row = 0; row < tables.PileSect->RowCount(); ++row) {
            QCOMPARE(static_cast<double>(tables.PileSect->Cell(3, row).AsFloat()), 143640.0);
        }
        QVERIFY(project.Modified());
        c.section = "AZ 99";
        session.SetChoices(c);
        QVERIFY(!session.ApplyWallStiffness(1.0));
    }
};

QTEST_MAIN(TDesignFormTest)
#include "design_form_test.moc"
