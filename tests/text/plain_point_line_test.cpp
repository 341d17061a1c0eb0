#include "text/plain_point_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "survey/survey.h"
#include "text/number_text.h"

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

}  // namespace
}  // namespace parquill
