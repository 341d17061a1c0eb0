#include "sima/point_table.h"

namespace parquill {

PointTable::PointTable(SearchStrategy search)
    : search_(search),
      grid_(search == SearchStrategy::kIndexed ? kCapacity : 0),
      x_(1, 0.0),
      y_(1, 0.0) {
  x_.reserve(kCapacity + 1);
  y_.reserve(kCapacity + 1);
}

int PointTable::Find(double x, double y) const {
  if (search_ == SearchStrategy::kLinear) return FindLinear(x, y);
  return grid_.FindFirst(x, y, [&](int k) {
    const std::size_t i = static_cast<std::size_t>(k);
    return WithinTolerance(x_[i], x) && WithinTolerance(y_[i], y);
  });
}

int PointTable::FindLinear(double x, double y) const {
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
  if (search_ == SearchStrategy::kIndexed) grid_.Add(count(), x, y);
  return count();
}

}  // namespace parquill
