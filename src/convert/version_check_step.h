#pragma once

#include <string>

#include "dxf/dxf_version.h"

namespace parquill {

// The version check, run whenever a drawing is chosen: the drawing's version
// code and the verdict the status label shows (and the layer list step
// refuses by).
// With `fromLines` (lots drawn as lines) drawings from R12 on are processable.
DxfVersionVerdict CheckDxfVersion(const std::string& drawingPath, bool fromLines = false);

}  // namespace parquill
