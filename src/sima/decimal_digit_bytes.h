#pragma once

#include <cstdint>

namespace parquill {

// The eight decimal digits of `number` (below 10^8, leading zeros included),
// one a byte as its value 0 to 9, the first digit in the lowest byte: the
// digits of a record's number or coordinate, all found at once. Adding '0' to
// every byte makes them text in the order it is written.
inline std::uint64_t EightDigitBytes(std::uint32_t number) {
  // Two groups of four digits in two 32-bit halves, the first group low.
  std::uint64_t groups = number / 10000 | std::uint64_t{number % 10000} << 32;
  // Each group cut into its hundreds and the rest (a product by 10486 and a
  // shift of 20 divide below 10^4 exactly by 100): four pairs in 16 bits each.
  const std::uint64_t hundreds = (groups * 10486 >> 20) & 0x0000007F0000007FULL;
  groups = hundreds | (groups - hundreds * 100) << 16;
  // Each pair cut into its tens and units (by 103 and 10 bits: exact below 10^2).
  const std::uint64_t tens = (groups * 103 >> 10) & 0x000F000F000F000FULL;
  return tens | (groups - tens * 10) << 8;
}

}  // namespace parquill
