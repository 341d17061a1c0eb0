// The building of lots from boundary lines on any drawing: every layer as the
// boundary, 地番 as the text layer. Whatever the drawing, the step ends done,
// refused with its message or trapped under "TESSARO", and every region it
// writes is a closed ring of at least four points.
#include "convert/lots_from_lines_step.h"
#include "dxf/line_work_reader.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  std::string drawing = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  LotsFromLinesSummary summary;
  Outcome outcome =
      BuildRegionsFromLines({drawing, fuzz::PathOf("out.Sim"), fuzz::SelectionOf({"すべて"}),
                             fuzz::SelectionOf({"地番"}), TextEncoding::kCp932},
                            &summary);
  fuzz::CheckOutcome(outcome, "TESSARO");
  fuzz::CheckNoFileLeftOpen(openFiles);
  fuzz::Check(summary.segments <= kMostLineSegments || outcome.kind == OutcomeKind::kRefused,
              "more segments than the limit taken");
  fuzz::Check(summary.looseLines.size() <= summary.looseLinesFound, "more loose lines listed");
  fuzz::Check(outcome.done() || summary.regionsWritten == 0, "regions written by a failed step");
  fuzz::Remove("out.MIF");
  return 0;
}
