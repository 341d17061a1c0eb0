#include "base/text_file_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "support/temp_folder.h"
#include "base/text_buffer.h"
#include "base/work_alongside.h"

namespace parquill {
namespace {

// Lines written in place, among lines written whole, come out in their
// order, each with its CR LF, whatever scratch was left after their ends.
TEST(TextFileWriter, LinesWrittenInPlaceKeepTheirOrder) {
  testing::TempFolder folder;
  const std::string path = folder.File("a.MIF");
  std::string expected;
  {
    TextFileWriter file(path, TextEncoding::kCp932);
    // Enough lines to fill the buffer several times over.
    for (int i = 0; i < 30000; ++i) {
      const std::string text = "line " + std::to_string(i);
      if (i % 3 == 0) {
        file.WriteLine(text);
      } else {
        char* room = file.AsciiLineRoom(64);
        std::memcpy(room, text.data(), text.size());
        std::memset(room + text.size(), 'x', 8);  // scratch after the line's end
        file.EndAsciiLine(room + text.size());
      }
      expected += text + "\r\n";
    }
    file.Close();
  }
  EXPECT_EQ(testing::ReadBytes(path), expected);
}

// A text buffer holds the very bytes the writer writes for the same calls,
// however its memory was reserved, rooms given up included.
TEST(TextBuffer, HoldsWhatTheWriterWrites) {
  for (std::size_t reserved : {std::size_t{0}, std::size_t{100}, std::size_t{1} << 20}) {
    testing::TempFolder folder;
    const std::string path = folder.File("a.Sim");
    TextBuffer buffer(TextEncoding::kCp932);
    buffer.Reserve(reserved);
    {
      TextFileWriter file(path, TextEncoding::kCp932);
      auto both = [&](auto call) {
        call(file);
        call(buffer);
      };
      for (int i = 0; i < 20000; ++i) {
        const std::string text = "B01,  " + std::to_string(i) + ",K" + std::to_string(i) + ",";
        switch (i % 5) {
          case 0:
            both([&](auto& sink) { sink.WriteLine("筆 " + text); });
            break;
          case 1:
            both([&](auto& sink) { sink.WriteAsciiLine(text); });
            break;
          case 2:
            both([&](auto& sink) { sink.WriteEncodedLines(text + "\r\n" + text + "\r\n"); });
            break;
          default:
            both([&](auto& sink) {
              if (i % 10 == 3) sink.AsciiLineRoom(4000);  // a room given up
              char* room = sink.AsciiLineRoom(64);
              std::memcpy(room, text.data(), text.size());
              sink.EndAsciiLine(room + text.size());
            });
        }
      }
      file.Close();
    }
    EXPECT_TRUE(buffer.Take() == testing::ReadBytes(path)) << reserved;
  }
}

// A line longer than the buffer still reaches the file whole.
TEST(TextFileWriter, LongLinesAndEncodedLines) {
  testing::TempFolder folder;
  const std::string path = folder.File("b.txt");
  const std::string longLine(200000, 'a');
  {
    TextFileWriter file(path, TextEncoding::kCp932);
    file.WriteAsciiLine("first");
    file.WriteLine(longLine);
    file.WriteLine("地番");
    char* room = file.AsciiLineRoom(TextFileWriter::kLongestRoom - 2);
    file.EndAsciiLine(room);  // an empty line
    file.Close();
  }
  EXPECT_EQ(testing::ReadBytes(path), "first\r\n" + longLine + "\r\n" +
                                          EncodeText("地番", TextEncoding::kCp932) + "\r\n\r\n");
}

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
    testing::TempFolder folder;
    const std::string path = folder.File("out.txt");
    std::string expected = testing::CrLf({"head", "\x95\x4d"});  // 筆 in CP932
    std::string after;
    for (std::size_t i = 0; i < c.linesAfter; ++i) after += "L" + std::to_string(i) + "\r\n";
    {
      TextFileWriter writer(path, TextEncoding::kCp932);
      writer.WriteLine("head");
      writer.WriteLine("筆");
      writer.Defer(1000);
      for (std::size_t i = 0; i < c.linesAfter; ++i) {
        const std::string line = "L" + std::to_string(i);
        if (i % 2 == 0) {
          writer.WriteAsciiLine(line);
        } else {  // written in place
          char* room = writer.AsciiLineRoom(16);
          std::memcpy(room, line.data(), line.size());
          writer.EndAsciiLine(room + line.size());
        }
      }
      EXPECT_EQ(writer.deferredBytes(), after.size()) << c.name;
      if (c.fill) writer.FillDeferred(testing::CrLf({"A", "B"}));
      EXPECT_EQ(writer.deferring(), !c.fill) << c.name;
      writer.WriteLine("tail");
      writer.Close();
    }
    if (c.fill) expected += testing::CrLf({"A", "B"});
    expected += after + testing::CrLf({"tail"});
    EXPECT_EQ(testing::ReadBytes(path), expected) << c.name;
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
