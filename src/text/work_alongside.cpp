#include "text/work_alongside.h"

#if defined(__linux__)
#include <sched.h>
#endif

namespace parquill {

int CurrentCpu() {
#if defined(__linux__)
  return sched_getcpu();
#else
  return -1;
#endif
}

void MoveOffCpu(int parentCpu) {
#if defined(__linux__)
  cpu_set_t allowed;
  if (parentCpu < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
  if (CPU_COUNT(&allowed) < 2 || !CPU_ISSET(parentCpu, &allowed)) return;
  cpu_set_t others = allowed;
  CPU_CLR(parentCpu, &others);
  if (sched_setaffinity(0, sizeof others, &others) == 0) {
    sched_setaffinity(0, sizeof allowed, &allowed);
  }
#else
  (void)parentCpu;
#endif
}

}  // namespace parquill
