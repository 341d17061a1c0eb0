#include "mif/mif_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "convert/drawing_lots.h"
#include "mif/plane_zone.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

TEST(MifCoordinate, FiveDecimalsEveryIntegerDigit) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.25, "0.25000"},
      {-3.5, "-3.50000"},
      {1.234567, "1.23457"},
      {12345678.5, "12345678.50000"},
      {0, "0.00000"},
      {-0.0, "0.00000"},
      {-0.000001, "0.00000"},   // rounds to zero: no sign
      {-0.000005, "-0.00001"},  // the binary value lies just beyond the half
      {0.000004, "0.00000"},
      {-28410.25, "-28410.25000"},
      {15730.5, "15730.50000"},
      {99999.999999, "100000.00000"},
      {1e15, "1000000000000000.00000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatMifCoordinate(c.value), c.text) << c.value;
  }
}

// Most coordinates are written without to_chars; the text must be the one
// to_chars gives for every value, halves and near-halves included.
TEST(MifCoordinate, SameTextAsTheCorrectlyRoundedFiveDecimals) {
  auto reference = [](double value) {
    char text[400];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5).ptr;
    std::string s(text, end);
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
  };
  std::vector<double> values = {0.015625,
                                -0.015625,
                                0.000005,
                                2.000005,
                                1e9 - 0.000005,
                                -1e9 + 0.5,
                                999999999.999995,
                                999999999.999996,
                                -999999999.999996,
                                0.5e-5,
                                123.456785,
                                1e15,
                                -1e20,
                                1e300,
                                5e-324,
                                -0.0};
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> spread(-2e9, 2e9);
  for (int i = 0; i < 60000; ++i) {
    double v = spread(random) / std::pow(10.0, static_cast<double>(random() % 10));
    if (i % 50 == 0) v *= std::pow(10.0, static_cast<double>(random() % 20));  // large magnitudes
    values.push_back(v);
    // Decimal halves at the sixth place and their neighbours.
    double half = (std::nearbyint(v * 1e5) + 0.5) / 1e5;
    values.push_back(half);
    values.push_back(std::nextafter(half, 0.0));
    values.push_back(std::nextafter(half, 1e300));
  }
  for (double v : values) ASSERT_EQ(FormatMifCoordinate(v), reference(v)) << v;
  // A point line is the two texts with one blank between.
  std::string line;
  for (std::size_t i = 0; i + 1 < values.size(); i += 7) {
    FormatMifPointLine(line, values[i], values[i + 1]);
    ASSERT_EQ(line, reference(values[i]) + " " + reference(values[i + 1]));
  }
}

TEST(MifCoordinate, PointAndCountLines) {
  EXPECT_EQ(MifPointLine(-3.5, 0.25), "-3.50000 0.25000");
  EXPECT_EQ(MifPointCountLine(5), " 5 ");
  EXPECT_EQ(MifPointCountLine(1000), " 1000 ");
  std::string reused = "old text";
  FormatMifPointLine(reused, 1, 2);
  EXPECT_EQ(reused, "1.00000 2.00000");
}

// Every pair of these coordinates, as a point line: the two texts with one
// blank between, written in place without touching what lies before it.
TEST(MifCoordinate, PointLinesWrittenInPlace) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {-28425.25, "-28425.25000"},
      {15730.5, "15730.50000"},
      {0, "0.00000"},
      {-0.0, "0.00000"},
      {99999999.999996, "100000000.00000"},
      {999999999.5, "999999999.50000"},
      {-7e-6, "-0.00001"},
      {1e300,  // the widest kind of value: every digit of the binary value
       "10000000000000000525047602552044202487044685811081591549158541155118024579889081957"
       "86371375080447864043704443832883878176942523235360430575644792184786706982848387200"
       "92657580373783023379478809005936895323497079994508111903896764088007465274278014249"
       "4579258788820056842838115669472196386865459400540160.00000"},
  };
  for (const Case& x : cases) {
    for (const Case& y : cases) {
      const std::string expected = std::string(x.text) + " " + y.text;
      char room[1 + kMifPointLineRoom];
      room[0] = '#';
      const char* end = WriteMifPointLine(room + 1, x.value, y.value);
      EXPECT_EQ(std::string(static_cast<const char*>(room), end), "#" + expected);
      EXPECT_EQ(MifPointLine(x.value, y.value), expected);
    }
  }
}

// Whole parts of every length from 1 to 10 digits, with and without sign.
TEST(MifCoordinate, EveryWholeLength) {
  EXPECT_EQ(FormatMifCoordinate(0.125), "0.12500");
  double nines = 0;
  for (int length = 1; length <= 10; ++length) {
    nines = nines * 10 + 9;
    const std::string digits(static_cast<std::size_t>(length), '9');
    EXPECT_EQ(FormatMifCoordinate(nines + 0.125), digits + ".12500");
    EXPECT_EQ(FormatMifCoordinate(-nines - 0.25), "-" + digits + ".25000");
    EXPECT_EQ(FormatMifCoordinate(nines + 1), "1" + std::string(digits.size(), '0') + ".00000");
  }
  EXPECT_EQ(FormatMifCoordinate(-999999999.999999), "-1000000000.00000");
  EXPECT_EQ(FormatMifCoordinate(10.00001), "10.00001");
  EXPECT_EQ(FormatMifCoordinate(-0.00049), "-0.00049");
}

// A drawing's lot holds each coordinate as the MIF file's text of it reads
// back (strtod), and that value is written as the same text.
TEST(DrawingLots, HoldWhatTheMifFileSays) {
  std::mt19937_64 random(5);
  std::vector<double> values = {0.1, 0.125, -0.000005, 0.000005, 999999999.999995, -28410.249995};
  for (int i = 0; i < 20000; ++i) {
    const double units = static_cast<double>(random() % 100000000000000ULL) - 5e13;
    values.push_back(units / std::pow(10.0, static_cast<double>(random() % 9)));
  }
  LotModel lots = NewDrawingLots();
  for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
    AddDrawnLot(lots, &values[i], &values[i + 1], 1);
    const PlanePoint held = lots.points.back();
    for (const auto& [value, kept] : {std::pair{values[i], held.x}, {values[i + 1], held.y}}) {
      const std::string text = FormatMifCoordinate(value);
      EXPECT_EQ(kept, std::strtod(text.c_str(), nullptr)) << text;
      EXPECT_EQ(FormatMifCoordinate(kept), text);
    }
  }
}

}  // namespace
}  // namespace parquill
