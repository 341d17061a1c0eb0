#include "base/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace parquill {
namespace {

// A byte that cannot be decoded is kept as the code point U+DC00 + byte (as
// Python's "surrogateescape" does), written in UTF-8 form: ED B2..B3 xx.
void AppendEscape(std::string& out, unsigned char byte) {
  out.push_back(static_cast<char>(0xED));
  out.push_back(static_cast<char>(0xB0 | (byte >> 6)));
  out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
}

bool IsEscape(std::string_view s, std::size_t i) {
  return i + 2 < s.size() && static_cast<unsigned char>(s[i]) == 0xED &&
         (static_cast<unsigned char>(s[i + 1]) & 0xFE) == 0xB2;
}

unsigned char EscapedByte(std::string_view s, std::size_t i) {
  return static_cast<unsigned char>(((s[i + 1] & 0x03) << 6) | (s[i + 2] & 0x3F));
}

// One converter per direction, opened once per thread. Lot numbers and layer
// names repeat the same few characters ("筆", "丁目", digits in full width), so
// the answers for recent characters are kept: a character costs a table look
// instead of a call through iconv.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one whole character (at most four bytes); false when it cannot
  // be converted.
  bool Convert(std::string_view in, std::string& out) {
    if (in.empty() || in.size() > kLongestCharacter) return ConvertAfresh(in, out);
    std::uint64_t key = in.size();
    for (char c : in) key = key << 8 | static_cast<unsigned char>(c);
    Remembered& slot = remembered_[(key * 0x9E3779B97F4A7C15ULL) >> (64 - kRememberedBits)];
    if (slot.key != key) {
      std::string converted;
      slot.converted = ConvertAfresh(in, converted);
      if (converted.size() > sizeof slot.bytes) return ConvertAfresh(in, out);
      slot.key = key;
      slot.length = static_cast<std::uint8_t>(converted.size());
      converted.copy(slot.bytes, converted.size());
    }
    if (!slot.converted) return false;
    out.assign(slot.bytes, slot.length);
    return true;
  }

 private:
  static constexpr std::size_t kLongestCharacter = 4;
  static constexpr int kRememberedBits = 9;

  struct Remembered {
    std::uint64_t key = 0;  // the length, then the bytes; 0 for an empty slot
    bool converted = false;
    std::uint8_t length = 0;
    char bytes[6] = {};
  };

  bool ConvertAfresh(std::string_view in, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
      return false;
    }
    out.assign(buffer, sizeof buffer - outLeft);
    return true;
  }

  iconv_t cd_;
  Remembered remembered_[1 << kRememberedBits];
};

Converter& Cp932ToUtf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

Converter& Utf8ToCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of a well-formed UTF-8 sequence at s[i], or 0.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = at(i);
  std::size_t length = b < 0x80             ? 1
                       : (b & 0xE0) == 0xC0 ? 2
                       : (b & 0xF0) == 0xE0 ? 3
                       : (b & 0xF8) == 0xF0 ? 4
                                            : 0;
  if (length == 0 || i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((at(i + k) & 0xC0) != 0x80) return 0;
  }
  std::uint32_t cp = length == 1 ? b : b & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (at(i + k) & 0x3F);
  static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  std::string character;
  std::string roundTrip;
  for (std::size_t i = 0; i < bytes.size();) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    std::size_t length = IsCp932LeadByte(b) && i + 1 < bytes.size() ? 2 : 1;
    std::string_view original = bytes.substr(i, length);
    // Keep the character only when it encodes back to the very same bytes
    // (CP932 has a few characters with two codes).
    if (Cp932ToUtf8().Convert(original, character) && Utf8ToCp932().Convert(character, roundTrip) &&
        roundTrip == original) {
      out += character;
      i += length;
    } else {
      AppendEscape(out, b);
      ++i;
    }
  }
  return out;
}

std::string DecodeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      AppendEscape(out, static_cast<unsigned char>(bytes[i]));
      ++i;
    } else {
      out.append(bytes.substr(i, length));
      i += length;
    }
  }
  return out;
}

}  // namespace

// Eight bytes at a time: a byte of 0x80 or more has its high bit set.
bool IsAscii(std::string_view s) {
  const char* p = s.data();
  std::size_t n = s.size();
  std::uint64_t high = 0;
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    high |= word;
  }
  for (; n > 0; ++p, --n) high |= static_cast<unsigned char>(*p);
  return (high & 0x8080808080808080ULL) == 0;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
  if (IsAscii(bytes)) return std::string(bytes);
  return encoding == TextEncoding::kCp932 ? DecodeCp932(bytes) : DecodeUtf8(bytes);
}

std::string EncodeText(std::string_view text, TextEncoding encoding) {
  std::string out;
  AppendEncodedText(out, text, encoding);
  return out;
}

void AppendEncodedText(std::string& out, std::string_view text, TextEncoding encoding) {
  std::string character;
  for (std::size_t i = 0; i < text.size();) {
    // A run of ASCII characters is the same in every encoding: copied at once.
    std::size_t ascii = i;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
    if (ascii != i) {
      out.append(text, i, ascii - i);
      i = ascii;
      continue;
    }
    if (IsEscape(text, i)) {
      out.push_back(static_cast<char>(EscapedByte(text, i)));
      i += 3;
      continue;
    }
    std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {  // not from DecodeText; keep the byte as it is
      out.push_back(text[i]);
      ++i;
      continue;
    }
    std::string_view sequence = text.substr(i, length);
    if (encoding == TextEncoding::kUtf8 || length == 1) {
      out.append(sequence);
    } else if (Utf8ToCp932().Convert(sequence, character)) {
      out += character;
    } else {
      out.push_back('?');
    }
    i += length;
  }
}

int CharactersWrittenAsQuestionMarks(std::string_view text, TextEncoding encoding) {
  if (IsAscii(text)) return 0;
  const std::string encoded = EncodeText(text, encoding);
  // A "?" is one byte in both, and never the trail byte of a CP932 character.
  return static_cast<int>(std::count(encoded.begin(), encoded.end(), '?') -
                          std::count(text.begin(), text.end(), '?'));
}

std::string ShowEscapedBytes(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsEscape(text, i)) {
      shown.push_back(text[i]);
      continue;
    }
    const unsigned char byte = EscapedByte(text, i);
    shown += "\\x";
    shown.push_back(kHex[byte >> 4]);
    shown.push_back(kHex[byte & 0x0F]);
    i += 2;
  }
  return shown;
}

}  // namespace parquill
