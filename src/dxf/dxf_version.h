#pragma once

#include <cstdint>
#include <string>

#include "base/step_outcome.h"
#include "base/text_codec.h"

namespace parquill {

// The verdict on a drawing's version code, as the status label shows it.
struct DxfVersionVerdict {
  std::int32_t code = 0;
  std::string name;          // "R14J", "2000", "2018", "R12J", "不明"...
  bool shownRed = false;     // red for the versions that cannot be processed
  bool processable = false;  // decided by the code alone: greater than 13
  // How its text is read: by its version (DxfTextEncoding), or UTF-8 when it
  // is written so against its header (WrittenInUtf8AgainstHeader).
  TextEncoding encoding = TextEncoding::kCp932;
  bool utf8AgainstHeader = false;
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

// Whether a drawing declaring ANSI_932 or no code page is written in UTF-8:
// the non-ASCII bytes of its first megabyte all form UTF-8 characters, and
// a few of them at least.
bool WrittenInUtf8AgainstHeader(const std::string& path);

// Whether the drawing's last line is not EOF, as a drawing written whole ends:
// it may be cut short. Its last bytes only are looked at; false for a file
// that cannot be read.
bool EndsWithoutEof(const std::string& path);

// The version code of a DXF file: 2 (AC1002), 3 (AC1003), 9 (AC1004),
// 10 (AC1006), 12 (R12, AC1009), 13 (R13, AC1012), 14 (R14, AC1014),
// 2000 (AC1015), 2004 (AC1018), 2007 (AC1021), 2010 (AC1024), 2013 (AC1027),
// 2018 (AC1032); 0 for any other version string, a drawing without
// $ACADVER, an empty path or a file that cannot be read. Never throws.
std::int32_t ReadDxfVersionCode(const std::string& path);

}  // namespace parquill
