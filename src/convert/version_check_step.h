#pragma once

#include "convert/conversion_choices.h"
#include "dxf/dxf_version.h"

namespace parquill {

// The version check, run whenever a drawing is chosen: the drawing's version
// code and the verdict the status label shows. It alone decides whether a
// drawing can be processed: from R14 on, or with `fromLines` (lots drawn as
// lines) from R12 on; and how its text is read.
DxfVersionVerdict CheckDxfVersion(const ConversionChoices& choices);
// The same verdict on a version code.
DxfVersionVerdict VerdictFor(std::int32_t code, bool fromLines);

}  // namespace parquill
