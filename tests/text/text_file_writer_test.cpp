#include "text/text_file_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/temp_folder.h"
#include "text/work_alongside.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::TempFolder;

// A block built elsewhere takes its place among the lines, wherever the
// lines written meanwhile end up (still in memory, or past a flush).
TEST(TextFileWriter, DeferredBlockTakesItsPlaceBeforeTheLinesAfterIt) {
  struct Case {
    const char* name;
    std::size_t linesAfter;  // "L0", "L1"... written while the block is deferred
    bool fill;               // false: the file is closed with the block still missing
  };
  const Case cases[] = {
      {"nothing after", 0, true},
      {"a few lines after", 3, true},
      {"more than one flush after", 20000, true},
      {"closed without the block", 2, false},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const std::string path = folder.File("out.txt");
    std::string expected = CrLf({"head", "\x95\x4d"});  // 筆 in CP932
    std::string after;
    for (std::size_t i = 0; i < c.linesAfter; ++i) after += "L" + std::to_string(i) + "\r\n";
    {
      TextFileWriter writer(path, TextEncoding::kCp932);
      writer.WriteLine("head");
      writer.WriteLine("筆");
      writer.Defer(1000);
      for (std::size_t i = 0; i < c.linesAfter; ++i) writer.WriteAsciiLine("L" + std::to_string(i));
      EXPECT_EQ(writer.deferredBytes(), after.size()) << c.name;
      if (c.fill) writer.FillDeferred(CrLf({"A", "B"}));
      EXPECT_EQ(writer.deferring(), !c.fill) << c.name;
      writer.WriteLine("tail");
      writer.Close();
    }
    if (c.fill) expected += CrLf({"A", "B"});
    expected += after + CrLf({"tail"});
    EXPECT_EQ(ReadBytes(path), expected) << c.name;
  }
}

TEST(WorkAlongside, GivesTheResultOrTheErrorOfTheWork) {
  WorkAlongside<int> answer([] { return 42; });
  EXPECT_EQ(answer.Take(), 42);
  EXPECT_TRUE(answer.Ready());

  WorkAlongside<int> failing([]() -> int { throw std::runtime_error("no"); });
  EXPECT_THROW(failing.Take(), std::runtime_error);
}

}  // namespace
}  // namespace parquill
