#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "mif/region_ring_reader.h"
#include "support/random_numbers.h"
#include "support/temp_folder.h"
#include "base/number_text.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::TempFolder;

// The ring reading line by line, each point line cut at its blanks and read
// by the number rule: what ReadNextRegionRing must give.
bool ReadRingLineByLine(LineReader& mif, RegionRing& ring) {
  std::string_view line;
  do {
    if (!mif.Next(line)) return false;
  } while (line.find("REGION") == std::string_view::npos);
  ring.count = ToInt16(NumberFromText(mif.Require()));
  for (int j = 1; j <= ring.count; ++j) {
    std::string_view point = mif.Require();
    if (j > RegionRing::kCapacity) throw RuntimeError(kSubscriptOutOfRange);
    std::size_t blank = point.find(' ');
    if (blank == std::string_view::npos) throw RuntimeError(kSubscriptOutOfRange);
    std::string_view rest = point.substr(blank + 1);
    ring.x[static_cast<std::size_t>(j)] = NumberFromText(point.substr(0, blank));
    ring.y[static_cast<std::size_t>(j)] = NumberFromText(rest.substr(0, rest.find(' ')));
  }
  return true;
}

// Every ring of the file, as bytes (the slots beyond the count too: the ring
// is not cleared between regions), with the line number after it, and the
// error that ended the reading.
struct RingsRead {
  std::vector<std::string> rings;
  std::vector<std::int64_t> numbers;
  int error = 0;
  bool operator==(const RingsRead&) const = default;
};

RingsRead ReadRings(const std::string& path, bool lineByLine) {
  RingsRead read;
  try {
    LineReader mif(path);
    auto ring = std::make_unique<RegionRing>();
    while (lineByLine ? ReadRingLineByLine(mif, *ring) : ReadNextRegionRing(mif, *ring)) {
      std::string bytes(sizeof(RegionRing), '\0');
      std::memcpy(bytes.data(), ring.get(), sizeof(RegionRing));
      read.rings.push_back(std::move(bytes));
      read.numbers.push_back(mif.lineNumber());
    }
  } catch (const RuntimeError& error) {
    read.error = error.number();
  }
  return read;
}

// A point line mostly of the region builder's shape, sometimes of another.
std::string RandomPointLine(std::mt19937& random) {
  auto value = [&random] { return testing::RandomCoordinateText(random, 20, 7); };
  switch (random() % 60) {
    case 0:
      return value() + "  " + value();
    case 1:
      return " " + value() + " " + value() + " 7";
    case 2:
      return value() + " " + value() + "e2";
    default:
      return value() + " " + value();
  }
}

// Regions of the region builder's files and beside them: rings of one to
// 1001 points (the last too many), point lines of other shapes, a point line
// without a blank, files ending inside a ring; CR LF, CR or LF line ends,
// files longer than the reader's 64 KiB reads.
TEST(ReadNextRegionRing, SameRingsAsLineByLineReading) {
  std::mt19937 random(31);
  TempFolder folder;
  for (int file = 0; file < 30; ++file) {
    const char* end = file % 3 == 0 ? "\r\n" : file % 3 == 1 ? "\r" : "\n";
    const std::size_t size = file % 5 == 0 ? 700'000 : 2'000 + random() % 20'000;
    std::string bytes = std::string("Version   300") + end + "Data" + end;
    while (bytes.size() < size) {
      bytes += std::string("REGION 1") + end;
      const int count = random() % 40 == 0 ? 995 + static_cast<int>(random() % 7)
                                           : 1 + static_cast<int>(random() % 30);
      bytes += "  " + std::to_string(count) + end;
      for (int j = 0; j < count; ++j) {
        bytes += file % 6 == 5 && random() % 3000 == 0 ? std::string("1.00000")
                                                       : RandomPointLine(random);
        bytes += end;
      }
      bytes += std::string("    Pen (1,2,0)") + end;
    }
    if (file % 4 == 1) bytes.resize(bytes.size() - 1 - random() % 200);  // cut inside a ring
    SCOPED_TRACE(::testing::Message() << "file " << file);
    const std::string path = folder.Write("rings.mif", bytes);
    const RingsRead fast = ReadRings(path, false);
    EXPECT_FALSE(fast.rings.empty());
    EXPECT_EQ(fast, ReadRings(path, true));
  }
}

TEST(ReadNextRegionRing, ErrorsOfTheRing) {
  struct Case {
    std::string_view bytes;
    int error;
  };
  const Case cases[] = {
      {"REGION 1\r\n  2\r\n-28410.25000 15730.50000\r\n", kInputPastEnd},
      {"REGION 1\r\n  2\r\n-28410.25000 15730.50000\r\n-28410.25000\r\n", kSubscriptOutOfRange},
      {"REGION 1\r\n  70000\r\n", kOverflow},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.Write("bad.mif", c.bytes);
    const RingsRead read = ReadRings(path, false);
    EXPECT_EQ(read.error, c.error) << c.bytes;
    EXPECT_EQ(read, ReadRings(path, true)) << c.bytes;
  }
}

}  // namespace
}  // namespace parquill
