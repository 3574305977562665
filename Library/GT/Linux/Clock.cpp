#include "GT/Com/Thread/Clock.h"

#include <cerrno>
#include <chrono>

#include <time.h>

namespace GT {

void Sleep(long milliseconds) {
  if (milliseconds <= 0) {
    return;
  }
  // Whole seconds go into their own field: nanosleep refuses 1e9 ns or more.
  timespec request;
  request.tv_sec = static_cast<time_t>(milliseconds / 1000);
  request.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  timespec remaining;
  while (nanosleep(&request, &remaining) != 0 && errno == EINTR) {
    request = remaining;
  }
}

long Private::CoarseTimeFromMicroseconds(std::uint64_t microseconds) {
  return static_cast<long>((microseconds >> 10) & 0x7FFFFFFFu);
}

long GetCurrentTimeA() {
  auto const now = std::chrono::steady_clock::now().time_since_epoch();
  auto const us = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  return Private::CoarseTimeFromMicroseconds(static_cast<std::uint64_t>(us));
}

}  // namespace GT
