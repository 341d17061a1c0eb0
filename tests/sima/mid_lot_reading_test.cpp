#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "mif/mid_file.h"
#include "mif_pair_text.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::Sjis;
using testing::TempFolder;

std::vector<std::string> ReadLots(const std::string& mid, const std::string& delimiter = ",") {
  TempFolder folder;
  std::vector<std::string> list;
  ReadMidChibans(folder.Write("a.MID", Sjis(mid)), delimiter, [&](std::string lot) {
    list.push_back(std::move(lot));
    return true;
  });
  return list;
}

using Lots = std::vector<std::string>;

TEST(MidLotReading, ChibansByCountedLine) {
  struct Case {
    std::string mid;
    Lots lots;
  };
  const Case cases[] = {
      {CrLf({"1,12-3", "2,", "3,東原５番"}), {"12-3", "", "東原５番"}},
      {CrLf({"1,\"12-3\""}), {"12-3"}},
      {CrLf({"1,\" 12 \""}), {" 12 "}},      // blanks inside quotes stay
      {CrLf({"1,  \"12-3\"  "}), {"12-3"}},  // blanks outside them go
      {CrLf({"1,1\"2\"-3"}), {"12-3"}},      // every quote goes
      {CrLf({"1,\t12\t"}), {"\t12\t"}},      // tabs are not blanks
      {CrLf({",skipped", "2,7", ",", "4,8"}), {"7", "8"}},
      {CrLf({"1,12,3"}), {"12"}},                                    // cut at the delimiter
      {CrLf({"1,\"12,3 \"\"A\"\"\"", "2,\"4,5"}), {"12,3 A", "4"}},  // a quoted field whole
      {CrLf({"1,ソ\\"}), {"ソ\\"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLots(c.mid), c.lots) << c.mid;
}

TEST(MidLotReading, OtherDelimiters) {
  EXPECT_EQ(ReadLots(CrLf({"1\t12-3", "2\t\"5\""}), "\t"), (Lots{"12-3", "5"}));
  EXPECT_EQ(ReadLots(CrLf({"1;;12"}), ";;"), (Lots{"12"}));
  // A delimiter byte inside a two-byte character does not cut it ("ソ" ends in 0x5C).
  EXPECT_EQ(ReadLots(CrLf({"1\\ソ1\\x"}), "\\"), (Lots{"ソ1"}));
}

TEST(MidLotReading, RunTimeErrors) {
  struct Case {
    std::string mid;
    std::string delimiter;
  };
  const Case cases[] = {
      {CrLf({"1,2", ""}), ","},
      {CrLf({"1"}), ","},
      {CrLf({"1,2"}), "\t"},
      {CrLf({"1,2"}), ""},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    try {
      ReadMidChibans(folder.Write("a.MID", c.mid), c.delimiter, [](std::string) { return true; });
      ADD_FAILURE() << "no error for " << c.mid;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), kSubscriptOutOfRange) << c.mid;
    }
  }
}

// A lot number the delimiter or a double quote would cut is written in
// double quotes, as MapInfo quotes it; any other as it is.
TEST(MidLine, QuotedOnlyWhenItMustBe) {
  const std::pair<std::string, std::string> cases[] = {{"12-3", "7,12-3"},
                                                       {"", "7,"},
                                                       {"12,3 \"A\"", "7,\"12,3 \"\"A\"\"\""},
                                                       {"a\"b", "7,\"a\"\"b\""}};
  std::string line;
  for (const auto& [lot, expected] : cases) {
    FormatMidLine(line, 7, lot);
    EXPECT_EQ(line, expected) << lot;
  }
}

}  // namespace
}  // namespace parquill
