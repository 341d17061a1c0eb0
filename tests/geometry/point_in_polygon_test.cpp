#include "geometry/decimal_rounding.h"
#include "geometry/point_in_polygon.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string_view>
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

TEST(Round, FivePlacesHalvesAwayFromZeroOnTheDecimalText) {
  const std::pair<double, double> cases[] = {
      {1.234567, 1.23457},
      {1.000005, 1.00001},
      {-1.000005, -1.00001},
      {0.123455, 0.12346},
      {2.5, 2.5},
      {12345678.123456, 12345678.12346},
      {0.999995, 1.0},
      {-0.999995, -1.0},
      {1.23456, 1.23456},
      {-0.000004, -0.0},
      {99999.999995, 100000.0},
      {0, 0},
  };
  for (auto [value, expected] : cases) {
    EXPECT_EQ(RoundDecimals(value, 5), expected) << value;
  }
  EXPECT_EQ(RoundDecimals(0.125, 2), 0.13);
  EXPECT_EQ(RoundDecimals(2.5, 0), 3);
  EXPECT_EQ(RoundDecimals(-2.5, 0), -3);
}

// A value whose shortest decimal text has at most five decimals comes back
// unchanged, and only such a value: checked on the text itself.
TEST(Round, UnchangedExactlyWhenTheTextHasAtMostFiveDecimals) {
  auto decimals = [](double value) {
    char text[400];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    std::string_view s(text, static_cast<std::size_t>(end - text));
    std::size_t point = s.find('.');
    return point == std::string_view::npos ? 0 : s.size() - point - 1;
  };
  std::mt19937_64 random(5);
  std::vector<double> values = {0.1, 0.3, 0.30000000000000004, 999999999.99999, 1e9 - 1e-6};
  for (int i = 0; i < 20000; ++i) {
    double units = static_cast<double>(random() % 100000000000000ULL) - 5e13;
    double v = units / std::pow(10.0, static_cast<double>(random() % 8));
    values.push_back(v);
    values.push_back(std::nextafter(v, 0.0));
    values.push_back(std::nextafter(v, 1e300));
  }
  for (double v : values) {
    double rounded = RoundDecimals(v, 5);
    if (decimals(v) <= 5) {
      EXPECT_EQ(rounded, v) << v;
    } else {
      EXPECT_LE(decimals(rounded), 5u) << v;
    }
  }
}

}  // namespace
}  // namespace parquill
