// The attribute attachment on any drawing and MIF file: the input is the
// drawing, a separator line and the MIF file.
#include "convert/attachment_step.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  auto [drawingBytes, mifBytes] = fuzz::SplitInput(fuzz::Bytes(data, size));
  std::string drawing = fuzz::WriteInput("drawing.dxf", drawingBytes);
  fuzz::WriteInput("out.MIF", mifBytes);
  AttachSummary summary;
  Outcome outcome = AttachChibans(
      testing::Choosing(drawing, fuzz::PathOf("out.Sim"), {}, fuzz::SelectionOf({"地番"})),
      &summary);
  fuzz::CheckOutcome(outcome, "TESSARO");
  fuzz::CheckNoFileLeftOpen(openFiles);
  fuzz::Check(summary.regionsWithNumber <= summary.regions, "more numbered regions than regions");
  fuzz::Remove("out.MID");
  return 0;
}
