#include "geometry/point_grid.h"

#include <bit>

#include "base/limits.h"

static_assert(parquill::kCoordinateTolerance + 1e-7 < parquill::PointGrid::kSearchReach,
              "the search reaches every match");

namespace parquill {
namespace {

constexpr std::size_t kFirstSlots = 1024;

// Slots for `points` points with the hash at most half full.
std::size_t SlotsFor(std::size_t points) {
  std::size_t slots = kFirstSlots;
  while (slots < 2 * points) slots *= 2;
  return slots;
}

// The shift that leaves the bits of an index into `slots` slots.
int IndexShiftFor(std::size_t slots) { return 64 - std::countr_zero(slots); }

}  // namespace

PointGrid::PointGrid(std::size_t expectedPoints)
    : slots_(SlotsFor(expectedPoints)),
      indexShift_(IndexShiftFor(slots_.size())),
      next_(expectedPoints + 1, 0) {}

void PointGrid::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  indexShift_ = IndexShiftFor(slots_.size());
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.first == 0) continue;
    std::size_t i = SlotIndex(slot.cell);
    while (slots_[i].first != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void PointGrid::Add(int k, double x, double y) {
  // Room for every point expected is made at the start; past it, room as needed.
  if (static_cast<std::size_t>(k) >= next_.size()) next_.resize(static_cast<std::size_t>(k) + 1, 0);
  if (!Within(x, y, kGriddedLimit)) {
    far_.push_back(k);
    return;
  }
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::uint64_t cell = CellKey(CellOf(x), CellOf(y));
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = SlotIndex(cell);
  while (slots_[i].first != 0 && slots_[i].cell != cell) i = (i + 1) & mask;
  Slot& slot = slots_[i];
  if (slot.first == 0) {
    slot = {cell, k, k};
    ++used_;
  } else {
    next_[static_cast<std::size_t>(slot.last)] = k;
    slot.last = k;
  }
}

}  // namespace parquill
