#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "base/text_codec.h"
#include "dxf/layer_selection.h"
#include "geometry/line_work_faces.h"

namespace parquill {

// What the step that builds the lots from boundary lines reads from the
// window: the same fields as the region builder's, and the text layer, whose
// lot-number texts set the order of the regions.
struct LotsFromLinesRequest {
  std::string dxfPath;
  std::string outputName;            // the SIMA file's name; the MIF file is named after it
  LayerSelection boundarySelection;  // the boundary layers
  LayerSelection textSelection;      // the one lot-number layer
  TextEncoding encoding = TextEncoding::kCp932;
  int planeZone = 0;  // the plane rectangular zone the drawing is in, 0 for none
};

// A lot whose face has other lots inside it: MIF holds its outer ring only.
struct LotWithHoles {
  int region = 0;   // its region number (its MID line)
  LinePoint first;  // the first point of its ring
  int holes = 0;
};

struct LotsFromLinesSummary {
  // The most lines that bound no face listed one by one; the rest are only counted.
  static constexpr std::size_t kLooseLinesListed = 100'000;

  int regionsWritten = 0;
  std::size_t segments = 0;  // boundary segments read, chords of arcs included
  int arcsChorded = 0;       // arcs and bulged polyline segments made into chords
  std::size_t looseLinesFound = 0;
  std::vector<LooseLine> looseLines;  // the first kLooseLinesListed of them
  std::vector<LotWithHoles> lotsWithHoles;
};

// The "面生成" step for lots drawn as lines (the window's and the command
// line's choice; the attachment then reads the texts the same way,
// AttachRequest::lotsFromLines, and so does the report, given the summary): reads the boundary
// lines of the selected layers (LINE, LWPOLYLINE, POLYLINE, ARC, R12 drawings on), cuts them into
// faces and writes one MIF region per face: the faces holding a lot-number text first, in the
// drawing order of their first text, then the others by the lowest X, then Y, of their first point.
// Refused (nothing written) for a broken drawing, a boundary layer without lines, or more segments
// than the reading takes; a run-time error or a failure of the geometry library is trapped under
// "TESSARO"; the faces are all worked out before the MIF file is opened.
Outcome BuildRegionsFromLines(const LotsFromLinesRequest& request,
                              LotsFromLinesSummary* summary = nullptr);

}  // namespace parquill
