// Model code of the main window: file names and titles, recent files, menu
// rules, the control file, the engine binding and the standard-error capture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "main/control_file.h"
#include "main/dynamic_library.h"
#include "main/file_names.h"
#include "main/menu_rules.h"
#include "main/recent_files.h"
#include "main/run_message.h"
#include "main/stderr_capture.h"

using namespace korvel;

TEST(FileNames, TitleDropsOnlyTheKvdExtensionAndKeepsTheCase) {
    EXPECT_EQ(TitleForm("/home/a/tb1.kv5d"), "tb1.kv5d");
    EXPECT_EQ(TitleForm("/home/a/Tb1.kv5d"), "Tb1.kv5d");
    EXPECT_EQ(MainWindowTitle("NewWall.kv5d"), "KORVEL 2015.5.1 - NewWall.kv5d");
    EXPECT_EQ(TitleForm("/home/a/wall1.KVD"), "wall1");
    EXPECT_EQ(TitleForm("/home/a/wall1.kv5d"), "wall1.kv5d");
    EXPECT_EQ(TitleForm("/x/w"), "w");
}

TEST(FileNames, ExtensionsAndFormats) {
    EXPECT_EQ(ChangeFileExt("/a.b/wall", ".kv5o"), "/a.b/wall.kv5o");
    EXPECT_EQ(ChangeFileExt("/a/wall.kv5d", ".kv5p"), "/a/wall.kv5p");
    EXPECT_EQ(FormatFromExtension("/a/W.KVD"), 3);
    EXPECT_EQ(FormatFromExtension("/a/w.kv4d"), 2);
    EXPECT_EQ(FormatFromExtension("/a/w.txt"), 1);
    EXPECT_EQ(FormatFromFilter(5, "/a/w.kv4d"), 2);
    EXPECT_EQ(FormatFromFilter(4, "/a/w.kvd"), 4);
    EXPECT_EQ(StartupDataPath("/home/.hidden/wall"), "/home/.hidden/wall.kv4d");
    EXPECT_EQ(StartupDataPath("wall.kv5d"), "wall.kv5d");
    EXPECT_EQ(WithDataExtension("/a/wall"), "/a/wall.kv5d");
}

TEST(RecentFiles, SameFileTwiceStaysInSlotZero) {
    TRecentFiles recent;
    EXPECT_TRUE(recent.Add("/a/1.kv5d"));
    EXPECT_FALSE(recent.Add("/a/1.kv5d"));
    EXPECT_EQ(recent.Count(), 1);
}

TEST(RecentFiles, FileInSlotFourMovesToTheTop) {
    TRecentFiles recent;
    for (int i = 9; i >= 0; --i) recent.Add(QStringLiteral("/f/%1.kv5d").arg(i));
    ASSERT_EQ(recent.Slot(4), "/f/4.kv5d");
    recent.Add("/f/4.kv5d");
    EXPECT_EQ(recent.Slot(0), "/f/4.kv5d");
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(recent.Slot(i), QStringLiteral("/f/%1.kv5d").arg(i - 1));
    for (int i = 5; i < 10; ++i) EXPECT_EQ(recent.Slot(i), QStringLiteral("/f/%1.kv5d").arg(i));
}

TEST(RecentFiles, EleventhFileDropsTheOldest) {
    TRecentFiles recent;
    for (int i = 0; i < 11; ++i) recent.Add(QStringLiteral("/f/%1.kv5d").arg(i));
    EXPECT_EQ(recent.Count(), 10);
    EXPECT_EQ(recent.Slot(0), "/f/10.kv5d");
    EXPECT_EQ(recent.Slot(9), "/f/1.kv5d");
}

TEST(RecentFiles, CaptionsRelativeToTheCurrentFolder) {
    TRecentFiles recent;
    recent.Add("/other/b.kv5d");
    recent.Add("/work/p&q/a.kv5d");
    EXPECT_EQ(recent.Caption(0, "/work/p&q"), "1 a.kv5d");
    EXPECT_EQ(recent.Caption(1, "/work/p&q"), "2 /other/b.kv5d");
    EXPECT_EQ(recent.Caption(0, "/x"), "1 /work/p&&q/a.kv5d");
}

TEST(MenuRules, NoResultsDisablesEveryGraphicsItem) {
    TResultState state;
    state.PlotFileExists = true;
    state.GraphHasCurve.fill(true);
    const auto graphics = GraphicsMenuRules(state);
    for (bool on : graphics.Graph) EXPECT_FALSE(on);
    EXPECT_FALSE(graphics.Export);
    TProjectFields project;
    for (bool on : ToolBarRules(project, state).Graph) EXPECT_FALSE(on);
}

TEST(MenuRules, OnePointCurvesKeepGraphsDisabled) {
    TResultState state;
    state.PlotFileExists = state.PlotDataLoaded = true;
    const auto graphics = GraphicsMenuRules(state);
    EXPECT_FALSE(graphics.Graph[GraphIndex(TGraphKind::kDef)]);
    EXPECT_FALSE(graphics.Graph[GraphIndex(TGraphKind::kDMS)]);
    EXPECT_TRUE(graphics.Graph[GraphIndex(TGraphKind::kCombine)]);
    EXPECT_TRUE(graphics.Export);
}

TEST(MenuRules, ThreeStagesEnableStagesOneToThree) {
    TProjectFields project;
    project.StageCount = 3;
    project.CurrentStage = 2;
    const auto menu = StageMenuRules(project);
    EXPECT_TRUE(menu.StageEnabled[0] && menu.StageEnabled[1] && menu.StageEnabled[2]);
    EXPECT_FALSE(menu.StageEnabled[3] || menu.StageEnabled[4]);
    EXPECT_TRUE(menu.StageChecked[1]);
    EXPECT_TRUE(menu.CopyPreviousStage);
    const auto buttons = StageButtonRules(project);
    EXPECT_TRUE(buttons.Visible);
    EXPECT_TRUE(buttons.Enabled[2]);
    EXPECT_FALSE(buttons.Enabled[3] || buttons.Enabled[4]);
    EXPECT_EQ(StageStatusText(project), "Construction Stage Number: 2");
}

TEST(MenuRules, LongTermSwapsTheSubmenus) {
    TProjectFields project;
    EXPECT_TRUE(LongTermMenuRules(project).PlainItemsVisible);
    project.LongTermAnalysis = true;
    const auto menus = LongTermMenuRules(project);
    EXPECT_FALSE(menus.PlainItemsVisible);
    EXPECT_TRUE(menus.SubmenusVisible);
    EXPECT_FALSE(menus.StagedOptionEnabled);
    EXPECT_TRUE(DataMenuRules(project).LongTermItemsVisible);
}

TEST(MenuRules, OpeningTheOptionsMenuChangesNothingInTheProject) {
    TProjectFields project;
    project.LongTermAnalysis = true;
    const auto state = OptionsMenuRules(project, 2);
    EXPECT_TRUE(state.LongTermChecked);
    EXPECT_EQ(project.LongTermMarker, 0);  // the writer sets it, from the option itself
    // No pressure chosen yet: no radio mark, and the project stays without one.
    EXPECT_EQ(state.EarthPressureType, 0);
    EXPECT_EQ(OptionsMenuRules(project, 2).EarthPressureType, 0);
    EXPECT_EQ(project.EarthPressureType, 0);
    for (int type : {1, 2, 3}) {
        project.EarthPressureType = type;
        EXPECT_EQ(OptionsMenuRules(project, 1).EarthPressureType, type);
        EXPECT_EQ(DataMenuRules(project).DistributedPressure, type == 1);
    }
}

TEST(MenuRules, WindowListBringsTheFirstOfEqualCaptions) {
    EXPECT_EQ(
        WindowListTarget({"Soil Layers", "Wall Stiffness", "Wall Stiffness"}, "&Wall Stiffness"),
        1);
    EXPECT_EQ(WindowListTarget({"Lateral & Rotational Springs"}, "&Lateral & Rotational Springs"),
              0);
    EXPECT_EQ(WindowListTarget({"A"}, "&B"), -1);
}

TEST(RunMessage, ADataErrorIsToldOnceWithTheReportsLine) {
    QTemporaryDir dir;
    const QString report = dir.filePath("pit.kv5o");
    const auto write = [&report](const QByteArray& text) {
        QFile file(report);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    const QString completed = QStringLiteral(
        "Computations are completed. Please, check output file for results or error messages.");
    EXPECT_EQ(DataErrorLine(report), QString());  // no report at all
    write("  TITLE\n   MAXIMUM MOMENT = 1.0E+05\n\n     END OF ANALYSIS\n");
    EXPECT_EQ(DataErrorLine(report), QString());
    EXPECT_EQ(RunEndMessage(DataErrorLine(report)), completed);
    const struct {
        QByteArray line;
        QString quoted;
    } cases[] = {
        {"     ERROR STOP -- SOIL LAYER 2 GOES BACK UP", "ERROR STOP -- SOIL LAYER 2 GOES BACK UP"},
        {"     TOO MUCH DATA FOR AVAILABLE STORAGE", "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END",
         "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
    };
    for (const auto& c : cases) {
        write("  TITLE\r\n\r\n\r\n" + c.line + "\r\n     END OF ANALYSIS\r\n");
        EXPECT_EQ(DataErrorLine(report), c.quoted);
        const QString message = RunEndMessage(DataErrorLine(report));
        EXPECT_TRUE(message.startsWith("The analysis stopped on an error in the data"));
        EXPECT_TRUE(message.endsWith(c.quoted));
        EXPECT_FALSE(message.contains("completed"));
    }
}

TEST(ControlFile, EightLinesWithCrLf) {
    TRunIdentification id;
    id.Text1 = "KORVEL";
    const QByteArray text = ControlFileText(id, "/w/Wall1.kv5d");
    EXPECT_EQ(
        text,
        QByteArray(
            "2015.5.1\r\nKORVEL\r\n, \r\n0\r\n/w/Wall1.kv5d\r\n/w/Wall1.kv5o\r\n/w/Wall1.kv5p\r\n"
            "/w/Wall1.kv5r\r\n"));
    id.Text2 = "  user ";
    id.Text3 = " host";
    id.Number = 17;
    EXPECT_TRUE(ControlFileText(id, "/w/a.kv5d").contains("\r\nuser, host\r\n17\r\n"));
}

TEST(DynamicLibrary, MissingFileIsNotFound) {
    TDynamicLibrary library;
    library.SetLibraryName("/nonexistent/libnothing.so");
    EXPECT_THROW(library.Open(), EFileNotFoundError);
    EXPECT_FALSE(library.IsOpen());
    EXPECT_THROW(library.GetProc("_IKORVEL"), EDLLNotOpenError);
}

TEST(DynamicLibrary, UnloadableFileFailsToInitialise) {
    QTemporaryDir dir;
    QFile file(dir.filePath("libbad.so"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    TDynamicLibrary library;
    library.SetLibraryName(file.fileName());
    try {
        library.Open();
        FAIL();
    } catch (const EInitError& e) {
        EXPECT_STREQ(e.what(), "Library failed to properly initialize");
    }
}

TEST(DynamicLibrary, BindsTheEngineAndUnloads) {
    TDynamicLibrary library;
    library.SetLibraryName(QStringLiteral(KORVEL_ENGINE_LIBRARY));
    library.Open();
    ASSERT_TRUE(library.IsOpen());
    auto entry = reinterpret_cast<int32_t (*)(int32_t)>(library.GetProc("_IKORVEL"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(0), 1);  // a wrong argument touches no file
    EXPECT_EQ(library.GetProc("NoSuchEntry"), nullptr);
    library.SetLibraryName("/other.so");
    EXPECT_FALSE(library.IsOpen());
}

TEST(StandardErrorCapture, CollectsWhatIsWrittenToDescriptorTwo) {
    TStandardErrorCapture capture;
    std::fputs(" ANALYSIS STOPPED: test\n", stderr);
    const char raw[] = "raw\n";
    ASSERT_EQ(write(2, raw, 4), 4);
    EXPECT_EQ(capture.Finish(), " ANALYSIS STOPPED: test\nraw\n");
    EXPECT_EQ(capture.Finish(), "");
}
