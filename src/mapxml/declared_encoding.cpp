#include "mapxml/declared_encoding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace parquill::mapxml {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

bool IsUtf8Name(std::string_view name) {
  const std::string lowered = Lowered(name);
  return lowered == "utf-8" || lowered == "utf8";
}

// The names Shift-JIS goes by in XML declarations (IANA and Windows).
bool IsShiftJisName(std::string_view name) {
  static constexpr std::array<std::string_view, 8> kNames = {
      "shift_jis", "shift-jis", "sjis", "x-sjis", "cp932", "windows-31j", "ms_kanji", "csshiftjis"};
  const std::string lowered = Lowered(name);
  return std::find(kNames.begin(), kNames.end(), lowered) != kNames.end();
}

}  // namespace

std::string DeclaredEncoding(std::string_view head) {
  if (head.starts_with(kByteOrderMark)) head.remove_prefix(kByteOrderMark.size());
  if (!head.starts_with("<?xml")) return "";
  head = head.substr(0, head.find("?>"));
  const std::size_t at = head.find("encoding");
  if (at == std::string_view::npos) return "";
  std::size_t i = head.find_first_not_of(" \t\r\n", at + 8);
  if (i == std::string_view::npos || head[i] != '=') return "";
  i = head.find_first_not_of(" \t\r\n", i + 1);
  if (i == std::string_view::npos || (head[i] != '"' && head[i] != '\'')) return "";
  const std::size_t end = head.find(head[i], i + 1);
  if (end == std::string_view::npos) return "";
  return std::string(head.substr(i + 1, end - i - 1));
}

bool IsUtf8(std::string_view bytes, bool complete) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    std::uint32_t code = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
      code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      code = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      code = b & 0x07;
    } else {
      return false;
    }
    for (int k = 1; k < length; ++k) {
      if (i + k == bytes.size()) return !complete;  // cut off at the end
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = code << 6 | (c & 0x3F);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

bool ReadAsUtf8(std::string_view declared) { return declared.empty() || IsUtf8Name(declared); }

std::string NotUtf8Sentence(std::string_view declared) {
  return declared.empty()
             ? "文字コードの宣言がないので UTF-8 として読みましたが、UTF-8 でない文字があります"
               "（Shift_JIS などで書かれたファイルには encoding の宣言が要ります）"
             : "文字コードが " + std::string(declared) +
                   " と宣言されていますが、UTF-8 でない文字があります"
                   "（Shift_JIS などで書かれたファイルです）";
}

std::optional<std::string> EncodingMismatch(std::string_view head, bool complete) {
  const std::string declared = DeclaredEncoding(head);
  if (ReadAsUtf8(declared)) {
    if (IsUtf8(head, complete)) return std::nullopt;
    return NotUtf8Sentence(declared);
  }
  const bool ascii = std::all_of(head.begin(), head.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (IsShiftJisName(declared) && !ascii && IsUtf8(head, complete)) {
    return "文字コードが " + declared + " と宣言されていますが、中身は UTF-8 で書かれています";
  }
  return std::nullopt;
}

}  // namespace parquill::mapxml
