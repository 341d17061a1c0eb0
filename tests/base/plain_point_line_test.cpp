#include "mif/plain_point_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "geometry/survey.h"
#include "base/number_text.h"

namespace parquill {
namespace {

// The two pieces of a point line as the readers cut it, each by the number rule.
bool PiecesByTheNumberRule(std::string_view line, double& x, double& y) {
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  std::string_view rest = line.substr(blank + 1);
  x = NumberFromText(line.substr(0, blank));
  y = NumberFromText(rest.substr(0, rest.find(' ')));
  return true;
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ReadPlainPointLine, Shapes) {
  struct Case {
    std::string_view line;
    bool plain;
    double x;
    double y;
  };
  const Case cases[] = {
      {"-28410.25000 15730.50000", true, -28410.25, 15730.5},
      {"0.00000 -0.00000", true, 0, -0.0},
      {"123456789.12345 1", true, 123456789.12345, 1},
      {".5 7.", true, 0.5, 7},
      {"1 2 3", true, 1, 2},
      {"1 2 ", true, 1, 2},
      {"1234567890 1", false, 0, 0},  // ten whole digits
      {"1.123456 1", false, 0, 0},    // six decimals
      {"+1 2", false, 0, 0},          // a plus sign
      {"1  2", false, 0, 0},          // two blanks
      {" 1 2", false, 0, 0},          // a leading blank
      {"1\t2", false, 0, 0},          // no blank
      {"1 2\t", false, 0, 0},         // a tab after Y
      {"1 2e3", false, 0, 0},         // an exponent
      {"- 2", false, 0, 0},           // no digit
      {"1 .", false, 0, 0},           // no digit
      {"1", false, 0, 0},             // no Y
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    double x = 0;
    double y = 0;
    EXPECT_EQ(ReadPlainPointLine(c.line, x, y), c.plain) << c.line;
    if (c.plain) {
      EXPECT_TRUE(SameDouble(x, c.x)) << c.line;
      EXPECT_TRUE(SameDouble(y, c.y)) << c.line;
    }
  }
}

// One random piece: mostly the plain shape, sometimes near or beyond its limits.
std::string RandomPiece(std::mt19937_64& random) {
  std::string piece;
  std::uniform_int_distribution<int> percent(0, 99);
  if (percent(random) < 40) piece.push_back('-');
  if (percent(random) < 2) piece.push_back('+');
  int whole = std::uniform_int_distribution<int>(0, 11)(random);
  for (int i = 0; i < whole; ++i) piece.push_back(static_cast<char>('0' + random() % 10));
  if (percent(random) < 90) {
    piece.push_back('.');
    int decimals = std::uniform_int_distribution<int>(0, 7)(random);
    for (int i = 0; i < decimals; ++i) piece.push_back(static_cast<char>('0' + random() % 10));
  }
  if (percent(random) < 2) piece.push_back("e\tx."[random() % 4]);
  return piece;
}

TEST(ReadPlainPointLine, AgreesWithTheNumberRuleAndLeavesTheRoundingNothingToDo) {
  std::mt19937_64 random(20261207);
  int plainLines = 0;
  for (int i = 0; i < 300000; ++i) {
    std::string line = RandomPiece(random);
    line += random() % 50 == 0 ? "  " : " ";
    line += RandomPiece(random);
    if (random() % 10 == 0) line += " " + RandomPiece(random);
    double x = 0;
    double y = 0;
    if (!ReadPlainPointLine(line, x, y)) continue;
    ++plainLines;
    double expectedX = 0;
    double expectedY = 0;
    ASSERT_TRUE(PiecesByTheNumberRule(line, expectedX, expectedY)) << line;
    ASSERT_TRUE(SameDouble(x, expectedX)) << line;
    ASSERT_TRUE(SameDouble(y, expectedY)) << line;
    ASSERT_TRUE(SameDouble(survey::round(x, 5), x)) << line;
    ASSERT_TRUE(SameDouble(survey::round(y, 5), y)) << line;
  }
  EXPECT_GT(plainLines, 50000);
}

// The region builder's shape and the shapes just beside it.
TEST(ReadUsualPointLine, TakesOnlyTheRegionBuildersShape) {
  struct Case {
    std::string_view line;
    bool usual;
  };
  const Case cases[] = {
      {"-28410.25000 15730.50000", true},
      {"28410.25000 -15730.50000", true},
      {"0.00000 -0.00000", true},                    // 16 bytes, the shortest taken
      {"1.00000 1.00000", false},                    // 15 bytes: left to the general reading
      {"-123456789.12345 -12345678.12345", true},    // 32 bytes
      {"-123456789.12345 -123456789.12345", false},  // 33 bytes
      {"123456789.12345 123456789.12345", true},     // nine whole digits in both
      {"1234567890.12345 1.00000", false},           // ten whole digits
      {"1.00000 1234567890.12345", false},
      {"12.1234 123456.12345", false},    // four decimals
      {"12.123456 123456.12345", false},  // six decimals
      {"1234.12345 12.123456", false},
      {"1234.12345 12.1234", false},
      {".12345 1234.12345", false},  // no whole digit
      {"1234.12345 -.12345", false},
      {"-1234.12345 1234.", false},
      {"+1234.12345 1234.12345", false},
      {"1234.12345  1234.12345", false},  // two blanks
      {"1234.12345 1234.12345 ", false},  // a blank after Y
      {"1234.12345 1234.12345 7", false},
      {" 1234.12345 1234.12345", false},
      {"1234.12345\t1234.12345", false},
      {"12-34.12345 1234.12345", false},  // a minus sign inside
      {"1234.12345 12-4.12345", false},
      {"--234.12345 1234.12345", false},
      {"1234.12345 --34.12345", false},
      {"1234.12.45 1234.12345", false},  // two points
      {"1234.12345 1234.1234.", false},
      {"12a4.12345 1234.12345", false},
      {"1234.12345 1234.1234x", false},
      {"1234.1234\xB5 1234.12345", false},
      {std::string_view("1234.12345 1234.1234\0", 21), false},
      {"", false},
  };
  for (const Case& c : cases) {
    double x = 7;
    double y = 7;
    ASSERT_EQ(ReadUsualPointLine(c.line, x, y), c.usual) << c.line;
    double plainX = 0;
    double plainY = 0;
    if (c.usual) {
      ASSERT_TRUE(ReadPlainPointLine(c.line, plainX, plainY)) << c.line;
      EXPECT_TRUE(SameDouble(x, plainX)) << c.line;
      EXPECT_TRUE(SameDouble(y, plainY)) << c.line;
    } else {
      EXPECT_EQ(x, 7) << c.line;  // nothing read
      EXPECT_EQ(y, 7) << c.line;
    }
  }
}

// A value of the region builder's shape, with `whole` whole digits.
std::string UsualPiece(std::mt19937_64& random, int whole) {
  std::string piece;
  if (random() % 2 == 0) piece.push_back('-');
  // Leading zeros and runs of zeros or nines now and then.
  const char* digits = random() % 4 == 0 ? "09" : "0123456789";
  const std::size_t choices = std::strlen(digits);
  for (int i = 0; i < whole; ++i) piece.push_back(digits[random() % choices]);
  piece.push_back('.');
  for (int i = 0; i < 5; ++i) piece.push_back(digits[random() % choices]);
  return piece;
}

TEST(ReadUsualPointLine, AgreesWithTheNumberRuleOnEveryWidth) {
  std::mt19937_64 random(20261208);
  int usualLines = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string line = UsualPiece(random, 1 + static_cast<int>(random() % 9));
    line += ' ';
    line += UsualPiece(random, 1 + static_cast<int>(random() % 9));
    const bool changed = random() % 20 == 0;
    if (changed) {  // now and then one byte changed into another of the shape
      line[random() % line.size()] = "0.- 9"[random() % 5];
    }
    double x = 0;
    double y = 0;
    if (!ReadUsualPointLine(line, x, y)) {
      ASSERT_TRUE(changed || line.size() < 16 || line.size() > 32) << line;
      continue;
    }
    ++usualLines;
    double expectedX = 0;
    double expectedY = 0;
    ASSERT_TRUE(PiecesByTheNumberRule(line, expectedX, expectedY)) << line;
    ASSERT_TRUE(SameDouble(x, expectedX)) << line;
    ASSERT_TRUE(SameDouble(y, expectedY)) << line;
  }
  EXPECT_GT(usualLines, 150000);
}

}  // namespace
}  // namespace parquill
