#include "base/text_file_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

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

// A line longer than the buffer still reaches the file whole.
TEST(TextFileWriter, LongLines) {
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

// The file of that name changes only when the writer is closed: a writer
// given up leaves the earlier file as it was and nothing beside it; a link
// keeps pointing at the file it named.
TEST(TextFileWriter, TheNamedFileChangesOnlyAtTheClose) {
  testing::TempFolder folder;
  const std::string path = folder.Write("a.Sim", "earlier\r\n");
  const std::string link = folder.File("link.Sim");
  std::filesystem::create_symlink(path, link);
  {
    TextFileWriter file(link, TextEncoding::kCp932);
    file.WriteLine("half");
    EXPECT_EQ(testing::ReadBytes(path), "earlier\r\n");
  }
  EXPECT_EQ(testing::ReadBytes(path), "earlier\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
  TextFileWriter file(link, TextEncoding::kCp932);
  file.WriteLine("whole");
  file.Close();
  EXPECT_EQ(testing::ReadBytes(path), "whole\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}

}  // namespace
}  // namespace parquill
