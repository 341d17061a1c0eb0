#include "sima/point_table.h"

#include <cmath>

namespace parquill {
namespace {

// Points within this distance of the origin in both axes get a cell (its
// numbers fit in 32 bits; survey coordinates lie within a few hundred kilometres).
constexpr double kGriddedLimit = 6e8;
// Past the tolerance and its slack, so that the cells searched cover every match.
constexpr double kSearchReach = kCoordinateTolerance + 1e-4;

bool Gridded(double x, double y) {
  return std::fabs(x) <= kGriddedLimit && std::fabs(y) <= kGriddedLimit;  // false for NaN
}

// Never decreasing in v, so a point between two values has its cell between theirs.
std::int32_t CellOf(double v) {
  return static_cast<std::int32_t>(std::floor(v * (1 / PointTable::kCellWidth)));
}

std::uint64_t CellKey(std::int32_t cx, std::int32_t cy) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32 |
         static_cast<std::uint32_t>(cy);
}

}  // namespace

PointTable::PointTable() : x_(1, 0.0), y_(1, 0.0) {
  x_.reserve(kCapacity + 1);
  y_.reserve(kCapacity + 1);
}

bool PointTable::Matches(int k, double x, double y) const {
  const auto i = static_cast<std::size_t>(k);
  return WithinTolerance(x_[i], x) && WithinTolerance(y_[i], y);
}

int PointTable::Find(double x, double y) const {
  int best = 0;
  for (int k : far_) {
    if (Matches(k, x, y)) {
      best = k;
      break;
    }
  }
  if (!Gridded(std::fabs(x) - kSearchReach, std::fabs(y) - kSearchReach)) return best;
  // The cells the square of the tolerance around (x, y) touches: one to four,
  // each holding its points in ascending number.
  const double reachX = kSearchReach + std::fabs(x) * 1e-15;
  const double reachY = kSearchReach + std::fabs(y) * 1e-15;
  for (std::int32_t cx = CellOf(x - reachX); cx <= CellOf(x + reachX); ++cx) {
    for (std::int32_t cy = CellOf(y - reachY); cy <= CellOf(y + reachY); ++cy) {
      const auto cell = cells_.find(CellKey(cx, cy));
      if (cell == cells_.end()) continue;
      for (int k : cell->second) {
        if (best != 0 && k > best) break;
        if (Matches(k, x, y)) {
          best = k;
          break;
        }
      }
    }
  }
  return best;
}

int PointTable::FindOrAdd(double x, double y) {
  if (int k = Find(x, y)) return k;
  return Add(x, y);
}

int PointTable::Add(double x, double y) {
  if (count() >= kCapacity) return 0;
  x_.push_back(x);
  y_.push_back(y);
  if (Gridded(x, y)) {
    cells_[CellKey(CellOf(x), CellOf(y))].push_back(count());
  } else {
    far_.push_back(count());
  }
  return count();
}

}  // namespace parquill
