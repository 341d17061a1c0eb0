#pragma once

#include <string>

#include "dxf/dxf_version.h"

namespace parquill {

// The version check, run whenever a drawing is chosen: the drawing's version
// code and the verdict the status label shows (and the layer list step
// refuses by).
DxfVersionVerdict CheckDxfVersion(const std::string& drawingPath);

}  // namespace parquill
