#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "geometry/line_work_faces.h"
#include "geometry/lot_model.h"

namespace parquill {

// A lot whose face has other lots inside it: MIF holds its outer ring only.
struct LotWithHoles {
  int region = 0;    // its region number (its MID line)
  PlanePoint first;  // the first point of its ring
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
  bool beyondSimaPoints = false;  // more distinct points than the SIMA conversion takes
  // Boundary entities left out for an askew extrusion, by layer.
  std::map<std::string, std::size_t> askewEntities;
};

// The "面生成" step for lots drawn as lines, once BuildRegions has checked the
// choices: reads the boundary lines of the selected layers (their names) (LINE, LWPOLYLINE,
// POLYLINE, ARC, R12 drawings on), cuts them into faces and writes one MIF region per face, in the
// order of their first point (the lowest X, then Y, of the ring), faces that share it in the order
// of their following points (InRegionOrder). Refused (nothing written) for a
// broken drawing, a boundary layer without lines, or more segments than the reading takes; a
// run-time error or a failure of the geometry library is trapped under "TESSARO"; the faces are all
// worked out before the MIF file is written.
// The rings of the lots the boundary lines of the chosen layers enclose, in
// region order, for the map: nothing is written; a drawing that cannot be
// read, or is refused, gives none.
std::vector<std::vector<PlanePoint>> LotsFromLinesPreview(const ConversionChoices& choices);

// Whether ring `a` (clockwise from its lowest-left vertex) comes before ring `b`:
// their vertices compared in turn, X then Y, so that the order does not
// depend on the order the lines are drawn in.
bool InRegionOrder(const std::vector<PlanePoint>& a, const std::vector<PlanePoint>& b);

Outcome BuildRegionsFromLines(const ConversionChoices& choices,
                              const std::vector<std::string>& boundaryLayers,
                              LotsFromLinesSummary* summary, LotModel* lots = nullptr);

}  // namespace parquill
