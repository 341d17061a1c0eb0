#include "sima/point_table.h"

namespace parquill {

PointTable::PointTable() : x_(1, 0.0), y_(1, 0.0) {
  x_.reserve(kCapacity + 1);
  y_.reserve(kCapacity + 1);
}

int PointTable::Find(double x, double y) const {
  const std::size_t size = x_.size();
  for (std::size_t k = 1; k < size; ++k) {
    if (WithinTolerance(x_[k], x) && WithinTolerance(y_[k], y)) {
      return static_cast<int>(k);
    }
  }
  return 0;
}

int PointTable::Add(double x, double y) {
  if (count() >= kCapacity) return 0;
  x_.push_back(x);
  y_.push_back(y);
  return count();
}

}  // namespace parquill
