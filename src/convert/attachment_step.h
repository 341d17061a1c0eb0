#pragma once

#include <string>

#include "base/step_outcome.h"
#include "base/text_codec.h"
#include "dxf/layer_selection.h"
#include "geometry/search_strategy.h"

namespace parquill {

struct AttachRequest {
  std::string dxfPath;     // the input-name field
  std::string outputName;  // the output-name field: the MIF and MID files lie beside it
  LayerSelection selection;
  TextEncoding encoding = TextEncoding::kCp932;      // of the drawing
  SearchStrategy search = SearchStrategy::kIndexed;  // of the texts for each region
  // Lots drawn as lines: the texts read as that reading takes them
  // (ReadLineWorkTexts: R12 drawings, escapes decoded) rather than by ReadChibanTexts.
  bool lotsFromLines = false;
};

struct AttachSummary {
  int regions = 0;            // MID lines written
  int regionsWithNumber = 0;  // of them, the ones that got a lot number
  int texts = 0;              // lot-number texts read from the drawing
};

// The first half of "属性付加": reads the lot-number texts of the selected text
// layer, reads the regions of the MIF file back and writes the MID file, one
// line per region: its number, "," and the lot number of the first text (in
// drawing order) that lies inside it or on its boundary.
//
// Refused: the text reader refused (its messages) and nothing was touched.
// Trapped: a run-time error ended the step ("TESSARO"); no MID file is
// written (an earlier one stays). Done: the MID file is complete and the caller goes on
// with the SIMA conversion. A run-time error inside the text reader is shown
// (its message comes first) and the step carries on with the texts read.
// `host`, when given, is shown how much of the drawing the texts' reading has read.
Outcome AttachLotNumbers(const AttachRequest& request, AttachSummary* summary = nullptr,
                         StepHost* host = nullptr);

}  // namespace parquill
