#include "GT/Com/Thread/CWorkerPool.h"

#include <algorithm>
#include <system_error>
#include <unistd.h>

namespace GT {

CWorkerPool::CWorkerPool(int threads) : mStop(false), mOwner(::getpid()) {
  for (int i = 0; i < threads; ++i) {
    try {
      mThreads.emplace_back(&CWorkerPool::Run, this);
    } catch (std::system_error const&) {
      break;  // work with the threads there are
    }
  }
}

CWorkerPool::~CWorkerPool() {
  if (IsForked()) {
    // The threads stayed with the parent; their handles here name nothing.
    new std::vector<std::thread>(std::move(mThreads));
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

// A child of fork(2) has none of the pool's threads, and its lock may have
// been held by one of them at the fork.
bool CWorkerPool::IsForked() const { return ::getpid() != mOwner; }

void CWorkerPool::Post(std::function<void()> task) {
  if (mThreads.empty() || IsForked()) {
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
