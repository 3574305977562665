#include "Platform/Audio/Private/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace AudioLayer {

void RaiseIOThreadPriority() {
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 9;
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) {
    return;
  }
  // Refusals are expected for ordinary users; the thread then runs as it is.
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -11) != 0) {
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -1);
  }
}

}  // namespace AudioLayer
