#pragma once

// The usual DXF value, such as "-28425.25", read from one block of sixteen
// bytes: the digits are told from the other bytes all at once, the point is
// taken out, and the digits are joined pairwise into one whole number.
// The block reading itself is for x86-64 (SSE2); other machines read such
// numbers a word at a time.

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>

#include <bit>
#endif

namespace parquill {

// Bytes of the block read from the first byte after the sign: a text followed
// by at least this many readable bytes may be read as a block.
inline constexpr std::size_t kNumberBlockBytes = 16;

namespace number_block {

// Powers of ten that doubles hold exactly.
inline constexpr double kExactPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace number_block

#if defined(__SSE2__)
namespace number_block {

// Sixteen 0xFF bytes, then sixteen zero bytes: the sixteen bytes from
// kLeadingBytes + 16 - n keep the first n bytes of a block.
alignas(32) inline constexpr unsigned char kLeadingBytes[32] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

inline __m128i FirstBytes(unsigned n) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLeadingBytes + 16 - n));
}

// The inverse of an odd number among the whole numbers modulo 2^64: each step
// doubles the bits that are right, and any odd number is its own inverse to
// three bits.
constexpr std::uint64_t InverseOfOdd(std::uint64_t odd) {
  std::uint64_t inverse = odd;
  for (int step = 0; step < 5; ++step) inverse *= 2 - odd * inverse;
  return inverse;
}

constexpr std::uint64_t PowerOfFive(int n) { return n == 0 ? 1 : 5 * PowerOfFive(n - 1); }

// A multiple of 10^n is divided by 10^n exactly by dropping n bits, then
// multiplying by the inverse of 5^n modulo 2^64.
inline constexpr std::uint64_t kInversesOfFivePowers[16] = {
    InverseOfOdd(PowerOfFive(0)),  InverseOfOdd(PowerOfFive(1)),  InverseOfOdd(PowerOfFive(2)),
    InverseOfOdd(PowerOfFive(3)),  InverseOfOdd(PowerOfFive(4)),  InverseOfOdd(PowerOfFive(5)),
    InverseOfOdd(PowerOfFive(6)),  InverseOfOdd(PowerOfFive(7)),  InverseOfOdd(PowerOfFive(8)),
    InverseOfOdd(PowerOfFive(9)),  InverseOfOdd(PowerOfFive(10)), InverseOfOdd(PowerOfFive(11)),
    InverseOfOdd(PowerOfFive(12)), InverseOfOdd(PowerOfFive(13)), InverseOfOdd(PowerOfFive(14)),
    InverseOfOdd(PowerOfFive(15))};

// The sixteen digit values of a block (0 to 9 in each byte, the first digit in
// the lowest byte) as one whole number: pairs, fours and eights are joined by
// multiply-adds on 16-bit lanes.
inline std::uint64_t SixteenDigitsValue(__m128i digits) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i tensAndUnits = _mm_setr_epi16(10, 1, 10, 1, 10, 1, 10, 1);
  const __m128i pairs =
      _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(digits, zero), tensAndUnits),
                      _mm_madd_epi16(_mm_unpackhi_epi8(digits, zero), tensAndUnits));
  const __m128i fours = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
  const __m128i eights = _mm_madd_epi16(_mm_packs_epi32(fours, fours),
                                        _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
  const auto first = static_cast<std::uint32_t>(_mm_cvtsi128_si32(eights));
  const auto last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(eights, 4)));
  return std::uint64_t{first} * 100'000'000 + last;
}

// The value of the first n bytes of `block` (the text after its sign), when
// they are digits with at most one point among them, 1 to 15 digits in all;
// false for any other bytes. n is at most 16.
inline bool BlockValue(__m128i block, unsigned n, bool negative, double& value) {
  const __m128i values = _mm_sub_epi8(block, _mm_set1_epi8('0'));
  const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(values, _mm_set1_epi8(9)), values);
  const auto digitBits = static_cast<unsigned>(_mm_movemask_epi8(isDigit));
  const auto pointBits =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('.'))));
  // Within the text, every byte but the first point must be a digit; the
  // point's place is n when the text has none.
  const unsigned end = 1u << n;
  const auto point = static_cast<unsigned>(std::countr_zero(pointBits | end));
  const unsigned allowed = digitBits | (1u << point);
  if (static_cast<unsigned>(std::countr_zero(~allowed)) < n) return false;
  const unsigned count = point < n ? n - 1 : n;
  if (count - 1 >= 15) return false;  // no digit, or more than a double holds exactly

  // The digits of the text, the whole part moved one byte on over the point:
  // the count digits then stand in bytes 1 to count.
  const __m128i digits = _mm_and_si128(_mm_and_si128(values, isDigit), FirstBytes(n));
  const __m128i whole = FirstBytes(point);
  const __m128i joined = _mm_or_si128(_mm_slli_si128(_mm_and_si128(digits, whole), 1),
                                      _mm_andnot_si128(whole, digits));
  // Read as sixteen digits they make the number × 10^(15 - count).
  const unsigned scale = 15 - count;
  const std::uint64_t scaled = SixteenDigitsValue(joined);
  const auto number = static_cast<std::int64_t>((scaled >> scale) * kInversesOfFivePowers[scale]);
  const double magnitude = static_cast<double>(number) / kExactPowersOfTen[count - point];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace number_block

// Reads a text of exactly this shape: an optional sign, then digits with at
// most one "." among them, 1 to 15 digits in all, nothing else (no blank, no
// exponent). Such a number is digits / 10^decimals, both exact doubles, so one
// division gives the correctly rounded value; a negative zero keeps its sign.
// kNumberBlockBytes bytes after the text must be readable. False, and nothing
// read, for any other text.
inline bool ReadNumberBlock(const char* text, std::size_t size, double& value) {
  using namespace number_block;
  // The sign: the block starts after it. An empty text may look at its first
  // readable byte; the size then tells the shape apart.
  const bool negative = *text == '-';
  const std::size_t signs = negative || *text == '+' ? 1 : 0;
  const std::size_t length = size - signs;  // wraps round for an empty text
  if (length - 1 >= kNumberBlockBytes) return false;
  const auto n = static_cast<unsigned>(length);
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + signs));
  return BlockValue(block, n, negative, value);
}
// Reads a value line of the usual shape straight from a reader's buffer: the
// bytes from `text` on up to the first CR or LF, which must come within
// kNumberBlockBytes bytes after the sign, are read as ReadNumberBlock reads
// such a text, in the same look that finds the line's end. Returns the line's
// length, with `value` set to what ReadNumberBlock gives for the line; -1,
// nothing read, for any other line. kNumberBlockBytes bytes after the sign
// must be readable.
inline int ReadNumberBlockLine(const char* text, double& value) {
  using namespace number_block;
  const bool negative = *text == '-';
  const std::size_t signs = negative || *text == '+' ? 1 : 0;
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + signs));
  const auto lineEndBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
      _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')))));
  if (lineEndBits == 0) return -1;  // the line is longer than the block
  const auto n = static_cast<unsigned>(std::countr_zero(lineEndBits));

  if (!BlockValue(block, n, negative, value)) return -1;
  return static_cast<int>(signs + n);
}
#endif

}  // namespace parquill
