#include "base/work_alongside.h"

#include <pthread.h>
#include <sched.h>

#include <new>

namespace parquill {

// What the new thread needs: its work, and the CPUs to allow once it runs.
struct AlongsideThread::Launch {
  void (*run)(void*);
  void* argument;
  bool widen;
  cpu_set_t allowed;

  static void* Main(void* start) {
    Launch own = *static_cast<Launch*>(start);
    delete static_cast<Launch*>(start);
    // Placed away from its parent's CPU at its start; from now on the
    // scheduler may move it anywhere again.
    if (own.widen) sched_setaffinity(0, sizeof own.allowed, &own.allowed);
    own.run(own.argument);
    return nullptr;
  }
};

bool AlongsideThread::Start(void (*run)(void*), void* argument) {
  Join();
  auto* start = new (std::nothrow) Launch{run, argument, false, {}};
  if (start == nullptr) return false;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) {
    delete start;
    return false;
  }
  const int parentCpu = sched_getcpu();
  if (parentCpu >= 0 && sched_getaffinity(0, sizeof start->allowed, &start->allowed) == 0 &&
      CPU_COUNT(&start->allowed) > 1 && CPU_ISSET(parentCpu, &start->allowed)) {
    cpu_set_t others = start->allowed;
    CPU_CLR(parentCpu, &others);
    start->widen = pthread_attr_setaffinity_np(&attributes, sizeof others, &others) == 0;
  }
  pthread_t thread;
  const bool created = pthread_create(&thread, &attributes, &Launch::Main, start) == 0;
  pthread_attr_destroy(&attributes);
  if (!created) {
    delete start;
    return false;
  }
  handle_ = thread;
  started_ = true;
  return true;
}

void AlongsideThread::Join() {
  if (!started_) return;
  pthread_join(handle_, nullptr);
  started_ = false;
}

}  // namespace parquill
