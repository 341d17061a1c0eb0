#include "convert/lots_from_lines_step.h"

#include <algorithm>
#include <new>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "convert/drawing_lots.h"
#include "dxf/layer_selection_check.h"
#include "dxf/line_work_reader.h"
#include "mif/lot_mif_writer.h"
#include "sima/point_table.h"

namespace parquill {
namespace {

bool FacesInRegionOrder(const LineFace& a, const LineFace& b) {
  return InRegionOrder(a.ring, b.ring);
}

// The faces in the order of their regions.
void PutInRegionOrder(std::vector<LineFace>& faces) {
  for (const LineFace& face : faces) {
    if (face.ring.size() > static_cast<std::size_t>(kRingCapacity))
      throw RingTooLong("筆", "", face.ring.front().x, face.ring.front().y, face.ring.size() - 1,
                        true);
  }
  std::stable_sort(faces.begin(), faces.end(), FacesInRegionOrder);
}

void WriteRegions(const std::string& mifPath, const ConversionChoices& choices,
                  const std::vector<LineFace>& faces, LotModel& lots) {
  lots = NewDrawingLots();
  std::vector<double> x;
  std::vector<double> y;
  for (const LineFace& face : faces) {
    x.clear();
    y.clear();
    for (const PlanePoint& p : face.ring) {
      x.push_back(p.x);
      y.push_back(p.y);
    }
    AddDrawnLot(lots, x.data(), y.data(), x.size());
  }
  TextFileWriter mif(mifPath, TextEncoding::kCp932);
  WriteLotsMif(mif, lots, {choices.planeZone, choices.datum, false});
  mif.Close();
}

}  // namespace

bool InRegionOrder(const std::vector<PlanePoint>& a, const std::vector<PlanePoint>& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](const PlanePoint& p, const PlanePoint& q) {
                                        return p.x < q.x || (p.x == q.x && p.y < q.y);
                                      });
}

std::vector<std::vector<PlanePoint>> LotsFromLinesPreview(const ConversionChoices& choices) {
  std::vector<std::vector<PlanePoint>> rings;
  SelectedLayerTable boundary;
  if (FillSelectedLayerTable(choices.boundary, boundary) || boundary.names.empty()) return rings;
  try {
    LineWorkDrawing drawing = ReadLineWork(choices.drawing, boundary.names, choices.reading());
    if (drawing.refusal || drawing.lines.empty()) return rings;
    LineFaces faces = FacesOfLineWork(drawing.lines);
    std::stable_sort(faces.faces.begin(), faces.faces.end(), FacesInRegionOrder);
    for (LineFace& face : faces.faces) rings.push_back(std::move(face.ring));
  } catch (const RuntimeError&) {
    rings.clear();
  } catch (const std::bad_alloc&) {
    rings.clear();
  }
  return rings;
}

Outcome BuildRegionsFromLines(const ConversionChoices& choices,
                              const std::vector<std::string>& boundaryLayers,
                              LotsFromLinesSummary* summary, LotModel* lots) {
  LotsFromLinesSummary built;
  LotModel written;
  Outcome outcome = TrapRunTimeErrors(kSurveyTrapTitle, [&] {
    LineWorkDrawing drawing =
        ReadLineWork(choices.drawing, boundaryLayers, choices.reading(), true);
    built.segments = drawing.segments;
    built.arcsChorded = drawing.arcsChorded;
    built.askewEntities = drawing.askew;
    if (drawing.refusal) return Outcome::Refused(std::move(*drawing.refusal));
    if (drawing.lines.empty())
      return Outcome::Refused({"境界線のレイヤに線がありません。", "境界線"});
    LineFaces faces = FacesOfLineWork(drawing.lines);
    PutInRegionOrder(faces.faces);
    WriteRegions(OutputFileNamesFor(choices.output).mif, choices, faces.faces, written);
    built.regionsWritten = static_cast<int>(faces.faces.size());
    PointTable points;
    for (const LineFace& face : faces.faces) {
      for (const PlanePoint& p : face.ring)
        built.beyondSimaPoints |= points.FindOrAdd(p.x, p.y) == 0;
    }
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
    return Outcome::Done();
  });
  if (summary != nullptr) *summary = std::move(built);
  if (lots != nullptr) *lots = std::move(written);
  return outcome;
}

}  // namespace parquill
