#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace parquill {

// A hash of square cells over the boundary points, so that a point search
// only looks at the points near the one searched. Every cell lists its points
// in ascending number. A cell is far wider than the coordinate tolerance, so
// the matches of a point lie in at most two cells along each axis.
// Points too far out for a cell number (or not numbers at all) are kept in a
// list of their own that every search scans.
class PointGrid {
 public:
  // Past the tolerance and its slack, so that the cells searched cover every
  // point that may match.
  static constexpr double kSearchReach = 0.0011;
  // Boundary points lie metres apart: a cell of about 31 cm holds one or
  // none, and a search mostly looks at one cell. The width (π/10) is no round
  // number, so that round coordinates do not all fall on cell borders (where
  // a search looks at two cells, or four).
  static constexpr double kCellWidth = 0.3141592653589793;

  // Room for `expectedPoints` points before the hash grows.
  explicit PointGrid(std::size_t expectedPoints = 0);

  // Files point k (numbers ascending from one call to the next) at (x, y).
  void Add(int k, double x, double y);

  // The lowest-numbered point j with matches(j) among those that may lie
  // within the tolerance of (x, y); 0 when none.
  template <typename Matches>
  int FindFirst(double x, double y, Matches matches) const;

 private:
  // 16 bytes, so that the hash of a full point table fits in half a megabyte.
  struct Slot {
    std::uint64_t cell = 0;  // the two cell numbers, see CellKey
    int first = 0;           // the cell's lowest point; 0 for an empty slot
    int last = 0;
  };

  // Points within this distance of the origin in both axes get a cell (its
  // numbers fit in 32 bits; survey coordinates lie within a few hundred
  // kilometres); a search that far out, plus the tolerance, looks at the cells.
  static constexpr double kGriddedLimit = 6e8;
  static constexpr double kSearchedLimit = kGriddedLimit + 1;

  static bool Within(double x, double y, double limit);
  static std::int32_t CellOf(double v);
  static std::uint64_t CellKey(std::int32_t cx, std::int32_t cy);
  std::size_t SlotIndex(std::uint64_t cell) const;
  void Grow();

  std::vector<Slot> slots_;  // open addressing; the size is a power of two
  int indexShift_ = 0;       // 64 less the bits of a slot index
  std::size_t used_ = 0;
  std::vector<int> next_;  // next_[k]: the next point of k's cell, 0 at the end
  std::vector<int> far_;   // the points kept outside the cells
};

inline bool PointGrid::Within(double x, double y, double limit) {
  return std::fabs(x) <= limit && std::fabs(y) <= limit;  // false for NaN
}

// Never decreasing in v (a product by a positive constant and the floor
// both keep the order), so a point between two values has its cell between
// theirs.
inline std::int32_t PointGrid::CellOf(double v) {
  const double scaled = v * (1 / kCellWidth);
  auto cell = static_cast<std::int32_t>(scaled);  // toward zero
  return static_cast<double>(cell) > scaled ? cell - 1 : cell;
}

inline std::uint64_t PointGrid::CellKey(std::int32_t cx, std::int32_t cy) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32 |
         static_cast<std::uint32_t>(cy);
}

inline std::size_t PointGrid::SlotIndex(std::uint64_t cell) const {
  // Fibonacci hashing: the top bits of the key's product by 2^64 over the
  // golden ratio spread neighbouring cells over the table.
  return static_cast<std::size_t>((cell * 0x9E3779B97F4A7C15ULL) >> indexShift_);
}

template <typename Matches>
int PointGrid::FindFirst(double x, double y, Matches matches) const {
  int best = 0;
  for (int k : far_) {
    if (matches(k)) {
      best = k;
      break;
    }
  }
  if (!Within(x, y, kSearchedLimit)) return best;
  // The cells that the square of the tolerance (and a little more for the
  // rounding of the subtraction) around (x, y) touches: one to four.
  const double reachX = kSearchReach + std::fabs(x) * 1e-15;
  const double reachY = kSearchReach + std::fabs(y) * 1e-15;
  const std::int32_t x0 = CellOf(x - reachX), x1 = CellOf(x + reachX);
  const std::int32_t y0 = CellOf(y - reachY), y1 = CellOf(y + reachY);
  const std::size_t mask = slots_.size() - 1;
  for (std::int32_t cx = x0; cx <= x1; ++cx) {
    for (std::int32_t cy = y0; cy <= y1; ++cy) {
      const std::uint64_t cell = CellKey(cx, cy);
      for (std::size_t i = SlotIndex(cell);; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.first == 0) break;
        if (slot.cell != cell) continue;
        // The cell's points come in ascending number: the first match is its best.
        for (int k = slot.first; k != 0 && (best == 0 || k < best); k = next_[k]) {
          if (matches(k)) {
            best = k;
            break;
          }
        }
        break;
      }
    }
  }
  return best;
}

}  // namespace parquill
