#include "run/report_header.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::Lines;
using testing::ScratchRun;

TEST(SplitPath, SplitsWindowsAndLinuxPaths) {
    struct Case {
        std::string path, drive, directory, name, extension;
    };
    for (const Case& c : {
             Case{"C:\\Work\\Wall1.kv5d", "C:", "\\Work\\", "Wall1", ".kv5d"},
             Case{"/home/eng/walls/Wall1.kv5d", "", "/home/eng/walls/", "Wall1", ".kv5d"},
             Case{"/data/v1.2/wall", "", "/data/v1.2/", "wall", ""},
             Case{"wall.kv5output", "", "", "wall", ".kv5o"},
             Case{"D:/mixed\\sep/a.b.kv5p", "D:", "/mixed\\sep/", "a.b", ".kv5p"},
         }) {
        const PathParts parts = SplitPath(c.path);
        EXPECT_EQ(parts.drive, c.drive) << c.path;
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}

TEST(ReportHeader, MatchesTheLayoutLineForLine) {
    ControlFile control;
    control.version = "2015.5.1    ";
    control.identification1 = "Test Engineer   ";
    control.identification2 = "";
    control.identificationNumber = 42;
    control.dataPath = "C:\\Work\\Wall1.kv5d";
    control.reportPath = "C:\\Work\\Wall1.kv5o";
    control.plotPath = "C:\\Work\\Wall1.kv5p";
    SectionTitle title;
    title.title = "Sheet pile";
    std::tm when{};
    when.tm_year = 2015 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 41;
    std::ostringstream out;
    WriteReportHeader(out, control, title, when);

    const std::string rule = "     " + std::string(73, '=');
    const std::string dashes = "     " + std::string(73, '-');
    const std::string blank20(20, ' ');
    const std::vector<std::string> expected = {
        rule,
        "",
        blank20 + "  KORVEL for Windows, Version 2015.5.1    ",
        "",
        blank20 + "Identification No.:        42",
        "",
        blank20 + "   A Program for the Analysis of ",
        blank20 + "   Flexible Retaining Walls ",
        "",
        rule,
        "",
        "",
        "     Analysis prepared by         :",
        "",
        "     Test Engineer",
        "     ",
        "",
        "     Path to file locations      : C:\\Work\\",
        "     Name of input data file     : Wall1.kv5d",
        "     Name of output file         : Wall1.kv5o",
        "     Name of plot output file    : Wall1.kv5p",
        "",
        dashes,
        std::string(26, ' ') + "Time and Date of Analysis",
        dashes,
        "",
        std::string(15, ' ') + "Date:  March 07, 2015     Time:  09:05:41",
        "",
        "      Sheet pile" + std::string(70 - 10, ' '),
    };
    EXPECT_EQ(Lines(out.str()), expected);
}

TEST(ReportHeader, MonthOutsideTheYearLeavesTheDateLineOut) {
    std::tm when{};
    when.tm_mon = 12;
    std::ostringstream out;
    WriteDateTimeBanner(out, when);
    EXPECT_EQ(out.str().find("Date:"), std::string::npos);
}

TEST(ReportHeader, SectionTitleLines) {
    SectionTitle stage{SectionTitle::Kind::Stage, "own", "First", 3};
    SectionTitle longTerm{SectionTitle::Kind::LongTerm, "own", "First", 2};
    std::ostringstream a, b;
    WriteSectionTitleLine(a, stage);
    WriteSectionTitleLine(b, longTerm);
    EXPECT_EQ(a.str(), "\n      Stage No : 3  First" + std::string(65, ' ') + "\n");
    EXPECT_EQ(b.str(), "\n      Long Term :  First" + std::string(65, ' ') + "\n");
}

TEST(ReportHeader, TitleIsCutWithoutSplittingACharacter) {
    const std::string title = std::string(69, 'a') + "\xC3\xA9" + "b";  // é straddles byte 70
    EXPECT_EQ(CutUtf8(title, 70), std::string(69, 'a'));
    EXPECT_EQ(CutUtf8("short", 70), "short");
}

TEST(ReportHeader, EverySectionGetsAHeaderAndLaterOnesTwoEmptyLinesFirst) {
    const std::vector<std::string> section = {
        "Wall", "1 0\t1\t0\t0\t0 0 1 0 0", "10 12\t10\t1E-5\t60\t12", "0\t10\t1\t1000", "0", "0"};
    std::vector<std::string> data = section;
    data.push_back("9");
    data.insert(data.end(), section.begin(), section.end());
    data.push_back("0");
    ScratchRun run;
    const auto lines = Lines(run.Run(DataFile(data), "Any text at all, cut"));
    const std::string rule = "     " + std::string(73, '=');
    std::vector<size_t> titleBlocks;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("KORVEL for Windows, Version ") != std::string::npos) {
            titleBlocks.push_back(i);
            EXPECT_EQ(lines[i].substr(lines[i].size() - 12), "Any text at ");
        }
    }
    ASSERT_EQ(titleBlocks.size(), 2u);
    const size_t second = titleBlocks[1] - 2;  // its opening rule
    EXPECT_EQ(lines[second], rule);
    EXPECT_EQ(lines[second - 1], "");
    EXPECT_EQ(lines[second - 2], "");
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "      Long Term :  Wall" + std::string(66, ' ')),
        lines.end());
}

}  // namespace
}  // namespace korvel::engine
