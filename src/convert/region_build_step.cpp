#include "convert/region_build_step.h"

#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "dxf/layer_selection_check.h"
#include "dxf/line_work_reader.h"
#include "dxf/polyline_reader.h"
#include "geometry/arc_chords.h"
#include "geometry/ring_area.h"
#include "mif/mif_format.h"
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

// Writes the closed rings as MIF regions and lists the open ones.
class RegionWriter {
 public:
  RegionWriter(TextFileWriter& mif, TextEncoding encoding, RegionBuildSummary& summary)
      : mif_(mif), encoding_(encoding), summary_(summary) {}

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
    mif_.WriteLine(kMifRegionLine);
    mif_.WriteLine(MifPointCountLine(static_cast<int>(ring.x.size())));
    for (std::size_t k = 0; k < ring.x.size(); ++k) {
      // Digits, points, signs and one blank, written straight into the file's buffer.
      char* line = mif_.AsciiLineRoom(kMifPointLineRoom);
      mif_.EndAsciiLine(WriteMifPointLine(line, ring.x[k], ring.y[k]));
      if (!summary_.beyondSimaPoints && points_.FindOrAdd(ring.x[k], ring.y[k]) == 0)
        summary_.beyondSimaPoints = true;
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

  TextFileWriter& mif_;
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

}  // namespace

Outcome BuildRegions(const ConversionChoices& choices, RegionBuildSummary* summary,
                     StepHost* host) {
  SelectedLayerTable table;
  if (auto refusal = CheckChoices(choices, table)) return Outcome::Refused(std::move(*refusal));
  RegionBuildSummary written;
  written.endsWithoutEof = EndsWithoutEof(choices.drawing);
  Outcome outcome;
  if (choices.fromLines) {
    written.fromLines = true;
    outcome = BuildRegionsFromLines(choices, table.names, &written.lines);
    written.regionsWritten = written.lines.regionsWritten;
    written.beyondSimaPoints = written.lines.beyondSimaPoints;
  } else {
    outcome = TrapRunTimeErrors(kSurveyTrapTitle, [&] {
      DxfLineSource drawing(choices.drawing);  // a missing drawing fails before the MIF exists
      drawing.ReportShareReadTo(host);
      TextFileWriter mif(OutputFileNamesFor(choices.output).mif, TextEncoding::kCp932);
      WriteMifHeader(mif, choices.planeZone, choices.datum);
      RegionWriter writer(mif, choices.encoding, written);
      ReadPolylineRings(drawing, table.names, choices.reading(),
                        [&](const PolylineRing& ring) { writer.Take(ring); });
      mif.Close();
      CountLayerEntities(choices, table.names, writer.layersSeen(), written);
      return Outcome::Done();
    });
  }
  if (summary != nullptr) *summary = std::move(written);
  return outcome;
}

}  // namespace parquill
