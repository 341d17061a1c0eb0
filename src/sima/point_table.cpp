#include "sima/point_table.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace parquill {
namespace {

// Room for every point with the hash at most half full.
constexpr std::size_t kSameSlots = std::bit_ceil(std::size_t{2} * PointTable::kCapacity);

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

std::size_t SameSlot(double x, double y) {
  const std::uint64_t key = Bits(x) * 0x9E3779B97F4A7C15ULL ^ Bits(y);
  return static_cast<std::size_t>((key * 0xC2B2AE3D27D4EB4FULL) >> 32) & (kSameSlots - 1);
}

// NaN and the infinities never lie within the tolerance, not even of
// themselves: they are left to the search.
bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

}  // namespace

PointTable::PointTable(SearchStrategy search)
    : search_(search),
      grid_(search == SearchStrategy::kIndexed ? kCapacity : 0),
      same_(search == SearchStrategy::kIndexed ? kSameSlots : 0, 0),
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

int PointTable::FindSame(double x, double y) const {
  for (std::size_t i = SameSlot(x, y);; i = (i + 1) & (kSameSlots - 1)) {
    const int k = same_[i];
    if (k == 0) return 0;
    const auto at = static_cast<std::size_t>(k);
    if (Bits(x_[at]) == Bits(x) && Bits(y_[at]) == Bits(y)) return k;
  }
}

void PointTable::KeepSame(int k) {
  const auto at = static_cast<std::size_t>(k);
  std::size_t i = SameSlot(x_[at], y_[at]);
  while (same_[i] != 0) i = (i + 1) & (kSameSlots - 1);
  same_[i] = k;
}

int PointTable::FindOrAdd(double x, double y) {
  const bool keep = search_ == SearchStrategy::kIndexed && Finite(x, y);
  if (keep) {
    if (int k = FindSame(x, y)) return k;
  }
  if (int k = Find(x, y)) return k;
  const int k = Add(x, y);
  if (keep && k != 0) KeepSame(k);
  return k;
}

int PointTable::Add(double x, double y) {
  if (count() >= kCapacity) return 0;
  x_.push_back(x);
  y_.push_back(y);
  if (search_ == SearchStrategy::kIndexed) grid_.Add(count(), x, y);
  return count();
}

}  // namespace parquill
