#include "sima/kokudo_records.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "base/text_codec.h"

namespace parquill::kokudo {
namespace {

TEST(KokudoRecords, FixedLines) {
  EXPECT_EQ(SimaG00(), "G00,01,オルベックＬｏｔｗｅａｖｅｒデータ");
  EXPECT_EQ(SimaZ00("座標"), "Z00,/座標/,");
  EXPECT_EQ(SimaZ00("筆 "), "Z00,/筆 /,");
  EXPECT_EQ(SimaTag("A00"), "A00,");
  EXPECT_EQ(SimaTag("D99"), "D99,");
}

TEST(KokudoRecords, JapaneseRecordsSurviveTheCodePage) {
  for (const std::string& line : {SimaG00(), SimaZ00("SIMA共通フォーマットデータ"),
                                  SimaZ00("座標点数:0 筆個数:0"), SimaZ00("筆 東原５番")}) {
    std::string bytes = EncodeText(line, TextEncoding::kCp932);
    EXPECT_EQ(bytes.find('?'), std::string::npos) << line;
    EXPECT_EQ(DecodeText(bytes, TextEncoding::kCp932), line);
  }
}

TEST(KokudoRecords, NumberFieldIsRightAlignedInFive) {
  struct Case {
    const char* text;
    const char* field;
  };
  const Case cases[] = {
      {"1", "    1"},     {"42", "   42"},      {" 42  ", "   42"},
      {"15000", "15000"}, {"123456", "123456"}, {"", "     "},
  };
  for (const auto& c : cases) EXPECT_EQ(SimaNo(c.text), c.field) << '"' << c.text << '"';
}

TEST(KokudoRecords, PointLotAndBoundaryLines) {
  EXPECT_EQ(SimaA01(1, 0.5, -0.25), "A01,    1,K1,.5,-.25,,");
  EXPECT_EQ(SimaA01(15000, -12345.678, 200), "A01,15000,K15000,-12345.678,200,,");
  EXPECT_EQ(SimaB01(1), "B01,    1,K1,");
  EXPECT_EQ(SimaB01(15000), "B01,15000,K15000,");
  EXPECT_EQ(SimaD00(1, "12-3", 1), "D00,    1,12-3,1,");
  EXPECT_EQ(SimaD00(7, "", 1), "D00,    7,,1,");
  EXPECT_EQ(SimaD00(2000, "東原５番", 2), "D00, 2000,東原５番,2,");
}

TEST(KokudoRecords, AppendFormsAddTheSameRecordsToTheEndOfALine) {
  std::string line = "x";
  AppendSimaA01(line, 12, -12345.678, 0.00001);
  AppendSimaB01(line, -5);  // a number past 32767 wraps negative: its field as SimaNo gives it
  AppendSimaD00(line, 2000, "東原５番", 2);
  AppendSimaZ00(line, "筆 1");
  AppendCoordinateText(line, -0.0);
  AppendCoordinateText(line, 1e20);
  std::string expected = "x";  // appended piece by piece: GCC 12 warns wrongly on "x" + string
  for (const std::string& record :
       {SimaA01(12, -12345.678, 0.00001), SimaB01(-5), SimaD00(2000, "東原５番", 2),
        SimaZ00("筆 1"), std::string("0"), CoordinateText(1e20)}) {
    expected += record;
  }
  EXPECT_EQ(line, expected);
  EXPECT_EQ(SimaB01(-5), "B01,   -5,K-5,");
  EXPECT_EQ(SimaB01(-32768), "B01,-32768,K-32768,");
}

TEST(KokudoRecords, CoordinateIsPlainDecimalText) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {-12345.678, "-12345.678"},
      {200, "200"},
      {0.5, ".5"},
      {-0.25, "-.25"},
      {0, "0"},
      {-0.0, "0"},
      {1e-5, ".00001"},
      {-0.00009, "-.00009"},
      {10.12345, "10.12345"},
      {123456789.12345, "123456789.12345"},
      {1234567890123.45678, "1234567890123.46"},  // 15 significant digits
      {0.1 + 0.2, ".3"},
      {9.9999999999999999, "10"},
      {-1000, "-1000"},
      {1e20, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(CoordinateText(c.value), c.text) << c.value;
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

// The point records' number fields and names, at the field's width and beyond it.
TEST(KokudoRecords, PointRecordsForEveryNumber) {
  for (int k : {-32768, -1, 0, 1, 9, 10, 99, 100, 9999, 10000, 15000, 32767}) {
    auto n = static_cast<std::int16_t>(k);
    std::string field = std::to_string(k);
    if (field.size() < 5) field.insert(0, 5 - field.size(), ' ');
    const std::string head = field + ",K" + std::to_string(k) + ",";
    EXPECT_EQ(SimaB01(n), "B01," + head);
    EXPECT_EQ(SimaA01(n, 1.5, -0.25), "A01," + head + "1.5,-.25,,");
    EXPECT_EQ(SimaA01(n, -1e20, 0), "A01," + head + "-100000000000000000000,0,,");
  }
}

// Values with nine whole digits, round values and values with zeros inside.
TEST(KokudoRecords, CoordinatesAtTheEdgesOfTheirDigits) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {999999999.99999, "999999999.99999"},
      {-999999999.99999, "-999999999.99999"},
      {100000000, "100000000"},
      {-100000000.00001, "-100000000.00001"},
      {99999999.9, "99999999.9"},
      {10000000, "10000000"},
      {12.3, "12.3"},
      {-0.1, "-.1"},
      {0.00001, ".00001"},
      {-0.0001, "-.0001"},
      {1000.01, "1000.01"},
      {7, "7"},
      {-28410.25, "-28410.25"},
      {15730.5, "15730.5"},
      {1e9, "1000000000"},
      {-1e9, "-1000000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(CoordinateText(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace parquill::kokudo
