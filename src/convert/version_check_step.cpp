#include "convert/version_check_step.h"

#include "dxf/line_work_reader.h"

namespace parquill {

DxfVersionVerdict CheckDxfVersion(const ConversionChoices& choices) {
  return VerdictFor(ReadDxfVersionCode(choices.drawing), choices.fromLines);
}

DxfVersionVerdict VerdictFor(std::int32_t code, bool fromLines) {
  DxfVersionVerdict verdict = ClassifyDxfVersion(code);
  if (fromLines && IsLineWorkDxfVersion(verdict.code)) {
    verdict.processable = true;
    verdict.shownRed = false;
  }
  return verdict;
}

}  // namespace parquill
