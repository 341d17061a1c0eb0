#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "base/line_reader.h"

namespace parquill {
namespace {

// A reader opened at the offset of a line, with the count of lines before it,
// reads on exactly as the reader that gave the offset does.
TEST(LineOffset, ReaderStartedAtALineReadsOnAsFromTheStart) {
  std::mt19937 random(7);
  const char* ends[] = {"\r\n", "\r", "\n"};
  for (int file = 0; file < 20; ++file) {
    std::string bytes;
    const int lines = 200 + static_cast<int>(random() % 3000);
    for (int i = 0; i < lines; ++i) {
      bytes += std::string(random() % (file < 10 ? 40 : 400), static_cast<char>('a' + i % 26));
      bytes += ends[random() % 3];
    }
    testing::TempFolder folder;
    const std::string path = folder.Write("lines.txt", bytes);

    struct Place {
      std::int64_t offset;
      std::int64_t before;
    };
    std::vector<Place> places;
    std::vector<std::string> read;
    LineReader reader(path);
    std::string_view line;
    for (;;) {
      Place place{reader.NextLineOffset(), reader.lineNumber()};
      if (!reader.Next(line)) break;
      places.push_back(place);
      read.emplace_back(line);
    }
    for (std::size_t k = 0; k < places.size(); k += 1 + random() % 97) {
      LineReader later(path, places[k].offset, places[k].before);
      for (std::size_t j = k; j < read.size(); ++j) {
        ASSERT_TRUE(later.Next(line)) << file << " " << k;
        ASSERT_EQ(line, read[j]) << file << " " << k << " " << j;
        ASSERT_EQ(later.lineNumber(), static_cast<std::int64_t>(j) + 1);
      }
      EXPECT_FALSE(later.Next(line));
    }
  }
}

}  // namespace
}  // namespace parquill
