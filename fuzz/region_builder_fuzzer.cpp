// The region builder on any drawing, with every layer and with two layers.
#include "convert/region_build_step.h"
#include "input_files.h"
#include "mif/mif_format.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  std::string drawing = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  for (const LayerSelection& selection :
       {fuzz::SelectionOf({"すべて"}), fuzz::SelectionOf({"0", "筆界"})}) {
    RegionBuildSummary summary;
    Outcome outcome =
        BuildRegions(testing::Choosing(drawing, fuzz::PathOf("out.Sim"), selection), &summary);
    fuzz::CheckOutcome(outcome, "TESSARO");
    fuzz::CheckNoFileLeftOpen(openFiles);
    fuzz::Check(outcome.kind != OutcomeKind::kRefused, "a valid request refused");
    fuzz::Check(summary.regionsWritten >= 0 && summary.openPolylinesSkipped >= 0,
                "a negative count");
  }
  fuzz::Remove("out.MIF");
  return 0;
}
