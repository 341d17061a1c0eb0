#include "sima/mif_mid_reader.h"

#include <gtest/gtest.h>

#include "mif_pair_text.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::MifHeader;
using testing::OpenRegion;
using testing::RecordingHost;
using testing::Region;
using testing::Sjis;
using testing::TempFolder;

struct MifResult {
  PointTable points;
  MifReading reading;
};

MifResult ReadMif(const std::string& text, bool swap = false) {
  TempFolder folder;
  RecordingHost host;
  host.swap = swap;
  MifResult result;
  auto message = ReadMifPoints(folder.Write("a.MIF", text), host, result.points, result.reading);
  EXPECT_FALSE(message.has_value());
  return result;
}

std::vector<std::pair<double, double>> PointsOf(const PointTable& points) {
  std::vector<std::pair<double, double>> list;
  for (int k = 1; k <= points.count(); ++k) list.emplace_back(points.X(k), points.Y(k));
  return list;
}

using Points = std::vector<std::pair<double, double>>;

TEST(MifPointReading, SharedEdgesAreNumberedOnce) {
  MifResult r = ReadMif(MifHeader() +
                        Region({"0.00000 0.00000", "10.00000 0.00000", "10.00000 10.00000",
                                "0.00000 10.00000", "0.00000 0.00000"}) +
                        Region({"10.00000 0.00000", "20.00000 0.00000", "20.00000 10.00000",
                                "10.00000 10.00000", "10.00000 0.00000"}));
  EXPECT_EQ(r.reading.regionCount, 2);
  EXPECT_EQ(PointsOf(r.points), (Points{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 0}, {20, 10}}));
}

TEST(MifPointReading, TheFirstPointWithinTheToleranceIsTheSame) {
  MifResult r =
      ReadMif(MifHeader() + Region({"0.00000 0.00000", "0.00150 0.00000", "0.00080 0.00000",
                                    "0.00000 0.00100", "0.00000 0.00101"}));
  EXPECT_EQ(PointsOf(r.points), (Points{{0, 0}, {0.0015, 0}, {0, 0.00101}}));
  EXPECT_EQ(r.points.Find(0.0008, 0), 1);
}

TEST(MifPointReading, SwapExchangesXAndY) {
  EXPECT_EQ(PointsOf(ReadMif(MifHeader() + Region({"10.00000 20.00000"}), true).points),
            (Points{{20, 10}}));
  EXPECT_EQ(PointsOf(ReadMif(MifHeader() + Region({"10.00000 20.00000"}), false).points),
            (Points{{10, 20}}));
}

TEST(MifPointReading, CoordinatesAreRoundedToFiveDecimals) {
  MifResult r = ReadMif(MifHeader() + Region({"1.234567 -2.000004 9", " 3"}));
  EXPECT_EQ(PointsOf(r.points), (Points{{1.23457, -2}, {0, 3}}));  // "" before a blank reads 0
}

TEST(MifPointReading, OnlyTheFirstRingOfARegionAndAnyKeywordCase) {
  MifResult r =
      ReadMif(MifHeader() + CrLf({"region 2", " 2 ", "1.00000 1.00000", "2.00000 2.00000", " 1 ",
                                  "3.00000 3.00000", "Region  1", "  1", "4.00000 4.00000"}));
  EXPECT_EQ(r.reading.regionCount, 2);
  EXPECT_EQ(PointsOf(r.points), (Points{{1, 1}, {2, 2}, {4, 4}}));
}

TEST(MifPointReading, DelimiterLine) {
  struct Case {
    std::string mif;
    std::string delimiter;
  };
  const Case cases[] = {
      {MifHeader(), ","},
      {CrLf({"Version 300", "Data"}), "\t"},
      {CrLf({"delimiter \";\" x"}), ";"},
      {CrLf({"DELIMITER \"\""}), ""},
      {CrLf({"Delimiter \"|\"", "Delimiter \"#\""}), "#"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadMif(c.mif).reading.delimiter, c.delimiter) << c.mif;
}

TEST(MifPointReading, NoRegionGivesEmptyTables) {
  MifResult r = ReadMif(MifHeader());
  EXPECT_EQ(r.reading.regionCount, 0);
  EXPECT_EQ(r.points.count(), 0);
}

TEST(MifPointReading, SwapBoxReadForEveryPointLine) {
  TempFolder folder;
  RecordingHost host;
  PointTable points;
  MifReading reading;
  ReadMifPoints(folder.Write("a.MIF", MifHeader() + Region({"1 2", "3 4", "1 2"})), host, points,
                reading);
  EXPECT_EQ(host.swapReads, 3);
  EXPECT_EQ(host.events, 0);
}

// The reading numbers the points of every ring as a search of the finished
// table finds them (a later point never has a lower number), and notes which
// rings close, up to the first ring too long to be written.
TEST(MifPointReading, RingPointsNumberedAsTheFinishedTableFindsThem) {
  struct Case {
    const char* name;
    std::string regions;
    std::vector<std::vector<std::pair<double, double>>> rings;  // as read, before any swap
    std::vector<bool> closed;                                   // of the numbered regions
    int numbered;
  };
  const Case cases[] = {
      {"shared edge",
       Region({"0 0", "10 0", "10 10", "0 0"}) + Region({"10 0", "20 0", "10 10", "10 0"}),
       {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}, {{10, 0}, {20, 0}, {10, 10}, {10, 0}}},
       {true, true},
       2},
      {"points within the tolerance of earlier ones",
       Region({"0 0", "0.0015 0", "0.0008 0", "0.0015 0.001", "0.0009 0.0009"}),
       {{{0, 0}, {0.0015, 0}, {0.0008, 0}, {0.0015, 0.001}, {0.0009, 0.0009}}},
       {true},
       1},
      {"open ring, then an empty one",
       Region({"0 0", "5 0", "5 5", "0 0.0011"}) + CrLf({"REGION 1", " 0 "}),
       {{{0, 0}, {5, 0}, {5, 5}, {0, 0.0011}}, {}},
       {false, true},
       2},
      {"a ring too long stops the numbering",
       Region({"0 0", "1 0", "0 0"}) + OpenRegion(1001, 3) + Region({"0 0", "1 0", "0 0"}),
       {{{0, 0}, {1, 0}, {0, 0}}},
       {true},
       1},
  };
  for (const Case& c : cases) {
    for (bool swap : {false, true}) {
      MifResult r = ReadMif(MifHeader() + c.regions, swap);
      ASSERT_EQ(r.reading.regionsNumbered, c.numbered) << c.name;
      for (int region = 0; region < c.numbered; ++region) {
        const RegionStart& start = r.reading.regionStarts[static_cast<std::size_t>(region)];
        EXPECT_EQ(start.closed, c.closed[static_cast<std::size_t>(region)]) << c.name;
        const auto& ring = c.rings[static_cast<std::size_t>(region)];
        ASSERT_EQ(static_cast<std::size_t>(start.pointCount), ring.size()) << c.name;
        for (std::size_t i = 0; i < ring.size(); ++i) {
          auto [x, y] = ring[i];
          if (swap) std::swap(x, y);
          EXPECT_EQ(r.reading.pointNumbers[start.firstNumber + i], r.points.Find(x, y))
              << c.name << " point " << i;
        }
      }
    }
  }
}

std::vector<std::string> ReadLots(const std::string& mid, const std::string& delimiter = ",") {
  TempFolder folder;
  LotTable lots;
  auto message = ReadMidLots(folder.Write("a.MID", Sjis(mid)), delimiter, lots);
  EXPECT_FALSE(message.has_value());
  std::vector<std::string> list;
  for (int r = 1; r <= lots.count(); ++r) list.push_back(lots.At(r));
  return list;
}

using Lots = std::vector<std::string>;

TEST(MidLotReading, LotNumbersByCountedLine) {
  struct Case {
    std::string mid;
    Lots lots;
  };
  const Case cases[] = {
      {CrLf({"1,12-3", "2,", "3,東原５番"}), {"12-3", "", "東原５番"}},
      {CrLf({"1,\"12-3\""}), {"12-3"}},
      {CrLf({"1,\" 12 \""}), {" 12 "}},      // blanks inside quotes stay
      {CrLf({"1,  \"12-3\"  "}), {"12-3"}},  // blanks outside them go
      {CrLf({"1,1\"2\"-3"}), {"12-3"}},      // every quote goes
      {CrLf({"1,\t12\t"}), {"\t12\t"}},      // tabs are not blanks
      {CrLf({",skipped", "2,7", ",", "4,8"}), {"7", "8"}},
      {CrLf({"1,12,3"}), {"12"}},  // cut at the delimiter
      {CrLf({"1,ソ\\"}), {"ソ\\"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLots(c.mid), c.lots) << c.mid;
}

TEST(MidLotReading, OtherDelimiters) {
  EXPECT_EQ(ReadLots(CrLf({"1\t12-3", "2\t\"5\""}), "\t"), (Lots{"12-3", "5"}));
  EXPECT_EQ(ReadLots(CrLf({"1;;12"}), ";;"), (Lots{"12"}));
  // A delimiter byte inside a two-byte character does not cut it ("ソ" ends in 0x5C).
  EXPECT_EQ(ReadLots(CrLf({"1\\ソ1\\x"}), "\\"), (Lots{"ソ1"}));
}

TEST(MidLotReading, RunTimeErrors) {
  struct Case {
    std::string mid;
    std::string delimiter;
  };
  const Case cases[] = {
      {CrLf({"1,2", ""}), ","},
      {CrLf({"1"}), ","},
      {CrLf({"1,2"}), "\t"},
      {CrLf({"1,2"}), ""},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    LotTable lots;
    try {
      ReadMidLots(folder.Write("a.MID", c.mid), c.delimiter, lots);
      ADD_FAILURE() << "no error for " << c.mid;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), kSubscriptOutOfRange) << c.mid;
    }
  }
}

}  // namespace
}  // namespace parquill
