// The section loop: result block counts in the plot data file, section
// titles in the report, and how errors end a run part way.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::Lines;
using testing::ScratchRun;

struct ResultBlockHeader {
    int count, rows, unitSystem;
};

// Walks the plot data file as one stream of numbers, part by part.
std::vector<ResultBlockHeader> ResultBlocks(const std::string& plot) {
    std::istringstream in(plot);
    std::vector<ResultBlockHeader> blocks;
    double skip;
    int pressureRows;
    while (in >> pressureRows) {
        for (int i = 0; i < 4 * pressureRows; ++i) in >> skip;
        int unit, curves;
        in >> unit >> curves;
        for (int c = 0; c < curves; ++c) {
            int points;
            in >> skip >> points;
            for (int i = 0; i < 2 * points; ++i) in >> skip;
        }
        ResultBlockHeader b{};
        in >> b.count >> b.rows >> b.unitSystem;
        for (int i = 0; i < 5 * b.rows; ++i) in >> skip;
        if (!in) break;
        blocks.push_back(b);
    }
    return blocks;
}

// A small cantilever section with a lateral load at the top.
std::vector<std::string> Section(const std::string& title, int unitSystem, int stageCount,
                                 int increments = 10) {
    return {title,
            std::to_string(unitSystem) + " 0\t1\t0\t0\t0 0 " + std::to_string(stageCount) + " 0 0",
            std::to_string(increments) + " 12\t100\t1E-5\t60\t12",
            "0\t" + std::to_string(increments) + "\t1\t1E9",
            "1",
            "1\t0\t0\t100\t0\t0",
            "1",
            std::to_string(increments) + "\t" + std::to_string(increments) + "\t1\t1E6\t1E12"};
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

size_t Count(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

TEST(Sections, SingleAnalysisWritesOneBlockOfNPlusTwoRows) {
    ScratchRun run;
    run.Run(DataFile(Join({Section("Wall", 2, 1, 80), {"0"}})));
    const auto blocks = ResultBlocks(run.Read("wall.kv5p"));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].count, 1);
    EXPECT_EQ(blocks[0].rows, 82);
    EXPECT_EQ(blocks[0].unitSystem, 2);
}

TEST(Sections, ShortAndLongTermWriteTwoBlocksCountingTwo) {
    ScratchRun run;
    const auto lines = Lines(
        run.Run(DataFile(Join({Section("Short", 1, 1), {"9"}, Section("Long", 1, 1), {"0"}}))));
    const auto blocks = ResultBlocks(run.Read("wall.kv5p"));
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].count, 2);
    EXPECT_EQ(blocks[1].count, 2);
    // The long-term section is named by the first title, in its header and above its results.
    EXPECT_EQ(Count(lines, "      Long Term :  Short"), 2u);
    EXPECT_EQ(Count(lines, "      Short"), 2u);
    EXPECT_EQ(Count(lines, "     RESULTS -- ITERATION"), 2u);
}

TEST(Sections, ThreeStagesWriteThreeBlocksCountingThree) {
    ScratchRun run;
    const auto lines = Lines(run.Run(DataFile(Join({Section("Dig", 1, 3),
                                                    {"1"},
                                                    Section("Dig 2", 1, 3),
                                                    {"2"},
                                                    Section("Dig 3", 1, 3),
                                                    {"3"}}))));
    const auto blocks = ResultBlocks(run.Read("wall.kv5p"));
    ASSERT_EQ(blocks.size(), 3u);
    for (const auto& b : blocks) EXPECT_EQ(b.count, 3);
    for (const char* stage :
         {"      Stage No : 1  Dig ", "      Stage No : 2  Dig ", "      Stage No : 3  Dig "}) {
        EXPECT_EQ(Count(lines, stage), 2u) << stage;
    }
}

TEST(Sections, AnyOtherNextCodeAnnouncesAFurtherSection) {
    ScratchRun run;
    const auto lines =
        Lines(run.Run(DataFile(Join({Section("A", 1, 1), {"5"}, Section("B", 1, 1), {"0"}}))));
    EXPECT_EQ(Count(lines, "     RESULTS -- ITERATION"), 2u);
    EXPECT_EQ(ResultBlocks(run.Read("wall.kv5p")).size(), 2u);
}

TEST(Sections, ErrorInTheSecondSectionKeepsTheFirstWhole) {
    auto second = Section("B", 1, 1);
    second[7] = "10\t9\t1\t1E6\t0";  // spring row running backwards
    ScratchRun run;
    const auto lines = Lines(run.Run(DataFile(Join({Section("A", 1, 1), {"9"}, second, {"0"}}))));
    EXPECT_EQ(Count(lines, "     RESULTS -- ITERATION"), 1u);
    const auto error =
        std::find(lines.begin(), lines.end(), "     ERROR STOP -- STATIONS NOT IN ORDER");
    ASSERT_NE(error, lines.end());
    EXPECT_EQ(lines.back().substr(0, 20), "     END OF ANALYSIS");
    // The first section's block went out before the second began; the end
    // writes the last results computed once more, counted as a pair.
    const auto plot = Lines(run.Read("wall.kv5p"));
    ASSERT_GE(plot.size(), 13u);
    EXPECT_EQ(plot[plot.size() - 13], " 2 12 1");
    EXPECT_EQ(ResultBlocks(run.Read("wall.kv5p")).front().count, 2);
}

TEST(Sections, DataBeyondTheEndLeavesNoResultsBlock) {
    auto bad = Section("A", 1, 1);
    bad[4] = "1";
    bad[5] = "1\t11\t11\t100\t0\t0";  // a load at station N+1
    ScratchRun run;
    const auto lines = Lines(run.Run(DataFile(Join({bad, {"0"}}))));
    const auto error =
        std::find(lines.begin(), lines.end(), "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
    ASSERT_NE(error, lines.end());
    ASSERT_EQ(lines.end() - error, 5);
    EXPECT_EQ(*(error + 1), "");
    EXPECT_EQ(*(error + 3), "");
    EXPECT_EQ(Count(lines, "     RESULTS -- ITERATION"), 0u);
    EXPECT_EQ(Lines(run.Read("wall.kv5p")).back(), " 1 0 1");
}

TEST(Sections, ResultsBlockLayoutInSIUnits) {
    ScratchRun run;
    const auto lines = Lines(run.Run(DataFile(Join({Section("Wall", 2, 1), {"0"}}))));
    const auto head = std::find(lines.begin(), lines.end(), "     RESULTS -- ITERATION  2");
    ASSERT_NE(head, lines.end());
    EXPECT_EQ(*(head + 1), "     --------------------");
    EXPECT_EQ(
        *(head + 3),
        "   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    NET REACT/STA    EI ");
    EXPECT_EQ(*(head + 4), std::string(12, ' ') + "  M" + std::string(9, ' ') + "  M" +
                               std::string(19, ' ') + " KN- M" + std::string(7, ' ') + "  KN" +
                               std::string(8, ' ') + "  KN" + std::string(7, ' ') + " KN- M**2");
    EXPECT_EQ(*(head + 5),
              "   ------    ----        ----       -----      ------      ------    ---------    "
              "----------");
    EXPECT_EQ((head + 6)->substr(0, 6), "     0");
    EXPECT_EQ((head + 16)->substr(0, 6), "    10");
    EXPECT_EQ(*(head + 17), "");
}

TEST(Sections, RunNotesHoldTheMonitorOfEverySection) {
    ScratchRun run;
    run.Run(DataFile(Join({Section("A", 1, 1), {"9"}, Section("B", 1, 1), {"0"}})));
    const auto notes = Lines(run.Read("wall.kv5r"));
    EXPECT_EQ(Count(notes, "     ITERATION MONITOR DATA"), 2u);
    EXPECT_EQ(notes[0], "");
    EXPECT_EQ(notes[3], "     ITERATION MONITOR DATA");
    EXPECT_EQ(notes[4], "     ----------------------");
    EXPECT_EQ(notes[5].substr(0, 17), "      1       NO ");
}

}  // namespace
}  // namespace korvel::engine
