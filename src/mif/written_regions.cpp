#include "mif/written_regions.h"

namespace parquill {
namespace {

// Regions are handed over to the readings in batches (about what the file
// holds in 64 KiB): a reading mostly follows close behind, and waking it for
// every region would cost both threads more than it gains.
constexpr std::size_t kRegionsPerBatch = 64;

}  // namespace

WrittenRegions::WrittenRegions()
    : x_(std::make_unique_for_overwrite<double[]>(kMostPoints)),
      y_(std::make_unique_for_overwrite<double[]>(kMostPoints)),
      entries_(std::make_unique_for_overwrite<Entry[]>(kMostRegions)) {}

bool WrittenRegions::Room(std::int32_t count, double*& x, double*& y) {
  if (gaveUp_) return false;
  if (count < 0 || regions_ >= kMostRegions ||
      static_cast<std::size_t>(count) > kMostPoints - points_) {
    GiveUp();
    return false;
  }
  x = x_.get() + points_;
  y = y_.get() + points_;
  return true;
}

void WrittenRegions::Add(std::int64_t offset, std::int64_t linesBefore, std::int32_t count) {
  if (gaveUp_) return;
  entries_[regions_] = {offset, linesBefore, count, points_};
  points_ += static_cast<std::size_t>(count);
  ++regions_;
  if (regions_ % kRegionsPerBatch == 0) Publish();
}

void WrittenRegions::Publish() {
  // A reading that waits says so before it looks at published_ again: one of
  // the two sees the other's store, and the lock is taken only to wake it.
  published_.store(regions_, std::memory_order_seq_cst);
  if (!waiting_.load(std::memory_order_seq_cst)) return;
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
}

void WrittenRegions::GiveUp() {
  gaveUp_ = true;
  {
    std::lock_guard lock(mutex_);
    givenUp_ = true;
  }
  changed_.notify_all();
}

void WrittenRegions::Finished() {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return;
    finished_ = true;
    published_.store(regions_, std::memory_order_release);
  }
  changed_.notify_all();
}

bool WrittenRegions::WaitFor(std::size_t index, Region& region) const {
  if (index >= published_.load(std::memory_order_acquire)) {
    std::unique_lock lock(mutex_);
    waiting_.store(true, std::memory_order_seq_cst);
    changed_.wait(lock, [&] {
      return givenUp_ || finished_ || index < published_.load(std::memory_order_seq_cst);
    });
    waiting_.store(false, std::memory_order_relaxed);
    if (givenUp_ || index >= published_.load(std::memory_order_relaxed)) return false;
  }
  const Entry& entry = entries_[index];
  region = {entry.offset, entry.linesBefore, entry.count, x_.get() + entry.first,
            y_.get() + entry.first};
  return true;
}

bool WrittenRegions::complete() const {
  std::lock_guard lock(mutex_);
  return finished_ && !givenUp_;
}

}  // namespace parquill
