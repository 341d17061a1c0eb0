// parquill-cli convert, run as a user runs it: the whole job from the sample
// drawing to the three files, and the exit statuses of its refusals and traps.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::CommandRun;
using testing::Entities;
using testing::Joined;
using testing::Lines;
using testing::operator+;
using testing::LwPolyline;
using testing::ReadBytes;
using testing::RunCli;
using testing::Square;
using testing::TempFolder;

const std::string kSample = std::string(PARQUILL_SOURCE_DIR) + "/examples/sample.dxf";
const std::string kExpected = std::string(PARQUILL_SOURCE_DIR) + "/examples/expected/";

std::string CopyOfSample(const TempFolder& folder) {
  std::string copy = folder.File("sample.dxf");
  std::filesystem::copy_file(kSample, copy);
  return copy;
}

TEST(ConvertCommand, SampleDrawingGivesTheExpectedFiles) {
  TempFolder folder;
  std::string drawing = CopyOfSample(folder);
  CommandRun run = RunCli(folder, "convert '" + drawing + "' --boundary 筆界 --text 地番");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "領域 12（地番あり 12）、座標点 23、出力 " + folder.File("sample.Sim") + "\n");
  for (const char* name : {"sample.MIF", "sample.MID", "sample.Sim"}) {
    EXPECT_EQ(ReadBytes(folder.File(name)), ReadBytes(kExpected + name)) << name;
  }
}

TEST(ConvertCommand, NoSwapKeepsTheDrawingsAxes) {
  TempFolder folder;
  std::string drawing = CopyOfSample(folder);
  std::string output = folder.File("out.Sim");
  CommandRun run =
      RunCli(folder, "convert '" + drawing + "' --boundary 筆界 --text 地番 --no-swap " +
                         "--output '" + output + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadBytes(output).find("A01,    1,K1,-28410.25,15730.5,,\r\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(folder.File("out.MID")), ReadBytes(kExpected + "sample.MID"));
}

TEST(ConvertCommand, RefusalsUsageErrorsAndTraps) {
  TempFolder folder;
  std::string drawing = CopyOfSample(folder);
  std::string old = folder.Write("old.dxf", "  9\r\n$ACADVER\r\n  1\r\nAC1009\r\n");
  struct Case {
    const char* what;
    std::string arguments;
    int status;
    std::string err;  // expected at the start of stderr
  };
  const Case cases[] = {
      {"old version", "convert '" + old + "' --boundary a --text b", 3,
       "DXFのバージョン: DXFのバージョンは、R12Jです。\n処理不可能です。\n"},
      {"all layers as the text layer", "convert '" + drawing + "' --boundary 筆界 --text すべて", 3,
       "レイア選択: すべては選択できません。\n"},
      {"unknown layer", "convert '" + drawing + "' --boundary 道 --text 地番", 2,
       "parquill-cli: レイヤ「道」は図面のレイヤ一覧にありません。一覧: すべて, 0, Defpoints, "
       "筆界"},
      {"missing text layer option", "convert '" + drawing + "' --boundary 筆界", 2,
       "parquill-cli: convert には"},
      {"unknown option", "convert '" + drawing + "' --boundary 筆界 --text 地番 --fast", 2,
       "parquill-cli: 知らないオプションです: --fast"},
      {"output over the drawing",
       "convert '" + drawing + "' --boundary 筆界 --text 地番 --output '" + drawing + "'", 3,
       "ファイル指定: 出力ファイルが入力ファイルと同じです。\n"},
      {"output folder missing",
       "convert '" + drawing + "' --boundary 筆界 --text 地番 --output '" +
           folder.File("no/such/x.Sim") + "'",
       4, "TESSARO: エラー番号53\n"},
  };
  for (const auto& c : cases) {
    CommandRun run = RunCli(folder, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.err;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.what;
  }
}

// A drawing named without an extension, whose boundary layer's name is not
// valid in its encoding (a Latin-1 byte in a Shift-JIS drawing): `layers`
// prints the byte as \xHH, `convert` takes that name, and the outputs are
// named after the drawing with a dot added.
TEST(ConvertCommand, LayerNamesAsPrintedAndNamesWithoutExtension) {
  TempFolder folder;
  const std::string layer = "trac\xE9";
  const Lines tables = {"  9",     "$ACADVER", "  1",    "AC1015", "  0",
                        "SECTION", "  2",      "TABLES", "100",    "AcDbLayerTableRecord",
                        "  2",     layer,      "  0",    "ENDSEC"};
  const std::string drawing =
      folder.Write("plan", Joined(tables + Entities(LwPolyline(layer, "1", Square()))));
  CommandRun layers = RunCli(folder, "layers '" + drawing + "'");
  EXPECT_EQ(layers.out, "すべて\ntrac\\xE9\n");
  CommandRun run =
      RunCli(folder, "convert '" + drawing + "' --boundary 'trac\\xE9' --text 'trac\\xE9'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("plan.MID")), "1,\r\n");
  EXPECT_NE(ReadBytes(folder.File("plan.Sim")).find(testing::Sjis("筆個数:1/")), std::string::npos);
  EXPECT_NE(ReadBytes(folder.File("plan.MIF")).find("REGION 1"), std::string::npos);
}

// A drawing saved on a Western code page carries its Japanese layer names
// and lot numbers as \U+XXXX (and \M+1XXXX) escapes: they are decoded
// wherever names and lot numbers are read, and GDAL reads the result.
TEST(ConvertCommand, EscapedJapaneseNamesAndChibans) {
  TempFolder folder;
  const Lines header = {"  9", "$ACADVER",
                        "  1", "AC1015",
                        "  9", "$DWGCODEPAGE",
                        "  3", "ANSI_1252",
                        "  0", "SECTION",
                        "  2", "TABLES",
                        "100", "AcDbLayerTableRecord",
                        "  2", "\\U+7B46\\U+754C",
                        "100", "AcDbLayerTableRecord",
                        "  2", "\\M+1926E\\M+194D4",
                        "  0", "ENDSEC"};
  const Lines text = {"  0", "TEXT",
                      "100", "AcDbEntity",
                      "  8", "\\U+5730\\U+756A",
                      "100", "AcDbText",
                      " 10", "0.5",
                      " 20", "0.5",
                      " 40", "2.5",
                      "  1", "\\U+4E00\\U+4E01\\U+76EE5-6",
                      "100", "AcDbText"};
  const std::string drawing = folder.Write(
      "w.dxf", Joined(header + Entities(LwPolyline("\\U+7B46\\U+754C", "1", Square()) + text)));
  EXPECT_EQ(RunCli(folder, "layers '" + drawing + "'").out, "すべて\n筆界\n地番\n");
  CommandRun run = RunCli(folder, "convert '" + drawing + "' --boundary 筆界 --text 地番");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("w.MID")), testing::Sjis("1,一丁目5-6\r\n"));
  if (!testing::Installed("ogrinfo")) return;
  const CommandRun info =
      testing::RunCommand(folder, "ogrinfo -ro -al '" + folder.File("w.MIF") + "'");
  EXPECT_NE(info.out.find("Chiban (String) = 一丁目5-6\n"), std::string::npos) << info.out;
}

TEST(ConvertCommand, GdalReadsTheChibansUnharmed) {
  if (!testing::Installed("ogrinfo")) {
    GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed";
  }
  TempFolder folder;
  std::string mif = folder.File("sample.MIF");
  std::filesystem::copy_file(kExpected + "sample.MIF", mif);
  std::filesystem::copy_file(kExpected + "sample.MID", folder.File("sample.MID"));
  const CommandRun info = testing::RunCommand(folder, "ogrinfo -ro -al '" + mif + "'");
  ASSERT_EQ(info.status, 0) << info.err;
  const std::string& listing = info.out;
  EXPECT_NE(listing.find("Feature Count: 12"), std::string::npos) << listing;
  for (const char* lot : {"123-4", "一丁目5-6", "一丁目5-7", "131"}) {
    EXPECT_NE(listing.find(std::string("Chiban (String) = ") + lot + "\n"), std::string::npos)
        << lot;
  }
}

}  // namespace
}  // namespace parquill
