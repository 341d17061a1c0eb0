// The SIMA file of a drawing's lots, as the region build hands them on:
// byte for byte, the closure of a ring at the tolerance and past it, the
// limits at the limit and one past, and the refusals at the start.
#include "convert/sima_conversion_step.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sima/recording_host.h"
#include "support/drawn_lots.h"
#include "support/layer_choice.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::RecordingHost;
using testing::Sjis;
using testing::TempFolder;

using testing::PointRing;

LotModel Lots(const std::vector<PointRing>& rings, const std::vector<std::string>& chibans = {}) {
  return testing::DrawnLots(rings, chibans);
}

// A ring of `count` distinct points (first + i, y), not closed.
PointRing OpenRing(int count, int first = 0, int y = 0) {
  PointRing ring;
  for (int i = 0; i < count; ++i) ring.push_back({double(first + i), double(y)});
  return ring;
}

PointRing Square(double x0, double y0) { return testing::SquareRing(x0, y0, 10); }

// Lots converted to "map.Sim" in a fresh folder.
class Conversion {
 public:
  explicit Conversion(LotModel lots) : lots_(std::move(lots)) {
    choices_.drawing = folder_.Write("map.dxf", "0\r\nEOF\r\n");
    choices_.output = folder_.File("map.Sim");
    choices_.swapXY = false;
  }

  Outcome Run() { return ConvertToSima(choices_, lots_, host, &summary); }

  std::string SimaBytes() const { return ReadBytes(choices_.output); }
  // The lines of the file that begin with `code`, decoded strictly.
  std::vector<std::string> Records(std::string_view code) const {
    std::vector<std::string> found;
    const std::string text = DecodeText(SimaBytes(), TextEncoding::kCp932);
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find("\r\n", at);
      if (text.compare(at, code.size(), code) == 0) found.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return found;
  }

  const TempFolder& folder() const { return folder_; }
  ConversionChoices& choices() { return choices_; }

  RecordingHost host;
  ConversionSummary summary;

 private:
  TempFolder folder_;
  ConversionChoices choices_;
  LotModel lots_;
};

TEST(ConvertToSima, ThreeLotMapByteForByte) {
  Conversion c(Lots({{{0.5, -0.25}, {10, 0}, {10, 10.12345}, {0, 10}, {0.5, -0.25}},
                     {{10, 0}, {20, 0}, {20, 10}, {10, 10.12345}, {10, 0}},
                     {{0, 10}, {10, 10.12345}, {10, 20}, {0, 20.5}, {0, 10}}},
                    {"12-3", "東原５番", ""}));
  c.choices().swapXY = true;
  Outcome outcome = c.Run();
  ASSERT_TRUE(outcome.done());
  EXPECT_TRUE(outcome.messages.empty());
  std::string expected = CrLf({
      "G00,01,オルベックＬｏｔｗｅａｖｅｒデータ",
      "Z00,/SIMA共通フォーマットデータ/,",
      "Z00,/座標点数:8 筆個数:3/,",
      "Z00,/座標/,",
      "A00,",
      "A01,    1,K1,-.25,.5,,",
      "A01,    2,K2,0,10,,",
      "A01,    3,K3,10.12345,10,,",
      "A01,    4,K4,10,0,,",
      "A01,    5,K5,0,20,,",
      "A01,    6,K6,10,20,,",
      "A01,    7,K7,20,10,,",
      "A01,    8,K8,20.5,0,,",
      "A99,",
      "Z00,/筆 12-3/,",
      "D00,    1,12-3,1,",
      "B01,    1,K1,",
      "B01,    2,K2,",
      "B01,    3,K3,",
      "B01,    4,K4,",
      "D99,",
      "Z00,/筆 東原５番/,",
      "D00,    2,東原５番,1,",
      "B01,    2,K2,",
      "B01,    5,K5,",
      "B01,    6,K6,",
      "B01,    3,K3,",
      "D99,",
      "Z00,/筆 /,",
      "D00,    3,,1,",
      "B01,    4,K4,",
      "B01,    3,K3,",
      "B01,    7,K7,",
      "B01,    8,K8,",
      "D99,",
  });
  EXPECT_EQ(c.SimaBytes(), Sjis(expected));
  EXPECT_EQ(c.summary.points, 8);
  EXPECT_EQ(c.summary.regions, 3);
  EXPECT_EQ(c.summary.lotsWithNumber, 2);
  EXPECT_EQ(c.host.events, 1 + 1 + 3);  // at the start, once the file is open, per lot
  EXPECT_EQ(c.host.progress, (std::vector<int>{1, 2, 3}));
}

TEST(ConvertToSima, NoLots) {
  Conversion c(Lots({}));
  ASSERT_TRUE(c.Run().done());
  EXPECT_EQ(
      c.SimaBytes(),
      Sjis(CrLf({"G00,01,オルベックＬｏｔｗｅａｖｅｒデータ", "Z00,/SIMA共通フォーマットデータ/,",
                 "Z00,/座標点数:0 筆個数:0/,", "Z00,/座標/,", "A00,", "A99,"})));
}

// A ring closes when its last point is within 0.001 of its first in X and in
// Y, bounds included: its last point is then not listed.
TEST(ConvertToSima, ClosureCodes) {
  struct Case {
    PointRing ring;
    std::vector<std::string> lot;  // D00 and B01 lines
  };
  const Case cases[] = {
      {{{0, 0}, {5, 0}, {5, 5}, {0.001, -0.001}},
       {"D00,    1,,1,", "B01,    1,K1,", "B01,    2,K2,", "B01,    3,K3,"}},
      {{{0, 0}, {5, 0}, {5, 5}, {0.0011, 0}},
       {"D00,    1,,2,", "B01,    1,K1,", "B01,    2,K2,", "B01,    3,K3,", "B01,    4,K4,"}},
      {{{0, 0}, {5, 0}, {5, 5}, {0, 0.0011}},
       {"D00,    1,,2,", "B01,    1,K1,", "B01,    2,K2,", "B01,    3,K3,", "B01,    4,K4,"}},
      {{{7, 7}}, {"D00,    1,,1,"}},  // a single point closes on itself
      {{}, {"D00,    1,,1,"}},        // an empty ring is taken as closed
  };
  for (const auto& c : cases) {
    Conversion conversion(Lots({c.ring}));
    ASSERT_TRUE(conversion.Run().done());
    std::vector<std::string> lot = conversion.Records("D00");
    for (const auto& b : conversion.Records("B01")) lot.push_back(b);
    EXPECT_EQ(lot, c.lot) << c.ring.size();
    EXPECT_EQ(conversion.Records("D99").size(), 1u);
  }
}

TEST(ConvertToSima, FifteenThousandPointsAndOneMore) {
  std::vector<PointRing> rings;
  for (int r = 0; r < 15; ++r) rings.push_back(OpenRing(1000, 0, r));
  Conversion full(Lots(rings));
  ASSERT_TRUE(full.Run().done());
  EXPECT_EQ(full.summary.points, 15000);
  EXPECT_EQ(full.Records("A01").back(), "A01,15000,K15000,999,14,,");
  EXPECT_EQ(full.Records("B01").back(), "B01,15000,K15000,");

  rings.push_back(OpenRing(1, 0, 15));
  Conversion more(Lots(rings));
  std::string old = more.folder().Write("map.Sim", "old SIMA file\r\n");
  Outcome outcome = more.Run();
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages,
            (std::vector<Message>{{"座標が、15000点を超えました。", "座標点数"}}));
  EXPECT_EQ(ReadBytes(old), "old SIMA file\r\n");  // not touched
}

TEST(ConvertToSima, TwoThousandLotsAndOneMore) {
  std::vector<PointRing> rings(2000, PointRing{{1, 2}});
  Conversion full(Lots(rings));
  ASSERT_TRUE(full.Run().done());
  EXPECT_EQ(full.Records("D00").size(), 2000u);
  EXPECT_EQ(full.Records("D00").back(), "D00, 2000,,1,");

  rings.push_back({{1, 2}});
  Conversion more(Lots(rings));
  Outcome outcome = more.Run();
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages, (std::vector<Message>{{"筆個数が、2000個を超えました。", "筆個数"}}));
  EXPECT_FALSE(std::filesystem::exists(more.choices().output));
}

TEST(ConvertToSima, RefusalsAtTheStart) {
  struct Case {
    std::string dxf;
    std::string output;
    Message message;
  };
  TempFolder folder;
  std::string drawing = folder.Write("map.dxf", "x");
  const Message noFile{"ファイルが選択されていません。", "ファイル選択"};
  const Message sameFile{"出力ファイルが入力ファイルと同じです。", "ファイル指定"};
  const Case cases[] = {
      {"", folder.File("map.Sim"), noFile},
      {drawing, "", noFile},
      {drawing, drawing, sameFile},
      {drawing, folder.File("map.MIF"), sameFile},
      {drawing, folder.File("map.MID"), sameFile},
  };
  for (const auto& c : cases) {
    RecordingHost host;
    LotModel lots = Lots({Square(0, 0)});
    Outcome outcome = ConvertToSima(testing::Choosing(c.dxf, c.output), lots, host);
    EXPECT_EQ(outcome.kind, OutcomeKind::kRefused) << c.output;
    EXPECT_EQ(outcome.messages, std::vector<Message>{c.message}) << c.output;
    EXPECT_EQ(host.events, 1);
  }
  EXPECT_EQ(ReadBytes(drawing), "x");
}

}  // namespace
}  // namespace parquill
