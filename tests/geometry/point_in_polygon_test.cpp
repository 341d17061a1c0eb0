#include "geometry/point_in_polygon.h"

#include <gtest/gtest.h>

#include <vector>

namespace parquill {
namespace {

TEST(InPolygon, OutsideIsPositiveInsideNegativeBoundaryZero) {
  // An L-shaped lot with a horizontal and a vertical edge through y = 1.
  const std::vector<double> x = {0, 2, 2, 1, 1, 0};
  const std::vector<double> y = {0, 0, 1, 1, 2, 2};
  struct Case {
    double px, py;
    int sign;
  };
  const Case cases[] = {
      {0.5, 0.5, -1}, {1.5, 0.5, -1}, {0.5, 1.5, -1}, {1.5, 1.5, 1},  // notch is outside
      {3, 0.5, 1},    {-1, 1, 1},     {0.5, 1, -1},   {2, 0.5, 0},    // on the right edge
      {1.5, 1, 0},    {1, 1.5, 0},    {0, 0, 0},      {1, 1, 0},      // edges and vertices
      {1, 0, 0},      {-1, 0, 1},     {3, 0, 1},      {-1, 2, 1},     // collinear outside
      {3, 1, 1},      {0.5, 2, 0},    {1.5, 2, 1},    {0, 2.5, 1},
  };
  for (const auto& c : cases) {
    int result = InPolygon(6, x.data(), y.data(), c.px, c.py);
    int sign = (result > 0) - (result < 0);
    EXPECT_EQ(sign, c.sign) << c.px << "," << c.py;
  }
}

TEST(InPolygon, DegeneratePolygons) {
  const double x[] = {1, 1};
  const double y[] = {1, 1};
  EXPECT_GT(InPolygon(0, x, y, 1, 1), 0);
  EXPECT_EQ(InPolygon(1, x, y, 1, 1), 0);  // on the single vertex
  EXPECT_GT(InPolygon(1, x, y, 2, 1), 0);
}

}  // namespace
}  // namespace parquill
