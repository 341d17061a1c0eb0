// The conversion report: what happened to each lot, on drawings built here,
// converted by the real steps, then reported.
#include "convert/conversion_report.h"

#include <gtest/gtest.h>

#include "base/output_file_names.h"
#include "convert/attachment_step.h"
#include "convert/region_build_step.h"
#include "support/layer_choice.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::Entities;
using testing::Joined;
using testing::Lines;
using testing::LwPolyline;
using testing::operator+;
using testing::operator+=;
using testing::Point;
using testing::ReadBytes;
using testing::Sjis;
using testing::TempFolder;

// A TEXT entity as a CAD program writes it.
Lines ChibanTextEntity(std::string_view layer, std::string_view string, std::string x,
                       std::string y) {
  return {"  0", "TEXT", "  5", "2A", "100", "AcDbEntity", "  8", Sjis(layer),  "100", "AcDbText",
          " 10", x,      " 20", y,    " 40", "2.5",        "  1", Sjis(string), "100", "AcDbText"};
}

// A square of side 10 with its lower left corner at (x, y), flag 1.
Lines Lot(int x, int y, std::string_view layer = "筆界") {
  auto v = [](int a) { return std::to_string(a); };
  return LwPolyline(Sjis(layer), "1",
                    {{v(x), v(y)}, {v(x + 10), v(y)}, {v(x + 10), v(y + 10)}, {v(x), v(y + 10)}});
}

LayerSelection Selected(std::string_view layer) {
  return {{"すべて", "筆界", "地番", "道路"},
          {false, layer == "筆界", layer == "地番", layer == "道路"},
          layer == "筆界" ? 1 : 2};
}

struct Converted {
  ConversionReport report;
  std::string mid;
};

// Runs "面生成" and "属性付加" on the drawing, then makes the report.
Converted Convert(const Lines& entities) {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Joined(Entities(entities)));
  std::string output = folder.File("d.Sim");
  ConversionChoices choices =
      testing::Choosing(drawing, output, Selected("筆界"), Selected("地番"));
  choices.report = true;
  RegionBuildSummary built;
  AttachSummary attached;
  EXPECT_TRUE(BuildRegions(choices, &built).done());
  EXPECT_TRUE(AttachChibans(choices, built.lots, &attached).done());
  return {MakeConversionReport(built, attached), ReadBytes(OutputFileNamesFor(output).mid)};
}

TEST(ConversionReport, OneFindingOfEachKind) {
  const Lines drawing =
      Lot(0, 0) + ChibanTextEntity("地番", "1", "5", "5")      // region 1: numbered
      + Lot(20, 0)                                             // region 2: no text inside
      + Lot(40, 0) + ChibanTextEntity("地番", "3", "42", "2")  // region 3: two texts
      + ChibanTextEntity("地番", "3-2", "48", "8") +
      LwPolyline(Sjis("筆界"), "0", {{"60", "0"}, {"70", "0"}, {"70", "10"}}) +
      LwPolyline(Sjis("道路"), "0", {{"80", "0"}, {"90", "0"}})  // not selected
      + ChibanTextEntity("地番", "9", "100", "100")              // in no region
      + Lot(0, 20) + ChibanTextEntity("地番", "5", "5", "25")    // region 4
      + Lot(20, 20) + ChibanTextEntity("地番", "5", "25", "25")  // region 5: the same number
      + ChibanTextEntity("道路", "国道", "200", "200");          // another layer: not a lot number
  const Converted run = Convert(drawing);

  struct Expected {
    FindingKind kind;
    int region;
    double x, y;
    std::string message;
  };
  const Expected expected[] = {
      {FindingKind::kOpenPolyline, 0, 60, 0,
       "レイヤ「筆界」のポリラインは閉じていないため、面になりませんでした"},
      {FindingKind::kNoChiban, 2, 25, 5, "領域 2: 地番の文字が中にありません"},
      {FindingKind::kSeveralTexts, 3, 42, 2,
       "領域 3: 文字が 2 個あります。最初の「3」を地番にしました(ほかに「3-2」)"},
      {FindingKind::kStrayText, 0, 100, 100, "地番の文字「9」はどの領域にも入っていません"},
      {FindingKind::kSharedChiban, 4, 5, 25, "地番「5」が 2 つの領域で使われています(領域 4, 5)"},
  };
  ASSERT_EQ(run.report.findings.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const ReportFinding& f = run.report.findings[i];
    EXPECT_EQ(f.kind, expected[i].kind) << i;
    EXPECT_EQ(f.region, expected[i].region) << i;
    EXPECT_EQ(f.x, expected[i].x) << i;
    EXPECT_EQ(f.y, expected[i].y) << i;
    EXPECT_EQ(f.message, expected[i].message) << i;
  }
  EXPECT_TRUE(run.report.complete);
}

TEST(ConversionReport, RegionsCarryTheChibansOfTheMidFile) {
  const Lines drawing = Lot(0, 0) + ChibanTextEntity("地番", " 12-3 ", "5", "5") + Lot(20, 0) +
                        Lot(40, 0) + ChibanTextEntity("地番", "7", "41", "1") +
                        ChibanTextEntity("地番", "8", "49", "9");
  const Converted run = Convert(drawing);
  EXPECT_EQ(run.mid, "1,12-3\r\n2,\r\n3,7\r\n");
  struct Expected {
    RegionOutcome outcome;
    std::string chiban;
    std::size_t textsInside;
  };
  const Expected expected[] = {{RegionOutcome::kNumbered, "12-3", 1},
                               {RegionOutcome::kNoChiban, "", 0},
                               {RegionOutcome::kSeveralTexts, "7", 2}};
  ASSERT_EQ(run.report.regions.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const ReportRegion& region = run.report.regions[i];
    EXPECT_EQ(region.number, static_cast<int>(i) + 1);
    EXPECT_EQ(region.outcome, expected[i].outcome) << i;
    EXPECT_EQ(region.chiban, expected[i].chiban) << i;
    EXPECT_EQ(region.textsInside.size(), expected[i].textsInside) << i;
    EXPECT_EQ(region.ring.size(), 5u) << "four corners and the closing point";
  }
  EXPECT_TRUE(run.report.strayTexts.empty());
}

TEST(ConversionReport, ATextOnTheBoundaryBelongsToTheRegionAsInTheAttachment) {
  const Converted run = Convert(Lot(0, 0) + ChibanTextEntity("地番", "4", "10", "5"));
  EXPECT_EQ(run.mid, "1,4\r\n");
  ASSERT_EQ(run.report.regions.size(), 1u);
  EXPECT_EQ(run.report.regions[0].chiban, "4");
  // Only its middle, right of the boundary, lies outside.
  ASSERT_EQ(run.report.findings.size(), 1u);
  EXPECT_EQ(run.report.findings[0].message,
            "「4」: 文字の中心はどの領域にもありませんが、地番は領域 1 に付きました");
}

TEST(ConversionReport, FindingLinesNameKindMessageAndPlace) {
  struct Case {
    FindingKind kind;
    double x, y;
    int region;
    const char* line;
  };
  const Case cases[] = {
      {FindingKind::kOpenPolyline, 1.5, -2, 0, "[未閉合] m (X 1.500, Y -2.000)"},
      {FindingKind::kNoChiban, 0, 0, 3, "[地番なし] m (X 0.000, Y 0.000)"},
      {FindingKind::kSeveralTexts, 0, 0, 3, "[複数文字] m (X 0.000, Y 0.000)"},
      {FindingKind::kStrayText, 0, 0, 0, "[領域外の文字] m (X 0.000, Y 0.000)"},
      {FindingKind::kSharedChiban, -28410.25, 15730.5, 1,
       "[地番重複] m (X -28410.250, Y 15730.500)"},
  };
  for (const Case& c : cases) {
    ReportFinding finding{c.kind, "m", c.x, c.y, c.region};
    EXPECT_EQ(FindingLine(finding), c.line);
  }
}

// A zone chosen for lots far from its origin is most likely not theirs.
TEST(ConversionReport, LotsFarFromTheChosenZonesOrigin) {
  const struct {
    double x;
    int zone;
    bool pointedOut;
  } cases[] = {{-28410, 9, false}, {400000, 9, true}, {400000, 0, false}, {-299000, 2, false}};
  for (const auto& c : cases) {
    AttachSummary attached;
    ReportRegion region;
    region.ring = {{c.x, 0}, {c.x + 10, 0}, {c.x, 10}, {c.x, 0}};
    attached.regionList.push_back(region);
    const ConversionReport report = MakeConversionReport({}, attached, c.zone);
    const bool pointedOut =
        !report.findings.empty() && report.findings.back().kind == FindingKind::kFarFromZone;
    EXPECT_EQ(pointedOut, c.pointedOut) << c.x << " " << c.zone;
  }
}

}  // namespace
}  // namespace parquill
