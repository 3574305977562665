#include "GT/Com/CWorkerGroup.h"

#include <system_error>

namespace GT {

CWorkerGroup::CWorkerGroup(int workers) : mRound(0), mBusy(0), mStop(false) {
  for (int i = 0; i < workers; ++i) {
    try {
      mThreads.emplace_back(&CWorkerGroup::Run, this, i);
    } catch (std::system_error const&) {
      break;  // work with the threads there are
    }
  }
}

CWorkerGroup::~CWorkerGroup() {
  {
    std::unique_lock<std::mutex> lock(mMutex);
    mDone.wait(lock, [this] { return mBusy == 0; });
    mStop = true;
  }
  mWake.notify_all();
  for (std::thread& thread : mThreads) {
    thread.join();
  }
}

void CWorkerGroup::Start(std::function<void(int)> task) {
  {
    std::unique_lock<std::mutex> lock(mMutex);
    mDone.wait(lock, [this] { return mBusy == 0; });
    if (mThreads.empty()) {
      return;
    }
    mTask = std::move(task);
    mBusy = GetSize();
    ++mRound;
  }
  mWake.notify_all();
}

void CWorkerGroup::Wait() {
  std::unique_lock<std::mutex> lock(mMutex);
  mDone.wait(lock, [this] { return mBusy == 0; });
}

void CWorkerGroup::Run(int index) {
  unsigned long seen = 0;
  for (;;) {
    std::function<void(int)> const* task;
    {
      std::unique_lock<std::mutex> lock(mMutex);
      mWake.wait(lock, [this, seen] { return mStop || mRound != seen; });
      if (mStop) {
        return;
      }
      seen = mRound;
      task = &mTask;  // not replaced before every worker has finished the round
    }
    (*task)(index);
    bool last;
    {
      std::lock_guard<std::mutex> lock(mMutex);
      last = --mBusy == 0;
    }
    if (last) {
      mDone.notify_all();
    }
  }
}

}  // namespace GT
