#pragma once

#include <string>
#include <string_view>

namespace parquill {

// The encodings of the files the system reads and writes. Text files are in
// the Japanese ANSI code page (CP932, Shift-JIS with the Windows extensions);
// drawings of DXF 2007 and later are in UTF-8.
enum class TextEncoding { kCp932, kUtf8 };

// Whether every byte of `s` is below 0x80 (the same in both encodings).
bool IsAscii(std::string_view s);

// Decodes bytes into the core's strings (UTF-8). Lossless: a byte that is not
// valid in the encoding, or a character that would not come back as the same
// bytes, is kept as an escape that EncodeText turns back into the same bytes.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// Encodes a core string for a file. Escaped bytes come out as they came in; a
// character the encoding cannot hold is written as "?".
std::string EncodeText(std::string_view text, TextEncoding encoding);
// The same, appended to `out`.
void AppendEncodedText(std::string& out, std::string_view text, TextEncoding encoding);

// How many characters of `text` EncodeText writes as "?" in `encoding`
// (those it cannot hold; a "?" of the text itself is no loss).
int CharactersWrittenAsQuestionMarks(std::string_view text, TextEncoding encoding);

// The same string for a terminal: every escaped byte written "\xHH" (two
// upper-case hex digits), so that the text is valid UTF-8.
std::string ShowEscapedBytes(std::string_view text);

}  // namespace parquill
