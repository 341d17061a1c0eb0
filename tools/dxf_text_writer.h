#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Appends DXF group-code/value pairs to a byte string, the way AutoCAD and ezdxf
// lay them out: the code right-aligned in three characters, every line ended
// by CR LF. Coordinates are whole tenths of a millimetre, written in their
// shortest decimal form with at least one fraction digit ("-28392.0").
class DxfTextWriter {
 public:
  explicit DxfTextWriter(std::string& out) : out_(out) {}

  // `code` is the code as it stands in the file, e.g. "  0", " 10", "100".
  void Text(std::string_view code, std::string_view value) {
    out_ += code;
    out_ += "\r\n";
    out_ += value;
    out_ += "\r\n";
  }

  void Int(std::string_view code, std::int64_t value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    Text(code, std::string_view(digits, end - digits));
  }

  void Handle(std::string_view code, std::uint64_t handle) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, handle, 16).ptr;
    for (char* p = digits; p != end; ++p) {
      if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
    }
    Text(code, std::string_view(digits, end - digits));
  }

  // A length or coordinate in tenths of a millimetre.
  void Metres(std::string_view code, std::int64_t tenthsOfMm) {
    char digits[32];
    char* p = digits;
    std::uint64_t magnitude =
        tenthsOfMm < 0 ? 0 - static_cast<std::uint64_t>(tenthsOfMm) : tenthsOfMm;
    if (tenthsOfMm < 0) *p++ = '-';
    p = std::to_chars(p, digits + sizeof digits, magnitude / 10000).ptr;
    *p++ = '.';
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    char four[4] = {
        static_cast<char>('0' + fraction / 1000), static_cast<char>('0' + fraction / 100 % 10),
        static_cast<char>('0' + fraction / 10 % 10), static_cast<char>('0' + fraction % 10)};
    int kept = 4;
    while (kept > 1 && four[kept - 1] == '0') --kept;
    for (int i = 0; i < kept; ++i) *p++ = four[i];
    Text(code, std::string_view(digits, p - digits));
  }

  std::size_t size() const { return out_.size(); }

 private:
  std::string& out_;
};

// Metres to tenths of a millimetre, for readable constants.
constexpr std::int64_t Tenths(double metres) {
  return static_cast<std::int64_t>(metres * 10000 + (metres < 0 ? -0.5 : 0.5));
}
