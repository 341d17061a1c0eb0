// parquill-cli convert --from-lines on generated R12 drawings of lots drawn as
// boundary lines, and on a drawing written by ezdxf.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::CommandRun;
using testing::Joined;
using testing::Lines;
using testing::operator+;
using testing::ReadBytes;
using testing::RunCli;
using testing::RunCommand;
using testing::Sjis;
using testing::TempFolder;

// A generated drawing of rows x cols lots; its lot numbers in file order.
std::string Generate(const TempFolder& folder, const std::string& options) {
  const std::string path = folder.File("lots.dxf");
  CommandRun run = RunCommand(folder, std::string("'") + PARQUILL_LINE_DRAWING_GENERATOR + "' " +
                                          options + " -o '" + path + "'");
  EXPECT_EQ(run.status, 0) << run.err;
  return path;
}

std::string Chiban(int lot) { return (lot % 7 == 0 ? "字" : "") + std::to_string(lot); }

std::string ConvertArguments(const std::string& drawing) {
  return "convert '" + drawing + "' --from-lines --boundary 筆界 --text 地番";
}

// The regions follow their first points (lowest X, then Y), whatever the
// order of the lot numbers in the drawing.
TEST(ConvertFromLines, RegionsFollowTheirFirstPoints) {
  const int rows = 6, cols = 8;
  std::string mid;
  for (int c = 0, k = 1; c < cols; ++c) {
    for (int r = 0; r < rows; ++r, ++k) {
      mid += std::to_string(k) + "," + Sjis(Chiban(r * cols + c + 1)) + "\r\n";
    }
  }
  for (const char* order : {"file", "reversed"}) {
    TempFolder folder;
    std::string drawing = Generate(folder, "--rows 6 --cols 8 --text-order " + std::string(order));
    CommandRun run = RunCli(folder, ConvertArguments(drawing));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("領域 48（地番あり 48）", 0), 0u) << run.out;
    EXPECT_EQ(ReadBytes(folder.File("lots.MID")), mid) << order;
  }
}

TEST(ConvertFromLines, GdalReadsOnePolygonPerLot) {
  if (!testing::Installed("ogrinfo")) {
    GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed";
  }
  TempFolder folder;
  std::string drawing = Generate(folder, "--rows 5 --cols 6");
  ASSERT_EQ(RunCli(folder, ConvertArguments(drawing)).status, 0);
  CommandRun info = RunCommand(folder, "ogrinfo -ro -al '" + folder.File("lots.MIF") + "'");
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("Feature Count: 30"), std::string::npos) << info.out;
  for (int lot = 1; lot <= 30; ++lot) {
    EXPECT_NE(info.out.find("Chiban (String) = " + Chiban(lot) + "\n"), std::string::npos) << lot;
  }
  std::size_t polygons = 0;
  for (std::size_t at = 0; (at = info.out.find("  POLYGON ((", at)) != std::string::npos; ++at) {
    ++polygons;
  }
  EXPECT_EQ(polygons, 30u);
}

// The points of the first region of a MIF file.
std::vector<std::pair<double, double>> FirstRing(const std::string& mif) {
  std::istringstream in(mif);
  std::string line;
  while (std::getline(in, line) && line.rfind("REGION", 0) != 0) {
  }
  int count = 0;
  in >> count;
  std::vector<std::pair<double, double>> ring(count);
  for (auto& [x, y] : ring) in >> x >> y;
  return ring;
}

TEST(ConvertFromLines, ArcCornerBecomesChords) {
  TempFolder folder;
  std::string drawing = Generate(folder, "--rows 3 --cols 3");
  CommandRun run = RunCli(folder, ConvertArguments(drawing) + " --report");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("[円弧] 円弧 2 本を弦に分けました"), std::string::npos) << run.out;
  // Lot 1, rounded at (1000, 2000) with a radius of 2: its ring starts on the
  // left side where the arc ends, and the chords run to the lower side.
  auto ring = FirstRing(ReadBytes(folder.File("lots.MIF")));
  ASSERT_GT(ring.size(), 8u);
  EXPECT_EQ(ring.front(), (std::pair<double, double>{1000, 2002}));
  int onArc = 0;
  for (auto [x, y] : ring) {
    const double off = std::hypot(x - 1002, y - 2002) - 2;
    if (x < 1002 && y < 2002) {
      EXPECT_NEAR(off, 0, 0.001) << x << " " << y;
      ++onArc;
    }
  }
  EXPECT_GE(onArc, 5);
}

TEST(ConvertFromLines, LinesThatBoundNoLotAreReported) {
  TempFolder folder;
  // Lot 2 (lowest row, second column) is open by a gap of 0.05 in its lower
  // side; the inner column 2 overshoots the lowest row by 0.5.
  std::string drawing = Generate(folder, "--rows 3 --cols 4 --open-lots 1");
  CommandRun run = RunCli(folder, ConvertArguments(drawing) + " --report");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("領域 11（地番あり 11）", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("[閉じない線] 境界線 (X 1010.050, Y 2000.000)"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("(X 1020.000, Y 1999.500)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("[領域外の文字] 地番の文字「2」"), std::string::npos) << run.out;
}

TEST(ConvertFromLines, R12DrawingByEzdxfConverts) {
  TempFolder folder;
  std::string drawing = folder.File("ezdxf.dxf");
  std::filesystem::copy_file(std::string(PARQUILL_SOURCE_DIR) + "/tests/data/ezdxf_r12_lots.dxf",
                             drawing);
  EXPECT_EQ(RunCli(folder, "layers '" + drawing + "' --from-lines").out,
            "すべて\n0\nDefpoints\nLOTLINES\nLOTNO\n");
  CommandRun refused = RunCli(folder, "convert '" + drawing + "' --boundary LOTLINES --text LOTNO");
  EXPECT_EQ(refused.status, 3) << "closed polylines only from R13 on";
  CommandRun run =
      RunCli(folder, "convert '" + drawing + "' --from-lines --boundary LOTLINES --text LOTNO");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("ezdxf.MID")), "1,12-3\r\n2,12-4\r\n");
}

// An R12 drawing with the layers B (boundary) and T (lot numbers).
std::string R12Drawing(const Lines& entities) {
  const Lines header = {"  0",      "SECTION", "  2",    "HEADER", "  9",
                        "$ACADVER", "  1",     "AC1009", "  0",    "ENDSEC"};
  const Lines tables = {"  0",   "SECTION", "  2",   "TABLES", "  0", "TABLE", "  2",
                        "LAYER", "  0",     "LAYER", "  2",    "B",   "  0",   "LAYER",
                        "  2",   "T",       "  0",   "ENDTAB", "  0", "ENDSEC"};
  return Joined(header + tables + testing::Entities(entities));
}

Lines Box(const std::string& x0, const std::string& y0, const std::string& x1,
          const std::string& y1) {
  return {"  0", "LWPOLYLINE", "  8", "B", " 90", "4", " 70", "1", " 10", x0, " 20", y0,
          " 10", x1,           " 20", y0,  " 10", x1,  " 20", y1,  " 10", x0, " 20", y1};
}

Lines Text(const std::string& x, const std::string& y, const std::string& number) {
  return {"  0", "TEXT", "  8", "T", " 10", x, " 20", y, "  1", number};
}

TEST(ConvertFromLines, EscapedLayerNamesAreDecoded) {
  TempFolder folder;
  // 筆界 written as escapes by a drawing saved on another code page.
  const Lines lot = {"  0", "LWPOLYLINE", "  8", "\\U+7B46\\U+754C",
                     " 70", "1",          " 10", "0",
                     " 20", "0",          " 10", "1",
                     " 20", "0",          " 10", "1",
                     " 20", "1"};
  std::string drawing = folder.Write("esc.dxf", R12Drawing(lot + Text("0.5", "0.2", "7")));
  CommandRun run =
      RunCli(folder, "convert '" + drawing + "' --from-lines --boundary 筆界 --text T");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("esc.MID")), "1,7\r\n");
}

TEST(ConvertFromLines, LotWithALotInside) {
  TempFolder folder;
  std::string drawing =
      folder.Write("holed.dxf", R12Drawing(Box("0", "0", "10", "10") + Box("4", "4", "6", "6") +
                                           Text("5", "5", "2") + Text("1", "1", "1")));
  CommandRun run =
      RunCli(folder, "convert '" + drawing + "' --from-lines --boundary B --text T --report");
  ASSERT_EQ(run.status, 0) << run.err;
  // MIF holds the outer ring of the holed lot only, so the inner lot's text,
  // first in the drawing, lies in both rings: both regions take it (the
  // holed lot first, by its first point), and the report says so.
  EXPECT_EQ(ReadBytes(folder.File("holed.MID")), "1,2\r\n2,2\r\n");
  for (const char* finding : {"[穴のある筆] 領域 1: 中にほかの筆が 1 つあります",
                              "[複数文字] 領域 1", "[地番重複] 地番「2」"}) {
    EXPECT_NE(run.out.find(finding), std::string::npos) << finding << "\n" << run.out;
  }
}

TEST(ConvertFromLines, RefusalsAndTraps) {
  TempFolder folder;
  const Lines line = {"  0", "LINE", "  8", "B", " 10", "0", " 20", "0", " 11", "1", " 21", "inf"};
  const Lines circle = {"  0", "ARC", "  8",  "B",   " 10", "0",   " 20",
                        "0",   " 40", "5000", " 50", "0",   " 51", "360"};
  struct Case {
    const char* what;
    Lines entities;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"no lines on the boundary layer", {}, 3, "境界線: 境界線のレイヤに線がありません。\n"},
      {"an infinite coordinate", line, 3, "境界線: 図面の 46 行目の座標が、数でないか大きすぎます"},
      {"a ring of more than 1000 points", circle, 4, "TESSARO: エラー番号9\n"},
  };
  for (const Case& c : cases) {
    std::string drawing = folder.Write("bad.dxf", R12Drawing(c.entities));
    CommandRun run = RunCli(folder, "convert '" + drawing + "' --from-lines --boundary B --text T");
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.what << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("bad.MIF"))) << c.what;
  }
  // Before R12 the drawing is refused as without --from-lines.
  std::string r10 = folder.Write("r10.dxf", Joined({"  9", "$ACADVER", "  1", "AC1006"}));
  CommandRun old = RunCli(folder, "convert '" + r10 + "' --from-lines --boundary B --text T");
  EXPECT_EQ(old.status, 3);
  EXPECT_EQ(old.err.rfind("DXFのバージョン: DXFのバージョンは、R10です。", 0), 0u) << old.err;
}

}  // namespace
}  // namespace parquill
