// A drawing written by ezdxf (tests/data/make_ezdxf_mirrored.py) whose lots
// and lot numbers were mirrored in CAD: their extrusion is (0, 0, -1), so
// their own X axis runs against the world's. The points expected are those
// ezdxf gives in world coordinates (printed by the script).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/command_run.h"
#include "support/temp_folder.h"

namespace parquill::mirrored_drawing {

using testing::ReadBytes;
using testing::RunCli;
using testing::TempFolder;

struct Converted {
  testing::CommandRun run;
  std::string mif, mid;
};

Converted Convert(const std::string& options) {
  TempFolder folder;
  const std::string path = folder.Write(
      "m.dxf", ReadBytes(std::string(PARQUILL_SOURCE_DIR) + "/tests/data/ezdxf_mirrored.dxf"));
  Converted c;
  c.run = RunCli(folder, "convert '" + path + "' --boundary LOTS --text NUM --report " + options);
  c.mif = ReadBytes(folder.File("m.MIF"));
  c.mid = ReadBytes(folder.File("m.MID"));
  return c;
}

const std::string kHeaderEnd = "Data\r\n";
// Lot A: ezdxf's world vertices (0, 0) (10, 0) (10, 10) (0, 10), in the
// polyline's order, closed.
const std::string kLotAAsDrawn =
    "REGION 1\r\n 5 \r\n0.00000 0.00000\r\n10.00000 0.00000\r\n10.00000 10.00000\r\n"
    "0.00000 10.00000\r\n0.00000 0.00000\r\n";
const std::string kAskew =
    "[押し出し方向] レイヤ「LOTS」の%s 1 個は押し出し方向が (0, 0, 1) でも (0, 0, -1) "
    "でもない（3次元の）ため、読んでいません\n"
    "[押し出し方向] レイヤ「NUM」の地番の文字 1 個は押し出し方向が (0, 0, 1) でも (0, 0, -1) "
    "でもない（3次元の）ため、読んでいません\n";

std::string Askew(const std::string& what) {
  std::string text = kAskew;
  text.replace(text.find("%s"), 2, what);
  return text;
}

TEST(MirroredDrawing, ClosedPolylinesStandWhereTheDrawingShowsThem) {
  const Converted c = Convert("");
  ASSERT_EQ(c.run.status, 0) << c.run.err;
  EXPECT_EQ(c.mif.substr(c.mif.find(kHeaderEnd) + kHeaderEnd.size()), kLotAAsDrawn);
  EXPECT_EQ(c.mid, "1,A\r\n");
  EXPECT_NE(c.run.out.find(Askew("ポリライン")), std::string::npos) << c.run.out;
  // The block's lot number is named, not lost.
  EXPECT_NE(c.run.out.find("[ブロック] レイヤ「NUM」の INSERT が置く文字 1 "
                           "個は読んでいません（「線から筆を作る」で読めます）\n"),
            std::string::npos)
      << c.run.out;
}

// The points of region `n` (1 first) of a MIF file.
std::vector<std::pair<double, double>> RegionPoints(const std::string& mif, int n) {
  std::size_t at = 0;
  for (int k = 0; k < n; ++k) at = mif.find("REGION 1\r\n", at) + 10;
  std::istringstream in(mif.substr(at));
  int count = 0;
  in >> count;
  std::vector<std::pair<double, double>> points(static_cast<std::size_t>(count));
  for (auto& [x, y] : points) in >> x >> y;
  return points;
}

TEST(MirroredDrawing, LotsFromLinesStandWhereTheDrawingShowsThem) {
  const Converted c = Convert("--from-lines");
  ASSERT_EQ(c.run.status, 0) << c.run.err;
  EXPECT_EQ(c.run.out.rfind("領域 3（地番あり 3）", 0), 0u) << c.run.out;
  EXPECT_EQ(c.mid, "1,A\r\n2,B\r\n3,C\r\n");
  EXPECT_NE(c.run.out.find(Askew("境界線")), std::string::npos) << c.run.out;
  EXPECT_EQ(c.run.out.find("閉じない線"), std::string::npos) << c.run.out;
  // Lot A clockwise from its lowest-left vertex; lot B as ezdxf's
  // virtual_entities() place the block: (10, 10) (10, 15) (30, 15) (30, 10).
  const std::string body = c.mif.substr(c.mif.find(kHeaderEnd) + kHeaderEnd.size());
  EXPECT_EQ(body.substr(0, body.find("REGION 1", 1)),
            "REGION 1\r\n 5 \r\n0.00000 0.00000\r\n0.00000 10.00000\r\n10.00000 10.00000\r\n"
            "10.00000 0.00000\r\n0.00000 0.00000\r\n");
  using P = std::pair<double, double>;
  EXPECT_EQ(RegionPoints(c.mif, 2),
            (std::vector<P>{{10, 10}, {10, 15}, {30, 15}, {30, 10}, {10, 10}}));
  // Lot C: the LINE (35, 0)-(35, 10) and the arc about ezdxf's world centre
  // (35, 5), radius 5, from (35, 10) round by X 40 to (35, 0).
  const std::vector<P> c3 = RegionPoints(c.mif, 3);
  ASSERT_GT(c3.size(), 10u);
  double farthest = 0;
  for (const auto& [x, y] : c3) {
    EXPECT_GE(x, 35) << y;
    EXPECT_LE(std::hypot(x - 35, y - 5), 5.0005);
    farthest = std::max(farthest, x);
  }
  EXPECT_NEAR(farthest, 40, 0.01);  // the chords lie within 0.01 of the arc
}

}  // namespace parquill::mirrored_drawing
