#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/runtime_error.h"
#include "base/trim.h"

namespace parquill {
namespace {

struct NumberCase {
  const char* text;
  double expected;
};

TEST(NumberFromText, TakesTheLongestLeadingNumberIgnoringBlanksTabsAndLineFeeds) {
  const NumberCase cases[] = {
      {" 12.5", 12.5},
      {"1 2", 12},
      {"12-3", 12},
      {"", 0},
      {"abc", 0},
      {"  8", 8},
      {"10.0", 10},
      {"-3.5", -3.5},
      {"+7", 7},
      {".5", 0.5},
      {"-.25", -0.25},
      {"1.", 1},
      {".", 0},
      {"-", 0},
      {"1.2.3", 1.2},
      {"1e3", 1000},
      {"1E-2", 0.01},
      {"1e", 1},
      {"1e+", 1},
      {"2e 2", 200},
      {"\t1\t0", 10},
      {"1\n5", 15},
      {"- 5", -5},
      {"12,5", 12},
      {"0x10", 0},
      {"1,000", 1},
      {"1e-999", 0},
      {"１２", 0},
      {"  1 234.5 6", 1234.56},
      {"3 e 1", 30},
      {"inf", 0},
      {"nan", 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(NumberFromText(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(NumberFromText, CarriageReturnIsNotIgnored) { EXPECT_EQ(NumberFromText("1\r2"), 1); }

TEST(NumberFromText, TooLargeForADoubleIsAnOverflow) {
  try {
    NumberFromText("1e999");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kOverflow);
  }
}

TEST(NumberFromText, VeryLongNumbersAreRead) {
  std::string digits(200, '1');
  EXPECT_DOUBLE_EQ(NumberFromText(digits + ".5"), std::stod(digits + ".5"));
}

// Coordinates and group codes are read at once when they have the plain
// shape; the value must be the correctly rounded one, bit for bit, as for any
// other number, and the sign of a negative zero must stay.
TEST(NumberFromText, PlainNumbersAreCorrectlyRoundedBitForBit) {
  const char* texts[] = {
      "123456789012345",
      "1234567890123456",
      "0.1",
      "-0.3",
      "123456.78901",
      "-98765.43210",
      "9999999999.99999",
      "0.000000001",
      "5.",
      "000000000000000001",
      "  42",
      "-0",
      "-0.00000",
      "+0.5",
      "100.00100",
      "-12345.6789012",
      "0.30000000000000004",
  };
  for (const char* text : texts) {
    double value = NumberFromText(text);
    double expected = std::strtod(text, nullptr);
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
  }
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t digits = random() % 1000000000000000ULL;
    int decimals = static_cast<int>(random() % 16);
    const auto places = static_cast<std::size_t>(decimals);
    std::string whole = std::to_string(digits);
    std::string padded(whole.size() <= places ? places - whole.size() + 1 : 0, '0');
    padded.append(whole);
    std::string text(random() % 2 ? "-" : "");
    text.append(padded, 0, padded.size() - places);
    if (places > 0) {
      text.push_back('.');
      text.append(padded, padded.size() - places, places);
    }
    EXPECT_EQ(NumberFromText(text), std::strtod(text.c_str(), nullptr)) << text;
  }
}

// The number rule on random texts of the characters that matter to it,
// against strtod on the text without its ignored characters (blank, tab,
// LF), which is what the rule reads: plain decimals take a shorter way.
TEST(NumberFromText, RandomTextsReadAsStrtodReadsThemWithoutIgnoredCharacters) {
  const char alphabet[] = "0123456789012345678901234567890123456789..--+eE \t\n,z";
  std::mt19937 random(11);
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    const std::size_t length = random() % 22;
    for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % (sizeof alphabet - 1)];
    std::string stripped;
    for (char c : text) {
      if (c != ' ' && c != '\t' && c != '\n') stripped += c;
    }
    const double expected = std::strtod(stripped.c_str(), nullptr);
    if (std::fpclassify(expected) == FP_SUBNORMAL) continue;  // underflow: the rule reads 0
    if (std::isinf(expected)) {
      EXPECT_THROW(NumberFromText(text), RuntimeError) << text;
      continue;
    }
    const double value = NumberFromText(text);
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << '"' << text << '"';
  }
}

TEST(IntegerConversion, RoundsHalvesToTheEvenNeighbour) {
  const std::pair<double, int> cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},
                                          {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {7, 7}};
  for (auto [value, expected] : cases) {
    EXPECT_EQ(ToInt16(value), expected) << value;
    EXPECT_EQ(ToInt32(value), expected) << value;
  }
}

TEST(IntegerConversion, OutOfRangeIsAnOverflow) {
  struct Case {
    double value;
    bool fits16;
    bool fits32;
  };
  const Case cases[] = {{32767, true, true},           {32767.5, false, true},
                        {-32768, true, true},          {-32768.5, true, true},
                        {-32769, false, true},         {2147483647, false, true},
                        {2147483647.5, false, false},  {-2147483648.0, false, true},
                        {-2147483649.0, false, false}, {1e300, false, false}};
  for (const auto& c : cases) {
    auto raises = [](auto convert) {
      try {
        convert();
        return false;
      } catch (const RuntimeError& error) {
        return error.number() == kOverflow;
      }
    };
    EXPECT_EQ(raises([&] { ToInt16(c.value); }), !c.fits16) << c.value;
    EXPECT_EQ(raises([&] { ToInt32(c.value); }), !c.fits32) << c.value;
  }
}

TEST(TrimBlanks, RemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\tA\t"), "\tA\t");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(" \t x"), "\t x");
}

TEST(TrapText, IsNumberCrLfDescription) {
  EXPECT_EQ(TrapText(RuntimeError(kSubscriptOutOfRange)),
            "エラー番号9\r\nインデックスが有効範囲にありません。");
  EXPECT_EQ(TrapText(RuntimeError(62)), "エラー番号62\r\nファイルにこれ以上データがありません。");
}

}  // namespace
}  // namespace parquill
