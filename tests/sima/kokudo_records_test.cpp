#include "sima/kokudo_records.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "base/text_codec.h"

namespace parquill::kokudo {
namespace {

std::string B01(int number, std::string_view name = {}) {
  std::string line;
  AppendSimaB01(line, number, name);
  return line;
}

std::string A01(int number, double x, double y) {
  std::string line;
  AppendSimaA01(line, number, {}, x, y);
  return line;
}

// Each record against the text it must be.
TEST(KokudoRecords, Records) {
  struct Case {
    std::string record;
    const char* text;
  };
  const Case cases[] = {
      {SimaG00(), "G00,01,オルベックＬｏｔｗｅａｖｅｒデータ"},
      {SimaZ00("座標"), "Z00,/座標/,"},
      {SimaZ00("筆 "), "Z00,/筆 /,"},
      {SimaTag("A00"), "A00,"},
      {SimaTag("D99"), "D99,"},
      // The point records' number fields and names, at the field's width and
      // beyond it; a point without a name of its own is "K" + its number.
      {B01(-32768), "B01,-32768,K-32768,"},
      {B01(-1), "B01,   -1,K-1,"},
      {B01(0), "B01,    0,K0,"},
      {B01(9), "B01,    9,K9,"},
      {B01(10), "B01,   10,K10,"},
      {B01(99), "B01,   99,K99,"},
      {B01(100), "B01,  100,K100,"},
      {B01(9999), "B01, 9999,K9999,"},
      {B01(10000), "B01,10000,K10000,"},
      {B01(123456), "B01,123456,K123456,"},
      {B01(7, "BP-7"), "B01,    7,BP-7,"},
      {A01(1, 0.5, -0.25), "A01,    1,K1,.5,-.25,,"},
      {A01(15000, -12345.678, 200), "A01,15000,K15000,-12345.678,200,,"},
      {A01(-32768, 1.5, -0.25), "A01,-32768,K-32768,1.5,-.25,,"},
      {A01(32767, -1e20, 0), "A01,32767,K32767,-100000000000000000000,0,,"},
      {SimaD00(1, "12-3", 1), "D00,    1,12-3,1,"},
      {SimaD00(7, "", 1), "D00,    7,,1,"},
      {SimaD00(2000, "東原５番", 2), "D00, 2000,東原５番,2,"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.record, c.text);
}

TEST(KokudoRecords, JapaneseRecordsSurviveTheCodePage) {
  for (const std::string& line : {SimaG00(), SimaZ00("SIMA共通フォーマットデータ"),
                                  SimaZ00("座標点数:0 筆個数:0"), SimaZ00("筆 東原５番")}) {
    std::string bytes = EncodeText(line, TextEncoding::kCp932);
    EXPECT_EQ(bytes.find('?'), std::string::npos) << line;
    EXPECT_EQ(DecodeText(bytes, TextEncoding::kCp932), line);
  }
}

TEST(KokudoRecords, AppendFormsAddTheRecordsToTheEndOfALine) {
  std::string line = "x";
  AppendSimaA01(line, 12, {}, -12345.678, 0.00001);
  AppendSimaB01(line, -5, {});
  AppendSimaD00(line, 2000, "東原５番", 2);
  AppendSimaZ00(line, "筆 1");
  AppendCoordinateText(line, -0.0);
  AppendCoordinateText(line, 1e20);
  EXPECT_EQ(line,
            "xA01,   12,K12,-12345.678,.00001,,B01,   -5,K-5,D00, 2000,東原５番,2,Z00,/筆 1/,"
            "0100000000000000000000");
}

// Plain decimal text: at most 15 significant digits, no exponent, no trailing
// zeros, no zero before the point; values with nine whole digits, round
// values and values with zeros inside.
TEST(KokudoRecords, CoordinateIsPlainDecimalText) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {-12345.678, "-12345.678"},
      {200, "200"},
      {7, "7"},
      {0.5, ".5"},
      {-0.25, "-.25"},
      {-0.1, "-.1"},
      {0, "0"},
      {-0.0, "0"},
      {1e-5, ".00001"},
      {-0.00009, "-.00009"},
      {-0.0001, "-.0001"},
      {10.12345, "10.12345"},
      {12.3, "12.3"},
      {1000.01, "1000.01"},
      {-1000, "-1000"},
      {-28410.25, "-28410.25"},
      {15730.5, "15730.5"},
      {0.1 + 0.2, ".3"},
      {9.9999999999999999, "10"},
      {10000000, "10000000"},
      {99999999.9, "99999999.9"},
      {100000000, "100000000"},
      {-100000000.00001, "-100000000.00001"},
      {999999999.99999, "999999999.99999"},
      {-999999999.99999, "-999999999.99999"},
      {1e9, "1000000000"},
      {-1e9, "-1000000000"},
      {123456789.12345, "123456789.12345"},
      {1234567890123.45678, "1234567890123.46"},  // 15 significant digits
      {1e20, "100000000000000000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(CoordinateText(c.value), c.text) << c.value;
}

// Coordinates of five decimals: the text is the number's own decimal digits,
// without trailing zeros and without a zero before the point.
TEST(KokudoRecords, FiveDecimalCoordinatesKeepTheirDigits) {
  auto reference = [](double value) {
    char text[64];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5).ptr;
    std::string s(text, end);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    std::size_t zero = s.front() == '-' ? 1 : 0;
    if (s.compare(zero, 2, "0.") == 0) s.erase(zero, 1);
    return s == "-0" || s == "0" ? std::string("0") : s;
  };
  std::mt19937_64 random(3);
  for (int i = 0; i < 20000; ++i) {
    double units = static_cast<double>(random() % 200000000000000ULL) - 1e14;
    double shifted = std::nearbyint(units / std::pow(10.0, static_cast<double>(random() % 9)));
    double five = shifted / 1e5;  // a number of at most five decimals, below 10^9
    EXPECT_EQ(CoordinateText(five), reference(five)) << five;
  }
}

}  // namespace
}  // namespace parquill::kokudo
