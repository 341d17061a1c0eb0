#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "base/text_codec.h"
#include "convert/lots_from_lines_step.h"
#include "dxf/layer_selection.h"

namespace parquill {

// What the "面生成" step reads from the window.
struct RegionBuildRequest {
  std::string dxfPath;       // the input drawing
  std::string outputName;    // the SIMA file's name; the MIF file is named after it
  LayerSelection selection;  // the boundary layers chosen in the layer list
  TextEncoding encoding = TextEncoding::kCp932;  // of the drawing (from its version code)
  int planeZone = 0;  // the plane rectangular zone the drawing is in, 0 for none
  // Lots drawn as lines: the faces the boundary lines enclose are the
  // regions, in the order of the lot-number texts of `textSelection`.
  bool fromLines = false;
  LayerSelection textSelection = {};
};

// A polyline of a selected layer that was passed over because its ring does
// not close: its layer and its first vertex.
struct OpenPolyline {
  std::string layer;
  double x = 0;
  double y = 0;
  friend bool operator==(const OpenPolyline&, const OpenPolyline&) = default;
};

// What a run wrote, for the caller's information.
struct RegionBuildSummary {
  // The most open polylines listed one by one; the rest are only counted.
  static constexpr std::size_t kOpenPolylinesListed = 100'000;

  int regionsWritten = 0;
  int openPolylinesSkipped = 0;             // accepted polylines whose ring does not close
  std::vector<OpenPolyline> openPolylines;  // the first kOpenPolylinesListed of them
  // Selected boundary layers without any LWPOLYLINE ("すべて" when no layer
  // has one): their lots may be drawn as lines.
  std::vector<std::string> layersWithoutPolylines;
  bool fromLines = false;      // the regions were built from lines:
  LotsFromLinesSummary lines;  // what that building found
};

// The "面生成" step: writes one MIF region per closed LWPOLYLINE of the
// selected layers in the drawing's ENTITIES section, in drawing order.
// Refusals come back as Outcome::Refused with their fixed message; a run-time
// error as Outcome::Trapped under "TESSARO" (the MIF file of an earlier
// run then stays as it was); a normal end as Outcome::Done. With `fromLines` the
// regions are built from lines (BuildRegionsFromLines).
// `host`, when given, is shown how much of the drawing is read.
Outcome BuildRegions(const RegionBuildRequest& request, RegionBuildSummary* summary = nullptr,
                     StepHost* host = nullptr);

}  // namespace parquill
