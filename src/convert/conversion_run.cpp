#include "convert/conversion_run.h"

namespace parquill {

std::vector<Message> ChibanRun::messages() const {
  std::vector<Message> shown = attachment.messages;
  if (conversion)
    shown.insert(shown.end(), conversion->messages.begin(), conversion->messages.end());
  return shown;
}

ChibanRun AttachAndConvert(const ConversionChoices& choices, LotModel& lots, StepHost& host) {
  ChibanRun run;
  run.attachment = AttachChibans(choices, lots, &run.attached, &host);
  if (run.attachment.done()) run.conversion = ConvertToSima(choices, lots, host, &run.converted);
  return run;
}

ConversionRun RunConversion(const ConversionChoices& choices, StepHost& host) {
  ConversionRun run;
  run.regions = BuildRegions(choices, &run.built, &host);
  if (!run.regions.done()) return run;
  run.chibans = AttachAndConvert(choices, run.built.lots, host);
  if (choices.report && run.chibans->conversion && run.chibans->conversion->done()) {
    run.report = MakeConversionReport(run.built, run.chibans->attached, choices.planeZone);
  }
  return run;
}

}  // namespace parquill
