#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace GT {

// A few threads that take one round of work at a time: Start hands every
// worker the task with the worker's own index, Wait returns once all have
// finished it. What the owner wrote before Start is visible to the workers,
// and what they wrote is visible to the owner after Wait.
class CWorkerGroup {
 public:
  // Fewer threads than asked for, even none, when the system refuses some.
  explicit CWorkerGroup(int workers);
  ~CWorkerGroup();
  CWorkerGroup(CWorkerGroup const&) = delete;
  CWorkerGroup& operator=(CWorkerGroup const&) = delete;

  int GetSize() const { return static_cast<int>(mThreads.size()); }
  // Waits for the round before, then runs task(i) on worker i, i < GetSize().
  // The task must not throw.
  void Start(std::function<void(int)> task);
  void Wait();

 private:
  void Run(int index);

  std::mutex mMutex;
  std::condition_variable mWake;
  std::condition_variable mDone;
  std::function<void(int)> mTask;
  unsigned long mRound;
  int mBusy;
  bool mStop;
  std::vector<std::thread> mThreads;
};

}  // namespace GT
