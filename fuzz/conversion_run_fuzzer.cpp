// The whole conversion of any drawing: the regions of 筆界, then the lot
// numbers of 地番 and the SIMA file from the lots the region build made.
#include "convert/conversion_run.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  const std::string drawing = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  ConversionChoices choices = testing::Choosing(
      drawing, fuzz::PathOf("out.Sim"), fuzz::SelectionOf({"筆界"}), fuzz::SelectionOf({"地番"}));
  choices.swapXY = size % 2 == 0;
  StepHost host;
  const ConversionRun run = RunConversion(choices, host);
  fuzz::CheckOutcome(run.regions, "TESSARO");
  if (run.chibans) {
    fuzz::CheckOutcome(run.chibans->attachment, "TESSARO");
    if (run.chibans->conversion) fuzz::CheckOutcome(*run.chibans->conversion, "Brantole");
    fuzz::Check(run.chibans->attached.regionsWithNumber <= run.chibans->attached.regions,
                "more numbered regions than regions");
  }
  fuzz::CheckNoFileLeftOpen(openFiles);
  for (const char* file : {"out.MIF", "out.MID", "out.Sim"}) fuzz::Remove(file);
  return 0;
}
