#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "convert/lots_from_lines_step.h"
#include "geometry/lot_model.h"

namespace parquill {

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
  // has one) and how many LINEs each has: their lots may be drawn as lines.
  struct LinesOnlyLayer {
    std::string layer;
    std::size_t lines = 0;
  };
  std::vector<LinesOnlyLayer> layersWithoutPolylines;
  // More distinct points than the SIMA conversion takes (PointTable::kCapacity):
  // it will refuse, which the window says at once.
  bool beyondSimaPoints = false;
  // With the report: the INSERTs of each selected layer, whose blocks were not read.
  std::map<std::string, std::size_t> insertsNotRead;
  bool endsWithoutEof = false;  // the drawing's last line is not EOF: it may be cut short
  bool fromLines = false;       // the regions were built from lines:
  LotsFromLinesSummary lines;   // what that building found
  // The lots written, as the MIF file holds them: what "属性付加" numbers.
  LotModel lots;
  // The MID and SIMA files of the output name that an earlier run left,
  // removed once the MIF file was written (they belonged to another one), and
  // those that could not be removed.
  std::vector<std::string> partnersRemoved;
  std::vector<std::string> partnersNotRemoved;
  // Polylines of the selected layers left out for an askew extrusion, by layer.
  std::map<std::string, std::size_t> askewPolylines;
  // Regions whose polyline has bulged vertices: written by their vertices,
  // the arcs as chords.
  struct BulgedLot {
    int region = 0;
    double x = 0, y = 0;   // the first vertex
    int bulges = 0;        // the segments drawn as arcs
    double chordArea = 0;  // the area of the region as written
    double arcArea = 0;    // the area the polyline encloses with its arcs
  };
  std::vector<BulgedLot> bulgedLots;
};

// Why a run wrote no region, in the words of its report: the selected layers
// without a closed polyline, with the hint of those drawn with lines. Empty
// when regions were written.
std::string NoRegionsReason(const RegionBuildSummary& built);

// The "面生成" step: writes one MIF region per closed LWPOLYLINE of the
// selected boundary layers in the drawing's ENTITIES section, in drawing
// order; with `fromLines` the regions are built from lines
// (BuildRegionsFromLines). Once the MIF file is written, the MID and SIMA
// files of the same output name are removed. Refusals come back as Outcome::Refused with their
// fixed message; a run-time error as Outcome::Trapped under "TESSARO" (the MIF
// file of an earlier run then stays as it was); a normal end as Outcome::Done.
// `host`, when given, is shown how much of the drawing is read.
Outcome BuildRegions(const ConversionChoices& choices, RegionBuildSummary* summary = nullptr,
                     StepHost* host = nullptr);

}  // namespace parquill
