#include "GT/Com/Thread/CWorkerPool.h"

#include "GT/Com/Thread/Process.h"

#include <algorithm>
#include <system_error>

namespace GT {

CWorkerPool::CWorkerPool(int threads) : mStop(false), mProcess(GetCurrentProcessId()) {
  for (int i = 0; i < threads; ++i) {
    try {
      mThreads.emplace_back(&CWorkerPool::Run, this);
    } catch (std::system_error const&) {
      break;  // work with the threads there are
    }
  }
}

CWorkerPool::~CWorkerPool() {
  if (!InOwnProcess()) {
    // A forked child holds copies of the threads' records, not threads: none
    // can be woken or joined here, and the lock may be held by one of them.
    for (std::thread& thread : mThreads) thread.detach();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mStop = true;
  }
  mWake.notify_all();
  for (std::thread& thread : mThreads) {
    thread.join();
  }
}

CWorkerPool& CWorkerPool::Shared() {
  static CWorkerPool pool(
      std::max(1, std::min(4, static_cast<int>(std::thread::hardware_concurrency()) - 1)));
  return pool;
}

bool CWorkerPool::InOwnProcess() const { return GetCurrentProcessId() == mProcess; }

void CWorkerPool::Post(std::function<void()> task) {
  if (mThreads.empty() || !InOwnProcess()) {
    task();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mTasks.push_back(std::move(task));
  }
  mWake.notify_one();
}

void CWorkerPool::Run() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> lock(mMutex);
      mWake.wait(lock, [this] { return mStop || !mTasks.empty(); });
      if (mTasks.empty()) {
        return;  // stopping, and nothing left to do
      }
      task = std::move(mTasks.front());
      mTasks.pop_front();
    }
    task();
  }
}

}  // namespace GT
