#include "entry/ui/table_chart_form.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "entry/chart_import.h"
#include "entry/table_definitions.h"
#include "entry/ui/table_chart_view.h"
#include "entry/ui/table_grid.h"
#include "project/program_data.h"
#include "recording_notifier.h"

using namespace korvel;

class TableChartFormTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void curveTablesOpenInChartWindows();
    void importControlsAndTheirCaptions();
    void readValuesFromFile();
    void pasteValuesFromClipboard();
    void emptyClipboardIsReported();
    void viewEditReportsAnEditorThatCannotStart();
    void chartFollowsTheTable();
    void constantCurveFixesTheVerticalAxis();
    void okAndCancelButtons();
    void pastedCurvesAreSavedWithTheProject();
    void screenshot();

  private:
    std::unique_ptr<TRecordingNotifier> notifier_;
    std::unique_ptr<TProgramTables> tables_;
};

void TableChartFormTest::init() {
    notifier_ = std::make_unique<TRecordingNotifier>();
    tables_ = std::make_unique<TProgramTables>();
}

void TableChartFormTest::cleanup() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->parent()) windows.append(w);
    }
    for (const QPointer<QWidget>& w : windows) delete w.data();
    tables_.reset();
    notifier_.reset();
    TTableChartForm::SetEditorStarter(nullptr);
}

void TableChartFormTest::curveTablesOpenInChartWindows() {
    QMdiArea area;
    TTableForm* sets = TTableForm::ShowTable(*tables_->PYCurves2, &area);
    auto* sets_form = qobject_cast<TTableChartForm*>(sets);
    QVERIFY(sets_form);
    QCOMPARE(sets_form->ChartView(), nullptr);  // the set table shows no chart
    QCOMPARE(sets_form->PasteButton(), nullptr);
    // The curve of set 1 opens from its flex button, with its chart.
    sets_form->FlexButton(1, 0)->click();
    TGridTable* curve = tables_->PYCurves2->Cell(1, 0).AsTable();
    auto* curve_form = qobject_cast<TTableChartForm*>(curve->Editor());
    QVERIFY(curve_form);
    QVERIFY(curve_form->ChartView());
    QCOMPARE(curve_form->windowTitle(), QStringLiteral("External p-y Curve  1"));

    TTableForm* ei = TTableForm::ShowTable(*tables_->MEICurves2, &area);
    QVERIFY(qobject_cast<TTableChartForm*>(ei));
    ei->FlexButton(2, 0)->click();
    auto* rows_form =
        qobject_cast<TTableChartForm*>(tables_->MEICurves2->Cell(2, 0).AsTable()->Editor());
    QVERIFY(rows_form && rows_form->ChartView());
}

void TableChartFormTest::importControlsAndTheirCaptions() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurve2, nullptr));
    QVERIFY(form);
    QCOMPARE(form->BrowseButton()->text(), QStringLiteral("Browse"));
    QCOMPARE(form->ViewEditButton()->text(), QStringLiteral("View/Edit File"));
    QCOMPARE(form->ReadFileButton()->text(), QStringLiteral("Read values from File"));
    QCOMPARE(form->PasteButton()->text(), QStringLiteral("Paste values from  Clipboard (text)"));
    QCOMPARE(form->OKButton(), nullptr);
    // Reading needs an existing file.
    QVERIFY(!form->ReadFileButton()->isEnabled());
    QVERIFY(!form->ViewEditButton()->isEnabled());
    QTemporaryDir dir;
    const QString path = dir.filePath("curve.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    form->FileNameBox()->setText(path);
    QVERIFY(form->ReadFileButton()->isEnabled());
    QVERIFY(form->ViewEditButton()->isEnabled());
    // Five grid rows at most under the chart: 8 rows scroll.
    tables_->PYCurve2->SetRowCount(8);
    const int row_height = form->Grid()->verticalHeader()->defaultSectionSize();
    QVERIFY(form->Grid()->height() < 7 * row_height + form->Grid()->horizontalHeader()->height());
}

void TableChartFormTest::readValuesFromFile() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurve2, nullptr));
    tables_->PYCurve2->SetRowCount(9);
    QTemporaryDir dir;
    const QString path = dir.filePath("curve.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Deflection Resistance\r\n-1 100\r\n-0.5 60\r\n0 0\r\n0.5 -60\r\n1 -100\r\n");
    file.close();
    form->FileNameBox()->setText(path);
    form->ReadFileButton()->click();
    QCOMPARE(tables_->PYCurve2->RowCount(), 5);
    QCOMPARE(tables_->PYCurve2->Cell(1, 1).AsString(), QStringLiteral("60"));
    QCOMPARE(form->Grid()->model()->rowCount(), 5);
    QVERIFY(tables_->PYCurve2->Modified());
    QVERIFY(notifier_->Messages.isEmpty());
}

void TableChartFormTest::pasteValuesFromClipboard() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->Rows2, nullptr));
    QGuiApplication::clipboard()->setText("1 2 3\r\n0.5,120\r\n");
    form->PasteButton()->click();
    QCOMPARE(tables_->Rows2->RowCount(), 1);
    QCOMPARE(tables_->Rows2->Cell(0, 0).AsString(), QStringLiteral("0.5"));
    QCOMPARE(tables_->Rows2->Cell(1, 0).AsString(), QStringLiteral("120"));
    // A last line without a line end is taken too.
    QGuiApplication::clipboard()->setText("10 20\r30 40");
    form->PasteButton()->click();
    QCOMPARE(tables_->Rows2->RowCount(), 2);
    QCOMPARE(tables_->Rows2->Cell(1, 1).AsString(), QStringLiteral("40"));
}

void TableChartFormTest::emptyClipboardIsReported() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurve2, nullptr));
    QGuiApplication::clipboard()->clear();
    form->PasteButton()->click();
    QCOMPARE(notifier_->Messages, QStringList{"There is no text on the Clipboard"});
}

void TableChartFormTest::viewEditReportsAnEditorThatCannotStart() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurve2, nullptr));
    QString started;
    TTableChartForm::SetEditorStarter([&](const QString& path) {
        started = path;
        return false;
    });
    QTemporaryDir dir;
    QFile file(dir.filePath("a.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    form->FileNameBox()->setText(file.fileName());
    form->ViewEditButton()->click();
    QCOMPARE(started, file.fileName());
    QCOMPARE(notifier_->Messages, QStringList{"An error occurred in running the Word Processor"});
}

void TableChartFormTest::chartFollowsTheTable() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurve2, nullptr));
    TGridTable& curve = *tables_->PYCurve2;
    curve.Cell(0, 0).SetAsFloat(-2);
    curve.Cell(1, 0).SetAsFloat(300000);
    curve.Cell(0, 1).SetAsFloat(2);
    curve.Cell(1, 1).SetAsFloat(-300000);
    const QStringList y = form->ChartView()->YLabels();
    QVERIFY(!y.isEmpty());
    QCOMPARE(y.first(), QStringLiteral("-4.0E5"));  // steps of 2E5
    QCOMPARE(y.last(), QStringLiteral("4.0E5"));
    QCOMPARE(form->ChartView()->XLabels().first(), QStringLiteral("-2"));
    QCOMPARE(form->ChartView()->chart()->axes(Qt::Horizontal).first()->titleText(),
             QStringLiteral("Lateral Deflection, y (*)"));
}

void TableChartFormTest::constantCurveFixesTheVerticalAxis() {
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurve2, nullptr));
    TGridTable& curve = *tables_->PYCurve2;
    curve.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        curve.Cell(0, row).SetAsFloat(row);
        curve.Cell(1, row).SetAsFloat(10);
    }
    QCOMPARE(form->ChartView()->YMinimum(), 9.0);
    QCOMPARE(form->ChartView()->YMaximum(), 11.0);
}

void TableChartFormTest::okAndCancelButtons() {
    TGridTableChart& curve = *tables_->PYCurve2;
    curve.OKCancelButtons = true;
    curve.Cell(1, 0).SetAsFloat(5);
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(curve, nullptr));
    QVERIFY(form->OKButton() && form->CancelButton());
    QCOMPARE(form->CancelButton()->text(), QStringLiteral("Cancel"));
    QVERIFY(form->OKButton()->x() < form->InsertRowButton()->x());
    curve.Cell(1, 0).SetAsFloat(99);
    curve.AddRowGroup();
    QPointer<TTableChartForm> guard = form;
    form->CancelButton()->click();
    QCoreApplication::processEvents();
    QVERIFY(!guard);
    QCOMPARE(curve.RowCount(), 2);
    QCOMPARE(curve.Cell(1, 0).AsString(), QStringLiteral("5"));
}

// External p-y curves entered through their chart windows reach the data file.
void TableChartFormTest::pastedCurvesAreSavedWithTheProject() {
    TProgramData project(*tables_);
    QVERIFY(project.CreateFromFile(KORVEL_EXAMPLES "/sand_cantilever_py_english.kv5d").Complete);
    project.ApplyExternalPYCurves = true;
    project.GeneratePYCurves = false;
    QVERIFY(!project.Modified());
    auto* sets =
        qobject_cast<TTableChartForm*>(TTableForm::ShowTable(*tables_->PYCurves2, nullptr));
    QCOMPARE(tables_->PYCurves2->RowCount(), 2);  // filled up when the window opens
    for (int row = 0; row < 2; ++row) {
        tables_->PYCurves2->Cell(0, row).SetAsInteger(32 + 10 * row);
        sets->FlexButton(1, row)->click();
        auto* curve =
            qobject_cast<TTableChartForm*>(tables_->PYCurves2->Cell(1, row).AsTable()->Editor());
        QVERIFY(curve);
        QGuiApplication::clipboard()->setText(
            QStringLiteral("y\tp\r\n-1\t%1\r\n0\t0\r\n1\t-%1\r\n").arg(3000 * (row + 1)));
        curve->PasteButton()->click();
    }
    QVERIFY(project.Modified());  // chart table edits count as project changes
    const QString text = QString::fromUtf8(project.DataFileText());
    QVERIFY2(text.contains("\t1 2 1 0 0\r\n"), qPrintable(text.section("\r\n", 1, 1)));
    QVERIFY(text.contains("32\t3\t1\t1\r\n-1\t3000\r\n0\t0\r\n1\t-3000\r\n"));
    QVERIFY(text.contains("42\t3\t1\t1\r\n-1\t6000\r\n"));
}

// A picture of a p-y curve window with its chart, written where
// KORVEL_SHOT_DIR names a folder.
void TableChartFormTest::screenshot() {
    const QString folder = qEnvironmentVariable("KORVEL_SHOT_DIR");
    if (folder.isEmpty()) QSKIP("KORVEL_SHOT_DIR not set");
    TGridTable& curve = *tables_->PYCurve2;
    QVERIFY(ImportRows(curve, SplitTextLines("y p\r\n-2 150\r\n-1 120\r\n-0.5 80\r\n0 0\r\n"
                                             "0.5 -80\r\n1 -120\r\n2 -150\r\n")) == 7);
    auto* form = qobject_cast<TTableChartForm*>(TTableForm::ShowTable(curve, nullptr));
    form->FileNameBox()->setText("/home/user/curves/py_layer1.txt");
    form->show();
    QTest::qWait(100);
    QVERIFY(form->grab().save(folder + "/py_curve_table.png"));
}

QTEST_MAIN(TableChartFormTest)
#include "table_chart_form_test.moc"
