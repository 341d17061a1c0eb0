#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace parquill {

// The number of the CPU the calling thread runs on, or -1 where unknown.
int CurrentCpu();

// Moves the calling thread to a CPU other than `parentCpu` when there is one:
// a new thread starts on its parent's CPU and shares it until the scheduler
// balances the load, and the work given to one here lasts only milliseconds.
// Every CPU is allowed again afterwards.
void MoveOffCpu(int parentCpu);

// Runs one piece of work on a second thread while the caller goes on with
// other work; the piece must not touch what the caller uses meanwhile. Where no
// thread can be started, the work is done when its result is taken. An
// exception thrown by the work is thrown again by Take().
template <typename Result>
class WorkAlongside {
 public:
  explicit WorkAlongside(std::function<Result()> work) : work_(std::move(work)) {
    try {
      const int parentCpu = CurrentCpu();
      thread_ = std::thread([this, parentCpu] {
        MoveOffCpu(parentCpu);
        Run();
      });
    } catch (const std::system_error&) {
      // No second thread: Take runs the work in this one.
    }
  }
  ~WorkAlongside() {
    if (thread_.joinable()) thread_.join();
  }
  WorkAlongside(const WorkAlongside&) = delete;
  WorkAlongside& operator=(const WorkAlongside&) = delete;

  // True when Take() would not wait: the work is done, or it has no thread
  // and is done by Take() itself.
  bool Ready() const { return !thread_.joinable() || done_.load(std::memory_order_acquire); }

  // Waits for the work (or does it) and hands its result over; once only.
  Result Take() {
    if (thread_.joinable()) {
      thread_.join();
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
  std::thread thread_;
};

}  // namespace parquill
