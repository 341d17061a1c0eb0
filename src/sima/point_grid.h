#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace parquill {

// A hash of square cells over the boundary points, so that a point search
// only looks at the points near the one searched. Every cell lists its points
// in ascending number. A cell is four times the coordinate tolerance wide, so
// the matches of a point lie in at most two cells along each axis.
// Points too far out for a cell number (or not numbers at all) are kept in a
// list of their own that every search scans.
class PointGrid {
 public:
  PointGrid();

  // Files point k (numbers ascending from one call to the next) at (x, y).
  void Add(int k, double x, double y);

  // The lowest-numbered point j with matches(j) among those that may lie
  // within the tolerance of (x, y); 0 when none.
  template <typename Matches>
  int FindFirst(double x, double y, Matches matches) const;

 private:
  struct Slot {
    std::int64_t cx = 0;
    std::int64_t cy = 0;
    int first = 0;  // the cell's lowest point; 0 for an empty slot
    int last = 0;
  };

  // Points within this distance of the origin in both axes get a cell; a
  // search that far out, plus the tolerance, looks at the cells.
  static constexpr double kGriddedLimit = 1e12;
  static constexpr double kSearchedLimit = kGriddedLimit + 1;
  // Past the tolerance and its slack, so that the cells searched cover every
  // point that may match.
  static constexpr double kSearchReach = 0.0011;

  static bool Within(double x, double y, double limit);
  static std::int64_t CellOf(double v);
  std::size_t SlotIndex(std::int64_t cx, std::int64_t cy) const;
  void Grow();

  std::vector<Slot> slots_;  // open addressing; the size is a power of two
  std::size_t used_ = 0;
  std::vector<int> next_;  // next_[k]: the next point of k's cell, 0 at the end
  std::vector<int> far_;   // the points kept outside the cells
};

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
  const std::int64_t x0 = CellOf(x - reachX), x1 = CellOf(x + reachX);
  const std::int64_t y0 = CellOf(y - reachY), y1 = CellOf(y + reachY);
  const std::size_t mask = slots_.size() - 1;
  for (std::int64_t cx = x0; cx <= x1; ++cx) {
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
      for (std::size_t i = SlotIndex(cx, cy);; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.first == 0) break;
        if (slot.cx != cx || slot.cy != cy) continue;
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
