#include "dxf/group_code.h"

#include <gtest/gtest.h>

#include <string>

#include "text/number_text.h"

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

}  // namespace
}  // namespace parquill
