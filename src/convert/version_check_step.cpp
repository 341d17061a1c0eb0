#include "convert/version_check_step.h"

#include "dxf/line_work_reader.h"

namespace parquill {

DxfVersionVerdict CheckDxfVersion(const ConversionChoices& choices) {
  DxfVersionVerdict verdict = VerdictFor(ReadDxfVersionCode(choices.drawing), choices.fromLines);
  if (verdict.encoding == TextEncoding::kCp932 && WrittenInUtf8AgainstHeader(choices.drawing)) {
    verdict.encoding = TextEncoding::kUtf8;
    verdict.utf8AgainstHeader = true;
  }
  return verdict;
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
