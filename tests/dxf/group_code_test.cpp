#include "dxf/group_code.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "base/number_text.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

// Every three-character line of blanks, digits and a few other characters
// reads as the number rule reads it.
TEST(GroupCode, ReadsEveryShortLineAsTheNumberRuleDoes) {
  const std::string characters = " 0123456789-.+eAx\t";
  for (char a : characters) {
    for (char b : characters) {
      for (char c : characters) {
        const std::string line{a, b, c};
        EXPECT_EQ(GroupCodeValue(line), NumberFromText(line)) << '"' << line << '"';
      }
    }
  }
  for (const char* line : {"", "0", " 10 ", "1071", "  0\r", "AcDbText", "   8", "-10", "e5", "E+1",
                           "B1", "Z9", "a.5", "zz", "@1", "[1", "`1", "{1"}) {
    EXPECT_EQ(GroupCodeValue(line), NumberFromText(line)) << '"' << line << '"';
  }
}

// What WholeGroupCode should say of a line: GroupCodeValue told as a whole
// number, or the error its reading raises (as a negative number below -1).
int ExpectedWholeCode(const std::string& line) {
  try {
    const double value = GroupCodeValue(line);
    if (value >= 0 && value <= 999'999'999 && value == std::floor(value)) {
      return static_cast<int>(value);
    }
    return kNoWholeCode;
  } catch (const RuntimeError& error) {
    return -100 - error.number();
  }
}

int WholeCodeOrError(const std::string& line) {
  try {
    return WholeGroupCode(line);
  } catch (const RuntimeError& error) {
    return -100 - error.number();
  }
}

TEST(GroupCode, WholeCodesOfTheShapesCodeLinesHave) {
  struct Case {
    const char* line;
    int code;
  };
  const Case cases[] = {
      {"  8", 8},
      {" 10", 10},
      {"330", 330},
      {"100", 100},
      {"AcDbEntity", 0},
      {"3A", 3},
      {"0.0", 0},
      {"2.5", kNoWholeCode},
      {"10.000", 10},
      {"8.", 8},
      {"1E3", 1000},
      {"2E", 2},
      {"1e999", -106},
      {"1e-999", 0},
      {"-8", kNoWholeCode},
      {"-0", 0},
      {" 1 0", 10},
      {"\t8", 8},
      {"0.8e1", 8},
      {"1.2.3", kNoWholeCode},
      {"7.99999999999999999999", 8},
      {"1000000000", kNoWholeCode},
      {"999999999", 999'999'999},
      {"", 0},
      {"10 ", 10},
      {"8-1", 8},
      {"08", 8},
  };
  for (const Case& c : cases) {
    const std::string line = c.line;
    EXPECT_EQ(WholeCodeOrError(line), c.code) << '"' << line << '"';
    EXPECT_EQ(WholeCodeOrError(line), ExpectedWholeCode(line)) << '"' << line << '"';
  }
}

// Random lines of digits, points, blanks, signs, exponents and letters, up to
// beyond the lengths the plain shapes allow.
TEST(GroupCode, WholeCodesAgreeWithTheValueOnRandomLines) {
  const std::string characters = "00123456789999..  -+eEAx\t";
  std::mt19937 random(77);
  for (int k = 0; k < 200'000; ++k) {
    std::string line;
    const std::size_t length = random() % (k % 10 == 0 ? 40 : 12);
    for (std::size_t i = 0; i < length; ++i) line += characters[random() % characters.size()];
    ASSERT_EQ(WholeCodeOrError(line), ExpectedWholeCode(line)) << '"' << line << '"';
  }
}

}  // namespace
}  // namespace parquill
