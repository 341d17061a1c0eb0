#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/random_numbers.h"
#include "support/temp_folder.h"
#include "base/line_reader.h"
#include "mif/plain_point_line.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::TempFolder;

// One point line as a reading saw it: its number, whether it read as a
// plain point line and the values then (as bits, so -0.0 differs from 0).
struct PointLineSeen {
  std::int64_t number = 0;
  bool plain = false;
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  bool operator==(const PointLineSeen&) const = default;
};

struct PointReading {
  std::vector<PointLineSeen> lines;
  std::vector<std::string> texts;  // the line itself, where the reading gives it
  int error = 0;
  bool operator==(const PointReading&) const = default;
};

std::uint64_t Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

enum class Way { kLineByLine, kOneAtATime, kInRuns };

// Reads every line of the file as a point line until the end of the file
// (error 62) or another error: line by line with Require() and
// ReadPlainPointLine, with RequireUsualPointLine, or with runs of
// TakeUsualPointLines (random lengths) and RequireUsualPointLine between them.
PointReading ReadPoints(const std::string& path, Way way, std::uint32_t seed = 1) {
  PointReading reading;
  std::mt19937 random(seed);
  try {
    LineReader reader(path);
    for (;;) {
      if (way == Way::kInRuns) {
        std::array<double, 80> xs{};
        std::array<double, 80> ys{};
        const std::int64_t first = reader.lineNumber();
        const std::int32_t run = static_cast<std::int32_t>(random() % xs.size());
        const std::int32_t taken = reader.TakeUsualPointLines(run, xs.data(), ys.data());
        EXPECT_LE(taken, run);
        EXPECT_EQ(reader.lineNumber(), first + taken);
        for (std::int32_t i = 0; i < taken; ++i) {
          reading.lines.push_back({first + i + 1, true, Bits(xs[i]), Bits(ys[i])});
        }
      }
      std::string_view line;
      double x = 0;
      double y = 0;
      bool plain = false;
      if (way == Way::kLineByLine) {
        line = reader.Require();
        plain = ReadPlainPointLine(line, x, y);
      } else {
        plain = reader.RequireUsualPointLine(line, x, y) || ReadPlainPointLine(line, x, y);
      }
      reading.lines.push_back(
          {reader.lineNumber(), plain, plain ? Bits(x) : 0, plain ? Bits(y) : 0});
      if (way != Way::kInRuns) reading.texts.emplace_back(line);
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
  }
  return reading;
}

void ExpectSameReadings(const std::string& path, int error = kInputPastEnd) {
  const PointReading lineByLine = ReadPoints(path, Way::kLineByLine);
  EXPECT_EQ(lineByLine.error, error);
  EXPECT_EQ(ReadPoints(path, Way::kOneAtATime), lineByLine);
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    PointReading inRuns = ReadPoints(path, Way::kInRuns, seed);
    EXPECT_EQ(inRuns.error, lineByLine.error);
    EXPECT_EQ(inRuns.lines, lineByLine.lines);
  }
}

// A point line of the region builder's shape or near it.
std::string RandomPointLine(std::mt19937& random) {
  auto value = [&random] { return testing::RandomCoordinateText(random, 10, 6); };
  switch (random() % 40) {
    case 0:
      return "Pen (1,2,0)";
    case 1:
      return "";
    case 2:
      return value() + "  " + value();
    case 3:
      return value() + " " + value() + " " + value();
    case 4:
      return value();  // no Y
    default:
      return value() + " " + value();
  }
}

// The same lines, numbers, values and errors, whatever the line ends, across
// the buffer's 64 KiB reads (lines and CR LF cut between two reads included)
// and at the end of the file.
TEST(PointLineReading, SameAsLineByLineReading) {
  const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r", "\n"};
  std::mt19937 random(23);
  TempFolder folder;
  for (int file = 0; file < 24; ++file) {
    const int endKind = file % 4;  // CR LF only, CR only, LF only, mixed
    const std::size_t size = file % 3 == 0 ? 600'000 + random() % 100'000 : random() % 3000;
    std::string bytes;
    while (bytes.size() < size) {
      bytes += RandomPointLine(random);
      bytes += endKind == 0   ? "\r\n"
               : endKind == 1 ? "\r"
               : endKind == 2 ? "\n"
                              : ends[random() % std::size(ends)];
    }
    if (random() % 2 == 0) bytes += RandomPointLine(random);  // a last line without its end
    SCOPED_TRACE(::testing::Message() << "file " << file);
    ExpectSameReadings(folder.Write("points.mif", bytes));
  }
}

// Every place of a CR LF, a lone CR or LF, and a line against the end of
// the first read of the buffer.
TEST(PointLineReading, LinesCutByTheBuffersRead) {
  constexpr std::size_t kRead = std::size_t{1} << 18;
  TempFolder folder;
  for (std::string_view end : {"\r\n", "\r", "\n"}) {
    for (std::size_t shift = 0; shift < 30; ++shift) {
      std::string bytes(kRead - 40 + shift, '1');
      bytes += end;
      while (bytes.size() < kRead + 200) {
        bytes += "-28410.25000 15730.50000";
        bytes += end;
      }
      SCOPED_TRACE(::testing::Message() << "shift " << shift);
      ExpectSameReadings(folder.Write("cut.mif", bytes));
    }
  }
}

TEST(PointLineReading, TheLongestLineAndTheEnd) {
  TempFolder folder;
  const std::string point = "-28410.25000 15730.50000\r\n";
  std::string bytes;
  for (int i = 0; i < 40; ++i) bytes += point;
  ExpectSameReadings(folder.Write("end.mif", bytes));
  ExpectSameReadings(folder.Write("noend.mif", bytes + "-28410.25000 15730.50000"));
  ExpectSameReadings(folder.Write("cr.mif", bytes + "-28410.25000 15730.50000\r"));
  ExpectSameReadings(folder.Write("empty.mif", ""));
  ExpectSameReadings(
      folder.Write("long.mif",
                   bytes + std::string(LineReader::kLongestLine + 1, '5') + "\r\n" + point),
      kOutOfMemory);
}

TEST(PointLineReading, TheLineIsGivenEitherWay) {
  TempFolder folder;
  LineReader reader(folder.Write(
      "two.mif", "Version 300\r\nRegion  1\r\n  2\r\n-28410.25000 15730.50000\r\n1 2\r\n"));
  std::string_view line;
  for (int i = 0; i < 3; ++i) reader.Require();
  double x = 0;
  double y = 0;
  const bool usual = reader.RequireUsualPointLine(line, x, y);
#if defined(__SSE2__)
  EXPECT_TRUE(usual);
#endif
  if (!usual) {
    ASSERT_TRUE(ReadPlainPointLine(line, x, y));
  }
  EXPECT_EQ(line, "-28410.25000 15730.50000");
  EXPECT_EQ(x, -28410.25);
  EXPECT_EQ(y, 15730.5);
  EXPECT_FALSE(reader.RequireUsualPointLine(line, x, y));
  EXPECT_EQ(line, "1 2");
  EXPECT_EQ(reader.lineNumber(), 5);
  EXPECT_THROW(reader.RequireUsualPointLine(line, x, y), RuntimeError);
}

}  // namespace
}  // namespace parquill
