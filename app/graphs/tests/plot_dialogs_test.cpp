// The plot window dialogs (legend texts, active curves, graph title) and the
// export dialog on the offscreen platform, and the workbook of an engine
// example's graphs read back with unzip.
#include "graphs/plot_dialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "entry/table_definitions.h"
#include "entry/ui/message_notifier.h"
#include "graphs/active_lines_dialog.h"
#include "graphs/export_dialog.h"
#include "graphs/graph_caption_dialog.h"
#include "graphs/graph_windows.h"
#include "graphs/legend_box.h"
#include "graphs/line_names_dialog.h"
#include "graphs/plot_form.h"
#include "graphs/plot_painter.h"
#include "graphs/workbook_export.h"
#include "project/program_data.h"

namespace korvel {
namespace {

QString Data(const char* name) {
    return QStringLiteral(KORVEL_GRAPH_DATA "/") + QString::fromLatin1(name);
}

class TRecordingNotifier : public TMessageNotifier {
  public:
    TRecordingNotifier() { SetCurrent(this); }
    ~TRecordingNotifier() override { SetCurrent(nullptr); }
    void Information(QWidget*, const QString& text) override { Messages.append(text); }
    QStringList Messages;
};

void MakeCurves(TGraphPlot& graph, int n) {
    graph.Caption = "Test Graph";
    graph.Lines.SetCurveCount(n);
    graph.Lines.SetPointCount(2);
    for (int i = 0; i < n; ++i) graph.Lines.Point(i, 1) = {10.0L + i, 25.0L};
}

QStringList CurveItemTexts(const TPlotForm& form) {
    QStringList texts;
    for (QAction* a : form.PlotMenu()->actions()) {
        if (a->objectName().startsWith("Curve")) texts.append(a->text());
    }
    return texts;
}

TEST(LegendDialog, EditsTheTextsOfEveryCurve) {
    TRecordingNotifier notifier;
    TGraphPlot graph;
    MakeCurves(graph, 3);
    graph.Lines.Curve(2).Active = false;
    TfrmLineNames dialog(graph);
    EXPECT_EQ(dialog.windowTitle(), "Legend");
    ASSERT_EQ(dialog.List()->count(), 3);  // inactive curves too
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_EQ(dialog.Edit()->text(), "Curve #1");
    dialog.List()->setCurrentRow(1);
    EXPECT_EQ(dialog.Edit()->text(), "Curve #2");
    EXPECT_EQ(dialog.Edit()->palette().color(QPalette::Text), CurveColours[1]);

    dialog.Edit()->setText("Sand at 5 ft");
    dialog.CommitEdit();
    EXPECT_EQ(dialog.List()->item(1)->text(), "Sand at 5 ft");
    dialog.Edit()->clear();
    dialog.CommitEdit();
    EXPECT_EQ(notifier.Messages, QStringList{"The line must have a name!"});
    EXPECT_EQ(dialog.Edit()->text(), "Sand at 5 ft");

    EXPECT_EQ(graph.LegendText(1), "Curve #2");  // nothing changes before OK
    dialog.Apply(graph);
    EXPECT_EQ(graph.LegendText(1), "Sand at 5 ft");
    EXPECT_EQ(graph.Lines.Curve(0).Name, "Curve #1");
}

TEST(LegendDialog, NewTextsReachTheLegendAndThePlotMenu) {
    TGraphPlot graph;
    MakeCurves(graph, 3);
    TPlotForm form(graph);
    form.resize(800, 600);
    TfrmLineNames dialog(graph, &form);
    dialog.List()->setCurrentRow(2);
    dialog.Edit()->setText("Last");
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    dialog.Apply(graph);
    RebuildCurveItems(form);
    EXPECT_EQ(CurveItemTexts(form), (QStringList{"Curve #1", "Curve #2", "Last"}));
    EXPECT_EQ(form.Legend()->ItemText(2), "Last *");
}

TEST(ActiveCurvesDialog, TogglesAndSetsStates) {
    TGraphPlot graph;
    MakeCurves(graph, 3);
    graph.Lines.Curve(1).Active = false;
    TfrmActiveLines dialog(graph);
    EXPECT_EQ(dialog.windowTitle(), "Active Curves");
    EXPECT_EQ(dialog.List()->item(0)->text(), " yes :    Curve #1");
    EXPECT_EQ(dialog.List()->item(1)->text(), " no  :    Curve #2");
    dialog.List()->item(0)->setSelected(true);
    dialog.List()->item(1)->setSelected(true);
    dialog.ToggleSelectedButton()->click();
    EXPECT_EQ(dialog.List()->item(0)->text(), " no  :    Curve #1");
    EXPECT_EQ(dialog.List()->item(1)->text(), " yes :    Curve #2");
    emit dialog.List()->itemDoubleClicked(dialog.List()->item(2));
    EXPECT_FALSE(dialog.States().Active(2));
    dialog.ActivateAllButton()->click();
    EXPECT_TRUE(dialog.States().Active(0) && dialog.States().Active(2));
    EXPECT_FALSE(graph.Lines.Curve(1).Active);  // only OK applies
    dialog.Apply(graph);
    EXPECT_TRUE(graph.Lines.Curve(1).Active);
}

TEST(ActiveCurvesDialog, DeactivatingAllEmptiesLegendAndMenuAndActivatingRestores) {
    TGraphPlot graph;
    MakeCurves(graph, 25);
    TPlotForm form(graph);
    form.resize(800, 600);
    EXPECT_EQ(form.Legend()->ItemCount(), 20);  // the first 20 start active
    {
        TfrmActiveLines dialog(graph, &form);
        dialog.DeactivateAllButton()->click();
        dialog.Apply(graph);
        RebuildCurveItems(form);
    }
    EXPECT_EQ(form.Legend()->ItemCount(), 0);
    EXPECT_EQ(form.Legend()->height(), 3);
    EXPECT_TRUE(CurveItemTexts(form).isEmpty());
    {
        TfrmActiveLines dialog(graph, &form);
        dialog.ActivateAllButton()->click();
        dialog.Apply(graph);
        RebuildCurveItems(form);
    }
    EXPECT_EQ(form.Legend()->ItemCount(), 25);
    EXPECT_EQ(CurveItemTexts(form).size(), 25);
    EXPECT_EQ(CurveItemTexts(form).last(), "Curve #25");
    // A rebuilt item still toggles its curve.
    graph.Lines.Curve(24).Visible = true;
    form.Action("Curve24")->trigger();
    EXPECT_FALSE(graph.Lines.Curve(24).Visible);
}

TEST(GraphCaptionDialog, TheCloseBoxStillAppliesTheText) {
    TGraphPlot graph;
    EXPECT_FALSE(graph.TitleOnTop);  // a title stands below the graph at first
    TfrmGraphCaption dialog(graph);
    EXPECT_EQ(dialog.windowTitle(), "Graph Caption");
    EXPECT_TRUE(dialog.BottomButton()->isChecked());
    dialog.show();
    dialog.Edit()->setText("Wall at stage 2");
    dialog.TopButton()->setChecked(true);
    dialog.close();
    EXPECT_EQ(graph.Title, "Wall at stage 2");
    EXPECT_TRUE(graph.TitleOnTop);
}

TEST(ExportDialog, ProposesTheProjectsName) {
    EXPECT_EQ(WorkbookPathFor("/data/walls/tb1.kv5d", "/home/u"), "/home/u/tb1.xlsx");
    EXPECT_EQ(WorkbookPathFor("/data/walls/cut.2.kv5d", "/home/u"), "/home/u/cut.2.xlsx");
    EXPECT_EQ(WorkbookPathFor("", "/home/u"), "/home/u/plots.xlsx");
}

TEST(ExportDialog, ListsEnabledGraphsCheckedAndOthersGreyed) {
    TResultPlots plots;
    std::array<bool, kGraphCount> enabled{};
    enabled[GraphIndex(TGraphKind::kDef)] = true;
    enabled[GraphIndex(TGraphKind::kCombine)] = true;
    plots.pltPY.Caption = "p-y Curves";
    plots.pltDef.Caption = "Deflection vs Depth";
    TDlgExport dialog([&] { return ExportCandidates(plots, enabled); });
    EXPECT_EQ(dialog.windowTitle(), "Export to Excel");
    ASSERT_EQ(dialog.List()->count(), 7);
    EXPECT_EQ(dialog.List()->item(0)->text(), "p-y Curves");
    EXPECT_EQ(dialog.List()->item(0)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(dialog.List()->item(0)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(dialog.List()->item(1)->checkState(), Qt::Checked);
    EXPECT_TRUE(dialog.GenerateButton()->isEnabled());
    dialog.UnselectAllButton()->click();
    EXPECT_FALSE(dialog.GenerateButton()->isEnabled());
    dialog.SelectAllButton()->click();
    EXPECT_TRUE(dialog.GenerateButton()->isEnabled());
    EXPECT_EQ(dialog.List()->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(dialog.List()->item(6)->checkState(), Qt::Checked);
}

TEST(SpreadsheetColumn, UsesOneAndTwoLetters) {
    EXPECT_EQ(SpreadsheetColumn(1), "A");
    EXPECT_EQ(SpreadsheetColumn(24), "X");
    EXPECT_EQ(SpreadsheetColumn(26), "Z");
    EXPECT_EQ(SpreadsheetColumn(27), "AA");
    EXPECT_EQ(SpreadsheetColumn(702), "ZZ");
    EXPECT_EQ(SpreadsheetColumn(703), "AAA");
}

// A member of a zip archive, read by the system's unzip.
QByteArray Unzip(const QString& archive, const QString& member) {
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, member});
    if (!unzip.waitForFinished(20000)) return {};
    return unzip.readAllStandardOutput();
}

QStringList ZipMembers(const QString& archive) {
    QProcess unzip;
    unzip.start("unzip", {"-Z1", archive});
    if (!unzip.waitForFinished(20000)) return {};
    return QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QStringList Matches(const QByteArray& xml, const QString& pattern) {
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(QString::fromUtf8(xml));
    while (it.hasNext()) found.append(it.next().captured(1));
    return found;
}

class WorkbookExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("unzip").isEmpty()) GTEST_SKIP() << "no unzip";
        ASSERT_TRUE(project.CreateFromFile(Data("user_py_curves_english.kv5d")).Complete);
        ASSERT_TRUE(graphs.ReadPlotFile(Data("user_py_curves_english.kv5p"), true))
            << graphs.LastError().toStdString();
    }

    TProgramTables tables;
    TProgramData project{tables};
    TGraphWindows graphs{project};
    QTemporaryDir dir;
};

TEST_F(WorkbookExportTest, TheDialogWritesEveryEnabledGraphAndOpensTheWorkbook) {
    TResultPlots& plots = graphs.Plots();
    ASSERT_EQ(plots.pltPY.Lines.CurveCount(), 12);
    std::array<bool, kGraphCount> enabled{};
    enabled.fill(true);
    TDlgExport dialog([&] { return ExportCandidates(plots, enabled); });
    const QString chosen = dir.filePath("plots");
    dialog.SetPathChooser([&](QWidget*) { return chosen; });
    QString opened;
    dialog.SetOpener([&](const QString& path) {
        opened = path;
        return true;
    });
    const QString path = dialog.Generate();
    ASSERT_EQ(path, chosen + ".xlsx");
    EXPECT_EQ(opened, path);

    // Sheets: the index, then a data sheet and a chart sheet per graph.
    const QByteArray workbook = Unzip(path, "xl/workbook.xml");
    EXPECT_EQ(
        Matches(workbook, R"re(<sheet name="([^"]+)")re"),
        (QStringList{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2", "Page_3", "Plot_3", "Page_4",
                     "Plot_4", "Page_5", "Plot_5", "Page_6", "Plot_6", "Page_7", "Plot_7"}));
    const QStringList members = ZipMembers(path);
    EXPECT_EQ(members.filter(QRegularExpression("^xl/charts/chart\\d+\\.xml$")).size(), 7);
    EXPECT_EQ(members.filter(QRegularExpression("^xl/chartsheets/sheet\\d+\\.xml$")).size(), 7);

    // The p-y graph's 12 curves fill columns A to X of the first data sheet.
    const QByteArray page1 = Unzip(path, "xl/worksheets/sheet2.xml");
    const QStringList row5 = Matches(page1, R"re(<c r="([A-Z]+)5")re");
    EXPECT_EQ(row5.size(), 24);
    EXPECT_EQ(row5.first(), "A");
    EXPECT_EQ(row5.last(), "X");
    EXPECT_TRUE(Matches(page1, R"re(<c r="(Y\d+)")re").isEmpty());
    // Links: each graph's sheet name on the index, and back from each data sheet.
    const QByteArray legend = Unzip(path, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(Matches(legend, R"re(<hyperlink ref="(D\d+)")re"),
              (QStringList{"D3", "D4", "D5", "D6", "D7", "D8", "D9"}));
    EXPECT_EQ(Matches(legend, R"re(location="([^"]+)")re").first(), "'Page_1'!A1");
    EXPECT_EQ(Matches(page1, R"re(<hyperlink ref="([A-Z]+\d+)")re"), QStringList{"G1"});
    EXPECT_EQ(Matches(page1, R"re(location="([^"]+)")re"), QStringList{"'Legend'!A1"});

    const QByteArray strings = Unzip(path, "xl/sharedStrings.xml");
    for (const char* header : kLegendHeaders)
        EXPECT_TRUE(strings.contains(QByteArray(">") + header + "<")) << header;
    EXPECT_TRUE(strings.contains(">Complete<"));
    EXPECT_TRUE(strings.contains(">Go to Legend Page<"));

    // The p-y chart: 12 named series of lines and markers, no reversed axis; the
    // deflection chart (graph 2) draws its depth axis downwards.
    const QByteArray chart1 = Unzip(path, "xl/charts/chart1.xml");
    EXPECT_TRUE(chart1.contains("<c:scatterChart>"));
    EXPECT_EQ(chart1.count("<c:ser>"), 12);
    EXPECT_TRUE(chart1.contains("'Page_1'!$W$6:$W$"));
    EXPECT_FALSE(chart1.contains("maxMin"));
    EXPECT_EQ(chart1.count("<c:majorGridlines/>"), 2);
    const QByteArray chart2 = Unzip(path, "xl/charts/chart2.xml");
    EXPECT_TRUE(chart2.contains("<c:orientation val=\"maxMin\"/>"));
    EXPECT_TRUE(chart2.contains("<c:crosses val=\"max\"/>"));
}

TEST_F(WorkbookExportTest, AnUnwritablePlaceIsReported) {
    TRecordingNotifier notifier;
    std::array<bool, kGraphCount> enabled{};
    enabled[GraphIndex(TGraphKind::kPY)] = true;
    TDlgExport dialog([&] { return ExportCandidates(graphs.Plots(), enabled); });
    dialog.SetPathChooser([&](QWidget*) { return dir.filePath("missing/folder/plots.xlsx"); });
    bool opened = false;
    dialog.SetOpener([&](const QString&) { return opened = true; });
    EXPECT_TRUE(dialog.Generate().isEmpty());
    EXPECT_FALSE(opened);
    ASSERT_EQ(notifier.Messages.size(), 1);
    EXPECT_TRUE(notifier.Messages[0].startsWith("The workbook "))
        << notifier.Messages[0].toStdString();
}

// Pictures of the legend dialog over a p-y graph, written where KORVEL_SHOT_DIR
// names a folder.
TEST_F(WorkbookExportTest, LegendDialogPicture) {
    const QString folder = qEnvironmentVariable("KORVEL_SHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "KORVEL_SHOT_DIR not set";
    TfrmLineNames dialog(graphs.Plots().pltPY);
    dialog.List()->setCurrentRow(2);
    dialog.show();
    QTest::qWait(100);
    ASSERT_TRUE(dialog.grab().save(folder + "/legend_dialog.png"));
    TfrmActiveLines active(graphs.Plots().pltPY);
    active.show();
    QTest::qWait(100);
    ASSERT_TRUE(active.grab().save(folder + "/active_curves_dialog.png"));
}

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
