#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sima/mif_line_rules.h"
#include "sima/mif_mid_reader.h"
#include "support/temp_folder.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::TempFolder;

// A swap box that changes as it pleases, and counts how often it was read.
class ChangingSwapBox : public StepHost {
 public:
  bool SwapTicked() override { return (++asked % 7) < 3; }
  int asked = 0;
};

std::uint64_t Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// The first reading point by point, each line read by CoordinateFromLine:
// what ReadMifPoints must give.
std::optional<Message> ReadMifPointsLineByLine(const std::string& path, StepHost& host,
                                               PointTable& points, MifReading& reading) {
  LineReader mif(path);
  std::string_view line;
  while (mif.Next(line)) {
    if (StartsWithKeyword(line, "DELIMITER")) {
      reading.delimiter = DelimiterFromLine(line);
      continue;
    }
    if (!StartsWithKeyword(line, "REGION")) continue;
    std::int32_t count = ReadRingPointCount(mif);
    ++reading.regionCount;
    for (std::int32_t j = 1; j <= count; ++j) {
      std::string_view pointLine = mif.Require();
      Coordinate c = CoordinateFromLine(pointLine, host.SwapTicked());
      if (points.Find(c.x, c.y) != 0) continue;
      if (points.Add(c.x, c.y) == 0) return Message{"full", ""};
    }
  }
  return std::nullopt;
}

// All a first reading leaves behind.
struct FirstReading {
  std::vector<std::uint64_t> points;
  int regionCount = 0;
  std::string delimiter;
  bool full = false;
  int error = 0;
  int asked = 0;
  bool operator==(const FirstReading&) const = default;
};

FirstReading ReadFirst(const std::string& path, bool lineByLine) {
  FirstReading first;
  ChangingSwapBox host;
  PointTable points;
  MifReading reading;
  try {
    first.full = (lineByLine ? ReadMifPointsLineByLine(path, host, points, reading)
                             : ReadMifPoints(path, host, points, reading))
                     .has_value();
  } catch (const RuntimeError& error) {
    first.error = error.number();
  }
  for (int k = 1; k <= points.count(); ++k) {
    first.points.push_back(Bits(points.X(k)));
    first.points.push_back(Bits(points.Y(k)));
  }
  first.regionCount = reading.regionCount;
  first.delimiter = reading.delimiter;
  first.asked = host.asked;
  return first;
}

// A point line mostly of the region builder's shape, sometimes of another
// (values to round, blanks around, no Y).
std::string RandomPointLine(std::mt19937& random, bool withBadLines) {
  auto value = [&random] {
    std::string text = random() % 2 ? "-" : "";
    const int whole = 1 + static_cast<int>(random() % (random() % 8 == 0 ? 10 : 6));
    for (int i = 0; i < whole; ++i) text.push_back(static_cast<char>('0' + random() % 10));
    text += '.';
    const int decimals = random() % 20 == 0 ? static_cast<int>(random() % 9) : 5;
    for (int i = 0; i < decimals; ++i) text.push_back(static_cast<char>('0' + random() % 10));
    return text;
  };
  switch (random() % 50) {
    case 0:
      return value() + "  " + value();
    case 1:
      return value() + " " + value() + " 3";
    case 2:
      return withBadLines && random() % 20 == 0 ? value() : value() + " " + value();
    default:
      return value() + " " + value();
  }
}

std::string RandomMif(std::mt19937& random, const char* end, std::size_t size, bool withBadLines) {
  std::string bytes = std::string("Version   300") + end + "Delimiter \";\"" + end + "Data" + end;
  while (bytes.size() < size) {
    bytes += std::string("Region  2") + end;
    for (int ring = 0; ring < 2; ++ring) {
      const int count = 1 + static_cast<int>(random() % 40);
      bytes += "  " + std::to_string(count) + end;
      for (int j = 0; j < count; ++j) bytes += RandomPointLine(random, withBadLines) + end;
    }
    bytes += std::string("    Pen (1,2,0)") + end;
  }
  return bytes;
}

TEST(ReadMifPoints, SameAsReadingPointByPoint) {
  std::mt19937 random(41);
  TempFolder folder;
  for (int file = 0; file < 24; ++file) {
    const char* end = file % 3 == 0 ? "\r\n" : file % 3 == 1 ? "\r" : "\n";
    const std::size_t size = file % 4 == 0 ? 500'000 : 3'000 + random() % 30'000;
    std::string bytes = RandomMif(random, end, size, file % 5 == 4);
    if (file % 6 == 1) bytes.resize(bytes.size() - 1 - random() % 300);  // cut inside a ring
    SCOPED_TRACE(::testing::Message() << "file " << file);
    const std::string path = folder.Write("a.MIF", bytes);
    const FirstReading fast = ReadFirst(path, false);
    EXPECT_GT(fast.regionCount, 0);
    EXPECT_EQ(fast, ReadFirst(path, true));
  }
}

TEST(ReadMifPoints, AFullTableStopsAtTheSamePoint) {
  std::mt19937 random(43);
  TempFolder folder;
  // About 18 000 distinct points in the first rings, more than the table
  // holds, and a file cut short after them.
  std::string bytes = RandomMif(random, "\r\n", 36'000 * 25, false);
  bytes.resize(bytes.size() - 10);
  const std::string path = folder.Write("full.MIF", bytes);
  const FirstReading fast = ReadFirst(path, false);
  EXPECT_TRUE(fast.full);
  EXPECT_EQ(fast, ReadFirst(path, true));
}

// A ring read at once gives what its lines read one by one give.
TEST(RequireRingCoordinates, SameAsCoordinateFromEachLine) {
  std::mt19937 random(47);
  TempFolder folder;
  for (int file = 0; file < 12; ++file) {
    const char* end = file % 3 == 0 ? "\r\n" : file % 3 == 1 ? "\r" : "\n";
    std::string bytes = std::string("Version   300") + end;
    std::vector<int> counts;
    while (bytes.size() < (file % 4 == 0 ? 400'000u : 5'000u)) {
      counts.push_back(static_cast<int>(random() % 120));
      for (int j = 0; j < counts.back(); ++j) bytes += RandomPointLine(random, true) + end;
    }
    counts.push_back(3);  // past the end of the file
    const std::string path = folder.Write("ring.MIF", bytes);
    SCOPED_TRACE(::testing::Message() << "file " << file);

    LineReader atOnce(path);
    LineReader oneByOne(path);
    atOnce.Require();
    oneByOne.Require();
    ChangingSwapBox atOnceBox;
    ChangingSwapBox oneByOneBox;
    std::vector<Coordinate> ring;
    for (int count : counts) {
      int atOnceError = 0;
      int oneByOneError = 0;
      std::vector<std::uint64_t> expected;
      try {
        for (int j = 0; j < count; ++j) {
          std::string_view line = oneByOne.Require();
          const Coordinate c = CoordinateFromLine(line, oneByOneBox.SwapTicked());
          expected.push_back(Bits(c.x));
          expected.push_back(Bits(c.y));
        }
      } catch (const RuntimeError& error) {
        oneByOneError = error.number();
      }
      try {
        RequireRingCoordinates(atOnce, count, atOnceBox, ring);
      } catch (const RuntimeError& error) {
        atOnceError = error.number();
      }
      ASSERT_EQ(atOnceError, oneByOneError);
      if (atOnceError != 0) break;
      std::vector<std::uint64_t> read;
      for (const Coordinate& c : ring) {
        read.push_back(Bits(c.x));
        read.push_back(Bits(c.y));
      }
      ASSERT_EQ(read, expected);
      ASSERT_EQ(atOnceBox.asked, oneByOneBox.asked);
      ASSERT_EQ(atOnce.lineNumber(), oneByOne.lineNumber());
    }
  }
}

}  // namespace
}  // namespace parquill
