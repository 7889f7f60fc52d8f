#include "views/deformed_wall.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

TEST(DeformedWall, FactorZeroIsTheStraightWall) {
    const auto s = DeformedWall({1.0, 2.0, 3.0}, 2, 0.5, 0.1, 0.0);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_DOUBLE_EQ(s[0].Top[0].x, -0.05);
    EXPECT_DOUBLE_EQ(s[0].Top[1].x, 0.05);
    EXPECT_DOUBLE_EQ(s[0].Top[0].z, 0.0);
    EXPECT_DOUBLE_EQ(s[1].Bottom[1].x, 0.05);
    EXPECT_DOUBLE_EQ(s[1].Bottom[1].z, -1.0);
}

TEST(DeformedWall, NeighboursShareAMitredEdge) {
    const auto s = DeformedWall({0.0, 1.0, 1.0}, 2, 1.0, 2.0, 1.0);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_DOUBLE_EQ(s[0].Bottom[0].x, s[1].Top[0].x);
    EXPECT_DOUBLE_EQ(s[0].Bottom[1].z, s[1].Top[1].z);
    // Segment 1 leans at 45 degrees: offset (1/sqrt2, 1/sqrt2); segment 2 is
    // vertical: (1, 0). The shared edge takes their mean.
    const double b = (1.0 / std::sqrt(2.0) + 1.0) / 2.0;
    const double c = (1.0 / std::sqrt(2.0)) / 2.0;
    EXPECT_NEAR(s[0].Bottom[0].x, 1.0 - b, 1e-12);
    EXPECT_NEAR(s[0].Bottom[0].z, -1.0 - c, 1e-12);
    EXPECT_NEAR(s[0].Top[1].x, 1.0 / std::sqrt(2.0), 1e-12);
}

TEST(DeformedWall, MissingPointsAreUndeflected) {
    const auto s = DeformedWall({0.3}, 3, 1.0, 0.0, 1.0);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_DOUBLE_EQ(s[0].Top[0].x, 0.3);
    EXPECT_DOUBLE_EQ(s[0].Bottom[0].x, 0.0);
    EXPECT_DOUBLE_EQ(s[2].Bottom[0].x, 0.0);
}

TEST(DeformedWall, NoIncrementsNoSegments) {
    EXPECT_TRUE(DeformedWall({}, 0, 1.0, 0.1, 1.0).empty());
    EXPECT_TRUE(DeformedWall({}, 3, 0.0, 0.1, 1.0).empty());
}

}  // namespace
}  // namespace korvel
