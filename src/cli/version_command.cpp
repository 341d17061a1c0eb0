#include <iostream>

#include "cli/cli_support.h"
#include "convert/version_check_step.h"

namespace parquill::cli {

// parquill-cli version DRAWING: the status label's verdict on the drawing.
int RunVersionCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("version には図面ファイルを 1 つ指定してください。");
  ConversionChoices choices;
  choices.drawing = args[0];
  const DxfVersionVerdict verdict = CheckDxfVersion(choices);
  PrintLine(std::cout, DxfVersionCaption(verdict));
  return verdict.processable ? kExitDone : kExitRefused;
}

}  // namespace parquill::cli
