// The SIMA conversion on any MIF/MID pair: the input is the MIF file, a
// separator line and the MID file. The first byte of the MID part, when odd,
// leaves X and Y as they are.
#include "convert/sima_conversion_step.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  auto [mifBytes, midBytes] = fuzz::SplitInput(fuzz::Bytes(data, size));
  fuzz::WriteInput("out.MIF", mifBytes);
  fuzz::WriteInput("out.MID", midBytes);
  ConversionChoices choices =
      testing::Choosing(fuzz::PathOf("drawing.dxf"), fuzz::PathOf("out.Sim"));
  choices.swapXY = midBytes.empty() || (midBytes.front() & 1) == 0;
  StepHost host;
  ConversionSummary summary;
  Outcome outcome = ConvertMifToSima(choices, host, &summary);
  fuzz::CheckOutcome(outcome, "Brantole");
  fuzz::CheckNoFileLeftOpen(openFiles);
  fuzz::Check(summary.lotsWithNumber <= summary.regions, "more numbered lots than lots");
  fuzz::Remove("out.Sim");
  return 0;
}
