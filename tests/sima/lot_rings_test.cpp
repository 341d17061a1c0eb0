#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/limits.h"
#include "sima/sima_writer.h"

namespace parquill {
namespace {

// The numbers kept for a ring's points are those a search of the finished
// table gives them: points within the tolerance of one
// another, clustered so that later points often match earlier ones.
TEST(LotRings, NumbersAreThoseOfTheFinishedTable) {
  {
    std::mt19937 random(7);
    PointTable points;
    LotRings rings;
    std::vector<std::vector<std::pair<double, double>>> read;
    for (int region = 0; region < 300; ++region) {
      const int count = static_cast<int>(random() % 12);
      rings.Begin(count);
      read.emplace_back();
      for (int i = 0; i < count; ++i) {
        const double x = static_cast<double>(random() % 40) * 0.0007;
        const double y = static_cast<double>(random() % 3) * 0.0011;
        ASSERT_TRUE(rings.Take(x, y, points));
        read.back().emplace_back(x, y);
      }
      rings.End();
    }
    ASSERT_EQ(rings.regionCount(), 300);
    ASSERT_EQ(rings.rings().size(), 300u);
    for (std::size_t r = 0; r < read.size(); ++r) {
      const LotRings::Ring& ring = rings.rings()[r];
      ASSERT_EQ(static_cast<std::size_t>(ring.count), read[r].size());
      for (std::size_t i = 0; i < read[r].size(); ++i) {
        const auto [x, y] = read[r][i];
        EXPECT_EQ(rings.numbers()[ring.firstNumber + i], points.Find(x, y));
      }
      const bool closes =
          read[r].empty() || (WithinTolerance(read[r].front().first, read[r].back().first) &&
                              WithinTolerance(read[r].front().second, read[r].back().second));
      EXPECT_EQ(ring.closed, closes);
    }
  }
}

// Only the rings the SIMA file can take are kept: up to the first ring too
// long (kept without its points) or to the first region past the lot table.
TEST(LotRings, KeptUpToWhatTheFileTakes) {
  struct Case {
    const char* what;
    std::vector<int> counts;
    std::size_t kept;
    std::size_t numbers;
  };
  const Case cases[] = {
      {"a ring too long", {3, kRingCapacity + 1, 3}, 2, 3},
      {"a ring of the most points", {3, kRingCapacity, 3}, 3, kRingCapacity + 6},
      {"past the lot table", std::vector<int>(LotTable::kCapacity + 500, 1),
       LotTable::kCapacity + 1, LotTable::kCapacity + 1},
  };
  for (const Case& c : cases) {
    PointTable points;
    LotRings rings;
    for (int count : c.counts) {
      rings.Begin(count);
      for (int i = 0; i < count; ++i) ASSERT_TRUE(rings.Take(i, 0, points));
      rings.End();
    }
    EXPECT_EQ(rings.regionCount(), static_cast<int>(c.counts.size())) << c.what;
    EXPECT_EQ(rings.rings().size(), c.kept) << c.what;
    EXPECT_EQ(rings.numbers().size(), c.numbers) << c.what;
  }
}

}  // namespace
}  // namespace parquill
