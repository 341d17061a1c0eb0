#include "convert/region_build_step.h"

#include <new>
#include <optional>
#include <set>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "dxf/dxf_escapes.h"
#include "dxf/layer_list_reader.h"
#include "dxf/layer_selection_check.h"
#include "dxf/polyline_reader.h"
#include "mif/mif_format.h"

namespace parquill {
namespace {

std::optional<Message> CheckRequest(const RegionBuildRequest& request, SelectedLayerTable& table) {
  if (auto refusal = FillSelectedLayerTable(request.selection, table)) return refusal;
  if (table.names.empty()) return Message{"レイアが選択されていません。", "抽出レイア"};
  if (request.dxfPath.empty()) return Message{"入力ファイルが選択されていません。", "ファイル指定"};
  if (request.outputName.empty()) {
    return Message{"出力ファイルが選択されていません。", "ファイル指定"};
  }
  return CheckOutputFileNames(request.outputName, request.dxfPath);
}

// Writes the closed rings as MIF regions and lists the open ones.
class RegionWriter {
 public:
  RegionWriter(TextFileWriter& mif, TextEncoding encoding, RegionBuildSummary& summary)
      : mif_(mif), encoding_(encoding), summary_(summary) {}

  void Take(const PolylineRing& ring) {
    layersSeen_.emplace(ring.layer);
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
    }
    ++summary_.regionsWritten;
  }

  TextFileWriter& mif_;
  TextEncoding encoding_;
  RegionBuildSummary& summary_;
  std::set<std::string, std::less<>> layersSeen_;

 public:
  // The layers (as the drawing writes them) that had a polyline.
  const std::set<std::string, std::less<>>& layersSeen() const { return layersSeen_; }
};

// The selected layers that had no polyline.
std::vector<std::string> LayersWithoutPolylines(const std::vector<std::string>& selected,
                                                const std::set<std::string, std::less<>>& seen,
                                                TextEncoding encoding) {
  if (selected.front() == kAllLayersItem) {
    return seen.empty() ? selected : std::vector<std::string>{};
  }
  std::set<std::string> names;
  for (const std::string& layer : seen) names.insert(DecodeDxfText(layer, encoding));
  std::vector<std::string> without;
  for (const std::string& name : selected) {
    if (names.count(name) == 0) without.push_back(name);
  }
  return without;
}

}  // namespace

Outcome BuildRegions(const RegionBuildRequest& request, RegionBuildSummary* summary,
                     StepHost* host) {
  if (request.fromLines) {
    RegionBuildSummary built;
    built.fromLines = true;
    Outcome outcome =
        BuildRegionsFromLines({request.dxfPath, request.outputName, request.selection,
                               request.textSelection, request.encoding, request.planeZone},
                              &built.lines);
    built.regionsWritten = built.lines.regionsWritten;
    if (summary != nullptr) *summary = std::move(built);
    return outcome;
  }
  SelectedLayerTable table;
  if (auto refusal = CheckRequest(request, table)) return Outcome::Refused(std::move(*refusal));

  RegionBuildSummary written;
  Outcome outcome = Outcome::Done();
  try {
    try {
      DxfLineSource drawing(request.dxfPath);  // a missing drawing fails before the MIF exists
      drawing.ReportShareReadTo(host);
      TextFileWriter mif(OutputFileNamesFor(request.outputName).mif, TextEncoding::kCp932);
      WriteMifHeader(mif, request.planeZone);
      RegionWriter writer(mif, request.encoding, written);
      ReadPolylineRings(drawing, table.names, request.encoding,
                        [&](const PolylineRing& ring) { writer.Take(ring); });
      mif.Close();
      written.layersWithoutPolylines =
          LayersWithoutPolylines(table.names, writer.layersSeen(), request.encoding);
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    outcome = Outcome::Trapped(error, kSurveyTrapTitle);
  }
  if (summary != nullptr) *summary = written;
  return outcome;
}

}  // namespace parquill
