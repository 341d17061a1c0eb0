#include "convert/region_build_step.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "convert/drawing_lots.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "dxf/layer_selection_check.h"
#include "dxf/line_work_reader.h"
#include "dxf/polyline_reader.h"
#include "geometry/arc_chords.h"
#include "geometry/ring_area.h"
#include "mif/lot_mif_writer.h"
#include "sima/point_table.h"

namespace parquill {
namespace {

std::optional<Message> CheckChoices(const ConversionChoices& choices, SelectedLayerTable& table) {
  if (auto refusal = FillSelectedLayerTable(choices.boundary, table)) return refusal;
  if (table.names.empty()) return Message{"レイアが選択されていません。", "抽出レイア"};
  if (choices.drawing.empty()) return Message{"入力ファイルが選択されていません。", "ファイル指定"};
  if (choices.output.empty()) return Message{"出力ファイルが選択されていません。", "ファイル指定"};
  return CheckOutputFileNames(choices.output, choices.drawing);
}

// Takes the closed rings as lots and lists the open ones.
class RegionWriter {
 public:
  RegionWriter(TextEncoding encoding, RegionBuildSummary& summary)
      : encoding_(encoding), summary_(summary) {}

  void Take(const PolylineRing& ring) {
    layersSeen_.emplace(ring.layer);
    if (ring.askew) {
      ++summary_.askewPolylines[DecodeDxfText(ring.layer, encoding_)];
      return;
    }
    if (ring.closed) {
      Write(ring);
      return;
    }
    ++summary_.openPolylinesSkipped;
    if (summary_.openPolylines.size() < RegionBuildSummary::kOpenPolylinesListed) {
      summary_.openPolylines.push_back(
          {DecodeDxfText(ring.layer, encoding_), ring.x[0], ring.y[0]});
    }
  }

 private:
  void Write(const PolylineRing& ring) {
    AddDrawnLot(summary_.lots, ring.x.data(), ring.y.data(), ring.x.size());
    for (std::size_t k = 0; k < ring.x.size() && !summary_.beyondSimaPoints; ++k) {
      summary_.beyondSimaPoints = points_.FindOrAdd(ring.x[k], ring.y[k]) == 0;
    }
    ++summary_.regionsWritten;
    NoteBulges(ring);
  }

  // A region whose polyline has arcs: how many, and the area they make.
  void NoteBulges(const PolylineRing& ring) {
    ShoelaceSum chords;
    double arcs = 0;
    int bulges = 0;
    for (std::size_t k = 0; k < ring.x.size(); ++k) {
      chords.Add(ring.x[k], ring.y[k]);
      if (k + 1 == ring.x.size() || ring.bulge[k] == 0) continue;
      ++bulges;
      arcs +=
          BulgeSegmentArea({ring.x[k], ring.y[k]}, {ring.x[k + 1], ring.y[k + 1]}, ring.bulge[k]);
    }
    if (bulges == 0) return;
    summary_.bulgedLots.push_back({summary_.regionsWritten, ring.x[0], ring.y[0], bulges,
                                   chords.Area(), std::fabs(chords.SignedArea() + arcs)});
  }

  TextEncoding encoding_;
  RegionBuildSummary& summary_;
  PointTable points_;  // the distinct points, while the SIMA conversion takes them
  std::set<std::string, std::less<>> layersSeen_;

 public:
  // The layers (as the drawing writes them) that had a polyline.
  const std::set<std::string, std::less<>>& layersSeen() const { return layersSeen_; }
};

// The selected layers that had no polyline, with the LINEs each has; with
// the report, the INSERTs of the selected layers, whose blocks are not read.
void CountLayerEntities(const ConversionChoices& choices, const std::vector<std::string>& selected,
                        const std::set<std::string, std::less<>>& seen,
                        RegionBuildSummary& summary) {
  std::vector<std::string> without;
  if (selected.front() == kAllLayersItem) {
    if (seen.empty()) without = selected;
  } else {
    std::set<std::string> names;
    for (const std::string& layer : seen) names.insert(DecodeDxfText(layer, choices.encoding));
    for (const std::string& name : selected) {
      if (names.count(name) == 0) without.push_back(name);
    }
  }
  if (without.empty() && !choices.report) return;
  std::map<std::string, LayerEntityCounts> counts;
  try {
    counts = CountLinesAndInserts(choices.drawing, selected, choices.reading());
  } catch (const RuntimeError&) {
    // The regions are written: a count the drawing breaks off stays 0.
  }
  for (const std::string& layer : without) {
    std::size_t lines = 0;
    for (const auto& [name, count] : counts) {
      if (layer == kAllLayersItem || name == layer) lines += count.lines;
    }
    summary.layersWithoutPolylines.push_back({layer, lines});
  }
  for (const auto& [name, count] : counts) {
    if (count.inserts > 0) summary.insertsNotRead[name] = count.inserts;
  }
}

// The MID and SIMA files left under the output name pair with the new MIF
// file in GIS software, though they belong to another.
void RemoveStalePartners(const std::string& output, RegionBuildSummary& summary) {
  const OutputFileNames names = OutputFileNamesFor(output);
  for (const std::string& partner : {names.mid, names.sima}) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(partner, error)) continue;
    if (std::filesystem::remove(partner, error)) {
      summary.partnersRemoved.push_back(partner);
    } else {
      summary.partnersNotRemoved.push_back(partner);
    }
  }
}

}  // namespace

std::string NoRegionsReason(const RegionBuildSummary& built) {
  if (built.regionsWritten > 0) return {};
  if (built.fromLines) return "選んだレイヤの線が囲む筆はありません";
  std::string reason;
  for (const auto& layer : built.layersWithoutPolylines) {
    if (!reason.empty()) reason += "、";
    reason += "レイヤ「" + layer.layer + "」に閉じたポリラインがありません";
    if (layer.lines > 0) {
      reason += "（[線分のみ] LINE・POLYLINE・ARC " + std::to_string(layer.lines) +
                " 本: 線で描かれた筆は「線から筆を作る」で変換できます）";
    }
  }
  if (reason.empty()) reason = "選んだレイヤのポリラインはどれも閉じていません";
  return reason;
}

Outcome BuildRegions(const ConversionChoices& choices, RegionBuildSummary* summary,
                     StepHost* host) {
  SelectedLayerTable table;
  if (auto refusal = CheckChoices(choices, table)) return Outcome::Refused(std::move(*refusal));
  RegionBuildSummary written;
  written.endsWithoutEof = EndsWithoutEof(choices.drawing);
  Outcome outcome;
  if (choices.fromLines) {
    written.fromLines = true;
    outcome = BuildRegionsFromLines(choices, table.names, &written.lines, &written.lots);
    written.regionsWritten = written.lines.regionsWritten;
    written.beyondSimaPoints = written.lines.beyondSimaPoints;
  } else {
    outcome = TrapRunTimeErrors(kSurveyTrapTitle, [&] {
      DxfLineSource drawing(choices.drawing);  // a missing drawing fails before the MIF exists
      drawing.ReportShareReadTo(host);
      TextFileWriter mif(OutputFileNamesFor(choices.output).mif, TextEncoding::kCp932);
      written.lots = NewDrawingLots();
      RegionWriter writer(choices.encoding, written);
      ReadPolylineRings(drawing, table.names, choices.reading(),
                        [&](const PolylineRing& ring) { writer.Take(ring); });
      WriteLotsMif(mif, written.lots, {choices.planeZone, choices.datum, false});
      mif.Close();
      CountLayerEntities(choices, table.names, writer.layersSeen(), written);
      return Outcome::Done();
    });
  }
  if (outcome.done()) RemoveStalePartners(choices.output, written);
  if (summary != nullptr) *summary = std::move(written);
  return outcome;
}

}  // namespace parquill
