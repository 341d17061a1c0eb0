#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "mif_pair_text.h"
#include "sima/mif_mid_reader.h"
#include "sima/mif_to_sima_conversion.h"
#include "sima/sima_writer.h"

// With a quiet host (the command line) the lots of a large map are written by
// two threads; the SIMA file, the outcome and the summary must be those of the
// window's single thread, also when the conversion fails in either half.
namespace parquill {
namespace {

using testing::CrLf;
using testing::MifHeader;
using testing::ReadBytes;
using testing::RecordingHost;
using testing::TempFolder;

std::string Coordinate(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.5f", v);
  return text;
}

// A map of rows × cols lots of 20 m sharing their edges, three more points on
// every edge: 17 point lines a lot. `lineFor` may replace the point lines of
// one lot (by its number from 1).
struct MapText {
  int rows = 12;
  int cols = 25;
  int changedLot = 0;
  std::string changedRing;  // the count line and point lines of that lot
  bool truncated = false;   // the file ends inside the last ring
  bool oneSquare = false;   // every lot drawn on the first one
};

std::string Ring(double x0, double y0) {
  std::vector<std::string> lines;
  const double corners[5][2] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}};
  for (int side = 0; side < 4; ++side) {
    for (int step = 0; step < 4; ++step) {
      double t = step / 4.0;
      double x = corners[side][0] + t * (corners[side + 1][0] - corners[side][0]);
      double y = corners[side][1] + t * (corners[side + 1][1] - corners[side][1]);
      lines.push_back(Coordinate(x0 + x + 0.123) + " " + Coordinate(y0 + y - 0.456));
    }
  }
  lines.push_back(lines.front());
  std::string text = " " + std::to_string(lines.size()) + " \r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

MapText Changed(int lot, std::string ring) {
  MapText map;
  map.changedLot = lot;
  map.changedRing = std::move(ring);
  return map;
}

MapText Truncated() {
  MapText map;
  map.truncated = true;
  return map;
}

// `lots` lots, all on one square: few points, more regions than lots.
MapText OneSquareTooMany(int lots) {
  MapText map;
  map.rows = 1;
  map.cols = lots;
  map.oneSquare = true;
  return map;
}

std::string Mif(const MapText& map) {
  std::string text = MifHeader();
  int lot = 0;
  for (int r = 0; r < map.rows; ++r) {
    for (int c = 0; c < map.cols; ++c) {
      ++lot;
      text += "Region  1\r\n";
      text += lot == map.changedLot ? map.changedRing
              : map.oneSquare       ? Ring(-30000, 15000)
                                    : Ring(-30000 + 20 * c, 15000 + 20 * r);
      text += "    Pen (1,2,0)\r\n";
    }
  }
  if (map.truncated) text.resize(text.rfind("    Pen") - 30);
  return text;
}

std::string Mid(int lots) {
  std::string text;
  for (int i = 1; i <= lots; ++i)
    text += std::to_string(i) + ",\"" + std::to_string(100 + i) + "\"\r\n";
  return text;
}

struct Converted {
  Outcome outcome;
  ConversionSummary summary;
  std::optional<std::string> sima;
};

Converted Convert(const std::string& mif, const std::string& mid, bool quiet, bool swap,
                  SearchStrategy search = SearchStrategy::kIndexed) {
  TempFolder folder;
  folder.Write("map.MIF", mif);
  folder.Write("map.MID", mid);
  ConversionRequest request{folder.Write("map.dxf", "0\r\nEOF\r\n"), folder.File("map.Sim"),
                            search};
  Converted result;
  if (quiet) {
    QuietHost host(swap);
    result.outcome = ConvertMifToSima(request, host, &result.summary);
  } else {
    RecordingHost host;
    host.swap = swap;
    result.outcome = ConvertMifToSima(request, host, &result.summary);
  }
  if (std::filesystem::exists(request.outputName)) result.sima = ReadBytes(request.outputName);
  return result;
}

std::string LongRing(int count) {
  std::string text = " " + std::to_string(count) + " \r\n";
  for (int i = 0; i < count; ++i) text += Coordinate(i) + " " + Coordinate(-7) + "\r\n";
  return text;
}

TEST(SharedLots, QuietHostWritesTheSameFile) {
  struct Case {
    const char* name;
    MapText map;
    int midLots;
    OutcomeKind kind;
    int error;
  };
  const std::string noBlank = " 2 \r\n1.00000 2.00000\r\n7.00000\r\n";
  const Case cases[] = {
      {"whole map", MapText(), 300, OutcomeKind::kDone, 0},
      {"ring too long early", Changed(8, LongRing(1001)), 300, OutcomeKind::kRefused, 0},
      {"ring too long late", Changed(290, LongRing(1001)), 300, OutcomeKind::kRefused, 0},
      {"point line without a blank early", Changed(3, noBlank), 300, OutcomeKind::kTrapped, 9},
      {"point line without a blank late", Changed(299, noBlank), 300, OutcomeKind::kTrapped, 9},
      {"count beyond 32 bits late", Changed(280, " 1e10 \r\n"), 300, OutcomeKind::kTrapped, 6},
      {"file ends inside the last ring", Truncated(), 300, OutcomeKind::kTrapped, 62},
      {"fewer lot numbers than regions", MapText(), 250, OutcomeKind::kDone, 0},
      {"more regions than the lot table", OneSquareTooMany(2001), 2000, OutcomeKind::kTrapped, 9},
      {"more regions than starts kept", OneSquareTooMany(2003), 2000, OutcomeKind::kTrapped, 9},
      {"empty ring late", Changed(260, " 0 \r\n"), 300, OutcomeKind::kDone, 0},
      {"open ring", Changed(150, LongRing(7)), 300, OutcomeKind::kDone, 0},
      {"closing point within the tolerance",
       Changed(40, CrLf({" 4 ", "-29999.5 15000.5", "-29990 15000.5", "-29990 15010",
                         "-29999.4991 15000.5009"})),
       300, OutcomeKind::kDone, 0},
  };
  for (const Case& c : cases) {
    const std::string mif = Mif(c.map);
    const std::string mid = Mid(c.midLots);
    for (bool swap : {true, false}) {
      Converted one = Convert(mif, mid, false, swap);
      EXPECT_EQ(one.outcome.kind, c.kind) << c.name;
      EXPECT_EQ(one.outcome.errorNumber, c.error) << c.name;
      // Indexed, the lots are written from the first reading's point numbers;
      // linear, they are read again.
      for (SearchStrategy search : {SearchStrategy::kIndexed, SearchStrategy::kLinear}) {
        Converted shared = Convert(mif, mid, true, swap, search);
        const std::string name =
            c.name + std::string(search == SearchStrategy::kLinear ? " linear" : "");
        EXPECT_EQ(shared.outcome.kind, one.outcome.kind) << name;
        EXPECT_EQ(shared.outcome.errorNumber, one.outcome.errorNumber) << name;
        EXPECT_EQ(shared.outcome.messages, one.outcome.messages) << name;
        EXPECT_EQ(shared.summary.points, one.summary.points) << name;
        EXPECT_EQ(shared.summary.regions, one.summary.regions) << name;
        EXPECT_EQ(shared.summary.lotsWithNumber, one.summary.lotsWithNumber) << name;
        ASSERT_EQ(shared.sima.has_value(), one.sima.has_value()) << name;
        if (one.sima) {
          EXPECT_TRUE(*shared.sima == *one.sima) << name;
        }
      }
    }
  }
}

// The second thread's part starts where the first reading saw a region; a
// start that is no region header, or a thread that stops to spare memory,
// leaves the rest to the first thread, with the same file. So does a thread
// that writes the lots from their point numbers.
TEST(SharedLots, UnexpectedStartOrMemoryLimitLeavesTheRestToTheFirstThread) {
  TempFolder folder;
  const std::string mifPath = folder.Write("map.MIF", Mif({}));
  folder.Write("map.MID", Mid(300));
  PointTable points;
  MifReading reading;
  QuietHost host(true);
  ASSERT_FALSE(ReadMifPoints(mifPath, host, points, reading));
  LotTable lots;
  ASSERT_FALSE(ReadMidLots(folder.File("map.MID"), reading.delimiter, lots));

  auto write = [&](const std::vector<RegionStart>* starts, std::size_t keptAhead, bool quiet,
                   bool numbered = false) {
    SimaSource source{mifPath, &points, &lots, reading.regionCount, starts, keptAhead};
    if (numbered) {
      source.pointNumbers = &reading.pointNumbers;
      source.regionsNumbered = reading.regionsNumbered;
    }
    const std::string sima = folder.File(quiet ? "shared.Sim" : "one.Sim");
    int lotsWithNumber = 0;
    RecordingHost window;
    window.swap = true;
    StepHost& chosen = quiet ? static_cast<StepHost&>(host) : window;
    EXPECT_FALSE(WriteSimaFile(source, sima, chosen, lotsWithNumber));
    EXPECT_EQ(lotsWithNumber, 300);
    return ReadBytes(sima);
  };
  const std::string expected = write(&reading.regionStarts, std::size_t{8} << 20, false);

  std::vector<RegionStart> shifted = reading.regionStarts;
  for (RegionStart& start : shifted) start.offset += 12;  // inside the header line
  EXPECT_TRUE(write(&shifted, std::size_t{8} << 20, true) == expected) << "off a header";
  for (std::size_t keptAhead : {std::size_t{1}, std::size_t{5000}}) {
    EXPECT_TRUE(write(&reading.regionStarts, keptAhead, true) == expected) << keptAhead;
    EXPECT_TRUE(write(&reading.regionStarts, keptAhead, true, true) == expected) << keptAhead;
  }
}

}  // namespace
}  // namespace parquill
