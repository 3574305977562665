#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
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

// Waits until the process has `expected` threads, for a generous while, and
// returns the last count. A joined thread may still be listed for a moment:
// the kernel wakes the joiner before it takes the thread off the list.
inline int WaitForProcessThreads(int expected) {
  auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int count = CountProcessThreads();
  while (count != expected && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    count = CountProcessThreads();
  }
  return count;
}

// A baseline for CountProcessThreads: sanitizer runtimes start a helper thread
// of their own after the first thread is made, so make and join one first, and
// wait until it is off the list.
inline int CountProcessThreadsAtRest() {
  std::atomic<pid_t> tid(0);
  std::thread([&tid] { tid = gettid(); }).join();
  std::string const entry = "/proc/self/task/" + std::to_string(tid.load());
  auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  struct stat st;
  while (stat(entry.c_str(), &st) == 0 && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return CountProcessThreads();
}

}  // namespace TestSupport
