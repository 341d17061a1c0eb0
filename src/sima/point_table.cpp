#include "sima/point_table.h"

namespace parquill {

PointTable::PointTable() : grid_(kCapacity), x_(1, 0.0), y_(1, 0.0) {
  x_.reserve(kCapacity + 1);
  y_.reserve(kCapacity + 1);
}

int PointTable::Find(double x, double y) const {
  return grid_.FindFirst(x, y, [&](int k) {
    const std::size_t i = static_cast<std::size_t>(k);
    return WithinTolerance(x_[i], x) && WithinTolerance(y_[i], y);
  });
}

int PointTable::FindOrAdd(double x, double y) {
  if (int k = Find(x, y)) return k;
  return Add(x, y);
}

int PointTable::Add(double x, double y) {
  if (count() >= kCapacity) return 0;
  x_.push_back(x);
  y_.push_back(y);
  grid_.Add(count(), x, y);
  return count();
}

}  // namespace parquill
