#include "convert/conversion_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "base/text_codec.h"
#include "base/trim.h"
#include "mif/plane_zone.h"

namespace parquill {
namespace {

// The most other texts a "several texts" finding names.
constexpr std::size_t kOtherTextsNamed = 5;

std::string Quoted(const std::string& text) { return "「" + text + "」"; }

// A drawing in metres whose median lot is wider than this is taken to be in millimetres.
constexpr double kWidestLotInMetres = 1000;

double MedianLotWidth(const std::vector<ReportRegion>& regions) {
  std::vector<double> widths;
  for (const ReportRegion& region : regions) {
    const auto [least, most] =
        std::minmax_element(region.ring.begin(), region.ring.end(),
                            [](const PlanePoint& a, const PlanePoint& b) { return a.x < b.x; });
    if (least != region.ring.end()) widths.push_back(most->x - least->x);
  }
  if (widths.empty()) return 0;
  std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
  return widths[widths.size() / 2];
}

std::string RegionName(int number) { return "領域 " + std::to_string(number); }

// A boundary layer without LWPOLYLINE, with its line work counted: its lots
// may be drawn as lines (then "線から筆を作る").
void AddLinesOnlyFindings(const RegionBuildSummary& built, ConversionReport& report) {
  for (const auto& layer : built.layersWithoutPolylines) {
    report.findings.push_back({FindingKind::kLinesOnly,
                               "レイヤ" + Quoted(layer.layer) +
                                   "に LWPOLYLINE がありません（LINE・POLYLINE・ARC " +
                                   std::to_string(layer.lines) + " 本）",
                               0, 0, 0, false});
  }
}

// The entities of the chosen layers left out for an askew extrusion.
void AddExtrusionFindings(const std::map<std::string, std::size_t>& askew, const char* what,
                          ConversionReport& report) {
  for (const auto& [layer, count] : askew) {
    report.findings.push_back({FindingKind::kExtrusion,
                               "レイヤ" + Quoted(layer) + "の" + what + " " +
                                   std::to_string(count) +
                                   " 個は押し出し方向が (0, 0, 1) でも (0, 0, -1) でもない"
                                   "（3次元の）ため、読んでいません",
                               0, 0, 0, false});
  }
}

// Regions whose polyline has arcs: the region holds its vertices only.
void AddBulgedLotFindings(const RegionBuildSummary& built, ConversionReport& report) {
  for (const RegionBuildSummary::BulgedLot& lot : built.bulgedLots) {
    char areas[96];
    std::snprintf(areas, sizeof areas, "面積 %.2f m²、円弧どおりなら %.2f m²", lot.chordArea,
                  lot.arcArea);
    report.findings.push_back({FindingKind::kArcsChorded,
                               RegionName(lot.region) + ": 円弧 " + std::to_string(lot.bulges) +
                                   " 本を弦にして頂点だけを書きました（" + areas + "）",
                               lot.x, lot.y, lot.region});
  }
}

// The region each point lies in (the first in MIF order), 0 for none.
std::vector<int> RegionsOf(const std::vector<ChibanText>& points,
                           const std::vector<ReportRegion>& regions) {
  std::vector<int> found(points.size(), 0);
  ChibanTextIndex index(points);
  std::vector<double> x, y;
  for (const ReportRegion& region : regions) {
    x.clear();
    y.clear();
    for (const PlanePoint& p : region.ring) {
      x.push_back(p.x);
      y.push_back(p.y);
    }
    if (x.empty()) continue;
    for (std::size_t i :
         index.AllInside(static_cast<std::int16_t>(x.size() - 1), x.data(), y.data()))
      if (found[i] == 0) found[i] = region.number;
  }
  return found;
}

// The texts of the text layer that a reading by group pairs finds but the
// lot-number reader did not record as they stand (a rotation of 20, a height
// of 10 makes it take the next line as a value): their lots lost their number.
// Of those recorded, the ones whose middle lies in another region than the
// point that placed them (or only one of the two in a region).
void AddMissedTextFindings(const AttachSummary& attached, ConversionReport& report) {
  std::multimap<std::tuple<std::string, double, double>, std::size_t> recorded;
  for (std::size_t i = 0; i < report.texts.size(); ++i) {
    const ChibanText& text = report.texts[i];
    recorded.insert({{text.text, text.x, text.y}, i});
  }
  std::vector<int> regionOfText(report.texts.size(), 0);
  for (const ReportRegion& region : report.regions) {
    for (std::size_t i : region.textsInside)
      if (regionOfText[i] == 0) regionOfText[i] = region.number;
  }
  std::vector<ChibanText> centres;
  for (const PlanePoint& c : attached.centresAsEntities) centres.push_back({"", c.x, c.y});
  const std::vector<int> regionOfCentre = RegionsOf(centres, report.regions);
  for (std::size_t k = 0; k < attached.textsAsEntities.size(); ++k) {
    const ChibanText& text = attached.textsAsEntities[k];
    const std::string name = Quoted(std::string(TrimBlanks(text.text)));
    const auto found = recorded.find({text.text, text.x, text.y});
    if (found == recorded.end()) {
      report.findings.push_back({FindingKind::kMissedText, name, text.x, text.y, 0});
      continue;
    }
    const int placed = regionOfText[found->second];
    recorded.erase(found);
    const int middle = k < regionOfCentre.size() ? regionOfCentre[k] : placed;
    if (middle == placed) continue;
    report.findings.push_back(
        {FindingKind::kTextPlace,
         name + ": 文字の中心は" +
             (middle == 0 ? "どの領域にもありませんが" : RegionName(middle) + " にありますが") +
             "、地番は" +
             (placed == 0 ? "どの領域にも付きませんでした" : RegionName(placed) + " に付きました"),
         centres[k].x, centres[k].y, placed});
  }
}

// What closed polylines leave unread in blocks: the INSERTs of the boundary
// layers, the ATTRIBs of the lot-number layer.
void AddBlockFindings(const RegionBuildSummary& built, const AttachSummary& attached,
                      ConversionReport& report) {
  const auto add = [&](const std::string& layer, std::size_t count, const char* what) {
    report.findings.push_back({FindingKind::kBlocks,
                               "レイヤ" + Quoted(layer) + "の " + what + " " +
                                   std::to_string(count) + " 個" + (what[0] == 'I' ? "の中" : "") +
                                   "は読んでいません（「線から筆を作る」で読めます）",
                               0, 0, 0, false});
  };
  for (const auto& [layer, count] : built.insertsNotRead) add(layer, count, "INSERT");
  if (attached.attribsNotRead > 0) add(attached.chibanLayer, attached.attribsNotRead, "ATTRIB");
  if (attached.blockTextsNotRead > 0) {
    report.findings.push_back({FindingKind::kBlocks,
                               "レイヤ" + Quoted(attached.chibanLayer) + "の INSERT が置く文字 " +
                                   std::to_string(attached.blockTextsNotRead) +
                                   " 個は読んでいません（「線から筆を作る」で読めます）",
                               0, 0, 0, false});
  }
}

void AddOpenPolylineFindings(const RegionBuildSummary& built, ConversionReport& report) {
  for (const OpenPolyline& open : built.openPolylines) {
    report.findings.push_back(
        {FindingKind::kOpenPolyline,
         "レイヤ" + Quoted(open.layer) + "のポリラインは閉じていないため、面になりませんでした",
         open.x, open.y, 0});
  }
  const std::size_t notListed =
      static_cast<std::size_t>(built.openPolylinesSkipped) -
      std::min<std::size_t>(built.openPolylinesSkipped, built.openPolylines.size());
  if (notListed > 0) {
    report.findings.push_back(
        {FindingKind::kOpenPolyline,
         "ほかに閉じていないポリラインが " + std::to_string(notListed) + " 本あります", 0, 0, 0,
         false});
  }
}

void AddRegionFindings(const ReportRegion& region, const std::vector<ChibanText>& texts,
                       std::vector<ReportFinding>& findings) {
  const std::string name = RegionName(region.number);
  if (region.textsInside.empty()) {
    findings.push_back({FindingKind::kNoChiban, name + ": 地番の文字が中にありません",
                        region.label.x, region.label.y, region.number});
    return;
  }
  if (region.chiban.empty()) {
    findings.push_back({FindingKind::kNoChiban, name + ": 中の文字が空で、地番がありません",
                        region.label.x, region.label.y, region.number});
  }
  if (region.textsInside.size() > 1) {
    std::string others;
    for (std::size_t k = 1; k < region.textsInside.size() && k <= kOtherTextsNamed; ++k) {
      others += Quoted(std::string(TrimBlanks(texts[region.textsInside[k]].text)));
    }
    if (region.textsInside.size() > kOtherTextsNamed + 1) others += "ほか";
    findings.push_back({FindingKind::kSeveralTexts,
                        name + ": 文字が " + std::to_string(region.textsInside.size()) +
                            " 個あります。最初の" + Quoted(region.chiban) +
                            "を地番にしました(ほかに" + others + ")",
                        region.label.x, region.label.y, region.number});
  }
}

void AddSharedChibanFindings(ConversionReport& report) {
  std::map<std::string, std::vector<const ReportRegion*>> byNumber;
  std::vector<std::string> order;  // lot numbers in the order of their first region
  for (const ReportRegion& region : report.regions) {
    if (region.chiban.empty()) continue;
    auto& regions = byNumber[region.chiban];
    if (regions.empty()) order.push_back(region.chiban);
    regions.push_back(&region);
  }
  for (const std::string& number : order) {
    const auto& regions = byNumber[number];
    if (regions.size() < 2) continue;
    std::string names;
    for (const ReportRegion* region : regions) {
      names += (names.empty() ? "" : ", ") + std::to_string(region->number);
    }
    report.findings.push_back({FindingKind::kSharedChiban,
                               "地番" + Quoted(number) + "が " + std::to_string(regions.size()) +
                                   " つの領域で使われています(領域 " + names + ")",
                               regions.front()->label.x, regions.front()->label.y,
                               regions.front()->number});
  }
}

std::string Coordinate(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

namespace {

void AddLineWorkFindings(const LotsFromLinesSummary& built, ConversionReport& report) {
  for (const LooseLine& line : built.looseLines) {
    report.findings.push_back({FindingKind::kLooseLine,
                               "境界線 (X " + Coordinate(line.from.x) + ", Y " +
                                   Coordinate(line.from.y) + ") - (X " + Coordinate(line.to.x) +
                                   ", Y " + Coordinate(line.to.y) +
                                   ") はどの筆も囲んでいません(はみ出し、すき間、行き止まりの線)",
                               line.from.x, line.from.y, 0});
  }
  if (built.looseLinesFound > built.looseLines.size()) {
    report.findings.push_back({FindingKind::kLooseLine,
                               "ほかに筆を囲まない線が " +
                                   std::to_string(built.looseLinesFound - built.looseLines.size()) +
                                   " 本あります",
                               0, 0, 0, false});
  }
  for (const LotWithHoles& lot : built.lotsWithHoles) {
    report.findings.push_back({FindingKind::kLotWithHoles,
                               RegionName(lot.region) + ": 中にほかの筆が " +
                                   std::to_string(lot.holes) +
                                   " つあります。MIF には外側の境界だけを書きました",
                               lot.first.x, lot.first.y, lot.region});
  }
  if (built.arcsChorded > 0) {
    report.findings.push_back({FindingKind::kArcsChorded,
                               "円弧 " + std::to_string(built.arcsChorded) +
                                   " 本を弦に分けました(円弧からのずれ 0.01 以下)",
                               0, 0, 0, false});
  }
}

// The middle of the lots' box against the zone's origin (the plane
// coordinates' zero), in kilometres when too far.
void AddZoneFinding(int planeZone, ConversionReport& report) {
  if (!IsPlaneZone(planeZone) || report.regions.empty()) return;
  double minX = HUGE_VAL, maxX = -HUGE_VAL, minY = HUGE_VAL, maxY = -HUGE_VAL;
  for (const ReportRegion& region : report.regions) {
    for (const PlanePoint& p : region.ring) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  }
  const double x = (minX + maxX) / 2, y = (minY + maxY) / 2;
  const double distance = std::hypot(x, y);
  if (!(distance > kFarFromZoneOrigin)) return;
  report.findings.push_back({FindingKind::kFarFromZone,
                             "筆は " + PlaneZoneName(planeZone) + "の原点から " +
                                 std::to_string(static_cast<long long>(distance / 1000)) +
                                 " km 離れています（系の選択か図面の単位を確かめてください）",
                             x, y, 0});
}

}  // namespace

ConversionReport MakeConversionReport(const RegionBuildSummary& built,
                                      const AttachSummary& attached, int planeZone) {
  ConversionReport report;
  report.complete = attached.textsWhole;
  report.texts = attached.texts;
  report.regions = attached.regionList;
  if (attached.endsWithoutEof) report.findings.push_back(DrawingCutFinding());
  if (attached.utf8AgainstHeader) {
    report.findings.push_back({FindingKind::kEncoding,
                               "図面は ANSI_932 と宣言していますが UTF-8 で書かれています", 0, 0, 0,
                               false});
  }
  if (!attached.millimetres && MedianLotWidth(report.regions) > kWidestLotInMetres) {
    report.findings.push_back({FindingKind::kUnit,
                               "筆の大きさから、図面はミリメートル単位のようです（--unit mm）", 0,
                               0, 0, false});
  }
  for (int number : attached.regionsBeyondCp932) {
    const ReportRegion& region = report.regions[static_cast<std::size_t>(number) - 1];
    report.findings.push_back({FindingKind::kEncoding,
                               Quoted(region.chiban) + ": Shift-JIS にない文字を ? にしました",
                               region.label.x, region.label.y, number});
  }
  std::vector<bool> used(report.texts.size(), false);
  for (const ReportRegion& region : report.regions) {
    for (std::size_t i : region.textsInside) used[i] = true;
  }
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) report.strayTexts.push_back(i);
  }
  if (built.fromLines) {
    AddLineWorkFindings(built.lines, report);
    AddExtrusionFindings(built.lines.askewEntities, "境界線", report);
  } else {
    AddLinesOnlyFindings(built, report);
    AddMissedTextFindings(attached, report);
    AddBlockFindings(built, attached, report);
    AddOpenPolylineFindings(built, report);
    AddExtrusionFindings(built.askewPolylines, "ポリライン", report);
    AddBulgedLotFindings(built, report);
  }
  if (attached.askewTexts > 0)
    AddExtrusionFindings({{attached.chibanLayer, attached.askewTexts}}, "地番の文字", report);
  for (const ReportRegion& region : report.regions) {
    AddRegionFindings(region, report.texts, report.findings);
  }
  for (std::size_t i : report.strayTexts) {
    const ChibanText& text = report.texts[i];
    report.findings.push_back(
        {FindingKind::kStrayText,
         "地番の文字" + Quoted(std::string(TrimBlanks(text.text))) + "はどの領域にも入っていません",
         text.x, text.y, 0});
  }
  AddSharedChibanFindings(report);
  AddZoneFinding(planeZone, report);
  return report;
}

ReportFinding DrawingCutFinding() {
  return {FindingKind::kDrawingCut,
          "図面が EOF で終わっていません（途中で切れているかもしれません）",
          0,
          0,
          0,
          false};
}

std::string FindingKindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::kOpenPolyline:
      return "未閉合";
    case FindingKind::kNoChiban:
      return "地番なし";
    case FindingKind::kSeveralTexts:
      return "複数文字";
    case FindingKind::kStrayText:
      return "領域外の文字";
    case FindingKind::kSharedChiban:
      return "地番重複";
    case FindingKind::kLooseLine:
      return "閉じない線";
    case FindingKind::kLotWithHoles:
      return "穴のある筆";
    case FindingKind::kArcsChorded:
      return "円弧";
    case FindingKind::kLinesOnly:
      return "線分のみ";
    case FindingKind::kMissedText:
      return "読み落とし";
    case FindingKind::kFarFromZone:
      return "座標系";
    case FindingKind::kDrawingCut:
      return "図面の終わり";
    case FindingKind::kEncoding:
      return "文字コード";
    case FindingKind::kUnit:
      return "単位";
    case FindingKind::kTextPlace:
      return "文字の位置";
    case FindingKind::kBlocks:
      return "ブロック";
    case FindingKind::kExtrusion:
      return "押し出し方向";
  }
  return "";
}

std::string FindingLine(const ReportFinding& finding) {
  const std::string line = "[" + FindingKindName(finding.kind) + "] " + finding.message;
  if (!finding.located) return ShowEscapedBytes(line);
  return ShowEscapedBytes(line + " (X " + Coordinate(finding.x) + ", Y " + Coordinate(finding.y) +
                          ")");
}

}  // namespace parquill
