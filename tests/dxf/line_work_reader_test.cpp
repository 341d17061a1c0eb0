// The reading of boundary lines and lot-number texts, by group codes alone.
#include "dxf/line_work_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::Entities;
using testing::Joined;
using testing::Lines;
using testing::operator+;
using testing::TempFolder;

// An R12 LINE: no handle, no subclass markers.
Lines Line(const std::string& layer, const std::string& x1, const std::string& y1,
           const std::string& x2, const std::string& y2) {
  return {"  0", "LINE", "  8", layer, " 10", x1, " 20", y1, " 11", x2, " 21", y2};
}

TEST(LineWorkReader, BoundaryEntities) {
  struct Case {
    const char* what;
    Lines entities;
    std::size_t lines;
    std::size_t segments;
    int arcs;
  };
  const Case cases[] = {
      {"R12 LINE, and one on another layer",
       Line("B", "0", "0", "1", "0") + Line("X", "0", "0", "1", "1"), 1, 1, 0},
      {"LWPOLYLINE with markers, closed", testing::LwPolyline("B", "1", testing::Square()), 1, 4,
       0},
      {"LWPOLYLINE open, one bulge of a half circle of radius 1",
       Lines{"  0", "LWPOLYLINE", "  8", "B",   " 90", "3",   " 70", "0",   " 10", "0",   " 20",
             "0",   " 42",        "1",   " 10", "2",   " 20", "0",   " 10", "2",   " 20", "5"},
       1, 12 + 1, 1},
      {"POLYLINE with VERTEX and SEQEND, closed, a bulge on its second vertex",
       Lines{"  0", "POLYLINE", "  8", "B", " 66", "1", " 70", "1"} +
           Lines{"  0", "VERTEX", "  8", "B", " 10", "0", " 20", "0"} +
           Lines{"  0", "VERTEX", "  8", "B", " 10", "10", " 20", "0", " 42", "1"} +
           Lines{"  0", "VERTEX", "  8", "B", " 10", "10", " 20", "10"} +
           Lines{"  0", "SEQEND", "  8", "B"},
       1, 29, 1},
      {"ARC, a quarter of radius 10",
       Lines{"  0", "ARC", "  8", "B", " 10", "0", " 20", "0", " 40", "10", " 50", "0", " 51",
             "90"},
       1, 19, 1},
      {"INSERT not expanded, TEXT not a line",
       Lines{"  0", "INSERT", "  8", "B", "  2", "LOT", " 10", "0", " 20", "0"} +
           Lines{"  0", "TEXT", "  8", "B", " 10", "0", " 20", "0", "  1", "1"},
       0, 0, 0},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    std::string path = folder.Write("d.dxf", Joined(Entities(c.entities)));
    LineWorkDrawing drawing = ReadLineWork(path, {"B"}, TextEncoding::kCp932);
    EXPECT_FALSE(drawing.refusal) << c.what;
    EXPECT_EQ(drawing.lines.size(), c.lines) << c.what;
    EXPECT_EQ(drawing.segments, c.segments) << c.what;
    EXPECT_EQ(drawing.arcsChorded, c.arcs) << c.what;
  }
}

TEST(LineWorkReader, AnEntityCutByTheEndOfTheDrawingIsNotTaken) {
  TempFolder folder;
  const Lines drawing = Lines{"  0", "SECTION", "  2", "ENTITIES"} + Line("B", "0", "0", "1", "0") +
                        Lines{"  0", "LINE", "  8", "B", " 10", "1", " 20", "0", " 11", "5"};
  EXPECT_EQ(ReadLineWork(folder.Write("d.dxf", Joined(drawing)), {"B"}, TextEncoding::kCp932)
                .lines.size(),
            1u);
}

TEST(LineWorkReader, ChordsStayNearTheArc) {
  TempFolder folder;
  std::string path =
      folder.Write("d.dxf", Joined(Entities({"  0", "ARC", "  8", "B", " 10", "5", " 20", "5",
                                             " 40", "3", " 50", "350", " 51", "100"})));
  LineWorkDrawing drawing = ReadLineWork(path, {"B"}, TextEncoding::kCp932);
  ASSERT_EQ(drawing.lines.size(), 1u);
  const std::vector<PlanePoint>& points = drawing.lines[0];
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const PlanePoint mid{(points[i].x + points[i + 1].x) / 2, (points[i].y + points[i + 1].y) / 2};
    const double off = 3 - std::hypot(mid.x - 5, mid.y - 5);
    EXPECT_LE(off, 0.01 - 0.001) << i;
  }
  EXPECT_NEAR(points.back().x, 5 + 3 * std::cos(100 * std::numbers::pi / 180), 1e-9);
}

TEST(LineWorkReader, ChibanTexts) {
  TempFolder folder;
  const Lines entities =
      // Plain, no subclass lines: the insertion point.
      Lines{"  0", "TEXT", "  8", "T", " 10", "1", " 20", "2", "  1", "12"} +
      // Justified: the alignment point.
      Lines{"  0", "TEXT", "  8", "T", " 10", "0", " 20", "0",
            "  1", "13",   " 72", "1", " 11", "5", " 21", "6"} +
      // An alignment point without a justification: the insertion point.
      Lines{"  0", "TEXT", "100", "AcDbEntity", "  8", "T",  "100", "AcDbText", " 10", "7",
            " 20", "8",    " 11", "70",         " 21", "80", "  1", "14",       "100", "AcDbText"} +
      Lines{"  0", "MTEXT", "  8", "T", " 10", "3", " 20", "4", "  1", "{\\H2.5;15\\U+756A}"} +
      Lines{"  0", "TEXT", "  8", "X", " 10", "0", " 20", "0", "  1", "99"};
  std::string path = folder.Write("d.dxf", Joined(Entities(entities)));
  LayerSelection selection{{"すべて", "T"}, {false, true}, 1};
  ChibanTextRead read = ReadLineWorkTexts(path, selection, TextEncoding::kCp932);
  const std::vector<ChibanText> expected = {
      {"12", 1, 2}, {"13", 5, 6}, {"14", 7, 8}, {"15番", 3, 4}};
  EXPECT_FALSE(read.failed);
  EXPECT_EQ(read.texts, expected);
}

// Where a text's middle is, as it is seen: 2 high, each entity at (10, 20).
TEST(LineWorkReader, TextCentres) {
  struct Case {
    const char* what;
    Lines groups;
    double x, y;
  };
  const Case cases[] = {
      {"lower left, two half-width characters", {"  1", "12"}, 11, 21},
      {"width factor 0.5, two full-width characters",
       {"  1", testing::Sjis("一二"), " 41", "0.5"},
       11,
       21},
      {"centred in the middle on its alignment point",
       {"  1", "12", " 72", "1", " 73", "2", " 11", "10", " 21", "20"},
       10,
       20},
      {"right on its top, turned 90°",
       {"  1", "12", " 50", "90", " 72", "2", " 73", "3", " 11", "10", " 21", "20"},
       11,
       19},
      {"MTEXT from its bottom left, turned by its direction",
       {"  0", "MTEXT", " 71", "7", "  1", "12", " 11", "0", " 21", "1"},
       9,
       21},
      // By hand: the box is 2 wide and 2 high; the anchor's share of each
      // places its middle.
      {"Middle (72 = 4) is centred both ways",
       {"  1", "12", " 72", "4", " 11", "30", " 21", "40"},
       30,
       40},
      {"bottom right", {"  1", "12", " 72", "2", " 73", "1", " 11", "30", " 21", "40"}, 29, 41},
      {"aligned (72 = 3) between its two points",
       {"  1", "12", " 72", "3", " 11", "30", " 21", "20"},
       20,
       21},
      {"an MTEXT's 41 is its frame's width, no width factor",
       {"  0", "MTEXT", " 71", "1", " 41", "50", "  1", "12"},
       11,
       19},
      {"an ATTRIB's vertical justification is its 74",
       {"  0", "ATTRIB", "  1", "12", " 72", "1", " 73", "3", " 74", "2", " 11", "30", " 21", "40"},
       30,
       40},
      // Its own X axis runs against the world's: the point (-10, 20) stands
      // at (10, 20) and the text reads leftwards, its up still up.
      {"mirrored by its extrusion",
       {"  1", "12", " 10", "-10", "210", "0", "220", "0", "230", "-1"},
       9,
       21},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    const bool named = c.groups[0] == "  0";
    const Lines text =
        Lines{"  0", named ? c.groups[1] : "TEXT", "  8", "T", " 10", "10", " 20", "20", " 40",
              "2"} +
        Lines(c.groups.begin() + (named ? 2 : 0), c.groups.end());
    const ChibanTextRead read =
        ReadLineWorkTexts(folder.Write("d.dxf", Joined(Entities(text))),
                          {{"すべて", "T"}, {false, true}, 1}, TextEncoding::kCp932, true);
    ASSERT_EQ(read.centres.size(), 1u) << c.what;
    EXPECT_NEAR(read.centres[0].x, c.x, 1e-9) << c.what;
    EXPECT_NEAR(read.centres[0].y, c.y, 1e-9) << c.what;
  }
}

TEST(LineWorkReader, BrokenDrawingsAreRefused) {
  struct Case {
    const char* what;
    Lines entities;
    std::size_t mostSegments;
    const char* start;  // of the refusal
  };
  const Case cases[] = {
      {"not a number", Line("B", "nan", "0", "1", "0"), 10, "図面の 10 行目の座標が"},
      {"infinite", Line("B", "0", "1e999", "1", "0"), 10, "図面の 12 行目の座標が"},
      {"absurdly large", Line("B", "0", "0", "2e9", "0"), 10, "図面の 14 行目の座標が"},
      {"too many segments", Line("B", "0", "0", "1", "0") + Line("B", "0", "0", "0", "1"), 1,
       "境界線の線分が 1 本を超えています"},
      {"a huge arc counted, not built",
       Lines{"  0", "ARC", "  8", "B", " 10", "0", " 20", "0", " 40", "1e8", " 50", "0", " 51",
             "0"},
       1000, "境界線の線分が 1000 本を超えています"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    std::string path = folder.Write("d.dxf", Joined(Entities(c.entities)));
    LineWorkDrawing drawing =
        ReadLineWork(path, {"B"}, TextEncoding::kCp932, false, c.mostSegments);
    ASSERT_TRUE(drawing.refusal) << c.what;
    EXPECT_EQ(drawing.refusal->text.rfind(c.start, 0), 0u)
        << c.what << ": " << drawing.refusal->text;
  }
}

// INSERTs of a block whose base point is not the origin: unequal scales and
// a rotation, a mirroring scale, a MINSERT of 2 columns and 3 rows, and an
// extrusion (0, 0, -1). The points are those ezdxf's virtual_entities()
// give (tests/data/make_ezdxf_inserts.py prints them).
TEST(LineWorkReader, BlocksPlacedAsEzdxfPlacesThem) {
  std::vector<std::vector<double>> expected = {
      {100, 50, 105.196152423, 53, 104.196152423, 54.732050808},
      {0, 0, -3, 0, -3, 12},
      {10, 10, 10, 14.5, 2, 14.5},
      {10, 14, 10, 18.5, 2, 18.5},
      {5, 10, 5, 14.5, -3, 14.5},
      {5, 14, 5, 18.5, -3, 18.5},
      {0, 10, 0, 14.5, -8, 14.5},
      {0, 14, 0, 18.5, -8, 18.5},
      {20, 5, 17.878679656, 7.121320344, 23.535533906, 12.778174593},
  };
  const LineWorkDrawing drawing =
      ReadLineWork(std::string(PARQUILL_SOURCE_DIR) + "/tests/data/ezdxf_inserts.dxf", {"B"},
                   TextEncoding::kCp932, true);
  ASSERT_FALSE(drawing.refusal);
  std::vector<std::vector<double>> placed;
  for (const std::vector<PlanePoint>& line : drawing.lines) {
    placed.emplace_back();
    for (const PlanePoint& p : line) {
      // Rounded as ezdxf's values were printed.
      placed.back().push_back(std::round(p.x * 1e9) / 1e9);
      placed.back().push_back(std::round(p.y * 1e9) / 1e9);
    }
  }
  // The cells of the MINSERT in any order.
  std::sort(expected.begin(), expected.end());
  std::sort(placed.begin(), placed.end());
  ASSERT_EQ(placed.size(), expected.size());
  for (std::size_t k = 0; k < placed.size(); ++k) {
    ASSERT_EQ(placed[k].size(), expected[k].size()) << k;
    for (std::size_t i = 0; i < placed[k].size(); ++i)
      EXPECT_NEAR(placed[k][i], expected[k][i], 1e-9) << "line " << k << " value " << i;
  }
}

}  // namespace
}  // namespace parquill
