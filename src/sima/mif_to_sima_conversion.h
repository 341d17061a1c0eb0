#pragma once

#include <exception>
#include <optional>
#include <string>

#include "sima/mif_mid_reader.h"
#include "sima/point_table.h"
#include "geometry/search_strategy.h"
#include "base/step_outcome.h"

// The conversion of a MIF/MID pair into the SIMA common-format file.
namespace parquill {

struct ConversionRequest {
  std::string dxfPath;     // the input drawing; only checked for emptiness and for the same file
  std::string outputName;  // the SIMA file; the MIF/MID pair is named after it
  SearchStrategy search = SearchStrategy::kIndexed;  // of the point table
};

struct ConversionSummary {
  int points = 0;          // distinct boundary points written
  int regions = 0;         // lots written
  int lotsWithNumber = 0;  // lots written with a lot number
};

// Reads the MIF file (named after the output name) to number its distinct
// boundary points and count its regions, reads the MID file for one lot number
// per region, then reads the MIF file again and writes the SIMA file.
// The host is let through once at the start, once after the files of the
// writing are opened and once per region, after ShowProgress(region); the swap
// box is read anew for every point line. Returns Done, Refused with the
// message to show, or Trapped (title "Brantole") for a run-time error. The
// SIMA file is not touched before the writing starts; after a failure during
// the writing it ends with the last complete line. `summary` is filled on Done.
Outcome ConvertMifToSima(const ConversionRequest& request, StepHost& host,
                         ConversionSummary* summary = nullptr);

// The first reading of the MIF file (its distinct points and its regions),
// made ahead of the conversion by a caller that has other work meanwhile. It
// only reads the MIF file and keeps what the reading would have ended with:
// the table's overflow message or the error it raised.
struct PreparedMifReading {
  std::optional<PointTable> points;  // empty when the table could not be made
  MifReading reading;
  std::optional<Message> refusal;  // the point table overflowed
  std::exception_ptr error;        // what the reading raised
};

// Reads the MIF file named after `request.outputName` as the conversion's
// first reading does, with `host` for the swap box. Never throws.
// With `growing`, the MIF file is read while the region builder still writes it.
// With `written`, the regions are taken as the region builder writes them,
// and the file is read only when the builder gives them up.
PreparedMifReading PrepareMifReading(const ConversionRequest& request, StepHost& host,
                                     GrowingFile* growing = nullptr,
                                     const WrittenRegions* written = nullptr);

// The conversion with its first reading already made (by PrepareMifReading for
// the same request, on the MIF file as it is now, with a swap box that has not
// changed since). Gives exactly what the conversion above gives: its checks
// come first, then the prepared reading's message or error where the reading
// would have given it.
Outcome ConvertMifToSima(const ConversionRequest& request, StepHost& host,
                         ConversionSummary* summary, PreparedMifReading&& prepared);

}  // namespace parquill
