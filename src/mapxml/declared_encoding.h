#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace parquill::mapxml {

// The encoding the XML declaration at the start of a file names
// ("Shift_JIS"), or "" when there is none.
std::string DeclaredEncoding(std::string_view head);

// Whether `bytes` are UTF-8, strictly (no overlong forms, no surrogates); a
// character cut off at the very end passes unless `complete`.
bool IsUtf8(std::string_view bytes, bool complete);

// Whether a file that declares `declared` ("" for none) is read as UTF-8.
bool ReadAsUtf8(std::string_view declared);

// The sentence for a file read as UTF-8 whose bytes are not.
std::string NotUtf8Sentence(std::string_view declared);

// One sentence when the first bytes of a file (`head`, the whole file when
// `complete`) cannot be in the encoding its declaration names: UTF-8
// declared or implied but other bytes, or Shift_JIS declared but UTF-8.
std::optional<std::string> EncodingMismatch(std::string_view head, bool complete);

}  // namespace parquill::mapxml
