#include "project/wall_length_rules.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using Rows = std::vector<StationRow>;

// FROM, TO, continued and the first value of each row, for comparing.
std::vector<std::tuple<int, int, bool, double>> Shape(const Rows& rows) {
    std::vector<std::tuple<int, int, bool, double>> out;
    for (const StationRow& r : rows) out.emplace_back(r.from, r.to, r.continued, r.values.at(0));
    return out;
}

struct ResizeCase {
    const char* name;
    Rows rows;
    int oldN, newN;
    std::vector<std::tuple<int, int, bool, double>> expected;
};

class ResizeStationRowsTest : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeStationRowsTest, FollowsTheToe) {
    const ResizeCase& c = GetParam();
    EXPECT_EQ(Shape(ResizeStationRows(c.rows, c.oldN, c.newN)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ResizeStationRowsTest,
    ::testing::Values(
        // The whole wall in one row is stretched or cut with the wall.
        ResizeCase{"whole_wall_longer", {{0, 60, false, {5.0}}}, 60, 70, {{0, 70, false, 5.0}}},
        ResizeCase{"whole_wall_shorter", {{0, 60, false, {5.0}}}, 60, 40, {{0, 40, false, 5.0}}},
        // A single-station row at the toe goes with it either way.
        ResizeCase{"toe_load_longer", {{60, 60, false, {1.0}}}, 60, 70, {{70, 70, false, 1.0}}},
        ResizeCase{"toe_load_shorter", {{60, 60, false, {1.0}}}, 60, 40, {{40, 40, false, 1.0}}},
        // Rows above the toe stay; rows below the new toe go; a row across it is cut.
        ResizeCase{"rows_above_stay",
                   {{5, 5, false, {1.0}}, {10, 30, false, {2.0}}},
                   60,
                   70,
                   {{5, 5, false, 1.0}, {10, 30, false, 2.0}}},
        ResizeCase{"below_goes_across_cut",
                   {{5, 5, false, {1.0}}, {30, 50, false, {2.0}}, {50, 55, false, {3.0}}},
                   60,
                   40,
                   {{5, 5, false, 1.0}, {30, 40, false, 2.0}}},
        // A chain 0 -> 10 -> 20 of 100, 200, 300 cut at 14: the end interpolated, 240.
        ResizeCase{"chain_cut_inside",
                   {{0, 0, true, {100.0}}, {10, 10, true, {200.0}}, {10, 20, false, {300.0}}},
                   20,
                   14,
                   {{0, 0, true, 100.0}, {10, 10, true, 200.0}, {10, 14, false, 240.0}}},
        // Cut exactly at a chain point: the chain ends there.
        ResizeCase{"chain_cut_at_point",
                   {{0, 0, true, {100.0}}, {10, 10, true, {200.0}}, {10, 20, false, {300.0}}},
                   20,
                   10,
                   {{0, 0, true, 100.0}, {10, 10, false, 200.0}}},
        // A chain that started at the new toe leaves nothing.
        ResizeCase{"chain_starting_at_new_toe",
                   {{0, 10, false, {1.0}}, {10, 10, true, {100.0}}, {20, 20, false, {200.0}}},
                   20,
                   10,
                   {{0, 10, false, 1.0}}},
        // A chain ending at the old toe is continued with its last value.
        ResizeCase{"chain_continued",
                   {{0, 0, true, {100.0}}, {10, 20, false, {300.0}}},
                   20,
                   25,
                   {{0, 0, true, 100.0}, {10, 20, false, 300.0}, {20, 25, false, 300.0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LengthRules, AddedRowsHaveNoSource) {
    const Rows out = ResizeStationRows({{0, 0, true, {1.0}}, {0, 20, false, {2.0}}}, 20, 30);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].source, 0);
    EXPECT_EQ(out[1].source, 1);
    EXPECT_EQ(out[2].source, -1);
}

TEST(LengthRules, RestraintsAtTheToeMove) {
    const auto out = ResizeRestraints({0, 30, 60}, 60, 40);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[2].station, 40);
    const auto cut = ResizeRestraints({0, 50, 60}, 60, 40);
    ASSERT_EQ(cut.size(), 2u);  // the one at 50 lies below the new toe
    EXPECT_EQ(cut[1].source, 2);
    EXPECT_EQ(cut[1].station, 40);
}

TEST(LengthRules, CurveSetsKeepReachingTheToe) {
    // Longer: the deepest set is copied to the new toe.
    auto out = ResizeCurveSets({32, 40, 50, 60}, 60, 68);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[4].source, 3);
    EXPECT_EQ(out[4].station, 68);
    // Shorter: the first set below the new toe comes up to it.
    out = ResizeCurveSets({32, 40, 50, 60}, 60, 56);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[3].source, 3);
    EXPECT_EQ(out[3].station, 56);
    out = ResizeCurveSets({32, 40, 50, 60}, 60, 45);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[2].source, 2);
    EXPECT_EQ(out[2].station, 45);
    // A set at the new toe already: the rest simply go.
    out = ResizeCurveSets({32, 40, 50, 60}, 60, 40);
    ASSERT_EQ(out.size(), 2u);
    // Sets that stop above the toe are left as they are.
    out = ResizeCurveSets({32, 40}, 60, 68);
    ASSERT_EQ(out.size(), 2u);
}

TEST(LengthRules, DepthProfileCutAndContinued) {
    const std::vector<DepthRow> rows{{0, 0}, {180, 40}, {360, 80}};
    auto out = ResizeDepthProfile(rows, 360, 270);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_DOUBLE_EQ(out[2].depth, 270);
    EXPECT_DOUBLE_EQ(out[2].value, 60);  // halfway from 40 to 80
    out = ResizeDepthProfile(rows, 360, 180);
    ASSERT_EQ(out.size(), 2u);
    out = ResizeDepthProfile(rows, 360, 420);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_DOUBLE_EQ(out[3].depth, 420);
    EXPECT_DOUBLE_EQ(out[3].value, 80);
    // A profile that stops above the toe is not continued.
    EXPECT_EQ(ResizeDepthProfile({{0, 0}, {180, 40}}, 360, 420).size(), 2u);
}

TEST(LengthRules, IncrementsRoundToTheNearest) {
    EXPECT_EQ(IncrementsFor(300.0, 12.0), 25);
    EXPECT_EQ(IncrementsFor(305.0, 12.0), 25);
    EXPECT_EQ(IncrementsFor(306.0, 12.0), 26);  // halves go up
    EXPECT_EQ(IncrementsFor(0.7, 0.1), 7);      // 0.7 / 0.1 is 6.999... in binary
}

TEST(LengthRules, RangeOfLengths) {
    LengthRange r = ParseLengthRange("240:480:24", 500);
    EXPECT_TRUE(r.error.empty());
    ASSERT_EQ(r.lengths.size(), 11u);
    EXPECT_DOUBLE_EQ(r.lengths.back(), 480);
    r = ParseLengthRange("7:12:0.1", 500);  // 12 is reached through rounding error
    ASSERT_EQ(r.lengths.size(), 51u);
    EXPECT_EQ(ParseLengthRange("240:250:24", 500).lengths.size(), 1u);
}

TEST(LengthRules, BadRanges) {
    for (const char* text : {"480:240:24", "240:240:24", "240:480:0", "240:480:-1", "240:480",
                             "a:480:24", "240:480:24:1", "1:1000:1"}) {
        EXPECT_FALSE(ParseLengthRange(text, 500).error.empty()) << text;
    }
    EXPECT_NE(ParseLengthRange("1:1000:1", 500).error.find("at most 500"), std::string::npos);
}

}  // namespace
}  // namespace korvel
