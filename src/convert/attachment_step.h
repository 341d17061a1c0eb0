#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "geometry/chiban_text_index.h"
#include "geometry/lot_model.h"
#include "geometry/plane_point.h"

namespace parquill {

// How a region fared in the attachment.
enum class RegionOutcome { kNumbered, kNoChiban, kSeveralTexts };

// One region as the attachment found it (kept for the report).
struct ReportRegion {
  int number = 0;                // its MID line; 1 for the MIF file's first region
  std::vector<PlanePoint> ring;  // as the MIF file holds it, closing point included
  RegionOutcome outcome = RegionOutcome::kNoChiban;
  std::string chiban;                    // as the MID line has it
  std::vector<std::size_t> textsInside;  // indexes into AttachSummary::texts, drawing order
  PlanePoint label;  // the winning text's point, or the middle of the ring's box
};

struct AttachSummary {
  int regions = 0;            // MID lines written
  int regionsWithNumber = 0;  // of them, the ones that got a lot number
  int textCount = 0;          // lot-number texts read from the drawing
  // Kept only when the report is chosen:
  std::vector<ChibanText> texts;         // the lot-number texts read, in drawing order
  std::vector<ReportRegion> regionList;  // every region, in MIF order
  // The texts a reading of the drawing's entities finds on the lot-number
  // layer (closed polylines only): those the lot-number reader did not record
  // as they stand lost their lots' numbers.
  std::vector<ChibanText> textsAsEntities;
  std::vector<PlanePoint> centresAsEntities;  // their centres (DxfEntity::TextCentre)
  std::size_t attribsNotRead = 0;       // ATTRIBs of the lot-number layer that reading passed over
  std::size_t blockTextsNotRead = 0;    // and TEXTs and MTEXTs its INSERTs place
  std::size_t askewTexts = 0;           // lot-number texts left out for an askew extrusion
  std::string chibanLayer;              // the lot-number layer
  std::vector<int> regionsBeyondCp932;  // regions whose lot number lost characters to "?"
  bool utf8AgainstHeader = false;       // as the choices tell
  bool millimetres = false;             // as the choices tell
  bool textsWhole = true;               // false when a reading of the texts broke off
  bool endsWithoutEof = false;          // the drawing's last line is not EOF: it may be cut short
};

// The first half of "属性付加": reads the lot-number texts of the chosen
// layer (for lots drawn as lines as that reading takes them, ReadLineWorkTexts),
// gives each of the lots the region build made the lot number of the first
// text (in drawing order) that lies inside it or on its boundary, and writes
// the MID file, one line per lot: its number, "," and its lot number. A lot
// of more than kRingCapacity points raises error 9.
//
// Refused: the text reader refused (its messages) and nothing was touched.
// Trapped: a run-time error ended the step ("TESSARO"); no MID file is
// written (an earlier one stays). Done: the MID file is complete and the
// caller goes on with the SIMA conversion. A run-time error inside the text
// reader is shown (its message comes first) and the step carries on with the
// texts read. `host`, when given, is shown how much of the drawing the texts'
// reading has read.
Outcome AttachChibans(const ConversionChoices& choices, LotModel& lots,
                      AttachSummary* summary = nullptr, StepHost* host = nullptr);

}  // namespace parquill
