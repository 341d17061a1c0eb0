#include "sima/kokudo_records.h"

#include <gtest/gtest.h>

#include "text/text_codec.h"

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

}  // namespace
}  // namespace parquill::kokudo
