#pragma once

// The decimal digits of a coordinate's whole part and of its five decimals,
// both split at once (x86-64, SSE2): each number is cut into fours, pairs and
// digits, each cut being a multiplication by a reciprocal on every lane.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace parquill {

// The eight decimal digits of `first` and of `second` (both below 10^8),
// leading zeros included, as digit values 0 to 9: bytes 0 to 7 are those of
// `first`, bytes 8 to 15 those of `second`, each number's first digit in the
// lower byte.
inline __m128i EightDigitsOfEach(std::uint32_t first, std::uint32_t second) {
  const __m128i numbers = _mm_unpacklo_epi64(_mm_cvtsi32_si128(static_cast<int>(first)),
                                             _mm_cvtsi32_si128(static_cast<int>(second)));
  // Each number's first four digits (n × ⌈2^45 / 10^4⌉ >> 45) in its low 32
  // bits, its last four in its high 32 bits.
  const __m128i firstFours =
      _mm_srli_epi64(_mm_mul_epu32(numbers, _mm_set1_epi32(static_cast<int>(0xD1B71759))), 45);
  const __m128i lastFours =
      _mm_sub_epi32(numbers, _mm_mul_epu32(firstFours, _mm_set1_epi32(10000)));
  const __m128i fours = _mm_or_si128(firstFours, _mm_slli_epi64(lastFours, 32));
  // Each four (below 10^4) into its hundreds ((x × 5243) >> 19) in the low
  // 16 bits and its last two digits in the high 16 bits.
  const __m128i hundreds = _mm_srli_epi16(_mm_mulhi_epu16(fours, _mm_set1_epi32(5243)), 3);
  const __m128i lastTwos = _mm_sub_epi16(fours, _mm_mullo_epi16(hundreds, _mm_set1_epi32(100)));
  const __m128i pairs = _mm_or_si128(hundreds, _mm_slli_epi32(lastTwos, 16));
  // Each pair (below 100) into its tens ((x × 6554) >> 16) in the low byte
  // and its units in the high byte.
  const __m128i tens = _mm_mulhi_epu16(pairs, _mm_set1_epi16(6554));
  const __m128i units = _mm_sub_epi16(pairs, _mm_mullo_epi16(tens, _mm_set1_epi16(10)));
  return _mm_or_si128(tens, _mm_slli_epi16(units, 8));
}

}  // namespace parquill

#endif
