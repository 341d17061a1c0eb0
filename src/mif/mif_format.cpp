#include "mif/mif_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "text/text_file_writer.h"

namespace parquill {
namespace {

// Enough for the widest finite double in fixed notation with five decimals.
constexpr std::size_t kCoordinateRoom = 330;

// Room for a plain coordinate: a sign, 10 whole digits, the point, 5 decimals.
constexpr std::size_t kPlainRoom = 17;

// "00" to "99": two digits written at once.
constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
    "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
    "949596979899";

// Writes the text of a coordinate below 10^9 whose five-decimal rounding is
// plain at `out` (at most 17 characters: 999999999.999996 gives
// "1000000000.00000") and moves `out` on: value × 10^5 is
// then computed within 0.008 of its true value, so unless it lies near a
// half the nearest whole number is the true rounding. False (nothing
// written) for the other values.
bool WritePlainCoordinate(char*& out, double value) {
  if (!(std::fabs(value) < 1e9)) return false;
  const double scaled = std::fabs(value) * 1e5;
  const double whole = std::nearbyint(scaled);
  if (std::fabs(std::fabs(scaled - whole) - 0.5) < 0.02) return false;
  const auto units = static_cast<std::uint64_t>(whole);
  auto integer = static_cast<std::uint32_t>(units / 100000);
  auto fraction = static_cast<std::uint32_t>(units % 100000);
  char text[kPlainRoom];
  char* const end = text + sizeof text;
  // The five decimals: two pairs and one digit.
  std::memcpy(end - 2, kDigitPairs + 2 * (fraction % 100), 2);
  fraction /= 100;
  std::memcpy(end - 4, kDigitPairs + 2 * (fraction % 100), 2);
  *(end - 5) = static_cast<char>('0' + fraction / 100);
  *(end - 6) = '.';
  char* p = end - 6;
  while (integer >= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (integer % 100), 2);
    integer /= 100;
  }
  if (integer >= 10) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * integer, 2);
  } else {
    *--p = static_cast<char>('0' + integer);
  }
  if (value < 0 && units != 0) *--p = '-';  // a rounded zero is written without its sign
  const auto length = static_cast<std::size_t>(end - p);
  std::memcpy(out, p, length);
  out += length;
  return true;
}

// Appends the coordinate text to `out`; to_chars rounds the binary value
// correctly and never depends on the locale.
void AppendCoordinate(std::string& out, double value) {
  char plain[kPlainRoom];
  char* plainEnd = plain;
  if (WritePlainCoordinate(plainEnd, value)) {
    out.append(plain, static_cast<std::size_t>(plainEnd - plain));
    return;
  }
  char text[kCoordinateRoom];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5);
  std::string_view written(text, error == std::errc() ? static_cast<std::size_t>(end - text) : 0);
  if (!written.empty() && written.front() == '-' &&
      written.find_first_not_of("-0.") == std::string_view::npos) {
    written.remove_prefix(1);  // "-0.00000" reads as a plain zero
  }
  out.append(written);
}

}  // namespace

void WriteMifHeader(TextFileWriter& mif) {
  for (std::string_view line : kMifHeaderLines) mif.WriteLine(line);
}

std::string FormatMifCoordinate(double value) {
  std::string text;
  AppendCoordinate(text, value);
  return text;
}

std::string MifPointCountLine(int count) {
  std::string line(1, ' ');
  line.append(std::to_string(count));
  line.push_back(' ');
  return line;
}

std::string MifPointLine(double x, double y) {
  std::string line;
  FormatMifPointLine(line, x, y);
  return line;
}

void FormatMifPointLine(std::string& line, double x, double y) {
  char text[2 * kPlainRoom + 1];  // two plain coordinates and the blank
  char* end = text;
  if (WritePlainCoordinate(end, x)) {
    *end++ = ' ';
    if (WritePlainCoordinate(end, y)) {
      line.assign(text, static_cast<std::size_t>(end - text));
      return;
    }
  }
  line.clear();
  AppendCoordinate(line, x);
  line += ' ';
  AppendCoordinate(line, y);
}

}  // namespace parquill
