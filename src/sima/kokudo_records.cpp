#include "sima/kokudo_records.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "sima/decimal_digit_bytes.h"
#include "base/trim.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parquill::kokudo {
namespace {

constexpr std::size_t kNumberFieldWidth = 5;
constexpr int kSignificantDigits = 15;

void AppendInteger(std::string& line, int number) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  line.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The number field of `number`, as SimaNo gives it for the number's text.
void AppendNumberField(std::string& line, int number) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  const auto length = static_cast<std::size_t>(result.ptr - digits);
  if (length < kNumberFieldWidth) line.append(kNumberFieldWidth - length, ' ');
  line.append(digits, length);
}

}  // namespace

std::string SimaG00() { return "G00,01,オルベックＬｏｔｗｅａｖｅｒデータ"; }

void AppendSimaZ00(std::string& line, std::string_view s) {
  line.append("Z00,/");
  line.append(s);
  line.append("/,");
}

std::string SimaZ00(std::string_view s) {
  std::string line;
  AppendSimaZ00(line, s);
  return line;
}

std::string SimaTag(std::string_view s) {
  std::string line(s);
  line.push_back(',');
  return line;
}

std::string SimaNo(std::string_view s) {
  std::string_view text = TrimBlanks(s);
  std::string field;
  if (text.size() < kNumberFieldWidth) field.assign(kNumberFieldWidth - text.size(), ' ');
  field.append(text);
  return field;
}

namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr std::uint64_t kZeroDigits = 0x3030303030303030ULL;  // '0' in every byte

// Eight bytes at `out`, the lowest first (the caller leaves room for all of
// them, and writes over those past the text).
inline void StoreEight(char* out, std::uint64_t bytes) { std::memcpy(out, &bytes, 8); }

// The digits of a point number from 1 to 99999, and the number field they
// make, as five bytes each, the first lowest.
struct PointNumberText {
  explicit PointNumberText(int number) {
    const std::uint64_t digits = EightDigitBytes(static_cast<std::uint32_t>(number)) >> 24;
    leadingZeros = std::countr_zero(digits) / 8;  // at most 4: the number is not 0
    const std::uint64_t text = digits + (kZeroDigits >> 24);
    // The leading zeros become blanks ('0' - ' ' is 0x10).
    field = text - (0x1010101010ULL & ((std::uint64_t{1} << (8 * leadingZeros)) - 1));
    name = text >> (8 * leadingZeros);
  }
  static bool Fits(int number) { return kLittleEndian && number >= 1 && number <= 99999; }
  int length() const { return 5 - leadingZeros; }

  std::uint64_t field;  // right-aligned in five bytes
  std::uint64_t name;   // the digits without leading zeros
  int leadingZeros;
};

// "XYZ," + number field + ",K" + digits + ",", written at `out` (with room
// for 8 bytes past it); the end.
char* WritePointHead(char* out, const char (&code)[5], const PointNumberText& number) {
  std::memcpy(out, code, 4);  // the code and its comma
  StoreEight(out + 4, number.field);
  out[9] = ',';
  out[10] = 'K';
  StoreEight(out + 11, number.name);
  out += 11 + number.length();
  *out++ = ',';
  return out;
}

bool WritePlainCoordinate(char*& out, double value);

}  // namespace

// The record code, the number field and the point name, each followed by
// ",": the start of every A01 and B01 line, for numbers the quick path
// does not take.
static void AppendPointHead(std::string& line, std::string_view record, std::int16_t pointNumber) {
  line.append(record);
  line.push_back(',');
  AppendNumberField(line, pointNumber);
  line.append(",K");
  AppendInteger(line, pointNumber);
  line.push_back(',');
}

char* WriteSimaA01(char* out, std::int16_t pointNumber, double x, double y) {
  if (!PointNumberText::Fits(pointNumber)) return nullptr;
  // The head, two coordinates of at most 16 characters (each with room for
  // 24 bytes) and ",,".
  char* end = WritePointHead(out, "A01,", PointNumberText(pointNumber));
  if (!WritePlainCoordinate(end, x)) return nullptr;
  *end++ = ',';
  if (!WritePlainCoordinate(end, y)) return nullptr;
  *end++ = ',';
  *end++ = ',';
  return end;
}

void AppendSimaA01(std::string& line, std::int16_t pointNumber, double x, double y) {
  char text[kPointRecordRoom];
  if (char* end = WriteSimaA01(text, pointNumber, x, y)) {
    line.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  AppendPointHead(line, "A01", pointNumber);
  AppendCoordinateText(line, x);
  line.push_back(',');
  AppendCoordinateText(line, y);
  line.append(",,");
}

std::string SimaA01(std::int16_t pointNumber, double x, double y) {
  std::string line;
  AppendSimaA01(line, pointNumber, x, y);
  return line;
}

char* WriteSimaB01(char* out, std::int16_t pointNumber) {
  if (!PointNumberText::Fits(pointNumber)) return nullptr;
  return WritePointHead(out, "B01,", PointNumberText(pointNumber));
}

void AppendSimaB01(std::string& line, std::int16_t pointNumber) {
  char text[kPointRecordRoom];
  if (char* end = WriteSimaB01(text, pointNumber)) {
    line.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  AppendPointHead(line, "B01", pointNumber);
}

std::string SimaB01(std::int16_t pointNumber) {
  std::string line;
  AppendSimaB01(line, pointNumber);
  return line;
}

void AppendSimaD00(std::string& line, std::int16_t regionNumber, std::string_view lotNumber,
                   std::int16_t closureCode) {
  line.append("D00,");
  AppendNumberField(line, regionNumber);
  line.push_back(',');
  line.append(lotNumber);
  line.push_back(',');
  AppendInteger(line, closureCode);
  line.push_back(',');
}

std::string SimaD00(std::int16_t regionNumber, std::string_view lotNumber,
                    std::int16_t closureCode) {
  std::string line;
  AppendSimaD00(line, regionNumber, lotNumber, closureCode);
  return line;
}

namespace {

// The integer nearest to `scaled` (below 2^63 in magnitude), halves to
// even, as std::nearbyint gives it under the usual rounding.
inline std::int64_t NearestInteger(double scaled) {
#if defined(__SSE2__)
  return _mm_cvtsd_si64(_mm_set_sd(scaled));  // rounds as the current mode: to nearest
#else
  return static_cast<std::int64_t>(std::nearbyint(scaled));
#endif
}

// The digits of `whole` (below 10^9) written at `out`, none for 0; the end.
// Writes up to 9 bytes.
inline char* WriteWholeDigits(char* out, std::uint32_t whole) {
  if (whole == 0) return out;
  if (whole >= 100000000) {  // the ninth digit alone, then all eight
    *out++ = static_cast<char>('0' + whole / 100000000);
    StoreEight(out, EightDigitBytes(whole % 100000000) + kZeroDigits);
    return out + 8;
  }
  const std::uint64_t digits = EightDigitBytes(whole);
  const int leadingZeros = std::countr_zero(digits) / 8;
  StoreEight(out, (digits + kZeroDigits) >> (8 * leadingZeros));
  return out + 8 - leadingZeros;
}

// "." and the five decimals of `fraction` (below 10^5) without their
// trailing zeros, written at `out`; nothing for 0. The end; writes up to 9 bytes.
inline char* WriteDecimals(char* out, std::uint32_t fraction) {
  if (fraction == 0) return out;
  const std::uint64_t digits = EightDigitBytes(fraction) >> 24;  // five digits, the first lowest
  const int trailingZeros = std::countl_zero(digits << 24) / 8;
  *out = '.';
  StoreEight(out + 1, digits + (kZeroDigits >> 24));
  return out + 1 + 5 - trailingZeros;
}

// The text of a value below 10^9 that is a number of at most five decimals
// (as every coordinate read from the MIF file is after rounding): its 15
// significant digits are that number's own digits. Writes the text (at most
// 16 characters) at `out`, with room for 24 bytes, and moves `out` on; false
// (nothing written) for other values. Zero is "0".
bool WritePlainCoordinate(char*& out, double value) {
  if (!kLittleEndian || !(std::fabs(value) < 1e9)) return false;
  const std::int64_t units = NearestInteger(value * 1e5);
  if (static_cast<double>(units) / 1e5 != value) return false;
  if (value == 0) {  // negative zero too
    *out++ = '0';
    return true;
  }
  const auto magnitude = static_cast<std::uint64_t>(units < 0 ? -units : units);
  char* p = out;
  *p = '-';
  p += value < 0;
  p = WriteWholeDigits(p, static_cast<std::uint32_t>(magnitude / 100000));
  out = WriteDecimals(p, static_cast<std::uint32_t>(magnitude % 100000));
  return true;
}

}  // namespace

std::string CoordinateText(double value) {
  std::string text;
  AppendCoordinateText(text, value);
  return text;
}

void AppendCoordinateText(std::string& line, double value) {
  if (value == 0) {  // negative zero too
    line.push_back('0');
    return;
  }
  char text[24];
  char* end = text;
  if (WritePlainCoordinate(end, value)) {
    line.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  line.append(GeneralCoordinateText(value));
}

std::string GeneralCoordinateText(double value) {
  // The value with 15 significant digits, "d.dddddddddddddde±x", whatever the
  // locale; then the point is moved to its place in plain decimal text.
  char scientific[64];
  auto result = std::to_chars(scientific, scientific + sizeof scientific, value,
                              std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(scientific, static_cast<std::size_t>(result.ptr - scientific));
  bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::size_t e = text.find('e');
  int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  std::string digits;
  digits.push_back(text[0]);
  digits.append(text.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (negative) out.push_back('-');
  if (exponent < 0) {
    out.push_back('.');
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
    return out;
  }
  std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    out.append(digits);
    out.append(whole - digits.size(), '0');
  } else {
    out.append(digits, 0, whole);
    out.push_back('.');
    out.append(digits, whole, std::string::npos);
  }
  return out;
}

}  // namespace parquill::kokudo
