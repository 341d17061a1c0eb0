#include "convert/conversion_report.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <new>
#include <set>
#include <tuple>

#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/line_work_reader.h"
#include "geometry/survey.h"
#include "mif/mif_reader.h"

namespace parquill {
namespace {

// The most other texts a "several texts" finding names.
constexpr std::size_t kOtherTextsNamed = 5;

struct Box {
  double minX, minY, maxX, maxY;
};

// The box of the ring's first `count` points (the ones the test is given).
Box BoxOf(const MifRing& ring, int count) {
  Box box{ring.x[0], ring.y[0], ring.x[0], ring.y[0]};
  for (std::size_t k = 1; k < static_cast<std::size_t>(count); ++k) {
    box.minX = std::min(box.minX, ring.x[k]);
    box.maxX = std::max(box.maxX, ring.x[k]);
    box.minY = std::min(box.minY, ring.y[k]);
    box.maxY = std::max(box.maxY, ring.y[k]);
  }
  return box;
}

// The texts ordered by X, to find the candidates of a ring's box quickly.
class TextsByX {
 public:
  explicit TextsByX(const std::vector<ChibanText>& texts) : texts_(texts) {
    order_.resize(texts.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::size_t a, std::size_t b) { return texts[a].x < texts[b].x; });
  }

  // The texts inside the ring (or on its boundary), in drawing order. A text
  // outside the ring's box is outside the ring, so only the box's are tested.
  std::vector<std::size_t> Inside(const MifRing& ring) const {
    std::vector<std::size_t> inside;
    const int tested = ring.count - 1;  // the closing point is not passed
    const auto n = static_cast<std::int16_t>(tested);
    if (tested < 1) {
      for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (survey::InPolygon(n, ring.x.data(), ring.y.data(), texts_[i].x, texts_[i].y) <= 0) {
          inside.push_back(i);
        }
      }
      return inside;
    }
    const Box box = BoxOf(ring, tested);
    auto first = std::lower_bound(order_.begin(), order_.end(), box.minX,
                                  [&](std::size_t i, double x) { return texts_[i].x < x; });
    for (auto it = first; it != order_.end() && texts_[*it].x <= box.maxX; ++it) {
      const ChibanText& text = texts_[*it];
      if (text.y < box.minY || text.y > box.maxY) continue;
      if (survey::InPolygon(n, ring.x.data(), ring.y.data(), text.x, text.y) <= 0) {
        inside.push_back(*it);
      }
    }
    std::sort(inside.begin(), inside.end());
    return inside;
  }

 private:
  const std::vector<ChibanText>& texts_;
  std::vector<std::size_t> order_;
};

std::string Quoted(const std::string& text) { return "「" + text + "」"; }

std::string RegionName(int number) { return "領域 " + std::to_string(number); }

// A boundary layer without LWPOLYLINE: the LINEs on it are counted, for the
// user to know the lots may be drawn as lines (then "線から筆を作る").
void AddLinesOnlyFindings(const std::string& dxfPath, TextEncoding encoding,
                          const RegionBuildSummary& built, ConversionReport& report) {
  for (const std::string& layer : built.layersWithoutPolylines) {
    std::size_t lines = 0;
    try {
      lines = ReadLineWork(dxfPath, {layer}, "", encoding).lineEntities;
    } catch (const RuntimeError&) {
      report.complete = false;
    }
    report.findings.push_back({FindingKind::kLinesOnly,
                               "レイヤ" + Quoted(layer) + "に LWPOLYLINE がありません（LINE " +
                                   std::to_string(lines) + " 本）",
                               0, 0, 0, false});
  }
}

// The texts of the text layer that a reading by group pairs finds but the
// lot-number reader did not record as they stand (a rotation of 20, a height
// of 10 makes it take the next line as a value): their lots lost their number.
void AddMissedTextFindings(const std::string& dxfPath, const LayerSelection& textSelection,
                           TextEncoding encoding, ConversionReport& report) {
  const ChibanTextRead byPairs = ReadLineWorkTexts(dxfPath, textSelection, encoding);
  if (byPairs.failed || byPairs.trappedError != 0) report.complete = false;
  std::multiset<std::tuple<std::string, double, double>> recorded;
  for (const ChibanText& text : report.texts) recorded.insert({text.text, text.x, text.y});
  for (const ChibanText& text : byPairs.texts) {
    const auto found = recorded.find({text.text, text.x, text.y});
    if (found != recorded.end()) {
      recorded.erase(found);
      continue;
    }
    report.findings.push_back(
        {FindingKind::kMissedText, Quoted(std::string(TrimBlanks(text.text))), text.x, text.y, 0});
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
    findings.push_back({FindingKind::kNoLotNumber, name + ": 地番の文字が中にありません",
                        region.label.x, region.label.y, region.number});
    return;
  }
  if (region.lotNumber.empty()) {
    findings.push_back({FindingKind::kNoLotNumber, name + ": 中の文字が空で、地番がありません",
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
                            " 個あります。最初の" + Quoted(region.lotNumber) +
                            "を地番にしました(ほかに" + others + ")",
                        region.label.x, region.label.y, region.number});
  }
}

void AddSharedLotNumberFindings(ConversionReport& report) {
  std::map<std::string, std::vector<const ReportRegion*>> byNumber;
  std::vector<std::string> order;  // lot numbers in the order of their first region
  for (const ReportRegion& region : report.regions) {
    if (region.lotNumber.empty()) continue;
    auto& regions = byNumber[region.lotNumber];
    if (regions.empty()) order.push_back(region.lotNumber);
    regions.push_back(&region);
  }
  for (const std::string& number : order) {
    const auto& regions = byNumber[number];
    if (regions.size() < 2) continue;
    std::string names;
    for (const ReportRegion* region : regions) {
      names += (names.empty() ? "" : ", ") + std::to_string(region->number);
    }
    report.findings.push_back({FindingKind::kSharedLotNumber,
                               "地番" + Quoted(number) + "が " + std::to_string(regions.size()) +
                                   " つの領域で使われています(領域 " + names + ")",
                               regions.front()->label.x, regions.front()->label.y,
                               regions.front()->number});
  }
}

// Reads the regions of the MIF file and tells each one's outcome.
void ReadRegions(const std::string& mifPath, ConversionReport& report) {
  TextsByX candidates(report.texts);
  std::vector<bool> used(report.texts.size(), false);
  try {
    MifReader mif(mifPath, MifRules::Attachment());
    MifRing ring;
    while (mif.NextRing(ring)) {
      ReportRegion region;
      region.number = static_cast<int>(report.regions.size()) + 1;
      for (std::size_t k = 0; k < ring.x.size(); ++k) region.ring.push_back({ring.x[k], ring.y[k]});
      region.textsInside = candidates.Inside(ring);
      for (std::size_t i : region.textsInside) used[i] = true;
      if (region.textsInside.empty()) {
        region.outcome = RegionOutcome::kNoLotNumber;
        if (ring.count > 0) {
          const Box box = BoxOf(ring, ring.count);
          region.label = {(box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2};
        }
      } else {
        const ChibanText& winner = report.texts[region.textsInside.front()];
        region.lotNumber = std::string(TrimBlanks(winner.text));
        region.label = {winner.x, winner.y};
        region.outcome = region.textsInside.size() > 1 ? RegionOutcome::kSeveralTexts
                         : region.lotNumber.empty()    ? RegionOutcome::kNoLotNumber
                                                       : RegionOutcome::kNumbered;
      }
      report.regions.push_back(std::move(region));
    }
  } catch (const RuntimeError&) {
    report.complete = false;
  } catch (const std::bad_alloc&) {
    report.complete = false;
  }
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) report.strayTexts.push_back(i);
  }
}

std::string Coordinate(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

namespace {

// The report on the texts read and the regions of the MIF file, the findings
// of the region building first.
ConversionReport ReportOn(ChibanTextRead read, const std::string& mifPath,
                          const std::function<void(ConversionReport&)>& addBuildFindings) {
  ConversionReport report;
  if (read.failed || read.trappedError != 0) report.complete = false;
  report.texts = std::move(read.texts);
  ReadRegions(mifPath, report);

  addBuildFindings(report);
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
  AddSharedLotNumberFindings(report);
  return report;
}

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

}  // namespace

ConversionReport MakeConversionReport(const std::string& dxfPath, const std::string& mifPath,
                                      const LayerSelection& textSelection, TextEncoding encoding,
                                      const RegionBuildSummary& regionsBuilt) {
  if (regionsBuilt.fromLines) {
    return ReportOn(
        ReadLineWorkTexts(dxfPath, textSelection, encoding), mifPath,
        [&](ConversionReport& report) { AddLineWorkFindings(regionsBuilt.lines, report); });
  }
  return ReportOn(ReadChibanTexts(dxfPath, textSelection, encoding), mifPath,
                  [&](ConversionReport& report) {
                    AddLinesOnlyFindings(dxfPath, encoding, regionsBuilt, report);
                    AddMissedTextFindings(dxfPath, textSelection, encoding, report);
                    AddOpenPolylineFindings(regionsBuilt, report);
                  });
}

std::string FindingKindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::kOpenPolyline:
      return "未閉合";
    case FindingKind::kNoLotNumber:
      return "地番なし";
    case FindingKind::kSeveralTexts:
      return "複数文字";
    case FindingKind::kStrayText:
      return "領域外の文字";
    case FindingKind::kSharedLotNumber:
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
  }
  return "";
}

std::string FindingLine(const ReportFinding& finding) {
  const std::string line = "[" + FindingKindName(finding.kind) + "] " + finding.message;
  if (!finding.located) return line;
  return line + " (X " + Coordinate(finding.x) + ", Y " + Coordinate(finding.y) + ")";
}

}  // namespace parquill
