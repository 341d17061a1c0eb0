#include "dxf/mtext_cleaner.h"

#include <gtest/gtest.h>

namespace parquill {
namespace {

TEST(CleanMText, FormattingCodesRemoved) {
  struct Case {
    const char* string;
    const char* cleaned;
  };
  const Case cases[] = {
      {"{\\H2.5;12}\\P{\\C1;3-4}", "12 3-4"},
      {"\\A1;  567 ", "567"},
      {"{\\H2.5;124}", "124"},
      {"abc", "abc"},
      {"a;b;c", "c"},
      {"x}y", "x"},
      {"   ", ""},
      {"", ""},
      {"a\\pb", "a\\pb"},  // a small p breaks nothing
      {"a\\Pb\\Pc", "a b c"},
      {"a\\P", "a "},  // the empty last paragraph still takes its blank
      {"\\P", " "},
      {"{\\fMS Gothic|b0;一丁目}5-6", "一丁目"},  // the paragraph's own "}" cuts it
      {"地積測量図\\P縮尺 1/250", "地積測量図 縮尺 1/250"},
      {"ソ\\P表", "ソ 表"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanMText(c.string), c.cleaned) << c.string;
  }
}

}  // namespace
}  // namespace parquill
