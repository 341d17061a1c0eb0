#pragma once

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "geometry/lot_model.h"

// The SIMA common-format file of a drawing's lots.
namespace parquill {

struct ConversionSummary {
  int points = 0;          // distinct boundary points written
  int regions = 0;         // lots written
  int lotsWithNumber = 0;  // lots written with a lot number
};

// Numbers the distinct boundary points of the lots' exterior rings (within
// the tolerance, at most PointTable::kCapacity), then writes the SIMA file,
// X and Y exchanged as chosen. Refused, with nothing written, when the points
// or the lots (kSimaLotCapacity) are more than the file takes. The host is
// let through once at the start, once after the SIMA file is opened and once
// per lot, after ShowProgress(lot). Returns Done, Refused with the message to
// show, or Trapped (title "Brantole") for a run-time error. A SIMA file of an
// earlier run changes only when the step is done. `summary` is filled on Done.
Outcome ConvertToSima(const ConversionChoices& choices, LotModel& lots, StepHost& host,
                      ConversionSummary* summary = nullptr);

}  // namespace parquill
