#include "convert/sima_conversion_step.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "sima/mif_pair_text.h"
#include "support/layer_choice.h"

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

// One MIF/MID pair in a fresh folder, converted to "map.Sim".
class Conversion {
 public:
  Conversion(const std::string& mif, const std::string& mid) {
    folder_.Write("map.MIF", mif);
    folder_.Write("map.MID", Sjis(mid));
    choices_.drawing = folder_.Write("map.dxf", "0\r\nEOF\r\n");
    choices_.output = folder_.File("map.Sim");
    choices_.swapXY = false;
  }

  Outcome Run() { return ConvertMifToSima(choices_, host, &summary); }

  std::string SimaBytes() const { return ReadBytes(choices_.output); }
  std::string SimaText() const { return DecodeText(SimaBytes(), TextEncoding::kCp932); }
  std::vector<std::string> SimaLines() const {
    std::vector<std::string> lines;
    std::string text = SimaText();
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = text.find("\r\n", at);
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }
  // The lines of the file that begin with `code`.
  std::vector<std::string> Records(std::string_view code) const {
    std::vector<std::string> found;
    for (const auto& line : SimaLines()) {
      if (line.starts_with(code)) found.push_back(line);
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
};

std::string Square(double x0, double y0) {
  auto line = [](double x, double y) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(5);
    s << x << ' ' << y;
    return s.str();
  };
  return Region(
      {line(x0, y0), line(x0 + 10, y0), line(x0 + 10, y0 + 10), line(x0, y0 + 10), line(x0, y0)});
}

TEST(ConvertMifToSima, ThreeLotMapByteForByte) {
  Conversion c(MifHeader() +
                   Region({"0.50000 -0.25000", "10.00000 0.00000", "10.00000 10.12345",
                           "0.00000 10.00000", "0.50000 -0.25000"}) +
                   Region({"10.00000 0.00000", "20.00000 0.00000", "20.00000 10.00000",
                           "10.00000 10.12345", "10.00000 0.00000"}) +
                   Region({"0.00000 10.00000", "10.00000 10.12345", "10.00000 20.00000",
                           "0.00000 20.50000", "0.00000 10.00000"}),
               CrLf({"1,12-3", "2,\"東原５番\"", "3,"}));
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
}

TEST(ConvertMifToSima, HostIsLetThroughAtStartAfterOpeningAndPerRegion) {
  Conversion c(MifHeader() + Square(0, 0) + Square(10, 0) + Square(20, 0), CrLf({"1,a"}));
  ASSERT_TRUE(c.Run().done());
  EXPECT_EQ(c.host.events, 1 + 1 + 3);
  EXPECT_EQ(c.host.progress, (std::vector<int>{1, 2, 3}));
}

TEST(ConvertMifToSima, FileWithoutRegions) {
  Conversion c(MifHeader(), "");
  ASSERT_TRUE(c.Run().done());
  EXPECT_EQ(
      c.SimaBytes(),
      Sjis(CrLf({"G00,01,オルベックＬｏｔｗｅａｖｅｒデータ", "Z00,/SIMA共通フォーマットデータ/,",
                 "Z00,/座標点数:0 筆個数:0/,", "Z00,/座標/,", "A00,", "A99,"})));
}

TEST(ConvertMifToSima, ClosureCodes) {
  struct Case {
    std::string region;
    std::vector<std::string> lot;  // D00 and B01 lines
  };
  const Case cases[] = {
      {Region({"0 0", "5 0", "5 5", "0.001 -0.001"}),
       {"D00,    1,,1,", "B01,    1,K1,", "B01,    2,K2,", "B01,    3,K3,"}},
      {Region({"0 0", "5 0", "5 5", "0.0011 0"}),
       {"D00,    1,,2,", "B01,    1,K1,", "B01,    2,K2,", "B01,    3,K3,", "B01,    4,K4,"}},
      {Region({"0 0", "5 0", "5 5", "0 0.0011"}),
       {"D00,    1,,2,", "B01,    1,K1,", "B01,    2,K2,", "B01,    3,K3,", "B01,    4,K4,"}},
      {Region({"7 7"}), {"D00,    1,,1,"}},            // a single point closes on itself
      {CrLf({"REGION 1", " 0 "}), {"D00,    1,,1,"}},  // an empty ring is taken as closed
  };
  for (const auto& c : cases) {
    Conversion conversion(MifHeader() + c.region, "");
    ASSERT_TRUE(conversion.Run().done()) << c.region;
    std::vector<std::string> lot = conversion.Records("D00");
    for (const auto& b : conversion.Records("B01")) lot.push_back(b);
    EXPECT_EQ(lot, c.lot) << c.region;
    EXPECT_EQ(conversion.SimaLines().back(), "D99,");
  }
}

TEST(ConvertMifToSima, SkippedMidLinesMoveTheLotsUp) {
  Conversion c(MifHeader() + Square(0, 0) + Square(10, 0) + Square(20, 0),
               CrLf({",first", "2,\" 5 \"", "3,6"}));
  ASSERT_TRUE(c.Run().done());
  EXPECT_EQ(c.Records("D00"),
            (std::vector<std::string>{"D00,    1, 5 ,1,", "D00,    2,6,1,", "D00,    3,,1,"}));
  EXPECT_EQ(c.Records("Z00,/筆"),
            (std::vector<std::string>{"Z00,/筆  5 /,", "Z00,/筆 6/,", "Z00,/筆 /,"}));
}

TEST(ConvertMifToSima, TabDelimiterWithoutDelimiterLine) {
  Conversion c(CrLf({"Version 300", "Data"}) + Square(0, 0), CrLf({"1\t12-3"}));
  ASSERT_TRUE(c.Run().done());
  EXPECT_EQ(c.Records("D00"), (std::vector<std::string>{"D00,    1,12-3,1,"}));
}

TEST(ConvertMifToSima, RingOfAThousandPointsAndOneMore) {
  Conversion thousand(MifHeader() + OpenRegion(1000), "");
  ASSERT_TRUE(thousand.Run().done());
  EXPECT_EQ(thousand.Records("B01").size(), 1000u);

  Conversion more(MifHeader() + Square(0, 0) + OpenRegion(1001, 100), CrLf({"1,1", "2,2"}));
  more.folder().Write("map.Sim", "old SIMA file\r\n");
  Outcome outcome = more.Run();
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages,
            (std::vector<Message>{{"座標が、1000点を超えました。", "筆構成点数"}}));
  EXPECT_EQ(more.host.progress, (std::vector<int>{1}));
  // Nothing half-written: the file of the earlier run stays.
  EXPECT_EQ(more.SimaBytes(), "old SIMA file\r\n");
}

TEST(ConvertMifToSima, FifteenThousandPointsAndOneMore) {
  std::string mif = MifHeader();
  for (int r = 0; r < 15; ++r) mif += OpenRegion(1000, 0, r);
  Conversion full(mif, "");
  ASSERT_TRUE(full.Run().done());
  EXPECT_EQ(full.summary.points, 15000);
  EXPECT_EQ(full.Records("A01").back(), "A01,15000,K15000,999,14,,");
  EXPECT_EQ(full.Records("B01").back(), "B01,15000,K15000,");

  Conversion more(mif + OpenRegion(1, 0, 15), "");
  std::string old = more.folder().Write("map.Sim", "old SIMA file\r\n");
  Outcome outcome = more.Run();
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages,
            (std::vector<Message>{{"座標が、15000点を超えました。", "座標点数"}}));
  EXPECT_EQ(ReadBytes(old), "old SIMA file\r\n");  // not touched before the writing
}

TEST(ConvertMifToSima, TwoThousandLotsAndOneMore) {
  std::string mid;
  for (int i = 1; i <= 2000; ++i) mid += std::to_string(i) + ",L" + std::to_string(i) + "\r\n";
  Conversion full(MifHeader() + OpenRegion(1, 0, 0), mid);
  ASSERT_TRUE(full.Run().done());
  EXPECT_EQ(full.Records("D00"), (std::vector<std::string>{"D00,    1,L1,1,"}));

  Conversion more(MifHeader(), mid + "2001,L2001\r\n");
  Outcome outcome = more.Run();
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages, (std::vector<Message>{{"筆個数が、2000個を超えました。", "筆個数"}}));
  EXPECT_FALSE(std::filesystem::exists(more.choices().output));
}

TEST(ConvertMifToSima, RegionBeyondTheLotTableIsTrappedWithoutAFile) {
  std::string mif = MifHeader();
  for (int r = 0; r < 2001; ++r) mif += CrLf({"REGION 1", " 1 ", "1.00000 2.00000"});
  Conversion c(mif, "");
  Outcome outcome = c.Run();
  EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped);
  EXPECT_EQ(outcome.errorNumber, 9);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0].title, "Brantole");
  EXPECT_TRUE(outcome.messages[0].text.starts_with("エラー番号9\r\n"));
  EXPECT_EQ(c.SimaBytes(), "");
}

TEST(ConvertMifToSima, FirstReadingErrorsAreTrappedAndLeaveTheSimaFile) {
  struct Case {
    std::string mif;
    std::string mid;
    int error;
  };
  const Case cases[] = {
      {MifHeader() + CrLf({"REGION 1", " 2 ", "0 0"}), "", 62},
      {MifHeader() + CrLf({"REGION 1"}), "", 62},
      {MifHeader() + CrLf({"REGION 1", " 1 ", "0.00000"}), "", 9},
      {MifHeader() + CrLf({"REGION 1", " -1 "}), "", 9},
      {MifHeader() + CrLf({"REGION 1", " 1e10 "}), "", 6},
      {MifHeader() + CrLf({"REGION 1", " 1 ", ""}), "", 9},
      {CrLf({"Delimiter \","}), "", 5},
      {CrLf({"Delimiter"}), "", 5},
      {MifHeader(), CrLf({"1,2", ""}), 9},
      {MifHeader(), CrLf({"1"}), 9},
  };
  for (const auto& c : cases) {
    Conversion conversion(c.mif, c.mid);
    std::string old = conversion.folder().Write("map.Sim", "old\r\n");
    Outcome outcome = conversion.Run();
    EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped) << c.mif;
    EXPECT_EQ(outcome.errorNumber, c.error) << c.mif << c.mid;
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].title, "Brantole");
    EXPECT_TRUE(
        outcome.messages[0].text.starts_with("エラー番号" + std::to_string(c.error) + "\r\n"));
    EXPECT_EQ(ReadBytes(old), "old\r\n");
  }
}

TEST(ConvertMifToSima, MissingMifOrMidFile) {
  for (const char* missing : {"map.MIF", "map.MID"}) {
    Conversion c(MifHeader(), "");
    std::filesystem::remove(c.folder().File(missing));
    Outcome outcome = c.Run();
    EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped) << missing;
    EXPECT_EQ(outcome.errorNumber, 53) << missing;
    EXPECT_FALSE(std::filesystem::exists(c.choices().output));
  }
}

TEST(ConvertMifToSima, RefusalsAtTheStart) {
  struct Case {
    std::string dxf;
    std::string output;
    Message message;
  };
  TempFolder folder;
  std::string drawing = folder.Write("map.dxf", "x");
  folder.Write("map.MIF", MifHeader());
  folder.Write("map.MID", "");
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
    Outcome outcome = ConvertMifToSima(testing::Choosing(c.dxf, c.output), host);
    EXPECT_EQ(outcome.kind, OutcomeKind::kRefused) << c.output;
    EXPECT_EQ(outcome.messages, std::vector<Message>{c.message}) << c.output;
    EXPECT_EQ(host.events, 1);
  }
  EXPECT_EQ(ReadBytes(drawing), "x");
  EXPECT_EQ(ReadBytes(folder.File("map.MIF")), MifHeader());
}

}  // namespace
}  // namespace parquill
