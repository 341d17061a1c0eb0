#include "base/line_reader.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "base/runtime_error.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::TempFolder;

std::vector<std::string> ReadAll(const std::string& path) {
  LineReader reader(path);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  return lines;
}

TEST(LineReader, SplitsAtCrLfLoneCrAndLoneLf) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},  // no end on the last line
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two ends
      {"\r\n\r\n", {"", ""}},
      {"", {}},
      {"  2 \r\n\t8\t\r\n", {"  2 ", "\t8\t"}},  // blanks and tabs stay
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAll(folder.Write("f.txt", c.bytes)), c.lines);
  }
}

TEST(LineReader, LinesAcrossReadBoundariesAndCrLfSplitBetweenReads) {
  // Lines of many lengths so that every position of a CR LF meets the end of
  // a read at least once.
  std::string bytes;
  std::vector<std::string> expected;
  for (int i = 0; bytes.size() < 3 * (1 << 18); ++i) {
    std::string line(static_cast<std::size_t>(i % 997), static_cast<char>('a' + i % 26));
    expected.push_back(line);
    bytes += line;
    bytes += (i % 3 == 0) ? "\r\n" : (i % 3 == 1) ? "\r" : "\n";
  }
  TempFolder folder;
  EXPECT_EQ(ReadAll(folder.Write("big.txt", bytes)), expected);
}

// Line ends are found 64 bytes at a time: short and long lines, runs of
// ends, CR LF pairs cut by a block's edge, against a plain splitter.
TEST(LineReader, RandomLinesAndEndsAcrossBlocks) {
  std::mt19937 random(17);
  const char* ends[] = {"\r\n", "\r", "\n", "\n\r", "\r\r\n"};
  for (int file = 0; file < 20; ++file) {
    std::string bytes;
    const std::size_t size = 1 + random() % 5000;
    while (bytes.size() < size) {
      std::size_t length = random() % 4 == 0 ? random() % 200 : random() % 12;
      for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>('0' + random() % 60);
      bytes += ends[random() % std::size(ends)];
    }
    if (file % 2 == 1) bytes += "last";
    std::vector<std::string> expected;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] != '\r' && bytes[i] != '\n') {
        current += bytes[i];
        continue;
      }
      expected.push_back(current);
      current.clear();
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    if (!current.empty()) expected.push_back(current);
    TempFolder folder;
    EXPECT_EQ(ReadAll(folder.Write("f.txt", bytes)), expected) << "file " << file;
  }
}

TEST(LineReader, CountsLinesAndRaisesPastTheEnd) {
  TempFolder folder;
  LineReader reader(folder.Write("f.txt", "x\r\ny\r\n"));
  EXPECT_EQ(reader.Require(), "x");
  EXPECT_EQ(reader.Require(), "y");
  EXPECT_EQ(reader.lineNumber(), 2);
  try {
    reader.Require();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kInputPastEnd);
  }
}

TEST(LineReader, OpeningFailuresCarryTheirNumbers) {
  TempFolder folder;
  auto numberFor = [](const std::string& path) {
    try {
      LineReader reader(path);
      return 0;
    } catch (const RuntimeError& error) {
      return error.number();
    }
  };
  EXPECT_EQ(numberFor(folder.File("missing.dxf")), kFileNotFound);
  EXPECT_EQ(numberFor(""), kFileNotFound);
  EXPECT_EQ(numberFor(folder.path().string()), kPathFileAccessError);
}

TEST(LineReader, ALineLongerThanTheLimitIsAClearErrorNotAnEndlessRead) {
  TempFolder folder;
  std::string bytes = "short\r\n" + std::string(LineReader::kLongestLine + 10, 'x');
  LineReader reader(folder.Write("long.txt", bytes));
  EXPECT_EQ(reader.Require(), "short");
  try {
    reader.Require();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kOutOfMemory);
  }
}

TEST(LineReader, ALineOfExactlyTheLimitIsRead) {
  TempFolder folder;
  std::string line(LineReader::kLongestLine, 'y');
  EXPECT_EQ(ReadAll(folder.Write("limit.txt", line + "\r\nz")),
            (std::vector<std::string>{line, "z"}));
}

}  // namespace
}  // namespace parquill
