#pragma once

#include <dirent.h>

#include <thread>

namespace TestSupport {

// Number of threads of this process, from /proc/self/task; -1 when unreadable.
inline int CountProcessThreads() {
  DIR* dir = opendir("/proc/self/task");
  if (dir == nullptr) {
    return -1;
  }
  int count = 0;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') {
      ++count;
    }
  }
  closedir(dir);
  return count;
}

// A baseline for CountProcessThreads: sanitizer runtimes start a helper thread
// of their own after the first thread is made, so make and join one first.
inline int CountProcessThreadsAtRest() {
  std::thread([] {}).join();
  return CountProcessThreads();
}

}  // namespace TestSupport
