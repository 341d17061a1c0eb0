#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"
#include "base/line_reader.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::TempFolder;

// Every line a reading took, with the line number after it, and the error
// that ended it (62 at the end of the file).
struct PairReading {
  std::vector<std::string> lines;
  std::vector<std::int64_t> numbers;
  int error = 0;
  std::string description;
  bool operator==(const PairReading&) const = default;
};

// Reads the whole file as group pairs, either with RequireUsualGroupPair or
// line by line with Require(); after an unusual code line its value is read
// with Require() in both, so that the pairs stay in step.
PairReading ReadPairs(const std::string& path, bool inPairs) {
  PairReading reading;
  try {
    LineReader reader(path);
    for (;;) {
      std::string_view line;
      int code = 0;
      if (inPairs) {
        code = reader.RequireUsualGroupPair(line);
      } else {
        line = reader.Require();
        if (IsUsualNonZeroGroupCode(line)) {
          code = std::stoi(std::string(line));
          line = reader.Require();
        }
      }
      reading.lines.push_back(std::to_string(code));
      reading.lines.emplace_back(line);
      reading.numbers.push_back(reader.lineNumber());
      if (code == 0) {  // what follows an unusual code line
        reading.lines.emplace_back(reader.Require());
        reading.numbers.push_back(reader.lineNumber());
      }
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
    reading.description = error.what();
  }
  return reading;
}

// Pairs read two lines at a time give what line by line reading gives:
// the same lines, numbers and errors, whatever the line ends, across the
// buffer's reads (a CR LF cut between two reads included) and at the end.
TEST(GroupPairReading, SameLinesAsLineByLineReading) {
  const char* codes[] = {" 10", " 20", " 70", " 42", "  8",  "  0", " 00",
                         "0",   " 0",  "10",  " 1a", " 10 ", "",    "100"};
  const char* values[] = {
      "-28282.2994", "15630.5",        "  0", "0", " 10", "", "AcDbPolyline", "1.0",
      " 20",         "123456789012345"};
  const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r", "\n"};
  std::mt19937 random(17);
  TempFolder folder;
  for (int file = 0; file < 60; ++file) {
    const std::size_t size = file % 6 == 0 ? 600'000 + random() % 100'000 : random() % 3000;
    std::string bytes;
    while (bytes.size() < size) {
      bytes +=
          random() % 8 == 0 ? codes[5 + random() % (std::size(codes) - 5)] : codes[random() % 5];
      bytes += ends[random() % std::size(ends)];
      bytes += random() % 50 == 0 ? std::string(random() % 40, '7')
                                  : values[random() % std::size(values)];
      bytes += ends[random() % std::size(ends)];
    }
    if (random() % 2 == 0) bytes += codes[random() % std::size(codes)];  // no end, no value
    const std::string path = folder.Write("pairs.dxf", bytes);
    SCOPED_TRACE(::testing::Message() << "file " << file);
    const PairReading inPairs = ReadPairs(path, true);
    EXPECT_EQ(inPairs.error, kInputPastEnd);
    EXPECT_EQ(inPairs, ReadPairs(path, false));
  }
}

TEST(GroupPairReading, ACodeAtTheEndRaisesInputPastEnd) {
  TempFolder folder;
  for (const char* bytes : {" 10\r\n", " 10", " 10\r\n1.5\r\n 20\r", ""}) {
    const std::string path = folder.Write("end.dxf", bytes);
    LineReader reader(path);
    std::string_view line;
    try {
      while (reader.RequireUsualGroupPair(line) != 0) {
      }
      ADD_FAILURE() << "no error for " << bytes;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), kInputPastEnd) << bytes;
    }
  }
}

TEST(GroupPairReading, AnOverLongValueRaisesTheSameError) {
  TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += " 10\r\n1.5\r\n";
  bytes += " 20\r\n" + std::string(LineReader::kLongestLine + 1, '5') + "\r\n  0\r\n";
  const std::string path = folder.Write("long.dxf", bytes);
  const PairReading inPairs = ReadPairs(path, true);
  EXPECT_EQ(inPairs.error, kOutOfMemory);
  EXPECT_EQ(inPairs, ReadPairs(path, false));
}

}  // namespace
}  // namespace parquill
