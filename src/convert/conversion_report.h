#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "convert/attachment_step.h"
#include "convert/region_build_step.h"

namespace parquill {

// What the report points the user to.
enum class FindingKind {
  kOpenPolyline,  // a boundary polyline passed over: its ring does not close
  kNoChiban,      // a region that got no lot number
  kSeveralTexts,  // a region with more than one text inside: the first one won
  kStrayText,     // a text of the text layer inside no region
  kSharedChiban,  // one lot number given to more than one region
  kLooseLine,     // lots drawn as lines: a boundary line that bounds no face
  kLotWithHoles,  // lots drawn as lines: a lot with other lots inside it
  kArcsChorded,   // lots drawn as lines: how many arcs were made into chords
  kLinesOnly,     // a boundary layer without LWPOLYLINE: its lots may be drawn as lines
  kMissedText,    // a text of the text layer that the lot-number reader did not record
  kFarFromZone,   // the lots lie too far from the chosen zone's origin for that zone
  kDrawingCut,    // the drawing's last line is not EOF
  kEncoding,      // UTF-8 against the header, a lot number beyond Shift-JIS
  kUnit,          // lots too wide for metres: the drawing seems to be in millimetres
  kTextPlace,     // a lot number whose text's middle lies in another region than its point
  kBlocks,        // closed polylines: INSERTs and ATTRIBs of the chosen layers left unread
  kExtrusion,     // entities of the chosen layers left out: their extrusion is askew (3D)
};

struct ReportFinding {
  FindingKind kind = FindingKind::kOpenPolyline;
  std::string message;  // one Japanese sentence, naming the region when there is one
  double x = 0;         // where to look, in drawing units
  double y = 0;
  int region = 0;       // the region's number (its MID line), 0 when none
  bool located = true;  // false for a count without a place
};

struct ConversionReport {
  std::vector<ReportRegion> regions;
  std::vector<ChibanText> texts;        // the lot-number texts read, in drawing order
  std::vector<std::size_t> strayTexts;  // indexes of the texts inside no region
  std::vector<ReportFinding> findings;  // open polylines, regions, stray texts, shared numbers
  bool complete = true;  // false when the texts or the MIF file could not be read whole
};

// Tells what happened to each lot of a conversion, from what its steps
// found (the attachment run with the report chosen): the open polylines the
// region builder passed over and the layers it found without polylines (or,
// for lots drawn as lines, the lines that bound no lot, the lots with holes
// and the arcs made into chords), the regions and their texts, the texts
// inside no region, the lot numbers given to several regions, and the texts
// the lot-number reader did not record as they stand.
// With a plane zone chosen, lots farther than kFarFromZoneOrigin from its
// origin are pointed out: the zone is most likely not the drawing's.
inline constexpr double kFarFromZoneOrigin = 300'000;  // metres
ConversionReport MakeConversionReport(const RegionBuildSummary& built,
                                      const AttachSummary& attached, int planeZone = 0);

// The finding of a drawing whose last line is not EOF.
ReportFinding DrawingCutFinding();

// One finding as a line: "[kind] message (X x, Y y)", coordinates with three
// decimals, bytes no character stands for written "\xHH".
std::string FindingLine(const ReportFinding& finding);

// The short name of a finding's kind: "未閉合", "地番なし", "複数文字", "領域外の文字", "地番重複",
// "閉じない線", "穴のある筆", "円弧".
std::string FindingKindName(FindingKind kind);

}  // namespace parquill
