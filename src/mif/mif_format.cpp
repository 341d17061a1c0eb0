#include "mif/mif_format.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace parquill {
namespace {

// "0" in every byte of a word: digit values plus this are their characters.
constexpr std::uint64_t kZeroCharacters = 0x3030303030303030ULL;

// The eight decimal digits of n < 10^8, leading zeros included, as digit
// values 0 to 9, the first digit in the lowest byte. Both halves of n, then
// the four pairs, then the eight digits are split at once, each split being a
// multiplication by a reciprocal.
std::uint64_t EightDigits(std::uint32_t n) {
  // The first four digits in the low 32 bits, the last four in the high.
  std::uint64_t v = (n / 10000) | (std::uint64_t{n % 10000} << 32);
  // In each 32-bit half (below 10^4): its hundreds low, its last two digits high.
  const std::uint64_t hundreds = ((v * 10486) >> 20) & 0x0000007F0000007FULL;
  v = hundreds | ((v - hundreds * 100) << 16);
  // In each 16-bit quarter (below 100): its tens low, its units high.
  const std::uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000FULL;
  return tens | ((v - tens * 10) << 8);
}

// Writes the eight bytes of `word` at `out`, its lowest byte first.
inline void StoreBytes(char* out, std::uint64_t word) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &word, sizeof word);  // one store
  } else {
    for (int i = 0; i < 8; ++i) out[i] = static_cast<char>(word >> (8 * i));
  }
}

// Writes the whole part of a coordinate (n <= 10^9) without leading zeros,
// one digit at least, and returns its end; up to 8 bytes after the end may
// be overwritten.
char* WriteWholeDigits(char* out, std::uint32_t n) {
  if (n >= 100'000'000) {  // 9 or 10 digits: the first one or two, then eight
    const std::uint32_t head = n / 100'000'000;
    if (head >= 10) *out++ = static_cast<char>('0' + head / 10);
    *out++ = static_cast<char>('0' + head % 10);
    StoreBytes(out, EightDigits(n % 100'000'000) + kZeroCharacters);
    return out + 8;
  }
  const std::uint64_t digits = EightDigits(n);
  // The leading zero digits are the zero bytes at the low end; one digit stays.
  int leadingZeros = std::countr_zero(digits) / 8;
  if (leadingZeros > 7) leadingZeros = 7;
  StoreBytes(out, (digits + kZeroCharacters) >> (8 * leadingZeros));
  return out + (8 - leadingZeros);
}

// A coordinate's five-decimal rounding in whole units of 10^-5, for a value
// below 10^9 whose rounding is plain: value × 10^5 is then computed within
// 0.008 of its true value, so unless it lies near a half the nearest whole
// number is the true rounding. False for the other values.
struct PlainUnits {
  std::uint64_t units = 0;
  bool minus = false;  // the text has a minus sign: the value is negative and not rounded to zero
};
inline bool PlainUnitsOf(double value, PlainUnits& plain) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < 1e9)) return false;
  const double scaled = magnitude * 1e5;
  // Below 10^14 the sum is within 1/128 of scaled + 0.5: away from a half,
  // its whole part is the nearest whole number.
  const auto units = static_cast<std::int64_t>(scaled + 0.5);
  if (std::fabs(scaled - static_cast<double>(units)) > 0.48) return false;  // near a half
  plain.units = static_cast<std::uint64_t>(units);
  plain.minus = std::signbit(value) && units != 0;  // a rounded zero is written without its sign
  return true;
}

// Writes the text of a plain coordinate at `out` (at most 17 characters:
// 999999999.999996 gives "1000000000.00000") and returns its end; up to 8
// bytes after the text may be overwritten.
char* WritePlainUnits(char* out, const PlainUnits& plain) {
  const auto integer = static_cast<std::uint32_t>(plain.units / 100000);
  const auto fraction = static_cast<std::uint32_t>(plain.units % 100000);
  char* p = out;
  *p = '-';
  if (plain.minus) ++p;
  p = WriteWholeDigits(p, integer);
  // The point, then the five decimals: the last five of eight digits.
  StoreBytes(p, ((EightDigits(fraction) >> 24) + kZeroCharacters) << 8 | '.');
  return p + 6;
}

// Writes the text of a plain coordinate at `out` and moves `out` on; false
// (nothing written) for the other values.
bool WritePlainCoordinate(char*& out, double value) {
  PlainUnits plain;
  if (!PlainUnitsOf(value, plain)) return false;
  out = WritePlainUnits(out, plain);
  return true;
}

// Any other coordinate, through to_chars, which rounds the binary value
// correctly and never depends on the locale; returns the text's end.
[[gnu::noinline]] char* WriteCoordinateByCharConv(char* out, double value) {
  auto [end, error] =
      std::to_chars(out, out + kMifCoordinateRoom, value, std::chars_format::fixed, 5);
  if (error != std::errc()) return out;
  std::string_view written(out, static_cast<std::size_t>(end - out));
  if (written.front() == '-' && written.find_first_not_of("-0.") == std::string_view::npos) {
    std::memmove(out, out + 1, written.size() - 1);  // "-0.00000" reads as a plain zero
    --end;
  }
  return end;
}

// Writes the coordinate text at `out` (kMifCoordinateRoom bytes of room) and
// returns its end.
inline char* WriteCoordinate(char* out, double value) {
  if (WritePlainCoordinate(out, value)) return out;
  return WriteCoordinateByCharConv(out, value);
}

}  // namespace

std::string FormatMifCoordinate(double value) {
  char text[kMifCoordinateRoom];
  return std::string(text, WriteCoordinate(text, value));
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
  char text[kMifPointLineRoom];
  line.assign(text, WriteMifPointLine(text, x, y));
}

char* WriteMifPointLine(char* out, double x, double y) {
  out = WriteCoordinate(out, x);
  *out++ = ' ';
  return WriteCoordinate(out, y);
}

}  // namespace parquill
