// The building of lots from boundary lines on any drawing: every layer as the
// boundary. Whatever the drawing, the step ends done,
// refused with its message or trapped under "TESSARO", and every region it
// writes is a closed ring of at least four points.
#include "convert/region_build_step.h"
#include "dxf/line_work_reader.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  std::string drawing = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  ConversionChoices choices = testing::Choosing(
      drawing, fuzz::PathOf("out.Sim"), fuzz::SelectionOf({"すべて"}), fuzz::SelectionOf({"地番"}));
  choices.fromLines = true;
  RegionBuildSummary built;
  Outcome outcome = BuildRegions(choices, &built);
  const LotsFromLinesSummary& summary = built.lines;
  fuzz::CheckOutcome(outcome, "TESSARO");
  fuzz::CheckNoFileLeftOpen(openFiles);
  fuzz::Check(summary.segments <= kMostLineSegments || outcome.kind == OutcomeKind::kRefused,
              "more segments than the limit taken");
  fuzz::Check(summary.looseLines.size() <= summary.looseLinesFound, "more loose lines listed");
  fuzz::Check(outcome.done() || summary.regionsWritten == 0, "regions written by a failed step");
  fuzz::Remove("out.MIF");
  return 0;
}
