#include "mif/plain_point_line.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)

// The word of eight bytes at `p`, the first byte lowest.
inline std::uint64_t WordAt(const char* p) {
  std::uint64_t word = 0;
  std::memcpy(&word, p, 8);
  return word;
}

// The number of the `count` (1 to 8) digits that end the word.
inline std::uint64_t LastDigitsOf(std::uint64_t word, std::ptrdiff_t count) {
  // The bytes before them become zero digits.
  return EightDigitValues((word ^ 0x3030303030303030ULL) & ~std::uint64_t{0} << (8 * (8 - count)));
}

// One value of the region builder's shape from two words of it: the eight
// bytes before its point (its last `wholeDigits` bytes the whole digits, 1 to
// 9: the ninth is the byte before the word) and eight bytes ending with its
// five decimals.
inline double UsualValue(const char* point, std::uint64_t wholeWord, std::ptrdiff_t wholeDigits,
                         std::uint64_t decimalsWord, bool negative) {
  std::uint64_t whole = LastDigitsOf(wholeWord, std::min<std::ptrdiff_t>(wholeDigits, 8));
  if (wholeDigits == 9) {
    const unsigned first = static_cast<unsigned char>(point[-9]) - unsigned{'0'};
    whole += std::uint64_t{first} * 100000000;
  }
  const std::uint64_t decimals = LastDigitsOf(decimalsWord, kMaxDecimals);
  const double magnitude =
      static_cast<double>(whole * 100000 + decimals) / kPowersOfTen[kMaxDecimals];
  return negative ? -magnitude : magnitude;
}

// Which of the 16 bytes are no digits, and which are blanks, one bit a byte.
struct ByteKinds {
  std::uint32_t notDigits;
  std::uint32_t blanks;
};

inline ByteKinds KindsOf(const char* p) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  // Bytes from 0x80 up compare as negative: below '0'.
  const __m128i notDigit = _mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8('0')),
                                        _mm_cmpgt_epi8(bytes, _mm_set1_epi8('9')));
  return {static_cast<std::uint32_t>(_mm_movemask_epi8(notDigit)),
          static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '))))};
}

#endif

// The region builder's shape read at once (see ReadUsualPointLine).
inline bool ReadUsualShape(std::string_view line, double& x, double& y) {
#if defined(__SSE2__)
  // The line is seen through its first and its last 16 bytes, which overlap
  // or meet for a line of 16 to 32 bytes: one bit a byte.
  const auto size = static_cast<std::ptrdiff_t>(line.size());
  if (size < 16 || size > 32) return false;
  const char* text = line.data();
  const ByteKinds head = KindsOf(text);
  const ByteKinds tail = KindsOf(text + size - 16);
  const int shift = static_cast<int>(size - 16);
  const std::uint32_t notDigits = head.notDigits | tail.notDigits << shift;
  const std::uint32_t blanks = head.blanks | tail.blanks << shift;
  // The first blank ends X; X's point lies six bytes before it and Y's six
  // before the end; a minus sign may open either. Those must be all the
  // bytes that are no digits (a second blank would be one more).
  if (blanks == 0) return false;
  const int blank = std::countr_zero(blanks);
  // X takes at least 7 bytes ("0.00000"), Y as many.
  if (blank < 7 || blank > size - 8) return false;
  const bool xNegative = text[0] == '-';
  const bool yNegative = text[blank + 1] == '-';
  const std::ptrdiff_t xPoint = blank - 6;
  const std::ptrdiff_t yPoint = size - 6;
  const std::ptrdiff_t xWhole = xPoint - xNegative;
  const std::ptrdiff_t yWhole = yPoint - (blank + 1) - yNegative;
  if (xWhole < 1 || xWhole > kMaxWholeDigits || yWhole < 1 || yWhole > kMaxWholeDigits) {
    return false;
  }
  const std::uint32_t expected =
      std::uint32_t{xNegative} | std::uint32_t{1} << xPoint | std::uint32_t{1} << blank |
      std::uint32_t{yNegative} << (blank + 1) | std::uint32_t{1} << yPoint;
  if (notDigits != expected || text[xPoint] != '.' || text[yPoint] != '.') return false;
  // The words are taken inside the line: X's whole digits from its start
  // (moved up to end the word) when fewer than eight bytes lie before its
  // point, X's decimals from the point on (moved up likewise).
  const std::uint64_t xWholeWord =
      xPoint >= 8 ? WordAt(text + xPoint - 8) : WordAt(text) << (8 * (8 - xPoint));
  x = UsualValue(text + xPoint, xWholeWord, xWhole, WordAt(text + xPoint + 1) << 24, xNegative);
  y = UsualValue(text + yPoint, WordAt(text + yPoint - 8), yWhole, WordAt(text + size - 8),
                 yNegative);
  return true;
#else
  (void)line;
  (void)x;
  (void)y;
  return false;
#endif
}

}  // namespace

bool ReadUsualPointLine(std::string_view line, double& x, double& y) {
  return ReadUsualShape(line, x, y);
}

bool ReadPlainPointLine(std::string_view line, double& x, double& y) {
  if (ReadUsualShape(line, x, y)) return true;
  const char* end = line.data() + line.size();
  const char* p = ReadPlainValue(line.data(), end, x);
  if (p == nullptr || p == end || *p != ' ') return false;
  p = ReadPlainValue(p + 1, end, y);
  return p != nullptr && (p == end || *p == ' ');
}

}  // namespace parquill
