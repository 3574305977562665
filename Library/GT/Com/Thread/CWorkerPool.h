#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace GT {

// A few threads for short pieces of computing work, taken in the order they
// were posted. A task must not wait for another task, nor throw. Threads do
// not survive a fork: in a child process the pool has none, and a task runs
// on the caller's thread.
class CWorkerPool {
public:
  // Fewer threads than asked for, even none, when the system refuses some.
  explicit CWorkerPool(int threads);
  // Runs what is still queued, then ends the threads.
  ~CWorkerPool();
  CWorkerPool(CWorkerPool const&) = delete;
  CWorkerPool& operator=(CWorkerPool const&) = delete;

  // The program's pool: as many threads as the machine has cores to spare,
  // at least one and at most four; made on first use.
  static CWorkerPool& Shared();

  int GetSize() const { return InOwnProcess() ? static_cast<int>(mThreads.size()) : 0; }
  // Without threads the task runs at once, on the caller's thread.
  void Post(std::function<void()> task);

private:
  void Run();
  bool InOwnProcess() const;

  std::mutex mMutex;
  std::condition_variable mWake;
  std::deque<std::function<void()> > mTasks;
  bool mStop;
  std::vector<std::thread> mThreads;
  long mProcess;  // the process the threads run in
};

}  // namespace GT
