#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parquill {

// How many bytes before a line ReadBufferedPointLine may look at.
inline constexpr int kPointLineReadableBefore = 16;
// How many bytes from a line's start ReadBufferedPointLine may look at; its
// end must lie among them for the line to be read.
inline constexpr int kPointLineReadableFrom = 32;
#if defined(__SSE2__)
namespace point_line_detail {

constexpr int kMaxWholeDigits = 9;
constexpr int kDecimals = 5;
// The shortest line of the shape: "0.00000 0.00000".
constexpr int kShortestLine = 15;

// Bit i set for each byte i of the 32 in `head` and `tail` that meets the
// test `is`.
template <typename Test>
inline std::uint32_t BitsOf(__m128i head, __m128i tail, Test is) {
  return static_cast<std::uint32_t>(_mm_movemask_epi8(is(head))) |
         static_cast<std::uint32_t>(_mm_movemask_epi8(is(tail))) << 16;
}

// 16 zero bytes then 16 bytes of ones: the 16 bytes from kKeepFrom + 16 - s
// keep bytes s to 15 of a value's window and clear the ones before.
alignas(16) inline constexpr unsigned char kKeepFrom[32] = {
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// A value's window: the 16 bytes whose 11th is its point, so ten bytes for
// its sign and whole digits (right-aligned) and five for its decimals.
// `lead` is how many bytes of the value lie before its point (sign and whole
// digits, 1 to 10); the bytes before those, and the sign and the point, become
// zero digits.
inline __m128i DigitWindow(const char* point, int lead) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(point - 10));
  const __m128i keep =
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(kKeepFrom + 16 - (10 - lead)));
  // Every byte kept that is no digit is a sign or the point, both below '0'.
  return _mm_subs_epu8(_mm_and_si128(bytes, keep), _mm_set1_epi8('0'));
}

// The digits of a window in four groups of up to four digits, one 32-bit
// lane each: the window's value is group 0 * 10^11 + group 1 * 10^7 +
// group 2 * 10^4 + group 3 (the point's byte weighs nothing, the whole digits
// one place more than their position alone would give).
inline __m128i DigitGroups(__m128i digits) {
  const __m128i evenBytes = _mm_and_si128(digits, _mm_set1_epi16(0x00FF));
  const __m128i oddBytes = _mm_srli_epi16(digits, 8);
  //                                     bytes 0, 2 | 4, 6  | 8, 10(point) | 12, 14
  const __m128i evenWeights = _mm_setr_epi16(1000, 10, 1000, 10, 100, 0, 1000, 10);
  //                                     bytes 1, 3 | 5, 7  | 9, 11        | 13, 15
  const __m128i oddWeights = _mm_setr_epi16(100, 1, 100, 1, 10, 1, 100, 1);
  return _mm_add_epi32(_mm_madd_epi16(evenBytes, evenWeights),
                       _mm_madd_epi16(oddBytes, oddWeights));
}

// X's and Y's digits as whole numbers (the value times 10^5), the two lanes
// of one vector, turned into doubles and divided by 10^5 together: the very
// operations, so the very results, of reading each value alone.
inline __m128d ValuesOf(__m128i xDigits, __m128i yDigits) {
  // Lanes: X's upper and lower halves, Y's upper and lower halves.
  const __m128i halves = _mm_madd_epi16(_mm_packs_epi32(DigitGroups(xDigits), DigitGroups(yDigits)),
                                        _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
  const __m128i upper = _mm_mul_epu32(halves, _mm_set1_epi32(10000000));
  const __m128i numbers = _mm_add_epi64(upper, _mm_srli_epi64(halves, 32));
  // Below 2^52: the number becomes the mantissa of 2^52 + number, exactly.
  const __m128i twoTo52 = _mm_set1_epi64x(0x4330000000000000LL);
  const __m128d exact =
      _mm_sub_pd(_mm_castsi128_pd(_mm_or_si128(numbers, twoTo52)), _mm_castsi128_pd(twoTo52));
  return _mm_div_pd(exact, _mm_set1_pd(1e5));
}

// The sign bits to give X and Y: none, X's, Y's, both.
alignas(16) inline constexpr double kSigns[4][2] = {
    {0.0, 0.0}, {-0.0, 0.0}, {0.0, -0.0}, {-0.0, -0.0}};

}  // namespace point_line_detail

// A MIF point line of the region builder's shape read where it lies in a
// reader's buffer, its end and both values in one look: `text` starts the
// line, which ends at the first CR or LF; kPointLineReadableBefore bytes
// before `text` and kPointLineReadableFrom bytes from it must be readable.
// When the line is two values of at most 9 whole digits and exactly five
// decimals each, an optional minus sign before each, one blank between them
// and its end within 31 bytes, returns its length (without its end) and
// sets `x` and `y` to exactly the values ReadUsualPointLine gives for it.
// Returns -1 (nothing read) for any other line, and where the processor
// offers no SSE2.
inline int ReadBufferedPointLine(const char* text, double& x, double& y) {
  using namespace point_line_detail;
  const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
  const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16));
  const std::uint32_t ends = BitsOf(head, tail, [](__m128i b) {
    return _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\n')),
                        _mm_cmpeq_epi8(b, _mm_set1_epi8('\r')));
  });
  if (ends == 0) return -1;
  const int size = std::countr_zero(ends);
  const std::uint32_t inLine = (std::uint32_t{1} << size) - 1;
  // A byte is a digit when, moved so that '0' is the lowest signed byte, it
  // stays below the tenth.
  const std::uint32_t notDigits =
      inLine & ~BitsOf(head, tail, [](__m128i b) {
        return _mm_cmplt_epi8(_mm_add_epi8(b, _mm_set1_epi8(0x50)), _mm_set1_epi8(-128 + 10));
      });
  const std::uint32_t blanks =
      inLine & BitsOf(head, tail, [](__m128i b) { return _mm_cmpeq_epi8(b, _mm_set1_epi8(' ')); });
  // The first blank ends X; its point lies six bytes before it, Y's six
  // before the end; a minus sign may open either. Those must be all the bytes
  // that are no digits.
  const int blank = std::countr_zero(blanks | std::uint32_t{1} << 31);
  if (size < kShortestLine || blank < kShortestLine / 2 || blank > size - 8) return -1;
  const bool xNegative = text[0] == '-';
  const bool yNegative = text[blank + 1] == '-';
  const int xPoint = blank - 1 - kDecimals;
  const int yPoint = size - 1 - kDecimals;
  const int xLead = xPoint;
  const int yLead = yPoint - (blank + 1);
  // X's point and the blank seven bytes after it; Y's sign just after the blank.
  const std::uint32_t expected = std::uint32_t{xNegative} |
                                 (0x41u | std::uint32_t{yNegative} << 7) << xPoint |
                                 std::uint32_t{1} << yPoint;
  if (notDigits != expected || text[xPoint] != '.' || text[yPoint] != '.' ||
      xLead - xNegative < 1 || xLead - xNegative > kMaxWholeDigits || yLead - yNegative < 1 ||
      yLead - yNegative > kMaxWholeDigits) {
    return -1;
  }
  const __m128d values =
      ValuesOf(DigitWindow(text + xPoint, xLead), DigitWindow(text + yPoint, yLead));
  const __m128d signs = _mm_load_pd(kSigns[int{xNegative} + 2 * int{yNegative}]);
  const __m128d signed_ = _mm_xor_pd(values, signs);
  _mm_storel_pd(&x, signed_);
  _mm_storeh_pd(&y, signed_);
  return size;
}

#else

inline int ReadBufferedPointLine(const char* text, double& x, double& y) {
  (void)text;
  (void)x;
  (void)y;
  return -1;
}

#endif

}  // namespace parquill
