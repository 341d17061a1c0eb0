#pragma once

#include <array>
#include <cstdint>

#include "base/line_reader.h"

namespace parquill {

// One region's ring as the attribute attachment reads it back from the MIF
// file: points in slots 1 to count (slot 0 unused), at most 1000 of them.
struct RegionRing {
  static constexpr int kCapacity = 1000;
  std::int16_t count = 0;
  std::array<double, kCapacity + 1> x{};
  std::array<double, kCapacity + 1> y{};
};

// Reads on to the next line that contains "REGION", then its point count
// and its point lines; false at the end of the file. A count beyond 16 bits
// is error 6, a ring of more than 1000 points or a point line without a
// blank error 9, a file ending inside the ring error 62. The ring is not
// cleared between regions.
bool ReadNextRegionRing(LineReader& mif, RegionRing& ring);

}  // namespace parquill
