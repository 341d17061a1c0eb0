#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "mif/mif_format.h"

namespace parquill {
namespace {

// The correctly rounded five decimals, "-" dropped when only zeros are left.
std::string ReferenceText(double value) {
  char text[400];
  auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5).ptr;
  std::string s(text, end);
  if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

// Where the whole part's digits change their count, where the two-at-once
// digits give way to the other writing (10^8), and where rounding carries.
TEST(MifCoordinateDigits, LimitsOfTheWholePart) {
  const double values[] = {99999999.99999,
                           99999999.999994,
                           99999999.999995,
                           99999999.999996,
                           100000000.0,
                           -99999999.999996,
                           999999999.99999,
                           999999999.999995,
                           -999999999.999996,
                           9999999.999995,
                           0.000005,
                           -0.000005,
                           -0.000004,
                           -0.0000049,
                           0.00001,
                           1.0,
                           -1.0,
                           10.0,
                           -28425.25,
                           15730.5,
                           12345678.12345,
                           -0.0,
                           0.0,
                           7e-6,
                           -7e-6};
  for (double value : values) {
    EXPECT_EQ(FormatMifCoordinate(value), ReferenceText(value)) << value;
  }
}

// A million values of every magnitude below 10^9, and the halves of the fifth
// decimal next to them.
TEST(MifCoordinateDigits, RandomValuesMatchTheCorrectlyRoundedText) {
  std::mt19937_64 random(41);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 1'000'000; ++i) {
    const double value = unit(random) * std::pow(10.0, static_cast<double>(random() % 10));
    ASSERT_EQ(FormatMifCoordinate(value), ReferenceText(value)) << value;
    if (i % 10 == 0) {
      const double half = (std::trunc(value * 1e5) + (value < 0 ? -0.5 : 0.5)) / 1e5;
      for (double near : {half, std::nextafter(half, 0.0), std::nextafter(half, 2e9)}) {
        ASSERT_EQ(FormatMifCoordinate(near), ReferenceText(near)) << near;
      }
    }
  }
}

}  // namespace
}  // namespace parquill
