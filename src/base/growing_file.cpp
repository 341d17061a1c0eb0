#include "base/growing_file.h"

namespace parquill {

void GrowingFile::Opened() {
  {
    std::lock_guard lock(mutex_);
    opened_ = true;
  }
  changed_.notify_all();
}

void GrowingFile::Wrote(std::int64_t size) {
  {
    std::lock_guard lock(mutex_);
    size_ = size;
  }
  changed_.notify_all();
}

void GrowingFile::Finished() {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return;
    finished_ = true;
  }
  changed_.notify_all();
}

bool GrowingFile::WaitUntilOpened() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return opened_ || finished_; });
  return opened_;
}

bool GrowingFile::WaitForMoreThan(std::int64_t size) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this, size] { return size_ > size || finished_; });
  return size_ > size;
}

}  // namespace parquill
