#pragma once

#include <string>
#include <string_view>

#include "base/text_codec.h"

namespace parquill {

// Decodes the character escapes a drawing saved on another code page carries
// for the characters it cannot hold: "\U+XXXX" (a Unicode character, four hex
// digits) and "\M+1XXXX" (a Japanese character, its two Shift-JIS bytes in
// hex). Any other "\M+n" form, a code that names no character and a cut
// escape stay as written. Layer names and lot numbers go through this once
// decoded from the drawing's encoding.
std::string DecodeDxfEscapes(std::string_view text);

// A layer name or a TEXT string of the drawing: decoded from the drawing's
// encoding, then its escapes.
std::string DecodeDxfText(std::string_view bytes, TextEncoding encoding);

}  // namespace parquill
