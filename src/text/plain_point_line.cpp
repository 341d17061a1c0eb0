#include "text/plain_point_line.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace parquill {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
constexpr std::ptrdiff_t kMaxWholeDigits = 9;
constexpr std::ptrdiff_t kMaxDecimals = 5;

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Eight digit values (0 to 9), one a byte, the first in the lowest byte, as
// one number.
inline std::uint64_t EightDigitValues(std::uint64_t values) {
  values = values * 10 + (values >> 8);
  constexpr std::uint64_t kMask = 0x000000FF000000FFULL;
  constexpr std::uint64_t kHighPairs = 100 + (1000000ULL << 32);
  constexpr std::uint64_t kLowPairs = 1 + (10000ULL << 32);
  return (((values & kMask) * kHighPairs) + (((values >> 16) & kMask) * kLowPairs)) >> 32;
}

// The five bytes at `p` as a number when all are digits, read at once: each
// byte's digit is found by one exclusive or, checked by one addition, and the
// digits combined by two multiplications (three leading zero digits make them
// the usual eight).
inline bool ReadFiveDigits(const char* p, std::uint64_t& number) {
  // Four bytes and one, put together in registers (five bytes copied into a
  // wider variable would go through memory and stall the wider load).
  std::uint32_t four = 0;
  std::memcpy(&four, p, 4);
  std::uint64_t chunk = four | std::uint64_t{static_cast<unsigned char>(p[4])} << 32;
  if constexpr (std::endian::native != std::endian::little) {
    number = 0;
    for (int i = 0; i < 5; ++i) {
      if (!IsDigit(p[i])) return false;
      number = number * 10 + static_cast<unsigned>(p[i] - '0');
    }
    return true;
  }
  chunk ^= 0x3030303030ULL;  // a digit becomes its value, any other byte something above 9
  if (((chunk + 0x7676767676ULL) | chunk) & 0x8080808080ULL) return false;
  number = EightDigitValues(chunk << 24);
  return true;
}

// The run of digits that starts the eight bytes at `p`, read at once (at most
// eight; the caller goes on when all eight are digits): its length, and its
// value in `number`.
inline std::ptrdiff_t ReadDigitRunOfEight(const char* p, std::uint64_t& number) {
  std::uint64_t values = 0;
  std::memcpy(&values, p, 8);
  values ^= 0x3030303030303030ULL;
  // The lowest byte marked is the first that is no digit: a carry only runs
  // upwards, from a byte that is no digit itself.
  const std::uint64_t notDigit =
      ((values + 0x7676767676767676ULL) | values) & 0x8080808080808080ULL;
  const int length = notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
  if (length == 0) {
    number = 0;
    return 0;
  }
  values <<= 8 * (8 - length);  // leading zero digits make it eight
  number = EightDigitValues(values);
  return length;
}

// Reads one plain value from `p`; the position after it, or nullptr when the
// text there has another shape.
inline const char* ReadPlainValue(const char* p, const char* end, double& value) {
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  const char* first = p;
  std::uint64_t digits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    if (end - p >= 8) p += ReadDigitRunOfEight(p, digits);
  }
  unsigned d = 0;
  while (p != end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
    digits = digits * 10 + d;
    ++p;
  }
  const std::ptrdiff_t wholeDigits = p - first;
  if (wholeDigits > kMaxWholeDigits) return nullptr;
  std::ptrdiff_t decimals = 0;
  if (p != end && *p == '.') {
    ++p;
    std::uint64_t five = 0;
    if (end - p >= kMaxDecimals && ReadFiveDigits(p, five)) {
      // The usual five decimals.
      p += kMaxDecimals;
      if (p != end && IsDigit(*p)) return nullptr;
      digits = digits * 100000 + five;
      decimals = kMaxDecimals;
    } else {
      const char* point = p;
      while (p != end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
        digits = digits * 10 + d;
        ++p;
      }
      decimals = p - point;
      if (decimals > kMaxDecimals) return nullptr;
    }
  }
  if (wholeDigits + decimals == 0) return nullptr;
  const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return p;
}

}  // namespace

bool ReadPlainPointLine(std::string_view line, double& x, double& y) {
  const char* end = line.data() + line.size();
  const char* p = ReadPlainValue(line.data(), end, x);
  if (p == nullptr || p == end || *p != ' ') return false;
  p = ReadPlainValue(p + 1, end, y);
  return p != nullptr && (p == end || *p == ' ');
}

}  // namespace parquill
