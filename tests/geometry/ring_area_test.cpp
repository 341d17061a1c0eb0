#include "geometry/ring_area.h"

#include <gtest/gtest.h>

#include <vector>

namespace parquill {
namespace {

struct Point {
  double x, y;
};

TEST(RingArea, ShoelaceAreaOfRingsEitherWayRoundWithOrWithoutTheirClosingPoint) {
  struct Case {
    const char* name;
    std::vector<Point> ring;
    double area;
  };
  const Case cases[] = {
      {"unit square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1},
      {"closed, clockwise", {{0, 0}, {0, 2}, {3, 2}, {3, 0}, {0, 0}}, 6},
      {"triangle", {{0, 0}, {4, 0}, {0, 3}}, 6},
      {"L shape", {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 3},
      // The sample's first lot, in survey coordinates.
      {"far from the origin",
       {{-28410.25, 15730.5}, {-28392, 15730.5}, {-28392, 15754.5}, {-28410.25, 15754.5}},
       438},
      {"a line", {{0, 0}, {5, 5}}, 0},
      {"no point", {}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(RingArea(c.ring), c.area) << c.name;
  }
}

}  // namespace
}  // namespace parquill
