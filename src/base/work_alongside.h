#pragma once

#include <pthread.h>

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace parquill {

// A thread started for one piece of work, joined once.
class AlongsideThread {
 public:
  AlongsideThread() = default;
  ~AlongsideThread() { Join(); }
  AlongsideThread(const AlongsideThread&) = delete;
  AlongsideThread& operator=(const AlongsideThread&) = delete;

  // Starts `run(argument)` on a new thread, placed on a CPU other than the
  // caller's when there is one: a new thread otherwise starts on its parent's
  // CPU and shares it until the scheduler balances the load, and the work
  // given here lasts only milliseconds. False when no thread can be started.
  bool Start(void (*run)(void*), void* argument);
  bool joinable() const { return started_; }
  void Join();

 private:
  struct Launch;
  bool started_ = false;
  pthread_t handle_{};
};

// Runs one piece of work on a second thread while the caller goes on with
// other work; the piece must not touch what the caller uses meanwhile. Where no
// thread can be started, the work is done when its result is taken. An
// exception thrown by the work is thrown again by Take().
template <typename Result>
class WorkAlongside {
 public:
  explicit WorkAlongside(std::function<Result()> work) : work_(std::move(work)) {
    alongside_ = thread_.Start([](void* self) { static_cast<WorkAlongside*>(self)->Run(); }, this);
  }
  ~WorkAlongside() { thread_.Join(); }
  WorkAlongside(const WorkAlongside&) = delete;
  WorkAlongside& operator=(const WorkAlongside&) = delete;

  // True when the work got a thread of its own (false: Take() does it).
  bool Alongside() const { return alongside_; }
  // True when Take() would not wait: the work is done, or it has no thread
  // and is done by Take() itself.
  bool Ready() const { return !thread_.joinable() || done_.load(std::memory_order_acquire); }

  // Waits for the work (or does it) and hands its result over; once only.
  Result Take() {
    if (thread_.joinable()) {
      thread_.Join();
    } else if (!done_.load(std::memory_order_acquire)) {
      Run();
    }
    if (error_) std::rethrow_exception(error_);
    return std::move(*result_);
  }

 private:
  void Run() {
    try {
      result_.emplace(work_());
    } catch (...) {
      error_ = std::current_exception();
    }
    done_.store(true, std::memory_order_release);
  }

  std::function<Result()> work_;
  std::optional<Result> result_;
  std::exception_ptr error_;
  std::atomic<bool> done_{false};
  bool alongside_ = false;
  AlongsideThread thread_;
};

}  // namespace parquill
