#include "convert/conversion_run.h"

namespace parquill {

std::vector<Message> LotNumberRun::messages() const {
  std::vector<Message> shown = attachment.messages;
  if (conversion) shown.insert(shown.end(), conversion->messages.begin(), conversion->messages.end());
  return shown;
}

LotNumberRun AttachAndConvert(const ConversionChoices& choices, StepHost& host) {
  LotNumberRun run;
  run.attachment = AttachLotNumbers(choices, &run.attached, &host);
  if (run.attachment.done()) run.conversion = ConvertMifToSima(choices, host, &run.converted);
  return run;
}

ConversionRun RunConversion(const ConversionChoices& choices, StepHost& host) {
  ConversionRun run;
  run.regions = BuildRegions(choices, &run.built, &host);
  if (!run.regions.done()) return run;
  run.lotNumbers = AttachAndConvert(choices, host);
  if (choices.report && run.lotNumbers->conversion && run.lotNumbers->conversion->done()) {
    run.report = MakeConversionReport(run.built, run.lotNumbers->attached);
  }
  return run;
}

}  // namespace parquill
