#pragma once

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"

// The conversion of a MIF/MID pair into the SIMA common-format file.
namespace parquill {

struct ConversionSummary {
  int points = 0;          // distinct boundary points written
  int regions = 0;         // lots written
  int lotsWithNumber = 0;  // lots written with a lot number
};

// Reads the MIF file (named after the output name) to number its distinct
// boundary points and its regions' rings, reads the MID file for one lot
// number per region, then writes the SIMA file, X and Y exchanged as chosen.
// A "," in a lot number becomes "，" in the SIMA file, whose records it would
// cut. The host is let through once at the start, once after the SIMA file is
// opened and once per region, after ShowProgress(region). Returns Done,
// Refused with the message to show, or Trapped (title "Brantole") for a
// run-time error. A SIMA file of an earlier run changes only when the step is
// done. `summary` is filled on Done.
Outcome ConvertMifToSima(const ConversionChoices& choices, StepHost& host,
                         ConversionSummary* summary = nullptr);

}  // namespace parquill
