// Reading plot data files written by the engine for its examples, and files
// that do not fit: where each number goes, names, conversions and failures.
#include "graphs/plot_file_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "entry/table_definitions.h"
#include "graphs/result_plots.h"
#include "project/program_data.h"

namespace korvel {
namespace {

QString Data(const char* name) {
    return QStringLiteral(KORVEL_GRAPH_DATA "/") + QString::fromLatin1(name);
}

class PlotReaderTest : public ::testing::Test {
  protected:
    void Open(const char* data_file) {
        const TReadResult read = project.CreateFromFile(Data(data_file));
        ASSERT_TRUE(read.Complete) << read.Message.toStdString();
    }
    TPlotReadResult Read(const QString& path, bool after_run = false) {
        return ReadPlotFile(path, after_run, graphs, project);
    }
    // A plot file with the given text in a scratch folder.
    QString Write(const QByteArray& text) {
        const QString path = dir.filePath(QStringLiteral("t.kv5p"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }
    static std::vector<QString> Names(const TCurveList& list) {
        std::vector<QString> names;
        for (int i = 0; i < list.CurveCount(); ++i) names.push_back(list.Curve(i).Name);
        return names;
    }

    TProgramTables tables;
    TProgramData project{tables};
    TResultPlots graphs;
    QTemporaryDir dir;
};

TEST_F(PlotReaderTest, SingleSetKeepsItsOneUnnamedCurve) {
    Open("sand_cantilever_py_english.kv5d");
    const TPlotReadResult r = Read(Data("sand_cantilever_py_english.kv5p"));
    ASSERT_TRUE(r.Loaded) << r.Error.toStdString();
    for (TGraphPlot* g : {&graphs.pltDef, &graphs.pltMom, &graphs.pltShear, &graphs.pltSoil}) {
        ASSERT_EQ(g->Lines.CurveCount(), 1);
        EXPECT_EQ(g->Lines.PointCount(), 62);  // 60 increments: stations 0 to 61
        EXPECT_EQ(g->Lines.Curve(0).Name, QString());
        EXPECT_EQ(g->Units(), 1);
    }
    // Generated p-y curves: five of 33 points, labelled by depth.
    ASSERT_EQ(graphs.pltPY.Lines.CurveCount(), 5);
    EXPECT_EQ(graphs.pltPY.Lines.PointCount(), 33);
    EXPECT_NEAR(graphs.pltPY.Lines.Curve(0).Value, 180.10L, 1e-12L);
    EXPECT_EQ(graphs.pltPY.LegendText(0), "Curve at 180.1");
    EXPECT_NEAR(graphs.pltPY.Lines.Point(0, 0).X, -36.5L, 1e-12L);
    EXPECT_NEAR(graphs.pltPY.Lines.Point(0, 0).Y, 731.0L, 1e-12L);
    // Earth pressure: depth 360 in drawn at 30 ft; the combined graph in feet too.
    EXPECT_NEAR(graphs.pltLD.Lines.Point(0, 2).Y, 30.0L, 1e-12L);
    EXPECT_NEAR(graphs.pltLD.Lines.Point(0, 2).X, 43.8L, 1e-12L);
    EXPECT_NEAR(graphs.PltCombine.Lines.Point(1, 1).Y, 15.0L, 1e-12L);
    EXPECT_EQ(
        Names(graphs.PltCombine.Lines),
        (std::vector<QString>{"Total Earth Pressure", "from Soils ", "from Surcharge Loads"}));
    EXPECT_NEAR(graphs.PltCombine.Lines.Point(1, 0).X, 1e-7L, 1e-15L);
    // The project's arrays: pressure depth as read, results as drawn.
    EXPECT_EQ(project.Results.EarthPressureRowCount, 3);
    EXPECT_NEAR(project.Results.Sets[0].EarthPressureDepth[2], 360.0L, 1e-12L);
    const TFloatPoint last = graphs.pltDef.Lines.Point(0, 61);
    EXPECT_NEAR(last.Y, 61 * 6 / 12.0L, 1e-9L);
    EXPECT_EQ(project.Results.Sets[0].NodeDepth[61], last.Y);
    EXPECT_EQ(project.Results.Sets[0].Deflection[61], last.X);
    // Captions of English units, and the three panels take theirs from the single graphs.
    EXPECT_EQ(graphs.pltDef.YCaption, "Depth (ft)");
    EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (in-kips)");
    EXPECT_EQ(graphs.pltShear.XCaption, "Shear (kips)");
    EXPECT_EQ(graphs.pltDMS.XAxisCaption(1), "Deflection (in)");
    EXPECT_EQ(graphs.pltDMS.XAxisCaption(2), "Bending Moment (in-kips)");
    EXPECT_EQ(graphs.pltDMS.YAxisCaption(3), "Depth (ft)");
    EXPECT_TRUE(graphs.pltDMS.ShowThree);
}

TEST_F(PlotReaderTest, LayerMarksAndWallFromTheProject) {
    Open("sand_cantilever_py_english.kv5d");
    ASSERT_TRUE(Read(Data("sand_cantilever_py_english.kv5p")).Loaded);
    const TCurveList& marks = graphs.pltDMS.LayerLines;
    ASSERT_EQ(marks.CurveCount(), 3);  // one sand layer, wall length, free height
    EXPECT_EQ(graphs.pltDMS.WallLineCount, 1);
    EXPECT_EQ(marks.Curve(0).Name, " SAND ");
    EXPECT_EQ(marks.Point(0, 0).X, 7.0L);
    EXPECT_NEAR(marks.Point(0, 0).Y, tables.NewSoil->Cell(1, 0).AsFloat(), 1e-12L);
    EXPECT_EQ(marks.Curve(1).Name, "PILE");
    EXPECT_NEAR(marks.Point(1, 0).Y, 30.0L, 1e-12L);  // 60 increments of 6 in
    EXPECT_NEAR(marks.Point(2, 0).Y, 15.0L, 1e-12L);  // free height 180 in
}

TEST_F(PlotReaderTest, SoilTypesGiveNamesAndFills) {
    Open("sand_cantilever_py_english.kv5d");
    tables.NewSoil->SetRowCount(7);
    for (int row = 0; row < 7; ++row) {
        tables.NewSoil->Cell(0, row).SetAsInteger(row + 1);
        tables.NewSoil->Cell(1, row).SetAsFloat(10.0L * (row + 1));
    }
    ASSERT_TRUE(Read(Data("sand_cantilever_py_english.kv5p")).Loaded);
    const TCurveList& marks = graphs.pltDMS.LayerLines;
    ASSERT_EQ(marks.CurveCount(), 9);
    const std::vector<QString> names{" CLAY ", " CLAY ",      " CLAY ",   " SAND ",
                                     " SILT ", "STRONG ROCK", "WEAK ROCK"};
    const std::vector<long double> fills{1, 1, 1, 7, 8, 9, 10};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(marks.Curve(i).Name, names[static_cast<size_t>(i)]);
        EXPECT_EQ(marks.Point(i, 0).X, fills[static_cast<size_t>(i)]);
        EXPECT_EQ(marks.Point(i, 0).Y, 10.0L * (i + 1));
    }
    EXPECT_EQ(graphs.pltDMS.WallLineCount, 7);
}

TEST_F(PlotReaderTest, ShortAndLongTermPair) {
    Open("short_long_term_si.kv5d");
    ASSERT_EQ(project.LongTermMarker, 9);
    const TPlotReadResult r = Read(Data("short_long_term_si.kv5p"));
    ASSERT_TRUE(r.Loaded) << r.Error.toStdString();
    for (TGraphPlot* g :
         {&graphs.pltDef, &graphs.pltMom, &graphs.pltShear, &graphs.pltSoil, &graphs.pltDMS}) {
        EXPECT_EQ(Names(g->Lines), (std::vector<QString>{"Short-Term", "Long-Term"}))
            << g->objectName().toStdString();
        EXPECT_EQ(g->Lines.PointCount(), 42);
    }
    EXPECT_EQ(graphs.pltLD.Lines.CurveCount(), 2);
    // SI: no conversion, metric captions.
    EXPECT_EQ(graphs.pltDef.YCaption, "Depth (m)");
    EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (m-kN)");
    EXPECT_EQ(graphs.pltShear.XCaption, "Shear (kN)");
    EXPECT_EQ(graphs.pltDef.Units(), 2);
    EXPECT_NEAR(graphs.pltDef.Lines.Point(1, 41).Y, 41 * 0.25L, 1e-9L);
    EXPECT_NEAR(graphs.pltLD.Lines.Point(1, 1).X, 38.0L, 1e-9L);  // long-term pressure row
    EXPECT_NEAR(project.Results.Sets[1].EarthPressure[1], 38.0L, 1e-9L);
    // The second block's user p-y curves replace the first block's.
    ASSERT_EQ(graphs.pltPY.Lines.CurveCount(), 3);
    EXPECT_NEAR(graphs.pltPY.Lines.Point(0, 0).Y, 22.0L, 1e-9L);
}

TEST_F(PlotReaderTest, ThreeStages) {
    Open("three_stages_english.kv5d");
    ASSERT_NE(project.LongTermMarker, 9);
    ASSERT_TRUE(Read(Data("three_stages_english.kv5p")).Loaded);
    for (TGraphPlot* g :
         {&graphs.pltDef, &graphs.pltMom, &graphs.pltShear, &graphs.pltSoil, &graphs.pltDMS}) {
        EXPECT_EQ(Names(g->Lines), (std::vector<QString>{"Stage: 1", "Stage: 2", "Stage: 3"}))
            << g->objectName().toStdString();
    }
    EXPECT_EQ(Names(graphs.pltDMS.Lines2),
              (std::vector<QString>{"Stage: 1", "Stage: 2", "Stage: 3"}));
    EXPECT_EQ(graphs.pltLD.Lines.CurveCount(), 3);
    // Row 20 of stage 1: depth 120 in at 10 ft, moment 60610 lb-in at 60.61 in-kips.
    const TFloatPoint m = graphs.pltMom.Lines.Point(0, 20);
    EXPECT_NEAR(m.Y, 10.0L, 1e-12L);
    EXPECT_NEAR(m.X, 60.61L, 1e-12L);
    EXPECT_NEAR(graphs.pltShear.Lines.Point(0, 20).X, 0.6891L, 1e-12L);
    // The report's net reaction per station, a force in LBS, and a caption that says so.
    EXPECT_NEAR(graphs.pltSoil.Lines.Point(0, 20).X, -205.6L, 1e-12L);
    EXPECT_EQ(graphs.pltSoil.XAxisCaption(1), "Net Reaction per Station (lbs)");
    EXPECT_EQ(graphs.pltDMS.Lines2.Point(0, 20).X, m.X);
    EXPECT_EQ(project.Results.Sets[0].Moment[20], m.X);
    // Stage 2's pressure depth 168 in at 14 ft; its array keeps the depth as read.
    EXPECT_NEAR(graphs.pltLD.Lines.Point(1, 1).Y, 14.0L, 1e-12L);
    EXPECT_NEAR(project.Results.Sets[1].EarthPressureDepth[1], 168.0L, 1e-12L);
    EXPECT_NE(project.Results.Sets[2].Deflection[10], 0.0L);
}

TEST_F(PlotReaderTest, ShortPYCurveEndsInCopiesOfItsLastPoint) {
    Open("sand_cantilever_py_english.kv5d");
    QByteArray text = " 0\n 1 2\n 12.5 10\n";
    for (int j = 0; j < 10; ++j)
        text += QByteArray::number(j - 5) + " " + QByteArray::number(5 - j) + "\n";
    text += " 24 14\n";
    for (int j = 0; j < 14; ++j)
        text += QByteArray::number(j - 7) + " " + QByteArray::number(j * 2 - 14) + "\n";
    text += " 1 3 1\n 0 0 0 0 0\n 120 0.5 5000 2000 -3\n 240 0 0 0 0\n";
    const TPlotReadResult r = Read(Write(text));
    ASSERT_TRUE(r.Loaded) << r.Error.toStdString();
    const TCurveList& py = graphs.pltPY.Lines;
    ASSERT_EQ(py.PointCount(), 14);
    EXPECT_EQ(py.Point(0, 5).X, 0.0L);  // a read point at the origin stays
    EXPECT_EQ(py.Point(0, 5).Y, 0.0L);
    for (int j = 10; j < 14; ++j) {
        EXPECT_EQ(py.Point(0, j).X, 4.0L) << j;
        EXPECT_EQ(py.Point(0, j).Y, -4.0L) << j;
    }
    EXPECT_EQ(py.Point(1, 13).X, 6.0L);
    // UNITS 1: depth 120 at 10, moment 5000 at 5, shear 2000 at 2.
    EXPECT_EQ(graphs.pltMom.Lines.Point(0, 1).Y, 10.0L);
    EXPECT_EQ(graphs.pltMom.Lines.Point(0, 1).X, 5.0L);
    EXPECT_EQ(graphs.pltShear.Lines.Point(0, 1).X, 2.0L);
    EXPECT_EQ(graphs.pltDef.Lines.Point(0, 1).X, 0.5L);
    EXPECT_EQ(graphs.pltLD.Lines.PointCount(), 0);
}

TEST_F(PlotReaderTest, ShorterSetIsFilledInGraphsAndArrays) {
    Open("sand_cantilever_py_english.kv5d");
    const QByteArray text =
        " 0\n 2 0\n 2 3 2\n 0 1 2 3 4\n 1 2 3 4 5\n 2 3 4 5 6\n"
        " 0\n 2 0\n 2 2 2\n 0 7 8 9 10\n 1 11 12 13 14\n";
    ASSERT_TRUE(Read(Write(text)).Loaded);
    EXPECT_EQ(graphs.pltDef.Lines.PointCount(), 3);
    const TFloatPoint filled = graphs.pltDef.Lines.Point(1, 2);
    EXPECT_EQ(filled.X, 11.0L);
    EXPECT_EQ(filled.Y, 1.0L);
    EXPECT_EQ(graphs.pltDMS.Lines3.Point(1, 2).X, 13.0L);
    EXPECT_EQ(project.Results.Sets[1].Shear[2], 13.0L);
    EXPECT_EQ(project.Results.Sets[1].NodeDepth[2], 1.0L);
    EXPECT_EQ(Names(graphs.pltDef.Lines), (std::vector<QString>{"Stage: 1", "Stage: 2"}));
}

struct BrokenCase {
    const char* name;
    QByteArray text;
};

class BrokenFileTest : public PlotReaderTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFileTest, StopsWithFalseAndKeepsCaptions) {
    Open("sand_cantilever_py_english.kv5d");
    graphs.pltMom.XCaption = "before";
    const TPlotReadResult r = Read(Write(GetParam().text), true);
    EXPECT_FALSE(r.Loaded);
    EXPECT_FALSE(r.Error.isEmpty());
    EXPECT_EQ(r.UserMessage, "An error occurred in running the main program.");
    EXPECT_EQ(graphs.pltMom.XCaption, "before");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenFileTest,
    ::testing::Values(BrokenCase{"Empty", ""},
                      BrokenCase{"CutInARow", " 3\n 0 0 1e-7 0\n 96 23.3\n"},
                      BrokenCase{"CutInResults", " 0\n 1 0\n 1 62 1\n 0 0.2 0 0 0\n"},
                      BrokenCase{"NotANumber", " 0\n 1 0\n one 2 1\n"},
                      BrokenCase{"NegativeCount", " -3\n 1 0\n 1 0 1\n"},
                      // Counts far beyond what the file holds are refused before any list grows.
                      BrokenCase{"HugeRowCount", " 0\n 1 0\n 1 2000000000 1\n"},
                      BrokenCase{"HugeCurveCount", " 0\n 1 2000000000\n"},
                      BrokenCase{"HugeSetCount", " 0\n 1 0\n 2000000000 0 1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlotReaderTest, TruncatedExampleKeepsWhatWasRead) {
    Open("three_stages_english.kv5d");
    QFile full(Data("three_stages_english.kv5p"));
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    const QByteArray text = full.readAll();
    // Cut at a line end, so that the last number is whole.
    const TPlotReadResult r =
        Read(Write(text.left(text.lastIndexOf('\n', text.size() * 2 / 3) + 1)));
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.Error, "This file either invalid or incomplete.");
    EXPECT_TRUE(r.UserMessage.isEmpty());                 // not after a run: nothing to show
    EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment");  // captions not updated
    EXPECT_NEAR(graphs.pltMom.Lines.Point(0, 20).X, 60.61L, 1e-12L);  // first set kept
}

TEST_F(PlotReaderTest, MissingFileIsAnError) {
    const TPlotReadResult r = Read(dir.filePath(QStringLiteral("none.kv5p")), true);
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.UserMessage, "An error occurred in running the main program.");
}

TEST_F(PlotReaderTest, WallOfThreeHundredIncrementsKeepsEveryRowInTheGraph) {
    Open("sand_cantilever_py_english.kv5d");
    QByteArray text = " 0\n 2 0\n 1 302 2\n";
    for (int r = 0; r < 302; ++r) text += QByteArray::number(r) + " 1 2 3 4\n";
    ASSERT_TRUE(Read(Write(text)).Loaded);
    EXPECT_EQ(graphs.pltDef.Lines.PointCount(), 302);
    EXPECT_EQ(graphs.pltDef.Lines.Point(0, 301).Y, 301.0L);
    EXPECT_EQ(project.Results.Sets[0].NodeDepth[301], 301.0L);
}

TEST_F(PlotReaderTest, ANewReadingNamesItsCurvesAfresh) {
    Open("three_stages_english.kv5d");
    ASSERT_TRUE(Read(Data("three_stages_english.kv5p")).Loaded);
    Open("sand_cantilever_py_english.kv5d");
    ASSERT_TRUE(Read(Data("sand_cantilever_py_english.kv5p")).Loaded);
    ASSERT_EQ(graphs.pltDef.Lines.CurveCount(), 1);
    EXPECT_EQ(graphs.pltDef.Lines.Curve(0).Name, QString());
}

}  // namespace
}  // namespace korvel
