#include "convert/version_check_step.h"

namespace parquill {

DxfVersionVerdict CheckDxfVersion(const std::string& drawingPath) {
  return ClassifyDxfVersion(survey::DXFVer(drawingPath));
}

}  // namespace parquill
