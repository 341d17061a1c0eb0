#include "convert/region_build_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/layer_choice.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::Entities;
using testing::Joined;
using testing::Lines;
using testing::operator+;
using testing::operator+=;
using testing::LwPolyline;
using testing::Point;
using testing::Selecting;
using testing::Sjis;
using testing::Square;
using testing::TempFolder;

std::string Mif(const Lines& regions = {}) {
  return Joined(Lines{"Version 300", "Charset \"WindowsJapanese\"", "Delimiter \",\"",
                      "Coordsys Earth Projection 1,0", "Columns 2", "   ID Char(8)",
                      "   Chiban Char(20)", "Data"} +
                regions);
}

Lines Region(const Lines& points) {
  return Lines{"REGION 1", " " + std::to_string(points.size()) + " "} + points;
}

const Lines kClosedSquare = Region({"0.00000 0.00000", "1.00000 0.00000", "1.00000 1.00000",
                                    "0.00000 1.00000", "0.00000 0.00000"});

struct BuildRun {
  Outcome outcome;
  RegionBuildSummary summary;
  std::string mif;
  bool mifExists = false;
};

BuildRun Build(const std::string& drawing, const LayerSelection& selection) {
  TempFolder folder;
  ConversionChoices request;
  request.drawing = folder.Write("lots.dxf", drawing);
  request.output = folder.File("lots.Sim");
  request.boundary = selection;
  BuildRun run;
  run.outcome = BuildRegions(request, &run.summary);
  run.mifExists = std::filesystem::exists(folder.File("lots.MIF"));
  run.mif = testing::ReadBytes(folder.File("lots.MIF"));
  return run;
}

BuildRun Build(const Lines& drawing, const LayerSelection& selection = Selecting({1})) {
  return Build(Joined(drawing), selection);
}

TEST(RegionBuilder, RingsWrittenAsRegions) {
  struct Case {
    const char* what;
    Lines drawing;
    std::string mif;
  };
  const Case cases[] = {
      {"flag 1 closes the ring with the first point",
       Entities(LwPolyline(Sjis("筆界"), "1", Square())), Mif(kClosedSquare)},
      {"flag 1 appends even when the last point is the first",
       Entities(LwPolyline(Sjis("筆界"), "1", {{"0", "0"}, {"1", "0"}, {"0", "0"}})),
       Mif(Region({"0.00000 0.00000", "1.00000 0.00000", "0.00000 0.00000", "0.00000 0.00000"}))},
      {"flag 0 ring closed within 0.001 keeps its points",
       Entities(LwPolyline(Sjis("筆界"), "0", {{"0", "0"}, {"1", "0"}, {"0.0005", "-0.0005"}})),
       Mif(Region({"0.00000 0.00000", "1.00000 0.00000", "0.00050 -0.00050"}))},
      {"flag 0 open ring is passed over",
       Entities(LwPolyline(Sjis("筆界"), "0", {{"0", "0"}, {"1", "0"}, {"0.002", "0"}})), Mif()},
      {"flag 0 open in Y is passed over",
       Entities(LwPolyline(Sjis("筆界"), "0", {{"0", "0"}, {"1", "0"}, {"0", "0.002"}})), Mif()},
      {"flag 129 (closed, dashed) closes the ring like flag 1",
       Entities(LwPolyline(Sjis("筆界"), "129", Square())), Mif(kClosedSquare)},
      {"flag 128 appends nothing", Entities(LwPolyline(Sjis("筆界"), "128", Square())), Mif()},
      {"flag 128 ring drawn closed is written as drawn",
       Entities(LwPolyline(Sjis("筆界"), "128", {{"0", "0"}, {"1", "0"}, {"0", "0"}})),
       Mif(Region({"0.00000 0.00000", "1.00000 0.00000", "0.00000 0.00000"}))},
      {"one vertex, flag 0: a one-point region",
       Entities(LwPolyline(Sjis("筆界"), "0", {{"5", "6"}})), Mif(Region({"5.00000 6.00000"}))},
      {"one vertex, flag 1: a two-point region",
       Entities(LwPolyline(Sjis("筆界"), "1", {{"5", "6"}})),
       Mif(Region({"5.00000 6.00000", "5.00000 6.00000"}))},
      {"no vertex writes nothing", Entities(LwPolyline(Sjis("筆界"), "1", {})), Mif()},
      {"constant width group after the flag",
       Entities(LwPolyline(Sjis("筆界"), "1", Square(), {" 43", "0.5"})), Mif(kClosedSquare)},
      {"elevation and widths before the vertices",
       Entities(LwPolyline(Sjis("筆界"), "1", Square(), {" 38", "12.0", " 43", "0.0"},
                           {" 40", "0.2", " 41", "0.3"})),
       Mif(kClosedSquare)},
      {"bulges between vertices",
       Entities(LwPolyline(Sjis("筆界"), "1", Square(), {}, {" 42", "0.41421356"})),
       Mif(kClosedSquare)},
      {"extended data after the vertices",
       Entities(LwPolyline(Sjis("筆界"), "1", Square()) +
                Lines{"1001", "ACAD", "1000", "note", "1070", "10"}),
       Mif(kClosedSquare)},
      {"code lines known by their number",
       Entities(Lines{"  0",          "LWPOLYLINE", "100", "AcDbEntity", "  8", Sjis("筆界"), "100",
                      "AcDbPolyline", "90",         "2",   "70.0",       "1",   "10",         "3",
                      "20",           "4",          "10",  "5",          "20",  "6"}),
       Mif(Region({"3.00000 4.00000", "5.00000 6.00000", "3.00000 4.00000"}))},
      {"flag read by the number rule", Entities(LwPolyline(Sjis("筆界"), "  1.0 ", Square())),
       Mif(kClosedSquare)},
      {"coordinates rounded to five decimals",
       Entities(LwPolyline(Sjis("筆界"), "1",
                           {{"0.25", "-3.5"}, {"1.234567", "12345678.5"}, {"-0.000001", "0"}})),
       Mif(Region(
           {"0.25000 -3.50000", "1.23457 12345678.50000", "0.00000 0.00000", "0.25000 -3.50000"}))},
      {"two rings in drawing order",
       Entities(LwPolyline(Sjis("筆界"), "1", {{"7", "8"}}) +
                LwPolyline(Sjis("筆界"), "1", Square())),
       Mif(Region({"7.00000 8.00000", "7.00000 8.00000"}) + kClosedSquare)},
      {"a polyline in a block definition is ignored",
       Lines{"  0", "SECTION", "  2", "BLOCKS"} + LwPolyline(Sjis("筆界"), "1", {{"9", "9"}}) +
           Lines{"  0", "ENDSEC"} + Entities(LwPolyline(Sjis("筆界"), "1", Square())),
       Mif(kClosedSquare)},
      {"a polyline after the ENTITIES section is ignored",
       Entities(LwPolyline(Sjis("筆界"), "1", Square())) +
           Lines{"  0", "SECTION", "  2", "OBJECTS"} + LwPolyline(Sjis("筆界"), "1", {{"9", "9"}}),
       Mif(kClosedSquare)},
      {"a text reading ENDSEC ends the scan",
       Entities(Lines{"  0", "TEXT", "100", "AcDbText", "  1", "ENDSEC"} +
                LwPolyline(Sjis("筆界"), "1", Square())),
       Mif()},
      {"the polyline's end line is the next entity's type",
       Entities(LwPolyline(Sjis("筆界"), "1", {{"7", "8"}}) +
                Lines{"  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"} +
                LwPolyline(Sjis("筆界"), "1", {{"9", "9"}})),
       Mif(Region({"7.00000 8.00000", "7.00000 8.00000"}))},
      {"no ENTITIES section", Lines{"  0", "SECTION", "  2", "HEADER", "  0", "ENDSEC"}, Mif()},
      {"the group before the layer is taken as the layer",
       Entities(Lines{"  0", "LWPOLYLINE", "100", "AcDbEntity", " 67", "1", "  8", Sjis("筆界"),
                      "100", "AcDbPolyline", " 70", "1", " 10", "1", " 20", "2"}),
       Mif()},
  };
  for (const Case& c : cases) {
    BuildRun run = Build(c.drawing);
    EXPECT_TRUE(run.outcome.done()) << c.what;
    EXPECT_EQ(run.mif, c.mif) << c.what;
  }
}

TEST(RegionBuilder, LayerMatching) {
  struct Case {
    const char* what;
    std::string layer;
    LayerSelection selection;
    bool written;
  };
  const Case cases[] = {
      {"the selected layer", Sjis("筆界"), Selecting({1}), true},
      {"blanks around the entity's layer", "  " + Sjis("筆界") + " ", Selecting({1}), true},
      {"another layer", Sjis("地番"), Selecting({1}), false},
      {"one of several selected", Sjis("地番"), Selecting({1, 2}), true},
      {"letter case differs", "lot", Selecting({1}, {"すべて", "LOT"}), false},
      {"a list item with blanks never matches", "LOT", Selecting({1}, {"すべて", " LOT"}), false},
      {"すべて takes every layer", "whatever", Selecting({0}), true},
      {"すべて with other layers takes every layer", "whatever", Selecting({0, 2}), true},
      {"a layer named すべて further down the list is a layer", "x",
       Selecting({1, 2}, {"すべて", "A", "すべて"}), false},
  };
  for (const Case& c : cases) {
    BuildRun run = Build(Entities(LwPolyline(c.layer, "1", Square())), c.selection);
    EXPECT_TRUE(run.outcome.done()) << c.what;
    EXPECT_EQ(run.mif, c.written ? Mif(kClosedSquare) : Mif()) << c.what;
  }
}

TEST(RegionBuilder, SummaryCountsRegionsAndOpenRings) {
  BuildRun run = Build(Entities(LwPolyline(Sjis("筆界"), "1", Square()) +
                                LwPolyline(Sjis("筆界"), "0", Square()) +
                                LwPolyline(Sjis("地番"), "0", Square())));
  EXPECT_EQ(run.summary.regionsWritten, 1);
  EXPECT_EQ(run.summary.openPolylinesSkipped, 1);
}

std::vector<Point> Ring(int count) {
  std::vector<Point> points;
  for (int k = 0; k < count; ++k) points.push_back({std::to_string(k), std::to_string(k % 2)});
  points.back() = points.front();
  return points;
}

TEST(RegionBuilder, RingCapacityOfThousandPoints) {
  struct Case {
    const char* what;
    std::string layer;
    int vertices;
    const char* flag;
    int errorNumber;  // 0: a normal end
  };
  const Case cases[] = {
      {"1000 vertices", Sjis("筆界"), 1000, "0", 0},
      {"999 vertices and the closing point", Sjis("筆界"), 999, "1", 0},
      {"1001 vertices", Sjis("筆界"), 1001, "0", 9},
      {"1000 vertices and the closing point", Sjis("筆界"), 1000, "1", 9},
      {"1001 vertices on a layer not selected", Sjis("等高線"), 1001, "0", 0},
      {"5000 vertices on a layer not selected", Sjis("等高線"), 5000, "1", 0},
  };
  for (const Case& c : cases) {
    BuildRun run = Build(Entities(LwPolyline(c.layer, c.flag, Ring(c.vertices))));
    EXPECT_EQ(run.outcome.errorNumber, c.errorNumber) << c.what;
    EXPECT_EQ(run.outcome.done(), c.errorNumber == 0) << c.what;
  }
  // Error 9 names the lot, the limit and the vertices as CAD counts them.
  BuildRun long1200 = Build(Entities(LwPolyline(Sjis("筆界"), "1", Ring(1200))));
  ASSERT_EQ(long1200.outcome.messages.size(), 1u);
  EXPECT_EQ(long1200.outcome.messages[0].text,
            "エラー番号9\r\nインデックスが有効範囲にありません。筆界のポリラインの頂点が 1000 "
            "を超えました（レイヤ 筆界、始点 X 0.000, Y 0.000、1200 点、閉じる点を加えて 1201 "
            "点）");
  BuildRun full = Build(Entities(LwPolyline(Sjis("筆界"), "1", Ring(999))));
  EXPECT_NE(full.mif.find("REGION 1\r\n 1000 \r\n0.00000 0.00000\r\n1.00000 1.00000\r\n"),
            std::string::npos);
  // The 1000th vertex is stored and written: the last of an open ring that
  // closes within 0.001.
  std::vector<Point> last = Ring(1000);
  last.back() = {"0.0004", "0.0005"};
  BuildRun thousand = Build(Entities(LwPolyline(Sjis("筆界"), "0", last)));
  EXPECT_TRUE(thousand.mif.ends_with("998.00000 0.00000\r\n0.00040 0.00050\r\n"))
      << thousand.mif.substr(thousand.mif.size() - 60);
}

TEST(RegionBuilder, RunTimeErrorsTrapped) {
  struct Case {
    const char* what;
    Lines drawing;
    int errorNumber;
    std::string mif;  // what the MIF holds: nothing after a trap
  };
  const Lines square = LwPolyline(Sjis("筆界"), "1", Square());
  const Case cases[] = {
      {"end of file inside the vertex list", Lines{"ENTITIES"} + square, 62, ""},
      {"end of file before AcDbEntity", Lines{"ENTITIES", "LWPOLYLINE", "  5", "2F"}, 62, ""},
      {"end of file before AcDbPolyline",
       Lines{"ENTITIES", "LWPOLYLINE", "AcDbEntity", "  8", "0", "100", "AcDbVertex"}, 62, ""},
      {"end of file in the next polyline", Lines{"ENTITIES"} + square + Lines{"  0", "LWPOLYLINE"},
       62, ""},
      {"end of file after a code line", Lines{"ENTITIES"} + square + Lines{" 10"}, 62, ""},
      {"no region after an error", Entities(square + LwPolyline(Sjis("筆界"), "99999", Square())),
       6, ""},
      {"vertex count no longer read: a huge one is harmless",
       Entities(Lines{"  0", "LWPOLYLINE", "100", "AcDbEntity", "  8", Sjis("筆界"), "100",
                      "AcDbPolyline", " 90", "1e300", " 70", "1", " 10", "1", " 20", "2", "  0",
                      "ENDSEC"}),
       0, Mif(Region({"1.00000 2.00000", "1.00000 2.00000"}))},
      {"a coordinate too large", Entities(LwPolyline(Sjis("筆界"), "1", {{"1e999", "0"}})), 6, ""},
  };
  for (const Case& c : cases) {
    BuildRun run = Build(c.drawing);
    EXPECT_EQ(run.outcome.errorNumber, c.errorNumber) << c.what;
    if (c.errorNumber != 0) {
      EXPECT_EQ(run.outcome.kind, OutcomeKind::kTrapped) << c.what;
      ASSERT_EQ(run.outcome.messages.size(), 1u) << c.what;
      EXPECT_EQ(run.outcome.messages[0].title, "TESSARO") << c.what;
      EXPECT_EQ(run.outcome.messages[0].text.rfind(
                    "エラー番号" + std::to_string(c.errorNumber) + "\r\n", 0),
                0u)
          << c.what;
    }
    EXPECT_EQ(run.mif, c.mif) << c.what;
  }
}

TEST(RegionBuilder, MissingDrawingTrappedBeforeTheMifExists) {
  TempFolder folder;
  ConversionChoices request;
  request.drawing = folder.File("none.dxf");
  request.output = folder.File("none.Sim");
  request.boundary = Selecting({1});
  Outcome outcome = BuildRegions(request);
  EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped);
  EXPECT_EQ(outcome.errorNumber, 53);
  EXPECT_FALSE(std::filesystem::exists(folder.File("none.MIF")));
}

// A MID or SIMA file left beside the output name belongs to the MIF file of
// an earlier run: once the new MIF file is written they go, and are named; a
// refused or trapped run leaves them.
TEST(RegionBuilder, TheMidAndSimaFilesOfAnEarlierRunGoWithANewMif) {
  struct Case {
    const char* what;
    bool drawingThere;
    std::vector<std::string> left;     // files of an earlier run
    std::vector<std::string> removed;  // of them
  };
  const Case cases[] = {
      {"both left", true, {"lots.MID", "lots.Sim"}, {"lots.MID", "lots.Sim"}},
      {"the MID file only", true, {"lots.MID"}, {"lots.MID"}},
      {"none", true, {}, {}},
      {"the drawing missing: nothing written, nothing removed",
       false,
       {"lots.MID", "lots.Sim"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    ConversionChoices request;
    request.drawing =
        c.drawingThere ? folder.Write("lots.dxf", Joined(Entities(LwPolyline("A", "1", Square()))))
                       : folder.File("lots.dxf");
    request.output = folder.File("lots.Sim");
    request.boundary = Selecting({1}, {"すべて", "A"});
    for (const std::string& name : c.left) folder.Write(name, "1,\"12\"\r\n");
    RegionBuildSummary summary;
    BuildRegions(request, &summary);
    std::vector<std::string> removed;
    for (const std::string& name : c.removed) removed.push_back(folder.File(name));
    EXPECT_EQ(summary.partnersRemoved, removed);
    EXPECT_TRUE(summary.partnersNotRemoved.empty());
    for (const std::string& name : c.left) {
      const bool gone = std::find(c.removed.begin(), c.removed.end(), name) != c.removed.end();
      EXPECT_EQ(std::filesystem::exists(folder.File(name)), !gone) << name;
    }
  }
}

TEST(RegionBuilder, NoRegionsAreExplainedByTheLayersChosen) {
  auto line = [](const char* layer) {
    return Lines{"  0", "LINE", "  8", layer, " 10", "0", " 20", "0", " 11", "5", " 21", "5"};
  };
  struct Case {
    const char* what;
    Lines entities;
    std::vector<int> chosen;
    std::string reason;
  };
  const Case cases[] = {
      {"a lot", LwPolyline("A", "1", Square()), {1}, ""},
      {"texts only",
       Lines{"  0", "TEXT", "  8", "B", " 10", "1", " 20", "1", "  1", "12"},
       {2},
       "レイヤ「B」に閉じたポリラインがありません"},
      {"lines only",
       line("B") + line("B"),
       {2},
       "レイヤ「B」に閉じたポリラインがありません（[線分のみ] LINE・POLYLINE・ARC 2 本: "
       "線で描かれた筆は「線から筆を作る」で変換できます）"},
      {"two layers, one of them open",
       LwPolyline("A", "0", Square()),
       {1, 2},
       "レイヤ「B」に閉じたポリラインがありません"},
      {"an open polyline only",
       LwPolyline("A", "0", Square()),
       {1},
       "選んだレイヤのポリラインはどれも閉じていません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuildRun run = Build(Entities(c.entities), Selecting(c.chosen, {"すべて", "A", "B"}));
    ASSERT_TRUE(run.outcome.done());
    EXPECT_EQ(NoRegionsReason(run.summary), c.reason);
  }
}

TEST(RegionBuilder, ValidationInOrder) {
  TempFolder folder;
  std::string drawing = folder.Write("lots.dxf", Joined(Entities(LwPolyline("A", "1", Square()))));
  std::string drawingNamedMif = folder.Write("other.MIF", "");
  std::string drawingNamedMid = folder.Write("third.MID", "");

  std::vector<std::string> many = {"すべて"};
  for (int k = 1; k <= 101; ++k) many.push_back("L" + std::to_string(k));
  std::vector<int> first100, first101;
  for (int k = 0; k < 101; ++k) (k < 100 ? first100 : first101).push_back(k);
  first101.insert(first101.begin(), first100.begin(), first100.end());

  LayerSelection noCurrent = Selecting({1});
  noCurrent.listIndex = -1;
  LayerSelection tooMany = Selecting(first101, many);
  tooMany.listIndex = -1;  // the first test wins

  struct Case {
    const char* what;
    LayerSelection selection;
    std::string dxfPath;
    std::string outputName;
    Message refusal;  // empty: a normal end
  };
  const std::string output = folder.File("lots.Sim");
  const Case cases[] = {
      {"no current item",
       noCurrent,
       drawing,
       output,
       {"リストが選択されていません。", "抽出レイア"}},
      {"no current item before too many",
       tooMany,
       drawing,
       output,
       {"リストが選択されていません。", "抽出レイア"}},
      {"101 selected",
       Selecting(first101, many),
       "",
       "",
       {"選択レイヤ数が、100を超えています。", "抽出レイア"}},
      {"100 selected", Selecting(first100, many), drawing, output, {}},
      {"none selected", Selecting({}), "", "", {"レイアが選択されていません。", "抽出レイア"}},
      {"no drawing",
       Selecting({1}),
       "",
       "",
       {"入力ファイルが選択されていません。", "ファイル指定"}},
      {"no output",
       Selecting({1}),
       drawing,
       "",
       {"出力ファイルが選択されていません。", "ファイル指定"}},
      {"blank names pass (then the drawing is not found)", Selecting({1}), " ", "  ", {}},
      {"output is the drawing",
       Selecting({1}),
       drawing,
       drawing,
       {"出力ファイルが入力ファイルと同じです。", "ファイル指定"}},
      {"MIF file would be the drawing",
       Selecting({1}),
       drawingNamedMif,
       folder.File("other.Sim"),
       {"出力ファイルが入力ファイルと同じです。", "ファイル指定"}},
      {"MID file would be the drawing",
       Selecting({1}),
       drawingNamedMid,
       folder.File("third.Sim"),
       {"出力ファイルが入力ファイルと同じです。", "ファイル指定"}},
      {"SIMA file would be its own MIF file",
       Selecting({1}),
       drawing,
       folder.File("plan.MIF"),
       {"出力ファイルが入力ファイルと同じです。", "ファイル指定"}},
      {"SIMA file would be its own MID file",
       Selecting({1}),
       drawing,
       folder.File("plan.MID"),
       {"出力ファイルが入力ファイルと同じです。", "ファイル指定"}},
  };
  for (const Case& c : cases) {
    ConversionChoices request = testing::Choosing(c.dxfPath, c.outputName, c.selection);
    Outcome outcome = BuildRegions(request);
    if (c.refusal.text.empty()) {
      EXPECT_NE(outcome.kind, OutcomeKind::kRefused) << c.what;
      continue;
    }
    EXPECT_EQ(outcome.kind, OutcomeKind::kRefused) << c.what;
    EXPECT_EQ(outcome.messages, std::vector<Message>{c.refusal}) << c.what;
  }
  EXPECT_EQ(testing::ReadBytes(drawingNamedMif), "") << "the drawing is left alone";
  EXPECT_EQ(testing::ReadBytes(drawingNamedMid), "");
  EXPECT_FALSE(std::filesystem::exists(folder.File("plan.MIF"))) << "nothing is written";
}

}  // namespace
}  // namespace parquill
