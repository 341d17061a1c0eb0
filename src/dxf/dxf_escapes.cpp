#include "dxf/dxf_escapes.h"

#include <cstdint>
#include <optional>

namespace parquill {
namespace {

// The value of four hex digits at `text`, or nothing.
std::optional<std::uint32_t> HexValue(std::string_view text) {
  if (text.size() < 4) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text.substr(0, 4)) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : -1;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The character an escape at the start of `text` stands for, and the escape's
// length; nothing when it is no escape this reader decodes.
std::optional<std::string> Decoded(std::string_view text, std::size_t& length) {
  if (text.starts_with("\\U+")) {
    const auto code = HexValue(text.substr(3));
    std::string character;
    // A character beyond the first 65536 comes as two escapes, a high
    // surrogate then a low one.
    if (code && *code >= 0xD800 && *code <= 0xDBFF && text.substr(7).starts_with("\\U+")) {
      const auto low = HexValue(text.substr(10));
      if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
        AppendUtf8(character, 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00));
        length = 14;
        return character;
      }
    }
    // No NUL, and no lone surrogate: those stand for no character.
    if (!code || *code == 0 || (*code >= 0xD800 && *code <= 0xDFFF)) return std::nullopt;
    AppendUtf8(character, *code);
    length = 7;
    return character;
  }
  if (text.starts_with("\\M+1")) {
    const auto code = HexValue(text.substr(4));
    if (!code) return std::nullopt;
    const char bytes[2] = {static_cast<char>(*code >> 8), static_cast<char>(*code & 0xFF)};
    std::string character = DecodeText({bytes, 2}, TextEncoding::kCp932);
    // Bytes that make no Japanese character are kept as written.
    if (ShowEscapedBytes(character) != character) return std::nullopt;
    length = 8;
    return character;
  }
  return std::nullopt;
}

}  // namespace

std::string DecodeDxfEscapes(std::string_view text) {
  if (text.find('\\') == std::string_view::npos) return std::string(text);
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    if (text[i] == '\\') {
      if (auto character = Decoded(text.substr(i), length)) {
        decoded += *character;
        i += length;
        continue;
      }
    }
    decoded.push_back(text[i++]);
  }
  return decoded;
}

std::string DecodeDxfText(std::string_view bytes, TextEncoding encoding) {
  return DecodeDxfEscapes(DecodeText(bytes, encoding));
}

}  // namespace parquill
