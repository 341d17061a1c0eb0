// parquill-cli convert --report: the findings after the summary line, one a
// line with their place, and nothing more without the option.
#include <gtest/gtest.h>

#include "base/text_codec.h"
#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::CommandRun;
using testing::CrLf;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempFolder;

using testing::Sjis;

// An R2000 drawing with the layers 筆界 and 地番: one lot numbered "1", an
// open boundary polyline and a lot number outside every lot.
std::string Drawing() {
  std::string lot =
      CrLf({"  0",          "LWPOLYLINE", "100", "AcDbEntity", "  8", Sjis("筆界"), "100",
            "AcDbPolyline", " 90",        "4",   " 70",        "1",   " 10",        "0",
            " 20",          "0",          " 10", "10",         " 20", "0",          " 10",
            "10",           " 20",        "10",  " 10",        "0",   " 20",        "10"});
  std::string open =
      CrLf({"  0",          "LWPOLYLINE", "100", "AcDbEntity", "  8", Sjis("筆界"), "100",
            "AcDbPolyline", " 90",        "2",   " 70",        "0",   " 10",        "20",
            " 20",          "0",          " 10", "30",         " 20", "0"});
  auto text = [](const char* string, const char* x, const char* y) {
    return CrLf({"  0", "TEXT", "100", "AcDbEntity", "  8", Sjis("地番"), "100", "AcDbText", " 10",
                 x, " 20", y, "  1", string, "100", "AcDbText"});
  };
  auto layer = [](std::string_view name) {
    return CrLf({"  0", "LAYER", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord",
                 "  2", Sjis(name), " 70", "0"});
  };
  return CrLf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015", "  0",
               "ENDSEC", "  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER"}) +
         layer("筆界") + layer("地番") +
         CrLf({"  0", "ENDTAB", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"}) + lot +
         open + text("1", "5", "5") + text("2", "50", "50") + CrLf({"  0", "ENDSEC", "  0", "EOF"});
}

TEST(ConvertReport, FindingsFollowTheSummaryLineOnlyWhenAsked) {
  struct Case {
    const char* option;
    std::string findings;
  };
  const Case cases[] = {
      {"", ""},
      {" --report",
       "[未閉合] レイヤ「筆界」のポリラインは閉じていないため、面になりませんでした "
       "(X 20.000, Y 0.000)\n"
       "[領域外の文字] 地番の文字「2」はどの領域にも入っていません (X 50.000, Y 50.000)\n"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    std::string drawing = folder.Write("d.dxf", Drawing());
    const CommandRun run =
        RunCli(folder, "convert '" + drawing + "' --boundary 筆界 --text 地番" + c.option);
    EXPECT_EQ(run.status, 0) << c.option;
    EXPECT_EQ(run.out,
              "領域 1（地番あり 1）、座標点 4、出力 " + folder.File("d.Sim") + "\n" + c.findings)
        << c.option;
  }
}

// A boundary layer whose lots are drawn with LINEs only: no region, exit 0,
// a warning on the error output and the report say why.
TEST(ConvertReport, ABoundaryLayerOfLinesOnlyIsNamed) {
  TempFolder folder;
  auto line = [](const char* x1, const char* y1, const char* x2, const char* y2) {
    return CrLf({"  0", "LINE", "100", "AcDbEntity", "  8", Sjis("筆界"), "100", "AcDbLine", " 10",
                 x1, " 20", y1, " 11", x2, " 21", y2});
  };
  std::string drawing = Drawing();
  const std::size_t entities = drawing.find("ENTITIES\r\n") + 10;
  const std::size_t lot = drawing.find("  0\r\nTEXT", entities);  // the polylines go
  // An old-style POLYLINE and an ARC are line work too.
  const std::string polyline =
      CrLf({"  0", "POLYLINE", "  8",    Sjis("筆界"), " 66",        "1",          " 70",
            "1",   "  0",      "VERTEX", "  8",        Sjis("筆界"), " 10",        "20",
            " 20", "0",        "  0",    "VERTEX",     "  8",        Sjis("筆界"), " 10",
            "30",  " 20",      "0",      "  0",        "SEQEND",     "  8",        Sjis("筆界")});
  const std::string arc = CrLf({"  0", "ARC", "  8", Sjis("筆界"), " 10", "5", " 20", "5", " 40",
                                "1", " 50", "0", " 51", "90"});
  drawing = drawing.substr(0, entities) + line("0", "0", "10", "0") + line("10", "0", "0", "10") +
            line("0", "10", "0", "0") + polyline + arc + drawing.substr(lot);
  const CommandRun run = RunCli(folder, "convert '" + folder.Write("lines.dxf", drawing) +
                                            "' --boundary 筆界 --text 地番 --report");
  EXPECT_EQ(run.status, 0);
  const std::string& out = run.out;
  EXPECT_NE(out.find("\n[線分のみ] レイヤ「筆界」に LWPOLYLINE がありません（LINE・POLYLINE・ARC 5 "
                     "本）\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(run.err,
            "警告: 領域が 1 つもありません: レイヤ「筆界」に閉じたポリラインがありません"
            "（[線分のみ] LINE・POLYLINE・ARC 5 本: "
            "線で描かれた筆は「線から筆を作る」で変換できます）\n");
}

// A text of height 10 makes the lot-number reader take the next line as a
// value (as it reads the drawing line by line): its lot loses its number, and
// the report names the text a reading by group pairs finds.
TEST(ConvertReport, ATextTheChibanReaderMissedIsNamed) {
  TempFolder folder;
  std::string drawing = Drawing();
  const std::size_t at = drawing.find(CrLf({"  1", "1"}));
  drawing.insert(at, CrLf({" 40", "10"}));
  const CommandRun run = RunCli(folder, "convert '" + folder.Write("tall.dxf", drawing) +
                                            "' --boundary 筆界 --text 地番 --report");
  EXPECT_EQ(run.status, 0);
  const std::string& out = run.out;
  EXPECT_NE(out.find("\n[読み落とし] 「1」 (X 5.000, Y 5.000)\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace parquill
