#pragma once

#include <optional>

#include "base/step_outcome.h"
#include "convert/attachment_step.h"
#include "convert/conversion_choices.h"
#include "convert/conversion_report.h"
#include "convert/region_build_step.h"
#include "convert/sima_conversion_step.h"

// The conversion as its steps follow one another.
namespace parquill {

// "属性付加" on the lots the region build made: the attachment, then, when it
// is done, the SIMA conversion.
struct ChibanRun {
  Outcome attachment;
  AttachSummary attached;
  std::optional<Outcome> conversion;  // run when the attachment was done
  ConversionSummary converted;

  // Every box of the two steps, in the order shown.
  std::vector<Message> messages() const;
};
ChibanRun AttachAndConvert(const ConversionChoices& choices, LotModel& lots, StepHost& host);

// The whole job, from the drawing to the SIMA file: the region build, then
// "属性付加", and the report when it is chosen.
struct ConversionRun {
  Outcome regions;
  RegionBuildSummary built;
  std::optional<ChibanRun> chibans;        // run when the regions were built
  std::optional<ConversionReport> report;  // made when chosen and every step was done
};
ConversionRun RunConversion(const ConversionChoices& choices, StepHost& host);

}  // namespace parquill
