#include <iostream>

#include "base/text_codec.h"
#include "cli/cli_support.h"
#include "convert/layer_list_step.h"
#include "convert/version_check_step.h"

namespace parquill::cli {

// parquill-cli layers DRAWING [--from-lines]: the layer list as "レイア読み込み"
// fills it; with --from-lines, as lots drawn as lines read it (R12 on). A byte
// the drawing's encoding does not hold is shown as \xHH: the name as printed
// is what --boundary and --text take.
int RunLayersCommand(const std::vector<std::string>& args) {
  const bool fromLines = args.size() == 2 && args[1] == "--from-lines";
  if (args.size() != 1 && !fromLines) {
    return UsageError("layers には図面ファイルを 1 つ指定してください。");
  }
  ConversionChoices choices;
  choices.drawing = args[0];
  choices.fromLines = fromLines;
  const DxfVersionVerdict verdict = CheckDxfVersion(choices);
  choices.ReadTextAs(verdict);
  LayerNameList list;
  StepHost host;
  const Outcome outcome = ReadLayerList(choices, verdict, list, host);
  for (const std::string& item : list.items) PrintLine(std::cout, ShowEscapedBytes(item));
  return ReportOutcome(outcome);
}

}  // namespace parquill::cli
