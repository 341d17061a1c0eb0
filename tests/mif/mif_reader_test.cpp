#include "mif/mif_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/runtime_error.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::TempFolder;

// Every ring the reader gives, as "count: x y, x y", one ring after the
// other ("|"), then the delimiter, or the error that ended the reading.
std::string ReadAll(const std::string& path, const MifRules& rules) {
  std::ostringstream text;
  text.precision(15);
  try {
    MifReader mif(path, rules);
    MifRing ring;
    while (mif.NextRing(ring)) {
      text << ring.count << ":";
      for (std::size_t k = 0; k < ring.x.size(); ++k) {
        text << (k == 0 ? " " : ", ") << ring.x[k] << ' ' << ring.y[k];
      }
      text << " | ";
    }
    text << "delimiter " << (mif.delimiter() == "\t" ? "tab" : mif.delimiter());
  } catch (const RuntimeError& error) {
    text << "error " << error.number();
  }
  return text.str();
}

// A ring of `count` point lines "i 0", after its header and count lines.
std::string LongRing(int count, int lines) {
  std::string text = CrLf({"REGION 1", " " + std::to_string(count) + " "});
  for (int i = 0; i < lines; ++i) text += std::to_string(i) + " 0\r\n";
  return text;
}

// The same file read by the attachment's rules and by the conversion's.
TEST(MifReader, BothRuleSetsOnTheSameFiles) {
  struct Case {
    const char* what;
    std::string mif;
    std::string attachment;
    std::string conversion;
  };
  const Case cases[] = {
      {"region headers",
       CrLf({"region 2", " 2 ", "1 1", "2 3", " 1 ", "3 3", "Region  1", "  1", "4 5", "xxREGIONyy",
             " 1 ", "5 6", "Pen (1,2,0)"}),
       "1: 5 6 | delimiter tab", "2: 1 1, 2 3 | 1: 4 5 | delimiter tab"},
      {"values rounded by the conversion alone",
       CrLf({"REGION 1", " 2 ", "1.234567 -2.000004 9", " 3"}),
       "2: 1.234567 -2.000004, 0 3 | delimiter tab", "2: 1.23457 -2, 0 3 | delimiter tab"},
      {"point lines of odd shapes",
       CrLf({"REGION 1", " 4 ", "1e2  7", "1.5\t2 3", "-0.5 .25", "  8 9"}),
       "4: 100 0, 1.52 3, -0.5 0.25, 0 0 | delimiter tab",
       "4: 100 0, 1.52 3, -0.5 0.25, 0 0 | delimiter tab"},
      {"an empty ring", CrLf({"REGION 1", " 0 ", "REGION 1", " 0.4 "}), "0: | 0: | delimiter tab",
       "0: | 0: | delimiter tab"},
      {"a negative count", CrLf({"REGION 1", " -1 ", "1 1"}), "-1: | delimiter tab", "error 9"},
      {"a count beyond 16 bits", LongRing(40000, 2), "error 6", "error 62"},
      {"a count beyond 32 bits", CrLf({"REGION 1", " 1e10 "}), "error 6", "error 6"},
      {"no count line", CrLf({"REGION 1"}), "error 62", "error 62"},
      {"the file ending inside a ring", CrLf({"REGION 1", " 3 ", "1 1"}), "error 62", "error 62"},
      {"a point line without a blank", CrLf({"REGION 1", " 2 ", "1 1", "5"}), "error 9", "error 9"},
      {"an empty point line", CrLf({"REGION 1", " 1 ", ""}), "error 9", "error 9"},
      {"delimiter lines, the last one counts",
       CrLf({"Delimiter \"|\"", "delimiter \";\" x", "DELIMITER \"\"x\""}), "delimiter tab",
       "delimiter "},
      {"a delimiter line without its quotes", CrLf({"Delimiter \";"}), "delimiter tab", "error 5"},
      {"one point more than a ring holds", LongRing(1001, 1001), "error 9",
       "1001: " +
           [] {
             std::string points;
             for (int i = 0; i < 1001; ++i) points += (i ? ", " : "") + std::to_string(i) + " 0";
             return points;
           }() +
           " | delimiter tab"},
      {"the file ends before the point too many", LongRing(1001, 1000), "error 62", "error 62"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.Write("a.MIF", c.mif);
    EXPECT_EQ(ReadAll(path, MifRules::Attachment()), c.attachment) << c.what;
    EXPECT_EQ(ReadAll(path, MifRules::Conversion(false)), c.conversion) << c.what;
  }
}

TEST(MifReader, ThousandPointRingManyRegionsAndTheExchange) {
  std::string mif = LongRing(1000, 1000);
  for (int r = 0; r < 2500; ++r) mif += CrLf({"REGION 1", " 1 ", "1 2"});
  TempFolder folder;
  const std::string path = folder.Write("a.MIF", mif);
  for (const MifRules& rules : {MifRules::Attachment(), MifRules::Conversion(true)}) {
    MifReader reader(path, rules);
    MifRing ring;
    ASSERT_TRUE(reader.NextRing(ring));
    EXPECT_EQ(ring.x.size(), 1000u);
    int regions = 1;
    while (reader.NextRing(ring)) ++regions;
    EXPECT_EQ(regions, 2501);
    EXPECT_EQ(ring.x[0], rules.swap ? 2 : 1);
  }
}

TEST(MifReader, MissingFileIsError53) {
  TempFolder folder;
  try {
    MifReader reader(folder.File("none.MIF"), MifRules::Attachment());
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kFileNotFound);
  }
}

}  // namespace
}  // namespace parquill
