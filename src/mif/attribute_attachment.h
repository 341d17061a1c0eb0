#pragma once

#include <memory>
#include <string>

#include "dxf/chiban_text_reader.h"
#include "dxf/layer_selection.h"
#include "geometry/chiban_text_index.h"
#include "mif/written_regions.h"
#include "geometry/search_strategy.h"
#include "base/step_outcome.h"
#include "base/text_codec.h"

namespace parquill {

struct AttachRequest {
  std::string dxfPath;     // the input-name field
  std::string outputName;  // the output-name field: the MIF and MID files lie beside it
  LayerSelection selection;
  TextEncoding encoding = TextEncoding::kCp932;      // of the drawing
  SearchStrategy search = SearchStrategy::kIndexed;  // of the texts for each region
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
// Trapped: a run-time error ended the step ("TESSARO"); the MID file keeps
// the lines written. Done: the MID file is complete and the caller goes on
// with the SIMA conversion. A run-time error inside the text reader is shown
// (its message comes first) and the step carries on with the texts read.
Outcome AttachLotNumbers(const AttachRequest& request, AttachSummary* summary = nullptr);

// The same step with the texts already read by ReadChibanTexts (for the same
// drawing, selection and encoding), for a caller that read them while the
// regions were being built. Gives exactly what the step above gives.
Outcome AttachLotNumbers(const AttachRequest& request, ChibanTextRead read,
                         AttachSummary* summary = nullptr);

// Lot-number texts read ahead with their search index already built (the
// index needs the texts to stay where they are, so both live on the heap).
class PreparedChibanTexts {
 public:
  PreparedChibanTexts(ChibanTextRead read, SearchStrategy search);
  const ChibanTextRead& read() const { return *read_; }
  ChibanTextIndex& index() { return *index_; }

 private:
  std::unique_ptr<ChibanTextRead> read_;
  std::unique_ptr<ChibanTextIndex> index_;
};

// The same step with texts prepared for the request's search strategy. With
// `written` complete (the region builder kept every region of the MIF file it
// just wrote), the regions are taken from it rather than read from the file.
Outcome AttachLotNumbers(const AttachRequest& request, PreparedChibanTexts texts,
                         AttachSummary* summary = nullptr, const WrittenRegions* written = nullptr);

}  // namespace parquill
