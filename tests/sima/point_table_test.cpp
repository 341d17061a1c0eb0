#include "sima/point_table.h"

#include <gtest/gtest.h>

namespace parquill {
namespace {

TEST(PointTable, NumbersFromOneInOrderOfAdding) {
  PointTable points;
  EXPECT_EQ(points.count(), 0);
  EXPECT_EQ(points.Find(0, 0), 0);
  EXPECT_EQ(points.Add(5, 6), 1);
  EXPECT_EQ(points.Add(7, 8), 2);
  EXPECT_EQ(points.count(), 2);
  EXPECT_EQ(points.X(2), 7);
  EXPECT_EQ(points.Y(2), 8);
}

TEST(PointTable, MatchWithinTheToleranceInBothAxes) {
  PointTable points;
  points.Add(100, 200);
  struct Case {
    double x, y;
    int found;
  };
  const Case cases[] = {
      {100, 200, 1},      {100.001, 200, 1},  {100, 199.999, 1}, {100.001, 200.001, 1},
      {100.0011, 200, 0}, {100, 200.0011, 0}, {99.9989, 200, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(points.Find(c.x, c.y), c.found) << c.x << " " << c.y;
}

// Coordinates carry five decimals: a difference of exactly 0.001 in decimal is
// within the tolerance at any magnitude, though the binary values may differ
// by a hair more.
TEST(PointTable, ExactlyTheToleranceApartMatchesAtAnyMagnitude) {
  const double bases[] = {0, 0.5, 100, -12345.678, 123456.78901, 9876543.21};
  for (double base : bases) {
    PointTable points;
    points.Add(base, -base);
    EXPECT_EQ(points.Find(base + 0.001, -base - 0.001), 1) << base;
    EXPECT_EQ(points.Find(base - 0.001, -base + 0.001), 1) << base;
    EXPECT_EQ(points.Find(base + 0.00101, -base), 0) << base;
    EXPECT_EQ(points.Find(base, -base - 0.00101), 0) << base;
  }
}

TEST(PointTable, TheLowestNumberWins) {
  PointTable points;
  points.Add(0, 0);
  points.Add(0.0015, 0);
  EXPECT_EQ(points.Find(0.0008, 0), 1);
  EXPECT_EQ(points.Find(0.0012, 0), 2);
}

TEST(PointTable, FullAtFifteenThousand) {
  PointTable points;
  for (int i = 1; i <= PointTable::kCapacity; ++i) ASSERT_EQ(points.Add(i, 0), i);
  EXPECT_EQ(points.Add(-1, -1), 0);
  EXPECT_EQ(points.count(), 15000);
}

}  // namespace
}  // namespace parquill
