#include "convert/lots_from_lines_step.h"

#include <algorithm>
#include <new>
#include <optional>
#include <tuple>

#include "base/limits.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/layer_selection_check.h"
#include "dxf/line_work_reader.h"
#include "geometry/chiban_text_index.h"
#include "mif/mif_format.h"

namespace parquill {
namespace {

std::optional<Message> CheckRequest(const LotsFromLinesRequest& request,
                                    SelectedLayerTable& boundary, std::string& textLayer) {
  if (auto refusal = FillSelectedLayerTable(request.boundarySelection, boundary)) return refusal;
  if (boundary.names.empty()) return Message{"レイアが選択されていません。", "抽出レイア"};
  // Without a text layer (the window's "面生成" comes before the lot-number
  // layer is chosen) the faces go by their first point alone.
  if (!request.textSelection.items.empty()) {
    if (auto refusal = CheckTextLayerSelection(request.textSelection, request.dxfPath, textLayer)) {
      return refusal;
    }
  } else if (request.dxfPath.empty()) {
    return Message{"入力ファイルが選択されていません。", "ファイル指定"};
  }
  if (request.outputName.empty()) {
    return Message{"出力ファイルが選択されていません。", "ファイル指定"};
  }
  return CheckOutputFileNames(request.outputName, request.dxfPath);
}

// The faces in the order of their regions: those holding a lot-number text
// by the drawing order of their first text (as the attachment finds it),
// then the others by their first point.
void PutInRegionOrder(std::vector<LineFace>& faces, const std::vector<ChibanText>& texts) {
  ChibanTextIndex index(texts, SearchStrategy::kIndexed);
  using Key = std::tuple<std::size_t, double, double>;
  std::vector<std::pair<Key, std::size_t>> order;
  order.reserve(faces.size());
  std::vector<double> x, y;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    const std::vector<LinePoint>& ring = faces[i].ring;
    if (ring.size() > static_cast<std::size_t>(kRingCapacity))
      throw RuntimeError(kSubscriptOutOfRange);
    x.clear();
    y.clear();
    for (const LinePoint& p : ring) {
      x.push_back(p.x);
      y.push_back(p.y);
    }
    // The closing point is not passed, as in the attachment.
    const ChibanText* first =
        index.FirstInside(static_cast<std::int16_t>(ring.size() - 1), x.data(), y.data());
    const std::size_t text = first == nullptr ? texts.size() : first - texts.data();
    order.push_back({{text, ring.front().x, ring.front().y}, i});
  }
  std::sort(order.begin(), order.end());
  std::vector<LineFace> sorted;
  sorted.reserve(faces.size());
  for (const auto& entry : order) sorted.push_back(std::move(faces[entry.second]));
  faces = std::move(sorted);
}

void WriteRegions(const std::string& mifPath, int planeZone, const std::vector<LineFace>& faces) {
  TextFileWriter mif(mifPath, TextEncoding::kCp932);
  WriteMifHeader(mif, planeZone);
  std::string line;
  for (const LineFace& face : faces) {
    mif.WriteLine(kMifRegionLine);
    mif.WriteLine(MifPointCountLine(static_cast<int>(face.ring.size())));
    for (const LinePoint& p : face.ring) {
      FormatMifPointLine(line, p.x, p.y);
      mif.WriteLine(line);
    }
  }
  mif.Close();
}

}  // namespace

Outcome BuildRegionsFromLines(const LotsFromLinesRequest& request, LotsFromLinesSummary* summary) {
  SelectedLayerTable boundary;
  std::string textLayer;
  if (auto refusal = CheckRequest(request, boundary, textLayer)) {
    return Outcome::Refused(std::move(*refusal));
  }
  LotsFromLinesSummary built;
  Outcome outcome = Outcome::Done();
  try {
    try {
      LineWorkDrawing drawing =
          ReadLineWork(request.dxfPath, boundary.names, textLayer, request.encoding);
      built.segments = drawing.segments;
      built.arcsChorded = drawing.arcsChorded;
      if (drawing.refusal) {
        outcome = Outcome::Refused(std::move(*drawing.refusal));
      } else if (drawing.texts.failed) {
        outcome = {OutcomeKind::kRefused, 0, drawing.texts.messages};
      } else if (drawing.lines.empty()) {
        outcome = Outcome::Refused({"境界線のレイヤに線がありません。", "境界線"});
      } else {
        LineFaces faces = FacesOfLineWork(drawing.lines);
        PutInRegionOrder(faces.faces, drawing.texts.texts);
        WriteRegions(OutputFileNamesFor(request.outputName).mif, request.planeZone, faces.faces);
        built.regionsWritten = static_cast<int>(faces.faces.size());
        for (std::size_t i = 0; i < faces.faces.size(); ++i) {
          const LineFace& face = faces.faces[i];
          if (face.holes > 0) {
            built.lotsWithHoles.push_back({static_cast<int>(i) + 1, face.ring.front(), face.holes});
          }
        }
        built.looseLinesFound = faces.looseLines.size();
        if (faces.looseLines.size() > LotsFromLinesSummary::kLooseLinesListed) {
          faces.looseLines.resize(LotsFromLinesSummary::kLooseLinesListed);
        }
        built.looseLines = std::move(faces.looseLines);
      }
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    outcome = Outcome::Trapped(error, kSurveyTrapTitle);
  }
  if (summary != nullptr) *summary = std::move(built);
  return outcome;
}

}  // namespace parquill
