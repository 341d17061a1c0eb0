#pragma once

#include <cstdint>
#include <string>

#include "text/step_outcome.h"
#include "text/text_codec.h"

namespace parquill {

// The verdict on a drawing's version code, as the status label shows it.
struct DxfVersionVerdict {
  std::int32_t code = 0;
  std::string name;          // "GXIII", "R12J", "R13J", "R14J" or "2000"
  bool shownRed = false;     // red for the named old versions, blue otherwise
  bool processable = false;  // decided by the code alone: greater than 13
};

DxfVersionVerdict ClassifyDxfVersion(std::int32_t code);

// Only drawings of a version code above 13 can be processed.
constexpr bool IsProcessableDxfVersion(std::int32_t code) { return code > 13; }

// The status label's text: "DXFのバージョンは、" + name + "です。", followed
// by "処理不可能です。" for a version that cannot be processed.
std::string DxfVersionCaption(const DxfVersionVerdict& verdict);

// The refusal of the layer reader for a version that cannot be processed.
Message DxfVersionRefusal(const std::string& versionName);

// How the drawing's text is encoded: UTF-8 from DXF 2007 on, else CP932.
TextEncoding DxfTextEncoding(std::int32_t code);

}  // namespace parquill
