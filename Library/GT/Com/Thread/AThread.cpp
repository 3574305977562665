#include "GT/Com/Thread/AThread.h"

namespace GT {

AThread::AThread() : mPriority(0), mTarget(nullptr), mTerminationFlag(false) {}

AThread::AThread(IRunnable& target) : mPriority(0), mTarget(&target), mTerminationFlag(false) {}

AThread::~AThread() {}

void AThread::Run() {
  if (mTarget != nullptr) {
    mTarget->Run();
  }
}

void AThread::SetPriority(int priority) { mPriority.store(priority, std::memory_order_relaxed); }

void AThread::SetTerminationFlag() { mTerminationFlag.store(true, std::memory_order_release); }

bool AThread::GetTerminationFlag() { return mTerminationFlag.load(std::memory_order_acquire); }

}  // namespace GT
