#include "convert/version_check_step.h"

#include "dxf/line_work_reader.h"

namespace parquill {

DxfVersionVerdict CheckDxfVersion(const std::string& drawingPath, bool fromLines) {
  DxfVersionVerdict verdict = ClassifyDxfVersion(survey::DXFVer(drawingPath));
  if (fromLines && IsLineWorkDxfVersion(verdict.code)) {
    verdict.processable = true;
    verdict.shownRed = false;
  }
  return verdict;
}

}  // namespace parquill
