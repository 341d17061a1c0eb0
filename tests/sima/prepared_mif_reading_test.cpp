#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "mif_pair_text.h"
#include "sima/mif_to_sima_conversion.h"

// The conversion with its first reading of the MIF file made ahead (as the
// command line does while the lot numbers are attached) gives what the
// conversion in one go gives: the same outcome, messages, summary and files.
namespace parquill {
namespace {

using testing::CrLf;
using testing::MifHeader;
using testing::OpenRegion;
using testing::ReadBytes;
using testing::RecordingHost;
using testing::Region;
using testing::Sjis;
using testing::TempFolder;

struct Pair {
  std::optional<std::string> mif;  // no file when empty
  std::optional<std::string> mid;
  std::optional<std::string> oldSima;
  // Which request: 0 the usual one, 1 no drawing name, 2 the output named as
  // the MIF file, 3 no output name.
  int request = 0;
};

struct Result {
  Outcome outcome;
  ConversionSummary summary;
  std::optional<std::string> sima;
  RecordingHost host;
};

// Both ways run in the same folder (messages name the files), each on the
// files as the pair gives them.
Result Convert(const TempFolder& folder, const Pair& pair, bool prepared) {
  for (const char* name : {"map.MIF", "map.MID", "map.Sim"}) {
    std::filesystem::remove(folder.File(name));
  }
  if (pair.mif) folder.Write("map.MIF", *pair.mif);
  if (pair.mid) folder.Write("map.MID", Sjis(*pair.mid));
  if (pair.oldSima) folder.Write("map.Sim", *pair.oldSima);
  std::string drawing = folder.Write("map.dxf", "0\r\nEOF\r\n");
  ConversionRequest request{drawing, folder.File("map.Sim")};
  if (pair.request == 1) request.dxfPath.clear();
  if (pair.request == 2) request.outputName = folder.File("map.MIF");
  if (pair.request == 3) request.outputName.clear();

  Result result;
  result.host.swap = true;
  if (prepared) {
    RecordingHost readingHost;
    readingHost.swap = true;
    PreparedMifReading first = PrepareMifReading(request, readingHost);
    result.outcome = ConvertMifToSima(request, result.host, &result.summary, std::move(first));
    // The first reading's swap reads were made on the other host.
    result.host.swapReads += readingHost.swapReads;
  } else {
    result.outcome = ConvertMifToSima(request, result.host, &result.summary);
  }
  if (std::filesystem::exists(folder.File("map.Sim")))
    result.sima = ReadBytes(folder.File("map.Sim"));
  return result;
}

std::string ManyPoints(int regions) {
  std::string mif = MifHeader();
  for (int r = 0; r < regions; ++r) mif += OpenRegion(1000, 0, r);
  return mif;
}

TEST(PreparedMifReading, GivesWhatTheConversionInOneGoGives) {
  const std::string threeLots = MifHeader() +
                                Region({"0.50000 -0.25000", "10.00000 0.00000", "10.00000 10.12345",
                                        "0.00000 10.00000", "0.50000 -0.25000"}) +
                                Region({"10.00000 0.00000", "20.00000 0.00000", "20.00000 10.00000",
                                        "10.00000 10.12345", "10.00000 0.00000"});
  const std::string lots = CrLf({"1,12-3", "2,\"東原５番\""});
  std::string twoThousandAndOne;
  for (int i = 1; i <= 2001; ++i) twoThousandAndOne += std::to_string(i) + ",L\r\n";
  const Pair pairs[] = {
      {threeLots, lots, std::nullopt},
      {threeLots, lots, "old\r\n"},
      {CrLf({"Version 300", "Data"}) + OpenRegion(3), CrLf({"1\t12-3"}), std::nullopt},
      {MifHeader(), "", std::nullopt},
      {ManyPoints(15), "", std::nullopt},
      // The point table overflows in the first reading.
      {ManyPoints(15) + OpenRegion(1, 0, 15), "", "old\r\n"},
      // A ring too long for the writing, a lot table too long.
      {MifHeader() + OpenRegion(1001), "", std::nullopt},
      {MifHeader(), twoThousandAndOne, std::nullopt},
      // Errors of the first reading, of the MID file, of the writing.
      {MifHeader() + CrLf({"REGION 1", " 2 ", "0 0"}), "", "old\r\n"},
      {MifHeader() + CrLf({"REGION 1", " 1 ", "0.00000"}), "", std::nullopt},
      {MifHeader() + CrLf({"REGION 1", " 1e10 "}), "", std::nullopt},
      {CrLf({"Delimiter \","}), "", std::nullopt},
      {MifHeader(), CrLf({"1"}), std::nullopt},
      {std::nullopt, "", std::nullopt},
      {MifHeader(), std::nullopt, std::nullopt},
      // The checks at the start come before anything the first reading met.
      {std::nullopt, "", std::nullopt, 1},
      {ManyPoints(15) + OpenRegion(1, 0, 15), "", std::nullopt, 1},
      {ManyPoints(15) + OpenRegion(1, 0, 15), "", std::nullopt, 2},
      {MifHeader() + CrLf({"REGION 1"}), "", std::nullopt, 2},
      {MifHeader() + CrLf({"REGION 1"}), "", std::nullopt, 3},
  };
  for (const Pair& pair : pairs) {
    SCOPED_TRACE(pair.mif.value_or("(no MIF file)").substr(0, 200));
    SCOPED_TRACE(pair.request);
    TempFolder folder;
    Result plain = Convert(folder, pair, false);
    Result prepared = Convert(folder, pair, true);
    EXPECT_EQ(prepared.outcome.kind, plain.outcome.kind);
    EXPECT_EQ(prepared.outcome.errorNumber, plain.outcome.errorNumber);
    EXPECT_EQ(prepared.outcome.messages, plain.outcome.messages);
    EXPECT_EQ(prepared.sima, plain.sima);
    EXPECT_EQ(prepared.summary.points, plain.summary.points);
    EXPECT_EQ(prepared.summary.regions, plain.summary.regions);
    EXPECT_EQ(prepared.summary.lotsWithNumber, plain.summary.lotsWithNumber);
    EXPECT_EQ(prepared.host.events, plain.host.events);
    EXPECT_EQ(prepared.host.progress, plain.host.progress);
  }
}

TEST(PreparedMifReading, KeepsTheOverflowAndTheErrorOfTheReading) {
  TempFolder folder;
  folder.Write("map.MIF", ManyPoints(15) + OpenRegion(1, 0, 15));
  RecordingHost host;
  PreparedMifReading full = PrepareMifReading({"map.dxf", folder.File("map.Sim")}, host);
  ASSERT_TRUE(full.refusal.has_value());
  EXPECT_EQ(*full.refusal, (Message{"座標が、15000点を超えました。", "座標点数"}));
  EXPECT_FALSE(full.error);

  PreparedMifReading missing = PrepareMifReading({"map.dxf", folder.File("other.Sim")}, host);
  EXPECT_TRUE(missing.error);
  EXPECT_FALSE(missing.refusal.has_value());
}

}  // namespace
}  // namespace parquill
