#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "convert/region_build_step.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/drawing_preview.h"
#include "dxf/layer_selection.h"

namespace parquill {

// What the report points the user to.
enum class FindingKind {
  kOpenPolyline,     // a boundary polyline passed over: its ring does not close
  kNoLotNumber,      // a region that got no lot number
  kSeveralTexts,     // a region with more than one text inside: the first one won
  kStrayText,        // a text of the text layer inside no region
  kSharedLotNumber,  // one lot number given to more than one region
  kLooseLine,        // lots drawn as lines: a boundary line that bounds no face
  kLotWithHoles,     // lots drawn as lines: a lot with other lots inside it
  kArcsChorded,      // lots drawn as lines: how many arcs were made into chords
  kLinesOnly,        // a boundary layer without LWPOLYLINE: its lots may be drawn as lines
  kMissedText,       // a text of the text layer that the lot-number reader did not record
};

struct ReportFinding {
  FindingKind kind = FindingKind::kOpenPolyline;
  std::string message;  // one Japanese sentence, naming the region when there is one
  double x = 0;         // where to look, in drawing units
  double y = 0;
  int region = 0;       // the region's number (its MID line), 0 when none
  bool located = true;  // false for a count without a place
};

// How a region fared in the attachment.
enum class RegionOutcome { kNumbered, kNoLotNumber, kSeveralTexts };

struct ReportRegion {
  int number = 0;              // 1 for the MIF file's first region
  std::vector<MapPoint> ring;  // as the MIF file holds it, closing point included
  RegionOutcome outcome = RegionOutcome::kNoLotNumber;
  std::string lotNumber;                 // as the MID line has it
  std::vector<std::size_t> textsInside;  // indexes into ConversionReport::texts, drawing order
  MapPoint label;  // the winning text's point, or the middle of the ring's box
};

struct ConversionReport {
  std::vector<ReportRegion> regions;
  std::vector<ChibanText> texts;        // the lot-number texts read, in drawing order
  std::vector<std::size_t> strayTexts;  // indexes of the texts inside no region
  std::vector<ReportFinding> findings;  // open polylines, regions, stray texts, shared numbers
  bool complete = true;  // false when the texts or the MIF file could not be read whole
};

// Tells what happened to each lot of a conversion, from the same readers and
// the same point-in-polygon rule as the attachment, without writing
// anything: the open polylines the region builder passed over (from its
// summary), the regions of the MIF file and the lot-number texts of the text
// layer. A region's lot number is the first text inside it, as in the MID file.
// For lots drawn as lines (`regionsBuilt.fromLines`): the texts as that
// reading takes them, and in place of the open polylines the lines that bound
// no lot, the lots with holes and the count of arcs made into chords.
ConversionReport MakeConversionReport(const std::string& dxfPath, const std::string& mifPath,
                                      const LayerSelection& textSelection, TextEncoding encoding,
                                      const RegionBuildSummary& regionsBuilt);

// One finding as a line: "[kind] message (X x, Y y)", coordinates with three decimals.
std::string FindingLine(const ReportFinding& finding);

// The short name of a finding's kind: "未閉合", "地番なし", "複数文字", "領域外の文字", "地番重複",
// "閉じない線", "穴のある筆", "円弧".
std::string FindingKindName(FindingKind kind);

}  // namespace parquill
