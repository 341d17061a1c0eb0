#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::TempFolder;

// What one reading met: each line with its number and the offset after it,
// and the error that ended it (0 for the end of the file).
struct Reading {
  std::vector<std::string> lines;
  std::vector<std::int64_t> numbers;
  int error = 0;
  bool operator==(const Reading&) const = default;
};

enum class Way { kNext, kQuick, kMixed };

// Reads the whole file with Next(), with NextQuick(), or with both and skips
// to "TEXT" in between (which a reading with Next() alone stands in for by
// reading on to that line).
Reading ReadAll(const std::string& path, Way way, unsigned seed) {
  std::mt19937 choice(seed);
  Reading reading;
  try {
    LineReader reader(path);
    std::string_view line;
    static constexpr std::string_view kText[] = {"TEXT"};
    for (;;) {
      bool got = false;
      const unsigned pick = choice() % 10;
      if (way == Way::kNext || (way == Way::kMixed && pick < 3)) {
        got = reader.Next(line);
      } else if (way == Way::kMixed && pick == 3) {
        got = reader.SkipToAnyOf(kText, line);
      } else {
        got = reader.NextQuick(line);
      }
      if (!got) return reading;
      if (way == Way::kMixed && pick == 3) {
        reading.lines.emplace_back("skip to " + std::string(line));
      } else {
        reading.lines.emplace_back(line);
      }
      reading.numbers.push_back(reader.lineNumber());
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
  }
  return reading;
}

// The same choices as ReadAll(kMixed), made with Next() alone.
Reading ReadAllWithNext(const std::string& path, unsigned seed) {
  std::mt19937 choice(seed);
  Reading reading;
  try {
    LineReader reader(path);
    std::string_view line;
    for (;;) {
      const unsigned pick = choice() % 10;
      bool got = reader.Next(line);
      if (pick == 3) {
        while (got && line != "TEXT") got = reader.Next(line);
      }
      if (!got) return reading;
      reading.lines.emplace_back(pick == 3 ? "skip to " + std::string(line) : std::string(line));
      reading.numbers.push_back(reader.lineNumber());
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
  }
  return reading;
}

std::string RandomLines(std::mt19937& random, std::size_t size) {
  const char* pieces[] = {"TEXT", "  0", " 10", "-2841.25", "AcDbText", "", "x", "TEXTS"};
  const char* ends[] = {"\r\n", "\r", "\n", "\r\n"};
  std::string bytes;
  while (bytes.size() < size) {
    if (random() % 40 == 0) {
      bytes.append(random() % 200, 'y');  // a line longer than a block
    } else {
      bytes += pieces[random() % std::size(pieces)];
    }
    bytes += ends[random() % std::size(ends)];
  }
  if (random() % 2 == 0) bytes += "TEXT";  // the last line without its end
  return bytes;
}

TEST(QuickLine, DeliversTheLinesNextDelivers) {
  std::mt19937 random(99);
  TempFolder folder;
  for (int file = 0; file < 40; ++file) {
    const std::size_t size = file % 8 == 0 ? 600'000 : random() % 3000;
    const std::string path = folder.Write("q.txt", RandomLines(random, size));
    SCOPED_TRACE(::testing::Message() << "file " << file);
    const Reading byNext = ReadAll(path, Way::kNext, 0);
    EXPECT_EQ(ReadAll(path, Way::kQuick, 0), byNext);
    EXPECT_EQ(ReadAll(path, Way::kMixed, 1234u + file), ReadAllWithNext(path, 1234u + file));
  }
}

TEST(QuickLine, ALineLongerThanTheLimitRaisesTheSameError) {
  TempFolder folder;
  const std::string path = folder.Write(
      "long.txt", "a\r\nb\r\n" + std::string(LineReader::kLongestLine + 3, 'z') + "\r\nc\r\n");
  const Reading quick = ReadAll(path, Way::kQuick, 0);
  EXPECT_EQ(quick.error, kOutOfMemory);
  EXPECT_EQ(quick, ReadAll(path, Way::kNext, 0));
}

}  // namespace
}  // namespace parquill
